#!/usr/bin/env bash
# Builds KV390 and runs every test: once in a Release build (build/), once
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), and
# then the fuzz targets, built with clang, for a few seconds each
# (scripts/fuzz.sh; build-fuzz/), and, when mingw-w64 and wine are
# installed, a Windows build (build-windows/) run under wine.  Warnings are
# errors in every build.
#
#   scripts/test.sh            every stage, in order
#   scripts/test.sh STAGE...   only the named stages (a stage that needs an
#                              earlier one's build runs after it once)
#   scripts/test.sh --list     the stage names
#
# It ends with a table of the stages and their seconds, also when a stage
# fails; then it names the failed stage and exits non-zero.  docs/TESTING.md
# tells what each stage needs and how long it takes.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
# The Windows build's folder when mingw-w64 and wine are installed (asked
# after the setup stage has installed them), else empty.
windows_dir() {
  if command -v x86_64-w64-mingw32-g++-posix > /dev/null && command -v wine > /dev/null; then
    echo "$PWD/build-windows"
  fi
}

# ---- stages: `stage NAME command...` runs the command (a function or a
# program) with errexit on, times it and stops the script when it fails.
wanted=("$@")
listing=""
declared=()
stage_names=()
stage_seconds=()
stage_results=()

print_stage_table() {
  [ ${#stage_names[@]} -gt 0 ] || return 0
  local total=0 i
  echo
  printf '%-22s %8s  %s\n' "stage" "seconds" "result"
  for i in "${!stage_names[@]}"; do
    printf '%-22s %8d  %s\n' "${stage_names[$i]}" "${stage_seconds[$i]}" "${stage_results[$i]}"
    total=$((total + stage_seconds[i]))
  done
  printf '%-22s %8d\n' "total" "$total"
}

stage_wanted() {
  [ ${#wanted[@]} -eq 0 ] && return 0
  local w
  for w in "${wanted[@]}"; do [ "$w" = "$1" ] && return 0; done
  return 1
}

stage() {
  local name=$1
  shift
  if [ -n "$listing" ]; then
    declared+=("$name")
    return 0
  fi
  stage_wanted "$name" || return 0
  echo "== stage $name"
  local started=$SECONDS status=0
  # The subshell keeps errexit inside the stage: the first failing command ends it.
  set +e
  (
    set -e
    with_compiler_cache "$@"
  )
  status=$?
  set -e
  stage_names+=("$name")
  stage_seconds+=($((SECONDS - started)))
  if [ $status -ne 0 ]; then
    stage_results+=("FAILED (exit $status)")
    print_stage_table
    echo "scripts/test.sh: stage $name failed (exit $status)" >&2
    exit 1
  fi
  stage_results+=("ok")
}
trap 'status=$?; if [ $status -gt 128 ]; then print_stage_table; fi' EXIT

# Every compile goes through ccache when it is installed (the setup stage
# installs it): its cache is outside the clone and keyed by the compile's
# preprocessed input, with paths taken relative to the clone, so a fresh
# clone's build trees reuse the objects of an earlier clone's.  CMake picks
# the launcher up when it first configures a tree; the emscripten build takes
# it as emcc's own compiler wrapper (scripts/build-web.sh).  The web pages'
# links are kept too.
with_compiler_cache() {
  local cache=${KV390_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kv390}
  if command -v ccache > /dev/null; then
    export CCACHE_DIR=${CCACHE_DIR:-$cache/ccache} CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  fi
  export KV390_WEB_LINK_CACHE=${KV390_WEB_LINK_CACHE:-$cache/web-links}
  "$@"
}

# ---- the steps of the stages
release_build() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKV390_WERROR=ON -DKV390_BUILD_BENCH=ON \
    -DKV390_WINDOWS_DIR="$(windows_dir)" > /dev/null
  cmake --build build -j "$jobs"
}

asan_build() {
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKV390_WERROR=ON -DKV390_SANITIZE=ON > /dev/null
  cmake --build build-asan -j "$jobs"
}

# Leak checking is on: a layer reset frees every DC and GDI object, and the
# SDL programs the desktop tests start read their own options
# (tests/CMakeLists.txt).
asan_tests() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
}

# The Windows build: its test programs under wine, its package, MinGW
# projects built against it and its desktop program (tests/windows).
windows_tests() {
  if [ -z "$(windows_dir)" ]; then
    echo "Windows build and tests skipped: mingw-w64 (x86_64-w64-mingw32-g++-posix) or wine is" \
      "not installed (scripts/setup.sh installs them)"
    return 0
  fi
  scripts/windows/test-windows.sh build "$(windows_dir)"
}

all_stages() {
  stage setup scripts/setup.sh
  stage release-build release_build
  stage release-tests ctest --test-dir build --output-on-failure -j "$jobs" -LE windows
  # The web pages (emscripten) and their browser tests (chromium); skipped
  # with a line saying why when those are not installed.
  stage web tests/web/run.sh build
  # KV390 built for wasm32-wasip1 by the playground's compiler (@yowasp/clang
  # under node): programs compiled with it draw the native pictures.
  stage playground-wasm tests/playground/wasi_test.sh build
  # kv390-grade: a class of twelve submissions, hostile ones included, graded
  # sandboxed, and its report opened in chromium (skipped with a line when
  # chromium is not installed).
  # The playground (the page that compiles and runs programs in the browser)
  # and its browser tests; skipped with a line when chromium or node is missing.
  stage playground tests/playground/run.sh build
  stage grade-report tests/grade/class_test.sh build --browser
  stage asan-build asan_build
  stage asan-tests asan_tests
  # The library, the headless backend and the fuzz targets built with clang.
  stage fuzz scripts/fuzz.sh 5
  stage windows windows_tests
  # More stages go here, one `stage NAME command...` line each.
}

# The names first: --list prints them, and a misspelt name stops the run
# before anything is built.
listing=yes
all_stages
listing=""
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${declared[@]}"
  exit 0
fi
for w in "${wanted[@]}"; do
  [[ " ${declared[*]} " == *" $w "* ]] ||
    { echo "scripts/test.sh: no stage named $w (scripts/test.sh --list names them)" >&2; exit 2; }
done
all_stages
print_stage_table
echo "scripts/test.sh: all ${#stage_names[@]} stages passed"
