# Builds the examples beside this file against an installed KV390:
#
#   cmake -S . -B build -DCMAKE_PREFIX_PATH=<the KV390 folder>
#   cmake --build build
#
# (A cross build for Windows adds -DCMAKE_TOOLCHAIN_FILE=...; see WINDOWS.md.)
cmake_minimum_required(VERSION 3.16)
project(kv390_examples LANGUAGES C CXX)
set(CMAKE_CXX_STANDARD 20)

find_package(KV390 REQUIRED COMPONENTS sdl)

foreach(source ask_name.cpp bouncing_ball.c click_draw.c snake.c)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE KV390::kv390 KV390::sdl)
  if(MINGW)
    target_link_options(${name} PRIVATE -static)  # runs without the compiler's DLLs
  endif()
endforeach()
