#!/usr/bin/env bash
# Writes the playground's exercises, one folder per exercises/<name>/ of the
# repository:
#
#   scripts/playground/exercise-site.sh OUTDIR
#     OUTDIR/index.json            every exercise's name and title
#     OUTDIR/<name>/exercise.json  its tests (kv390-grade export-json)
#     OUTDIR/<name>/README.md      the task; starter.c, the student's start
#     OUTDIR/<name>/expected/      each test's picture of solution.c, made
#                                  natively by kv390-run as kv390-grade makes it
#
# The native tools come from the build tree KV390_NATIVE_BUILD (default
# build/), brought up to date here (configured first when it does not exist).
# OUTDIR appears whole or not at all.
set -euo pipefail

fail() { echo "exercise-site: $*" >&2; exit 1; }

[ $# -eq 1 ] && [ -n "$1" ] || fail "usage: scripts/playground/exercise-site.sh OUTDIR"
out=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
native=$(realpath -m "${KV390_NATIVE_BUILD:-$root/build}")

if [ ! -f "$native/CMakeCache.txt" ]; then
  echo "exercise-site: configuring the native build in $native" >&2
  cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release > /dev/null ||
    fail "cannot configure the native build in $native"
fi
cmake --build "$native" --target kv390-grade kv390-run kv390 kv390_headless -j "${KV390_JOBS:-2}" \
  > "$native/exercise-site-build.log" 2>&1 ||
  { tail -20 "$native/exercise-site-build.log" >&2; fail "building the native tools in $native failed"; }

mkdir -p "$(dirname "$out")"
stage=$(mktemp -d "$(dirname "$out")/.exercises.XXXXXX")
trap 'rm -rf "$stage"' EXIT
node "$root/playground/tools/exercise-site.mjs" --source "$root" --native "$native" --out "$stage" ||
  fail "cannot make the exercises' pages"
chmod 755 "$stage"
rm -rf "$out"
mv "$stage" "$out"
trap - EXIT
