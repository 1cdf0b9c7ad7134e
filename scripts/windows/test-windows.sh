#!/usr/bin/env bash
# The Windows build and its tests, run from the native build:
#
#   scripts/windows/test-windows.sh NATIVE_BUILD OUT
#
# builds OUT/kv390-windows.zip (scripts/build-windows.sh), runs the Windows
# test programs under wine (ctest in OUT/build), then the native build's tests
# labelled "windows": the package's content, MinGW projects built against it,
# the tool's picture and the desktop program under wine on Xvfb.  NATIVE_BUILD
# must have been configured with -DKV390_WINDOWS_DIR=OUT and built.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: scripts/windows/test-windows.sh NATIVE_BUILD OUT" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$1
out=$2
jobs=$(nproc 2>/dev/null || echo 2)

"$root/scripts/build-windows.sh" "$out"

. "$root/scripts/windows/wine-env.sh"
kv390_wine_start
trap kv390_wine_stop EXIT
echo "== Windows test programs under wine"
ctest --test-dir "$out/build" --output-on-failure -j "$jobs"
echo "== The Windows package and programs, from the native build"
ctest --test-dir "$native" -L windows --output-on-failure -j "$jobs"
