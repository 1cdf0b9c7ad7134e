#!/usr/bin/env bash
# Builds KV390 programs as web pages:
#
#   scripts/build-web.sh OUT                   # the weather picture and the examples
#   scripts/build-web.sh OUT my_game.cpp ...   # and these programs (one source file each)
#
# Each program becomes OUT/<name>/ (index.html, <name>.js, <name>.wasm): a
# folder to open through any static web server.  The libraries the pages
# need are built for wasm once and cached (scripts/web-deps.sh); the build
# tree is build-web/ (KV390_WEB_BUILD overrides it).
set -euo pipefail

fail() { echo "build-web: $*" >&2; exit 1; }

[ $# -ge 1 ] && [ -n "$1" ] || fail "usage: scripts/build-web.sh OUT [PROGRAM.c|PROGRAM.cpp ...]"
out=$1
shift
programs=()
for source in "$@"; do
  [ -f "$source" ] || fail "no such program source: $source"
  case "$source" in
    *.c | *.cpp | *.cc | *.cxx) programs+=("$(realpath "$source")") ;;
    *) fail "$source: give a C or C++ source file (.c, .cpp)" ;;
  esac
done

root=$(cd "$(dirname "$0")/.." && pwd)
command -v emcc > /dev/null || fail "emcc not found (Debian package emscripten; scripts/setup.sh installs it)"
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # emscripten's acorn

# A compiler cache given as CMake's launcher (scripts/test.sh) wraps emcc's
# own clang instead: emcc as a launched compiler is not one ccache knows.
if [ "${CMAKE_CXX_COMPILER_LAUNCHER:-}" = ccache ]; then
  export EM_COMPILER_WRAPPER=ccache
fi
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
deps=$("$root/scripts/web-deps.sh")
build=${KV390_WEB_BUILD:-$root/build-web}
jobs=${KV390_JOBS:-2}
program_list=$(IFS=';'; echo "${programs[*]:-}")

# Links reused from KV390_WEB_LINK_CACHE when it is set (scripts/test.sh sets it).
launcher=""
[ -n "${KV390_WEB_LINK_CACHE:-}" ] && launcher=$root/scripts/web/link-cache.sh
emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKV390_WEB_DEPS="$deps" \
  -DCMAKE_C_LINKER_LAUNCHER="$launcher" -DCMAKE_CXX_LINKER_LAUNCHER="$launcher" \
  -DKV390_WEB_PROGRAMS="$program_list" > "$build.configure.log" 2>&1 ||
  { tail -20 "$build.configure.log" >&2; fail "configuring $build failed"; }
rm -f "$build.configure.log"
cmake --build "$build" --target kv390_pages -j "$jobs" || fail "building the pages failed"

# Each folder appears at its final name only when it is complete.
mkdir -p "$out"
while read -r name; do
  page=$build/pages/$name
  [ -f "$page/index.html" ] && [ -f "$page/$name.js" ] && [ -f "$page/$name.wasm" ] ||
    fail "the page $name is incomplete in $page"
  staging=$(mktemp -d "$out/.$name.XXXXXX")
  cp "$page/index.html" "$page/$name.js" "$page/$name.wasm" "$staging/"
  chmod 755 "$staging"
  rm -rf "${out:?}/$name"
  mv "$staging" "$out/$name"
  echo "build-web: $out/$name/index.html"
done < "$build/pages/pages.list"
