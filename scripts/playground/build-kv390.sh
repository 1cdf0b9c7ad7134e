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

# ---- the build folder: one per compiler, so objects of another compiler
# never mix in.  Clones share it (an object is reused only when its sources'
# content is unchanged); the lock keeps two builds from writing it at once ----
build=$cache/playground-build-$(basename "$npm_dir" | sed 's/^playground-npm-//')
mkdir -p "$build/gen" "$build/obj" "$build/lib"
exec {lock}> "$build.lock"
flock "$lock" || fail "cannot lock $build"

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
Z_SOURCES=$(printf '/zlib/%s.c\n' adler32 compress crc32 deflate \
  infback inffast inflate inftrees trees uncompr zutil)
PNG_SOURCES=$(printf '/png/%s.c\n' png pngerror pngget pngmem pngpread pngread pngrio pngrtran \
  pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil)
# FreeType: the base, and the modules that load, hint and render the
# embedded TrueType faces (the native library's drivers for other formats
# never claim them), registered in that order by the ftmodule.h below; and
# its gzip support (WOFF fonts) on the zlib above.
FREETYPE_SOURCES=$(printf '/freetype/src/%s.c\n' base/ftsystem base/ftinit base/ftdebug base/ftbase \
  base/ftbbox base/ftbitmap base/ftglyph base/ftmm autofit/autofit truetype/truetype sfnt/sfnt \
  psnames/psnames smooth/smooth raster/raster gzip/ftgzip)
cat > "$build/gen/ftmodule.h.new" << 'EOF'
FT_USE_MODULE( FT_Module_Class, autofit_module_class )
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )
EOF
mv "$build/gen/ftmodule.h.new" "$build/gen/ftmodule.h"

# ---- flags: one variable per archive ----
optimize="-O2 -DNDEBUG"
sjlj="-mllvm -wasm-enable-sjlj"
kv390_cxx="-std=c++20 -fno-exceptions $optimize -Wall -Wextra -Werror
  -I/kv390/library/include -I/kv390/platform/include -I/kv390/platform/src -I/kv390/library/src
  -I/freetype/include -I/png -I/zlib"
KV390_FLAGS=$kv390_cxx
CORE_FLAGS="$kv390_cxx $sjlj"
HEADLESS_FLAGS="$kv390_cxx $sjlj"
Z_FLAGS="-std=c11 $optimize -DHAVE_UNISTD_H -DHAVE_STDARG_H -Wno-deprecated-non-prototype"
PNG_FLAGS="-std=c11 $optimize $sjlj -I/zlib"
FREETYPE_FLAGS="-std=c11 $optimize $sjlj -DFT2_BUILD_LIBRARY -DFT_CONFIG_OPTION_SYSTEM_ZLIB
  -DFT_CONFIG_MODULES_H=<ftmodule.h> -I/gen -I/freetype/include -I/zlib"

# The archives: name, compiler, sources, flags.  A backend added here (its
# sources under /kv390/platform/src) is built and shipped like the others.
archives=(
  kv390 clang++ "$KV390_SOURCES" "$KV390_FLAGS"
  kv390_core clang++ "$CORE_SOURCES" "$CORE_FLAGS"
  kv390_headless clang++ "$HEADLESS_SOURCES" "$HEADLESS_FLAGS"
  freetype clang "$FREETYPE_SOURCES" "$FREETYPE_FLAGS"
  png clang "$PNG_SOURCES" "$PNG_FLAGS"
  z clang "$Z_SOURCES" "$Z_FLAGS"
)
archive_args=()
archive_names=()
for ((i = 0; i < ${#archives[@]}; i += 4)); do
  archive_args+=(--archive "${archives[@]:i:4}")
  archive_names+=("${archives[i]}")
done

node "$driver" archives "$build/obj" "$build/lib" \
  --mount "/kv390/library/include=$here/library/include" --mount "/kv390/library/src=$here/library/src" \
  --mount "/kv390/platform/include=$here/platform/include" --mount "/kv390/platform/src=$here/platform/src" \
  --mount "/gen=$build/gen" --mount "/zlib=$sources/zlib" --mount "/png=$sources/libpng1.6" \
  --mount "/freetype/include=$sources/freetype/include" --mount "/freetype/src=$sources/freetype/src" \
  "${archive_args[@]}" || fail "building KV390 for wasm32-wasip1 failed"

# ---- OUTDIR: the headers, the archives and the link line, whole or not at all ----
mkdir -p "$out"
stage=$(mktemp -d "$out/.kv390-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp -r "$here/library/include" "$stage/include"
mkdir -p "$stage/lib"
for name in "${archive_names[@]}"; do cp "$build/lib/lib$name.a" "$stage/lib/"; done
# The library is C++ inside: a C program links the C++ runtime too.
printf '%s\n' -Wl,-z,stack-size=1048576 -lkv390 -lkv390_headless -lkv390_core -lfreetype -lpng -lz \
  -lsetjmp -lc++ -lc++abi > "$stage/link-flags"
rm -rf "$out/include" "$out/lib" "$out/link-flags"
mv "$stage/include" "$stage/lib" "$stage/link-flags" "$out/"
