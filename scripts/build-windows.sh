#!/usr/bin/env bash
# Builds KV390 for 64-bit Windows with mingw-w64 and packs it:
#
#   scripts/build-windows.sh OUT
#
# The dependency libraries are cross-built once from Debian's source packages
# and kept in ~/.cache/kv390/mingw-... (KV390_CACHE_DIR moves it); the build
# tree is OUT/build, and OUT/kv390-windows.zip holds one folder kv390/ with
# include/, lib/ (static libraries, CMake package, pkg-config files), bin/
# (weather.exe, the tools and the examples, static: no DLLs), the documents,
# the examples' sources and the licences of everything linked in.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: scripts/build-windows.sh OUT" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
jobs=${KV390_JOBS:-$(nproc 2>/dev/null || echo 2)}
export KV390_JOBS=$jobs

host=x86_64-w64-mingw32
for tool in $host-gcc-posix $host-g++-posix cmake zip; do
  command -v "$tool" > /dev/null ||
    { echo "build-windows.sh: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

# The cache folder's name changes with the compiler and with the recipe, so a
# change of either builds the libraries again.
cache=${KV390_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kv390}
compiler=$($host-gcc-posix -dumpfullversion)
recipe=$(cat "$root/scripts/windows/build-deps.sh" "$root/cmake/toolchain-mingw64.cmake" |
  sha256sum | cut -c1-12)
deps=$cache/mingw-gcc$compiler-$recipe
if [ ! -f "$deps/VERSIONS" ]; then
  echo "Cross-building the dependency libraries into $deps"
  "$root/scripts/windows/build-deps.sh" "$deps"
fi

build=$out/build
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$deps" \
  -DKV390_DEPENDENCY_PREFIX="$deps" > /dev/null
cmake --build "$build" -j "$jobs"

# The package is the install tree; it appears under its final name only
# when complete.
stage=$(mktemp -d "$out/package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
package=$stage/kv390
cmake --install "$build" --prefix "$package" > /dev/null
cp "$deps/VERSIONS" "$package/licenses/VERSIONS"
(cd "$stage" && zip -q -r -X kv390-windows.zip kv390)
mv "$stage/kv390-windows.zip" "$out/kv390-windows.zip"
echo "Wrote $out/kv390-windows.zip"
