#!/usr/bin/env bash
# Cross-builds the static libraries that a Windows build of KV390 bundles
# (zlib, libpng, FreeType, giflib, SDL2) and GoogleTest for its tests, from
# Debian's source packages, with mingw-w64 into PREFIX:
#
#   scripts/windows/build-deps.sh PREFIX
#
# PREFIX gets include/, lib/, licenses/<package>/ and VERSIONS (the source
# package versions used).  It is built beside PREFIX and renamed into place
# when complete, so an interrupted run never leaves a half-built PREFIX; an
# existing PREFIX is kept as it is.
set -euo pipefail

prefix=${1:?usage: build-deps.sh PREFIX}
[ -f "$prefix/VERSIONS" ] && exit 0

host=x86_64-w64-mingw32
cc=$host-gcc-posix
cxx=$host-g++-posix
ar=$host-ar
jobs=${KV390_JOBS:-2}
toolchain=$(cd "$(dirname "$0")/../../cmake" && pwd)/toolchain-mingw64.cmake

for tool in "$cc" "$cxx" "$ar" cmake apt-get dpkg-source; do
  command -v "$tool" > /dev/null || { echo "build-deps.sh: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

mkdir -p "$(dirname "$prefix")"
stage=$(mktemp -d "$prefix.partial.XXXXXX")
work=$(mktemp -d "${TMPDIR:-/tmp}/kv390-deps.XXXXXX")
trap 'rm -rf "$work" "$stage"' EXIT
mkdir -p "$stage/include" "$stage/lib" "$stage/licenses"
log=$work/log

# Runs a build step with its output in a log that is shown only on failure.
quiet() {
  if ! "$@" > "$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "build-deps.sh: failed: $*" >&2
    exit 1
  fi
}

# Unpacks the newest version of a source package that the mirror serves
# (a security update's sources may be missing from it while the release's
# are there) into $work/src/<package> and records the version.
fetch() {
  local package=$1 version
  mkdir -p "$work/fetch-$package"
  for version in $(apt-cache showsrc "$package" | awk '/^Version:/ {print $2}' | sort -urV); do
    if (cd "$work/fetch-$package" && apt-get source -q "$package=$version" > "$log" 2>&1); then
      mkdir -p "$work/src"
      mv "$(find "$work/fetch-$package" -mindepth 1 -maxdepth 1 -type d | head -n 1)" "$work/src/$package"
      echo "$package $version" >> "$stage/VERSIONS.partial"
      return
    fi
    rm -rf "${work:?}/fetch-$package"/*
  done
  tail -n 5 "$log" >&2
  echo "build-deps.sh: cannot fetch the source package $package (is a deb-src line configured? run scripts/setup.sh)" >&2
  exit 1
}

# Compiles C files of one source folder into a static library.
compile_library() {
  local dir=$1 library=$2
  shift 2
  local objects=() file
  for file in "$@"; do
    quiet "$cc" -O2 -c "$dir/$file" -I"$dir" -I"$stage/include" -o "$work/obj-${file%.c}.o"
    objects+=("$work/obj-${file%.c}.o")
  done
  quiet "$ar" rcs "$stage/lib/$library" "${objects[@]}"
  rm -f "${objects[@]}"
}

licence() {
  local package=$1
  shift
  mkdir -p "$stage/licenses/$package"
  cp "$@" "$stage/licenses/$package/"
}

cmake_build() {
  local source=$1 build=$2
  shift 2
  quiet cmake -S "$source" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$stage" -DBUILD_SHARED_LIBS=OFF "$@"
  quiet cmake --build "$build" -j "$jobs"
  quiet cmake --install "$build"
}

for package in zlib libpng1.6 freetype giflib libsdl2 googletest; do
  fetch "$package"
done
src=$work/src

# zlib: the library's C files (its CMake build also wants a Windows resource
# file that Debian's tarball leaves out).
compile_library "$src/zlib" libz.a adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c \
  gzread.c gzwrite.c infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c
cp "$src/zlib/zlib.h" "$src/zlib/zconf.h" "$stage/include/"
licence zlib "$src/zlib/LICENSE"

# libpng with its default configuration.
cp "$src/libpng1.6/scripts/pnglibconf.h.prebuilt" "$src/libpng1.6/pnglibconf.h"
compile_library "$src/libpng1.6" libpng16.a png.c pngerror.c pngget.c pngmem.c pngpread.c \
  pngread.c pngrio.c pngrtran.c pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c \
  pngwutil.c
cp "$src/libpng1.6/png.h" "$src/libpng1.6/pngconf.h" "$src/libpng1.6/pnglibconf.h" "$stage/include/"
licence libpng "$src/libpng1.6/LICENSE"

# FreeType against the zlib above (left to itself it compiles its own copy of
# zlib, whose symbols then clash with libz.a); no other optional library.
cmake_build "$src/freetype" "$work/build-freetype" \
  -DFT_REQUIRE_ZLIB=ON -DZLIB_INCLUDE_DIR="$stage/include" -DZLIB_LIBRARY="$stage/lib/libz.a" \
  -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
licence freetype "$src/freetype/LICENSE.TXT" "$src/freetype/docs/FTL.TXT" "$src/freetype/docs/GPLv2.TXT"

# giflib has no CMake build: the library's C files.
compile_library "$src/giflib" libgif.a dgif_lib.c egif_lib.c gifalloc.c gif_err.c gif_font.c \
  gif_hash.c openbsd-reallocarray.c quantize.c
cp "$src/giflib/gif_lib.h" "$stage/include/"
licence giflib "$src/giflib/COPYING"

# SDL2, static only, with the parts a KV390 program uses: video, events and
# timers (no audio, game controllers or sensors).
cmake_build "$src/libsdl2" "$work/build-sdl2" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
  -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF
licence sdl2 "$src/libsdl2/LICENSE.txt"

# GoogleTest for the test programs (not shipped).
cmake_build "$src/googletest" "$work/build-googletest" -DBUILD_GMOCK=OFF -Dgtest_force_shared_crt=ON
licence googletest "$src/googletest/LICENSE"

mv "$stage/VERSIONS.partial" "$stage/VERSIONS"
rm -rf "$prefix"
mv -T "$stage" "$prefix"
trap 'rm -rf "$work"' EXIT
