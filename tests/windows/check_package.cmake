# The Windows package holds what a MinGW user needs, and its programs need no
# DLL beside them.  Run with cmake -P and:
#   ZIP      kv390-windows.zip        OBJDUMP  mingw-w64's objdump
#   WORK_DIR scratch directory        TOOLS    the tools' names (;-separated)

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../support/run_checked.cmake)

if(NOT EXISTS ${ZIP})
  message(FATAL_ERROR "${ZIP} is missing: run scripts/build-windows.sh first")
endif()
run(unzip -Z1 ${ZIP})
string(REPLACE "\n" ";" entries "${run_output}")

set(expected
  include/kv390.h include/kv390/win.h include/kv390/harness.h
  lib/libkv390.a lib/libkv390_headless.a lib/libkv390_sdl.a
  lib/libz.a lib/libpng16.a lib/libfreetype.a lib/libgif.a lib/libSDL2.a
  lib/cmake/KV390/KV390Config.cmake lib/cmake/KV390/KV390ConfigVersion.cmake
  lib/cmake/KV390/KV390Targets.cmake lib/cmake/KV390/KV390SdlTargets.cmake
  lib/cmake/KV390/KV390BundledDependencies.cmake
  lib/pkgconfig/kv390-headless.pc lib/pkgconfig/kv390-sdl.pc
  bin/weather.exe bin/ask_name.exe bin/bouncing_ball.exe bin/click_draw.exe bin/snake.exe
  share/doc/KV390/GETTING-STARTED.md share/doc/KV390/API.md share/doc/KV390/WINDOWS.md
  share/doc/KV390/TEACHING.md include/kv390/constants.h include/kv390/run_protocol.h
  share/doc/KV390/examples/CMakeLists.txt share/doc/KV390/examples/ask_name.cpp
  share/doc/KV390/examples/bouncing_ball.c share/doc/KV390/examples/click_draw.c
  share/doc/KV390/examples/snake.c
  licenses/VERSIONS licenses/zlib/LICENSE licenses/libpng/LICENSE licenses/freetype/FTL.TXT
  licenses/giflib/COPYING licenses/sdl2/LICENSE.txt licenses/dejavu-fonts/LICENSE-DejaVu.txt
  licenses/mingw-w64-runtime/copyright licenses/gcc-runtime/copyright)
foreach(tool ${TOOLS})
  list(APPEND expected bin/${tool}.exe)
endforeach()
set(missing "")
foreach(entry ${expected})
  if(NOT "kv390/${entry}" IN_LIST entries)
    list(APPEND missing ${entry})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "kv390-windows.zip lacks: ${missing}")
endif()
foreach(entry ${entries})
  if(entry MATCHES "\\.dll$" OR entry MATCHES "googletest|gtest")
    message(FATAL_ERROR "kv390-windows.zip holds ${entry}")
  endif()
endforeach()

# Each program imports only DLLs that every Windows has.
set(system_dlls ADVAPI32 GDI32 IMM32 KERNEL32 MSVCRT OLE32 OLEAUT32 SETUPAPI SHELL32 USER32
                VERSION WINMM)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
run(unzip -q ${ZIP} "kv390/bin/*" -d ${WORK_DIR})
file(GLOB programs ${WORK_DIR}/kv390/bin/*.exe)
foreach(program ${programs})
  run(${OBJDUMP} -p ${program})
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${run_output}")
  foreach(import ${imports})
    string(REGEX REPLACE "DLL Name: ([^.]+)\\.[dD][lL][lL]" "\\1" dll "${import}")
    string(TOUPPER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls)
      message(FATAL_ERROR "${program} needs ${dll}.dll")
    endif()
  endforeach()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
list(LENGTH entries count)
message(STATUS "kv390-windows.zip: ${count} entries, programs linked statically")
