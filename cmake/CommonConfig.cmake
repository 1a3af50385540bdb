# One interface target carries the language standard, warnings and sanitizer flags for every
# target of the project.
add_library(hmf_common INTERFACE)
target_compile_features(hmf_common INTERFACE cxx_std_20)
target_compile_options(hmf_common INTERFACE -Wall -Wextra -Wpedantic)
if(HMF_WERROR)
    target_compile_options(hmf_common INTERFACE -Werror)
endif()
if(HMF_SANITIZE)
    target_compile_options(hmf_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=undefined)
    target_link_options(hmf_common INTERFACE -fsanitize=address,undefined)
endif()

# A program run at build time to write sources: built here, or in a cross build taken from a native
# build of this project (its bin/ folder as HMF_HOST_TOOLS_DIR). ${HMF_TOOL_<name>} names it for
# add_custom_command.
set(HMF_HOST_TOOLS_DIR "" CACHE PATH "Folder of the build-time tools of a native build (cross builds)")
function(hmf_host_tool name source)
    if(CMAKE_CROSSCOMPILING)
        find_program(HMF_TOOL_${name} ${name} PATHS ${HMF_HOST_TOOLS_DIR} NO_DEFAULT_PATH
                     NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    else()
        add_executable(${name} ${source})
        target_link_libraries(${name} PRIVATE hmf_common)
        set(HMF_TOOL_${name} ${name} PARENT_SCOPE)
    endif()
endfunction()
