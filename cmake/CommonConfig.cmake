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
