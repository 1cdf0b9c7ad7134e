# Installs the build tree into a fresh prefix, then builds and runs the
# project in outside/ against it twice: with find_package(KV390) and with
# pkg-config.  Run with cmake -P and:
#   BUILD_DIR  the KV390 build tree      WORK_DIR  scratch directory
#   SOURCE_DIR this folder               WITH_SDL  ON when the desktop backend is built
#   C_COMPILER, CXX_COMPILER, BUILD_TARGETS (;-separated), EXTRA_FLAGS (sanitizers)

include(${CMAKE_CURRENT_LIST_DIR}/../support/run_checked.cmake)

# The program must print its success line.
function(run_program program expected)
  run(${program})
  if(NOT run_output MATCHES "${expected}")
    message(FATAL_ERROR "${program} printed:\n${run_output}")
  endif()
  message(STATUS "${program}: ${expected}")
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# What the installation copies must exist (a no-op after a full build).
run(${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${BUILD_TARGETS})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# ---- CMake package
set(cmake_build ${WORK_DIR}/with-cmake)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/outside -B ${cmake_build}
    -DCMAKE_PREFIX_PATH=${prefix} -DWITH_DESKTOP=${WITH_SDL}
    -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_C_FLAGS=${EXTRA_FLAGS} -Wall -Wextra -pedantic -Werror"
    "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS} -Wall -Wextra -pedantic -Werror"
    "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
run(${CMAKE_COMMAND} --build ${cmake_build})
run_program(${cmake_build}/blue_disc "pixel ok")
run_program(${cmake_build}/c_program "c program ended")

# ---- the first program of docs/GETTING-STARTED.md, with its CMakeLists.txt
# and its harness driver, taken from the page as they are printed there
file(READ ${SOURCE_DIR}/../../docs/GETTING-STARTED.md guide)
function(code_block language out_file)
  string(REGEX MATCH "```${language}\n([^`]*)```" block "${guide}")
  if(NOT block)
    message(FATAL_ERROR "GETTING-STARTED.md has no ${language} block")
  endif()
  file(WRITE ${out_file} "${CMAKE_MATCH_1}")
endfunction()
set(guide_dir ${WORK_DIR}/guide)
code_block(c ${guide_dir}/hello.c)
code_block(cpp ${guide_dir}/drive_hello.cpp)
code_block(cmake ${guide_dir}/CMakeLists.txt)
if(NOT WITH_SDL)
  file(READ ${guide_dir}/CMakeLists.txt lists)
  string(REPLACE "COMPONENTS sdl" "" lists "${lists}")
  string(REPLACE "KV390::sdl" "KV390::headless" lists "${lists}")
  file(WRITE ${guide_dir}/CMakeLists.txt "${lists}")
endif()
file(APPEND ${guide_dir}/CMakeLists.txt "
add_library(hello_as_function OBJECT hello.c)
target_compile_definitions(hello_as_function PRIVATE main=hello_main)
target_link_libraries(hello_as_function PRIVATE KV390::kv390)
add_executable(drive_hello drive_hello.cpp $<TARGET_OBJECTS:hello_as_function>)
target_link_libraries(drive_hello PRIVATE KV390::kv390 KV390::headless)
")
run(${CMAKE_COMMAND} -S ${guide_dir} -B ${guide_dir}/build -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    "-DCMAKE_C_FLAGS=${EXTRA_FLAGS} -Wall -Wextra -Werror"
    "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS} -Wall -Wextra -Werror"
    "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
run(${CMAKE_COMMAND} --build ${guide_dir}/build)
execute_process(COMMAND ${guide_dir}/build/drive_hello WORKING_DIRECTORY ${guide_dir}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${guide_dir}/hello.png)
  message(FATAL_ERROR "the guide's harness driver failed (${status}) or wrote no hello.png")
endif()
message(STATUS "the guide's program builds and its harness driver runs")

# ---- pkg-config, with the compilers called directly
find_program(PKG_CONFIG NAMES pkg-config pkgconf REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
function(pkg_flags what package out_var)
  run(${PKG_CONFIG} ${what} ${package})
  separate_arguments(flags UNIX_COMMAND "${run_output}")
  set(${out_var} ${flags} PARENT_SCOPE)
endfunction()
separate_arguments(extra UNIX_COMMAND "${EXTRA_FLAGS}")
set(warnings -Wall -Wextra -pedantic -Werror)

set(pc_build ${WORK_DIR}/with-pkg-config)
file(MAKE_DIRECTORY ${pc_build})
pkg_flags(--cflags kv390-headless cflags)
pkg_flags(--libs kv390-headless libs)
run(${C_COMPILER} ${extra} ${warnings} ${cflags} -c ${SOURCE_DIR}/outside/picture.c
    -o ${pc_build}/picture.o)
run(${CXX_COMPILER} ${extra} ${warnings} -std=c++20 ${cflags} ${SOURCE_DIR}/outside/blue_disc.cpp
    ${pc_build}/picture.o ${libs} -o ${pc_build}/blue_disc)
run_program(${pc_build}/blue_disc "pixel ok")
# A C program linked by the C compiler: the .pc file names the C++ runtime.
run(${C_COMPILER} ${extra} ${warnings} ${cflags} ${SOURCE_DIR}/outside/c_program.c ${libs}
    -o ${pc_build}/c_program)
run_program(${pc_build}/c_program "c program ended")

if(WITH_SDL)
  pkg_flags(--cflags kv390-sdl sdl_cflags)
  pkg_flags(--libs kv390-sdl sdl_libs)
  run(${C_COMPILER} ${extra} ${warnings} ${sdl_cflags} ${SOURCE_DIR}/outside/c_program.c
      ${sdl_libs} -o ${pc_build}/c_program_desktop)
  message(STATUS "linked the desktop backend with pkg-config")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
