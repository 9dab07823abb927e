# Cross build for 64-bit Windows with Debian's mingw-w64, its posix-threads compilers (the C++
# library's std::thread and std::mutex need them). The libraries come from the sysroot
# scripts/windows-sysroot.sh builds; the caller puts it on CMAKE_FIND_ROOT_PATH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(tundrel_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tundrel_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tundrel_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${tundrel_mingw}-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${tundrel_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
