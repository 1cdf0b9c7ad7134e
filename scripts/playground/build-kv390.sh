#!/usr/bin/env bash
# Builds KV390 for wasm32-wasip1 with the playground's own compiler (the
# pinned @yowasp/clang, run by node): the library, the platform core, the
# headless backend, and FreeType, libpng and zlib from Debian's source
# packages.  Writes what a program needs to compile and link:
#
#   scripts/playground/build-kv390.sh OUTDIR
#     OUTDIR/include/   kv390.h and the headers it includes
#     OUTDIR/lib/       libkv390.a libkv390_core.a libkv390_headless.a
#                       libfreetype.a libpng.a libz.a
#     OUTDIR/link-flags the compiler arguments that link a program with them
#
# Objects live in a cache outside the clone (~/.cache/kv390, or
# KV390_CACHE_DIR), each kept with the key of its command line and of every
# file its compile read: an unchanged file is not compiled again, a changed
# one alone is.  Two files compile at a time (KV390_JOBS changes it).
#
# FreeType leaves a glyph's rasterising and a font's validation with
# setjmp/longjmp, which wasi-libc implements with WebAssembly exception
# handling: FreeType, and the core whose font code includes FreeType's
# headers, are compiled with -mllvm -wasm-enable-sjlj, and programs link
# wasi-libc's libsetjmp.  Every engine that runs the playground (Chromium's,
# node's) has that exception handling.  KV390's own code throws nothing and
# is compiled with -fno-exceptions, as the compiler's C++ library has no
# exception support.
set -euo pipefail

fail() { echo "playground-build: $*" >&2; exit 1; }

[ $# -eq 1 ] || fail "usage: scripts/playground/build-kv390.sh OUTDIR"
out=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
command -v dpkg-source > /dev/null || fail "dpkg-source not found (Debian package dpkg-dev)"
command -v cmake > /dev/null || fail "cmake not found (Debian package cmake)"

npm_dir=$("$here/scripts/playground/toolchain.sh")
export KV390_PLAYGROUND_NPM=$npm_dir
driver=$here/playground/toolchain/clang.mjs
cache=${KV390_CACHE_DIR:-${KV390_CACHE:-$HOME/.cache/kv390}}
mkdir -p "$cache"

# ---- Debian's sources of the libraries, once per version ----
packages=(zlib libpng1.6 freetype)
dsc_names=$(apt-get source --print-uris -qq "${packages[@]}" 2> /dev/null | awk '{print $2}' | grep '\.dsc$' || true)
[ "$(echo "$dsc_names" | grep -c .)" -eq ${#packages[@]} ] ||
  fail "cannot find the source packages ${packages[*]}: is a deb-src line configured? (scripts/setup.sh adds one)"
versions=$(echo "$dsc_names" | sed 's/\.dsc$//' | tr '\n' '-' | sed 's/-$//')
sources=$cache/playground-src-$versions
if [ ! -f "$sources/.complete" ]; then
  fetch=$(mktemp -d "$cache/playground-src.XXXXXX")
  echo "playground-build: fetching ${packages[*]} (Debian sources)" >&2
  (cd "$fetch" && apt-get source -qq "${packages[@]}" > fetch.log 2>&1) ||
    { tail -20 "$fetch/fetch.log" >&2; rm -rf "$fetch"; fail "apt-get source failed"; }
  for package in "${packages[@]}"; do
    dir=$(find "$fetch" -maxdepth 1 -mindepth 1 -type d -name "$package-*" | head -1)
    [ -n "$dir" ] || { rm -rf "$fetch"; fail "no folder for $package in its source package"; }
    mv "$dir" "$fetch/$package"
  done
  cp "$fetch/libpng1.6/scripts/pnglibconf.h.prebuilt" "$fetch/libpng1.6/pnglibconf.h"
  find "$fetch" -maxdepth 1 -type f -delete
  touch "$fetch/.complete"
  rm -rf "$sources"
  mv "$fetch" "$sources"
fi

# ---- the build folder: one per compiler, so objects of another never mix ----
build=$cache/playground-build-$(basename "$npm_dir" | sed 's/^playground-npm-//')
mkdir -p "$build/gen" "$build/obj" "$build/lib"

# The embedded fonts, as C++ arrays (the same generator as the native build).
fonts=()
for font in sans:DejaVuSans.ttf mono:DejaVuSansMono.ttf; do
  symbol=${font%%:*} file=${font#*:}
  generated=$build/gen/font_$symbol-$(sha256sum "$here/fonts/$file" | cut -c1-16).cpp
  if [ ! -f "$generated" ]; then
    cmake -DINPUT="$here/fonts/$file" -DOUTPUT="$generated.tmp" -DSYMBOL="$symbol" \
      -P "$here/cmake/embed_file.cmake" || fail "cannot embed $file"
    rm -f "$build"/gen/font_"$symbol"-*.cpp
    mv "$generated.tmp" "$generated"
  fi
  fonts+=("/gen/$(basename "$generated")")
done

# ---- what each archive holds: one variable per archive, virtual paths ----
# The compiler sees /kv390 (the clone's library and platform folders), /gen,
# and /zlib, /png, /freetype (the source packages).
kv390_files() { (cd "$here" && for pattern in "$@"; do ls $pattern; done) | sed 's|^|/kv390/|'; }
KV390_SOURCES=$(kv390_files 'library/src/*.cpp')
CORE_SOURCES="$(kv390_files 'platform/src/core/*.cpp' 'platform/src/menu_bar/*.cpp' \
  'platform/src/raster/*.cpp' 'platform/src/raster/paint/*.cpp' 'platform/src/raster/shapes/*.cpp' \
  'platform/src/text/*.cpp') ${fonts[*]}"
HEADLESS_SOURCES=$(kv390_files 'platform/src/headless/*.cpp' 'platform/src/run_client/*.cpp' \
  platform/src/select/headless_library.cpp)
Z_SOURCES=$(printf '/zlib/%s.c\n' adler32 compress crc32 deflate gzclose gzlib gzread gzwrite \
  infback inffast inflate inftrees trees uncompr zutil)
PNG_SOURCES=$(printf '/png/%s.c\n' png pngerror pngget pngmem pngpread pngread pngrio pngrtran \
  pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil)
# FreeType's own build list, with the portable ftsystem.c.
FREETYPE_SOURCES=$(printf '/freetype/src/%s.c\n' autofit/autofit base/ftbase base/ftbbox \
  base/ftbdf base/ftbitmap base/ftcid base/ftfstype base/ftgasp base/ftglyph base/ftgxval \
  base/ftinit base/ftmm base/ftotval base/ftpatent base/ftpfr base/ftstroke base/ftsynth \
  base/fttype1 base/ftwinfnt bdf/bdf cache/ftcache cff/cff cid/type1cid gzip/ftgzip lzw/ftlzw \
  pcf/pcf pfr/pfr psaux/psaux pshinter/pshinter psnames/psnames raster/raster sdf/sdf sfnt/sfnt \
  smooth/smooth svg/svg truetype/truetype type1/type1 type42/type42 winfonts/winfnt \
  base/ftsystem base/ftdebug)

# ---- flags ----
optimize=(-O2 -DNDEBUG)
sjlj=(-mllvm -wasm-enable-sjlj)
kv390_cxx=(-std=c++20 -fno-exceptions "${optimize[@]}" -Wall -Wextra -Werror
  -I/kv390/library/include -I/kv390/platform/include -I/kv390/platform/src -I/kv390/library/src
  -I/freetype/include -I/png -I/zlib)
Z_FLAGS=(-std=c11 "${optimize[@]}" -DHAVE_UNISTD_H -DHAVE_STDARG_H -Wno-deprecated-non-prototype)
PNG_FLAGS=(-std=c11 "${optimize[@]}" "${sjlj[@]}" -I/zlib)
FREETYPE_FLAGS=(-std=c11 "${optimize[@]}" "${sjlj[@]}" -DFT2_BUILD_LIBRARY
  -DFT_CONFIG_OPTION_SYSTEM_ZLIB -I/freetype/include -I/zlib)
KV390_FLAGS=("${kv390_cxx[@]}")
CORE_FLAGS=("${kv390_cxx[@]}" "${sjlj[@]}")
HEADLESS_FLAGS=("${kv390_cxx[@]}" "${sjlj[@]}")  # png.h includes setjmp.h

# archive name : sources variable : flags array : tool
ARCHIVES=(kv390:KV390_SOURCES:KV390_FLAGS:clang++ kv390_core:CORE_SOURCES:CORE_FLAGS:clang++
  kv390_headless:HEADLESS_SOURCES:HEADLESS_FLAGS:clang++ freetype:FREETYPE_SOURCES:FREETYPE_FLAGS:clang
  png:PNG_SOURCES:PNG_FLAGS:clang z:Z_SOURCES:Z_FLAGS:clang)

# ---- the manifest the driver builds from ----
json_string() { printf '"%s"' "$(printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g')"; }
json_array() {
  local first=1 item
  printf '['
  for item in "$@"; do
    [ $first -eq 1 ] || printf ','
    first=0
    json_string "$item"
  done
  printf ']'
}
manifest=$build/manifest.json
{
  printf '{"mounts": {'
  printf '"/kv390/library/include": %s, "/kv390/library/src": %s, ' \
    "$(json_string "$here/library/include")" "$(json_string "$here/library/src")"
  printf '"/kv390/platform/include": %s, "/kv390/platform/src": %s, "/gen": %s, ' \
    "$(json_string "$here/platform/include")" "$(json_string "$here/platform/src")" \
    "$(json_string "$build/gen")"
  printf '"/zlib": %s, "/png": %s, "/freetype/include": %s, "/freetype/src": %s},\n' \
    "$(json_string "$sources/zlib")" "$(json_string "$sources/libpng1.6")" \
    "$(json_string "$sources/freetype/include")" "$(json_string "$sources/freetype/src")"
  printf '"jobs": [\n'
  first=1
  for entry in "${ARCHIVES[@]}"; do
    IFS=: read -r name list flags tool <<< "$entry"
    flags_ref="$flags[@]"
    for source in ${!list}; do
      [ $first -eq 1 ] || printf ',\n'
      first=0
      object=$build/obj/$name${source%.*}.o
      printf '{"tool": "%s", "args": %s, "source": %s, "output": %s}' "$tool" \
        "$(json_array "${!flags_ref}")" "$(json_string "$source")" "$(json_string "$object")"
    done
  done
  printf '\n],\n"archives": [\n'
  first=1
  for entry in "${ARCHIVES[@]}"; do
    IFS=: read -r name list flags tool <<< "$entry"
    members=()
    for source in ${!list}; do members+=("$build/obj/$name${source%.*}.o"); done
    [ $first -eq 1 ] || printf ',\n'
    first=0
    printf '{"output": %s, "members": %s}' "$(json_string "$build/lib/lib$name.a")" \
      "$(json_array "${members[@]}")"
  done
  printf '\n]}\n'
} > "$manifest.tmp"
mv "$manifest.tmp" "$manifest"

node "$driver" build "$manifest" || fail "building KV390 for wasm32-wasip1 failed"

# ---- OUTDIR: the headers, the archives and the link line, whole or not at all ----
mkdir -p "$out"
stage=$(mktemp -d "$out/.kv390-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp -r "$here/library/include" "$stage/include"
mkdir -p "$stage/lib"
for entry in "${ARCHIVES[@]}"; do
  name=${entry%%:*}
  cp "$build/lib/lib$name.a" "$stage/lib/"
done
printf '%s\n' -Wl,-z,stack-size=1048576 -lkv390 -lkv390_headless -lkv390_core -lfreetype -lpng -lz \
  -lsetjmp > "$stage/link-flags"
rm -rf "$out/include" "$out/lib" "$out/link-flags"
mv "$stage/include" "$stage/lib" "$stage/link-flags" "$out/"
