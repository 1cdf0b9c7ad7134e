# Cross-compiling for 64-bit Windows with mingw-w64 (Debian's
# g++-mingw-w64-x86-64-posix: the POSIX-threads runtime that std::thread
# needs):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
#         -DCMAKE_PREFIX_PATH=/path/to/libraries
#
# Libraries, headers and CMake packages are looked for only in the mingw-w64
# sysroot and in CMAKE_PREFIX_PATH, never among the build machine's own.
# Programs are linked statically (libgcc, libstdc++, winpthread), so an .exe
# runs without any DLL beside it; tests and tools run under wine when it is
# there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KV390_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KV390_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV390_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${KV390_MINGW_HOST}-windres)
set(CMAKE_AR ${KV390_MINGW_HOST}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${KV390_MINGW_HOST}-ranlib CACHE FILEPATH "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# -O2 as in the native builds: at -O3 GCC 12 reports false -Wrestrict
# overlaps inside std::string.
set(CMAKE_C_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")

# The prefixes given on the command line are roots too: a cross build's
# search is otherwise confined to the sysroot.
set(CMAKE_FIND_ROOT_PATH /usr/${KV390_MINGW_HOST} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(KV390_WINE NAMES wine wine64)
if(KV390_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KV390_WINE})
endif()
