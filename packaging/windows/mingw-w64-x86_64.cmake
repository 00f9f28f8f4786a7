# mingw-w64-x86_64.cmake -- CMake toolchain file for 64-bit Windows with
# Debian's MinGW-w64 cross compilers. The "posix" flavour is the one whose
# C++ library has std::mutex and std::condition_variable (the frame clock
# needs them); its thread runtime is linked statically with the rest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TG_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TG_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TG_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TG_MINGW_TRIPLET}-windres)

# Headers and libraries come from the MinGW-w64 tree; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TG_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Built programs run through Wine when CMake or CTest needs to start them.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
