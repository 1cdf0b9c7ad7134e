# The emscripten build: programs linked with the headless backend run under
# node (tools, the wasm check of the headless pictures); programs linked with
# the web backend are pages (platform/src/web, scripts/build-web.sh).
#
# KV390_WEB_DEPS names the prefix of FreeType, zlib, libpng and giflib built
# for wasm (scripts/web-deps.sh prints it).

set(KV390_WEB_DEPS "" CACHE PATH "Prefix of the wasm builds of FreeType, zlib, libpng and giflib")
if(NOT KV390_WEB_DEPS)
  message(FATAL_ERROR "KV390_WEB_DEPS is not set: give -DKV390_WEB_DEPS=$(scripts/web-deps.sh)")
endif()
# A new prefix (new versions) drops what was found in the old one.
if(DEFINED KV390_WEB_DEPS_FOUND_IN AND NOT KV390_WEB_DEPS_FOUND_IN STREQUAL KV390_WEB_DEPS)
  get_cmake_property(cached CACHE_VARIABLES)
  foreach(variable ${cached})
    if(variable MATCHES "^(FREETYPE|PNG|ZLIB|GIF)_")
      unset(${variable} CACHE)
    endif()
  endforeach()
endif()
set(KV390_WEB_DEPS_FOUND_IN ${KV390_WEB_DEPS} CACHE INTERNAL "")
# The emscripten toolchain searches only below its find roots.
list(APPEND CMAKE_FIND_ROOT_PATH ${KV390_WEB_DEPS})

# A node program reads and writes the real file system, loads its wasm
# synchronously (node's fetch cannot read file paths) and returns its exit
# status to the shell.
set(KV390_NODE_LINK_OPTIONS
  -sENVIRONMENT=node -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0
  -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)

# A program linked with the web backend becomes a page folder,
# <build>/pages/<name>/: index.html, <name>.js and <name>.wasm.
set(KV390_PAGE_TEMPLATE ${PROJECT_SOURCE_DIR}/platform/src/web/page.html)
set(KV390_PAGES_DIR ${PROJECT_BINARY_DIR}/pages)
function(kv390_web_page target)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(dir ${KV390_PAGES_DIR}/${name})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dir})
  set(KV390_PAGE_NAME ${name})
  configure_file(${KV390_PAGE_TEMPLATE} ${dir}/index.html @ONLY)
  set_property(GLOBAL APPEND PROPERTY KV390_PAGE_TARGETS ${target})
  set_property(GLOBAL APPEND PROPERTY KV390_PAGE_NAMES ${name})
endfunction()

# KV390_WEB_PROGRAMS: more programs to make pages of, one source file each
# (scripts/build-web.sh OUT my_game.cpp); each page is named after its file.
set(KV390_WEB_PROGRAMS "" CACHE STRING "Source files of more programs to build as pages")

# Called once every program is defined: the extra programs, and kv390_pages,
# the target that builds every page.
function(kv390_web_finish)
  foreach(source ${KV390_WEB_PROGRAMS})
    get_filename_component(name ${source} NAME_WE)
    if(TARGET ${name})
      message(FATAL_ERROR "${source}: the name ${name} is taken by KV390's own programs; rename the file")
    endif()
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE kv390 kv390_web)
    kv390_web_page(${name})
  endforeach()
  get_property(pages GLOBAL PROPERTY KV390_PAGE_TARGETS)
  # The pages of this configuration, one name a line: pages/ may still hold
  # folders of programs an earlier configuration had.
  get_property(names GLOBAL PROPERTY KV390_PAGE_NAMES)
  list(JOIN names "\n" lines)
  file(WRITE ${KV390_PAGES_DIR}/pages.list "${lines}\n")
  add_custom_target(kv390_pages)
  add_dependencies(kv390_pages ${pages})
endfunction()
