#!/usr/bin/env bash
# Builds FreeType, zlib, libpng and giflib for the browser (emscripten, wasm)
# from Debian's source packages, once, into a cache outside the clone, and
# prints the prefix that holds include/ and lib/.
#
#   scripts/web-deps.sh            # prints e.g. ~/.cache/kv390/web-r1-emcc3.1.6-...
#
# The cache directory's name holds the emscripten version and every source
# package's version, so a new version builds a new prefix.  The prefix
# appears at its final name only when every library is built.
set -euo pipefail

fail() { echo "web-deps: $*" >&2; exit 1; }

command -v emcc > /dev/null || fail "emcc not found (Debian package emscripten; scripts/setup.sh installs it)"
command -v dpkg-source > /dev/null || fail "dpkg-source not found (Debian package dpkg-dev)"
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # emscripten's acorn

packages=(zlib libpng1.6 giflib freetype)
recipe=r2  # bump when the build flags below change
jobs=${KV390_JOBS:-2}

emcc_version=$(emcc --version | sed -n '1s/.* \([0-9][0-9.]*\) .*/\1/p')
[ -n "$emcc_version" ] || fail "cannot read emcc's version"

# The versions apt would fetch, from the .dsc names (no download yet).
dsc_names=$(apt-get source --print-uris -qq "${packages[@]}" 2> /dev/null | awk '{print $2}' | grep '\.dsc$' || true)
[ "$(echo "$dsc_names" | grep -c .)" -eq ${#packages[@]} ] ||
  fail "cannot find the source packages ${packages[*]}: is a deb-src line configured? (scripts/setup.sh adds one)"
versions=$(echo "$dsc_names" | sed 's/\.dsc$//' | tr '\n' '-' | sed 's/-$//')

cache=${KV390_CACHE_DIR:-${KV390_CACHE:-$HOME/.cache/kv390}}
prefix=$cache/web-$recipe-emcc$emcc_version-$versions
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/web-build.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage=$work/prefix
mkdir -p "$stage/include" "$stage/lib"
log=$work/build.log

run() { "$@" >> "$log" 2>&1 || { tail -30 "$log" >&2; fail "failed: $*"; }; }

echo "web-deps: fetching ${packages[*]} (Debian sources)" >&2
(cd "$work" && run apt-get source -qq "${packages[@]}")
src() { find "$work" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -1; }

cflags=(-O2)

# A static library from a list of C files, compiled two at a time.
static_lib() {
  local name=$1 dir=$2
  shift 2
  local objects=()
  mkdir -p "$work/obj-$name"
  for file in "$@"; do objects+=("$work/obj-$name/${file%.c}.o"); done
  printf '%s\n' "$@" | (cd "$dir" && xargs -P "$jobs" -I{} sh -c \
    'emcc "$@" -c {} -o "'"$work/obj-$name"'/$(basename {} .c).o"' _ "${cflags[@]}" "${extra[@]}") \
    >> "$log" 2>&1 || { tail -30 "$log" >&2; fail "compiling $name failed"; }
  run emar rcs "$stage/lib/lib$name.a" "${objects[@]}"
}

echo "web-deps: building zlib" >&2
zlib=$(src zlib)
extra=(-DHAVE_UNISTD_H -DHAVE_STDARG_H)
static_lib z "$zlib" adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c \
  gzwrite.c infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c
cp "$zlib/zlib.h" "$zlib/zconf.h" "$stage/include/"

echo "web-deps: building libpng" >&2
png=$(src libpng1.6)
cp "$png/scripts/pnglibconf.h.prebuilt" "$png/pnglibconf.h"
extra=(-I"$stage/include")
static_lib png "$png" png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c \
  pngrtran.c pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c
cp "$png/png.h" "$png/pngconf.h" "$png/pnglibconf.h" "$stage/include/"

echo "web-deps: building giflib" >&2
gif=$(src giflib)
extra=()
static_lib gif "$gif" dgif_lib.c egif_lib.c gifalloc.c gif_err.c gif_font.c gif_hash.c \
  openbsd-reallocarray.c
cp "$gif/gif_lib.h" "$stage/include/"

# FreeType uses the zlib above: its own copy would clash with it at link time.
echo "web-deps: building FreeType" >&2
ft=$(src freetype)
run emcmake cmake -S "$ft" -B "$work/ft-build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$stage" -DBUILD_SHARED_LIBS=OFF \
  -DFT_REQUIRE_ZLIB=ON -DZLIB_INCLUDE_DIR="$stage/include" -DZLIB_LIBRARY="$stage/lib/libz.a" \
  -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
run cmake --build "$work/ft-build" -j "$jobs"
run cmake --install "$work/ft-build"
# One copy of each licence travels with the libraries.
mkdir -p "$stage/share/licences"
cp "$zlib/README" "$stage/share/licences/zlib-README"
cp "$png/LICENSE" "$stage/share/licences/libpng-LICENSE"
cp "$gif/COPYING" "$stage/share/licences/giflib-COPYING"
cp "$ft/LICENSE.TXT" "$stage/share/licences/freetype-LICENSE.TXT"
cp "$ft/docs/FTL.TXT" "$stage/share/licences/freetype-FTL.TXT"

touch "$stage/.complete"
rm -rf "$prefix"
mv "$stage" "$prefix"
echo "$prefix"
