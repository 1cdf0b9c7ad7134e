#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for a
# bounded time, seconds per target as the first argument (default 60).
# Each run starts from the seed corpus in fuzz/corpus/<target> and keeps what
# it finds in build-fuzz/corpus/<target>, so the repository's seeds stay as
# they are.  A crash stops the script with libFuzzer's report and leaves the
# input that caused it in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

seconds=${1:-60}
jobs=$(nproc 2>/dev/null || echo 2)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKV390_WERROR=ON -DKV390_BUILD_FUZZ=ON -DKV390_WITH_SDL=OFF \
  -DKV390_BUILD_TESTS=OFF -DKV390_BUILD_PROGRAMS=OFF > /dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_script_player fuzz_primitives fuzz_dialog_template

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in script_player primitives dialog_template; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  echo "== fuzz_$target for $seconds s"
  log=build-fuzz/fuzz_$target.log
  # -timeout: any single input that takes over 10 s counts as a hang.
  status=0
  (cd build-fuzz && "fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "corpus/$target" "../fuzz/corpus/$target") > "$log" 2>&1 || status=$?
  grep -E "^stat::(number_of_executed_units|peak_rss_mb|new_units_added)|^Done" "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$target failed (exit $status); full output in $log"
    exit 1
  fi
done
