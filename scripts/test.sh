#!/usr/bin/env bash
# Builds KV390 and runs every test: once in a Release build (build/), once
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), and
# then the fuzz targets, built with clang, for a few seconds each
# (scripts/fuzz.sh; build-fuzz/), and, when mingw-w64 and wine are
# installed, a Windows build (build-windows/) run under wine.  Warnings are
# errors in every build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)

windows_dir=""
if command -v x86_64-w64-mingw32-g++-posix > /dev/null && command -v wine > /dev/null; then
  windows_dir=$PWD/build-windows
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKV390_WERROR=ON -DKV390_BUILD_BENCH=ON \
  -DKV390_WINDOWS_DIR="$windows_dir" > /dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" -LE windows

# The web pages (emscripten) and their browser tests (chromium); skipped with
# a line saying why when those are not installed.
tests/web/run.sh build

# kv390-grade: a class of twelve submissions, hostile ones included, graded
# sandboxed, and its report opened in chromium (skipped with a line when
# chromium is not installed).
tests/grade/class_test.sh build --browser

# The playground (the page that compiles and runs programs in the browser)
# and its browser tests; skipped with a line when chromium or node is missing.
tests/playground/run.sh build

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKV390_WERROR=ON -DKV390_SANITIZE=ON > /dev/null
cmake --build build-asan -j "$jobs"
# Leak checking is on: a layer reset frees every DC and GDI object, and the
# SDL programs the desktop tests start read their own options
# (tests/CMakeLists.txt).
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The library, the headless backend and the fuzz targets built with clang.
scripts/fuzz.sh 5

# The Windows build: its test programs under wine, its package, MinGW
# projects built against it and its desktop program (tests/windows).
if [ -n "$windows_dir" ]; then
  scripts/windows/test-windows.sh build "$windows_dir"
else
  echo "Windows build and tests skipped: mingw-w64 (x86_64-w64-mingw32-g++-posix) or wine is" \
    "not installed (scripts/setup.sh installs them)"
fi
