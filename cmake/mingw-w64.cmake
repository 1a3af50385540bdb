# Cross-building for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: POSIX
# threads, so std::thread and std::mutex work).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Libraries built for Windows (ERFA, GoogleTest, Qt) are found under HMF_WINDOWS_PREFIX (a cache
# variable or an environment variable), besides the MinGW-w64 root itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HMF_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HMF_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HMF_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HMF_MINGW_TRIPLE}-windres)

if(NOT HMF_WINDOWS_PREFIX AND DEFINED ENV{HMF_WINDOWS_PREFIX})
    set(HMF_WINDOWS_PREFIX $ENV{HMF_WINDOWS_PREFIX})
endif()
# try_compile projects see the toolchain file again, but not the cache of the project.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HMF_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${HMF_MINGW_TRIPLE} ${HMF_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread are linked in, so that a program runs from any folder
# without the compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
