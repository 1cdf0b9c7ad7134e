# A MinGW user's projects built against the unpacked Windows package and run
# under wine: the outside project of tests/package with find_package(KV390),
# the package's own examples project, C through pkg-config, and the one-line
# g++ commands of WINDOWS.md.  Run with cmake -P and:
#   ZIP        kv390-windows.zip          TOOLCHAIN  cmake/toolchain-mingw64.cmake
#   OUTSIDE    tests/package/outside      GUIDE      docs/WINDOWS.md
#   WORK_DIR   scratch directory          WINE       the wine program
#   CC, CXX    mingw-w64's compilers

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../support/run_checked.cmake)

# The program, run under wine, must print its success line.
function(run_program program expected)
  if(NOT EXISTS ${program})
    message(FATAL_ERROR "${program} was not built")
  endif()
  run(${WINE} ${program})
  if(NOT run_output MATCHES "${expected}")
    message(FATAL_ERROR "${program} printed:\n${run_output}")
  endif()
  message(STATUS "${program}: ${expected}")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
# Unpacked where the folder name has a space, as Windows users' folders often have.
set(unpacked "${WORK_DIR}/My Libraries")
file(MAKE_DIRECTORY ${unpacked})
run(unzip -q ${ZIP} -d ${unpacked})
set(prefix ${unpacked}/kv390)
set(warnings "-Wall -Wextra -pedantic -Werror")

# ---- CMake package: find_package(KV390 COMPONENTS sdl)
set(cmake_build ${WORK_DIR}/with-cmake)
run(${CMAKE_COMMAND} -S ${OUTSIDE} -B ${cmake_build} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
    -DCMAKE_PREFIX_PATH=${prefix} -DWITH_DESKTOP=ON
    "-DCMAKE_C_FLAGS=${warnings}" "-DCMAKE_CXX_FLAGS=${warnings}")
run(${CMAKE_COMMAND} --build ${cmake_build})
run_program(${cmake_build}/blue_disc.exe "pixel ok")
run_program(${cmake_build}/c_program.exe "c program ended")
if(NOT EXISTS ${cmake_build}/c_program_desktop.exe)
  message(FATAL_ERROR "the desktop program was not linked")
endif()

# ---- the examples' project that the package ships
set(examples_build ${WORK_DIR}/examples)
run(${CMAKE_COMMAND} -S ${prefix}/share/doc/KV390/examples -B ${examples_build}
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${examples_build})
foreach(example ask_name bouncing_ball click_draw)
  if(NOT EXISTS ${examples_build}/${example}.exe)
    message(FATAL_ERROR "the example ${example} was not built")
  endif()
endforeach()
message(STATUS "the package's examples build")

# ---- pkg-config with the MinGW compilers: the .pc files name every library
find_program(PKG_CONFIG NAMES pkg-config pkgconf REQUIRED)
set(ENV{PKG_CONFIG_LIBDIR} ${prefix}/lib/pkgconfig)
function(pkg_flags package out_var)
  run(${PKG_CONFIG} --cflags --libs ${package})
  separate_arguments(flags UNIX_COMMAND "${run_output}")
  set(${out_var} ${flags} PARENT_SCOPE)
endfunction()
separate_arguments(warning_list UNIX_COMMAND "${warnings}")
set(pc_build ${WORK_DIR}/with-pkg-config)
file(MAKE_DIRECTORY ${pc_build})
pkg_flags(kv390-headless headless_flags)
run(${CC} ${warning_list} ${OUTSIDE}/c_program.c ${headless_flags} -static -o ${pc_build}/c_program.exe)
run_program(${pc_build}/c_program.exe "c program ended")
pkg_flags(kv390-sdl sdl_flags)
run(${CC} ${warning_list} ${OUTSIDE}/c_program.c ${sdl_flags} -static -o ${pc_build}/c_program_desktop.exe)
message(STATUS "linked the desktop backend with pkg-config")

# ---- WINDOWS.md: its first program and its g++ lines, as printed there
file(READ ${GUIDE} guide)
string(REGEX MATCH "```cpp\n([^`]*)```" block "${guide}")
if(NOT block)
  message(FATAL_ERROR "WINDOWS.md has no cpp block")
endif()
set(guide_dir ${WORK_DIR}/guide)
file(MAKE_DIRECTORY ${guide_dir})
file(WRITE ${guide_dir}/hello.cpp "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "\ng\\+\\+ [^\n]+" commands "${guide}")
list(LENGTH commands count)
if(count LESS 2)
  message(FATAL_ERROR "WINDOWS.md has fewer than two g++ command lines")
endif()
foreach(command ${commands})
  string(STRIP "${command}" command)
  string(REPLACE "C:/kv390" "\"${prefix}\"" command "${command}")
  separate_arguments(words UNIX_COMMAND "${command}")
  list(POP_FRONT words)
  execute_process(COMMAND ${CXX} ${words} WORKING_DIRECTORY ${guide_dir}
                  RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "WINDOWS.md's line failed: ${command}\n${err}")
  endif()
endforeach()
# The headless build of the guide's program ends by itself (its virtual
# minute without input takes no real time).
run_program(${guide_dir}/hello_headless.exe "")
if(NOT EXISTS ${guide_dir}/hello.exe)
  message(FATAL_ERROR "WINDOWS.md's desktop line made no hello.exe")
endif()
message(STATUS "WINDOWS.md's g++ lines build its program")
file(REMOVE_RECURSE ${WORK_DIR})
