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
# The emscripten toolchain searches only below its find roots.
list(APPEND CMAKE_FIND_ROOT_PATH ${KV390_WEB_DEPS})

# A node program reads and writes the real file system, loads its wasm
# synchronously (node's fetch cannot read file paths) and returns its exit
# status to the shell.
set(KV390_NODE_LINK_OPTIONS
  -sENVIRONMENT=node -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0
  -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sSTACK_SIZE=1048576)
