#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) N times while stress-ng keeps every
# core busy, to show that no verdict depends on how busy the machine is:
#
#   scripts/stress-test.sh N [STAGE...]
#
# STAGE names limit each run to those stages of scripts/test.sh.  Each run's
# output goes to build-stress/run-<i>.log; the script prints each run's
# verdict, its failing stage and tests and its time, and exits non-zero when
# any run failed.  stress-ng is started before the first run and ended on
# exit, also when interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."

usage="usage: scripts/stress-test.sh N [STAGE...]"
[ $# -ge 1 ] || { echo "$usage" >&2; exit 2; }
runs=$1
shift
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "$usage (N is a positive number)" >&2; exit 2; }
command -v stress-ng > /dev/null ||
  { echo "stress-test.sh: stress-ng is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
command -v setsid > /dev/null ||
  { echo "stress-test.sh: setsid (util-linux) is not installed" >&2; exit 1; }

logs=$PWD/build-stress
mkdir -p "$logs"
cores=$(nproc 2>/dev/null || echo 2)

# stress-ng in a process group of its own, so that it and its workers end together.
stress_pid=""
stop_stress() {
  if [ -n "$stress_pid" ]; then
    kill -TERM -- "-$stress_pid" 2> /dev/null || true
    wait "$stress_pid" 2> /dev/null || true
    stress_pid=""
  fi
}
trap stop_stress EXIT
trap 'stop_stress; exit 130' INT
trap 'stop_stress; exit 143' TERM
setsid stress-ng --cpu "$cores" --quiet > "$logs/stress-ng.log" 2>&1 &
stress_pid=$!
sleep 1
kill -0 "$stress_pid" 2> /dev/null ||
  { echo "stress-test.sh: stress-ng did not start: $(head -n 3 "$logs/stress-ng.log")" >&2; exit 1; }
echo "stress-ng keeps $cores cores busy (pid $stress_pid); logs in $logs"

# The failing tests of a run's log: ctest's list after "The following tests
# FAILED:", the web checks' "FAIL" lines and the stage test.sh names.
failures_in() {
  awk '
    /The following tests FAILED:/ { listing = 1; next }
    listing && /^[[:space:]]+[0-9]+ - / { sub(/^[[:space:]]+[0-9]+ - /, ""); print; next }
    { listing = 0 }
    /^FAIL / { print }
    /^scripts\/test.sh: stage .* failed/ { sub(/^scripts\/test.sh: /, ""); print }
  ' "$1"
}

passed=0
summary=()
for ((i = 1; i <= runs; i++)); do
  log=$logs/run-$i.log
  echo "== run $i of $runs (log: $log)"
  started=$SECONDS
  status=0
  scripts/test.sh "$@" > "$log" 2>&1 || status=$?
  seconds=$((SECONDS - started))
  if [ $status -eq 0 ]; then
    passed=$((passed + 1))
    line="run $i: PASS in ${seconds} s"
  else
    line="run $i: FAIL (exit $status) in ${seconds} s"
  fi
  echo "$line"
  summary+=("$line")
  if [ $status -ne 0 ]; then
    failures=$(failures_in "$log")
    [ -n "$failures" ] || failures="(no failing test named; the end of $log:)
$(tail -n 5 "$log")"
    while IFS= read -r f; do
      echo "    $f"
      summary+=("    $f")
    done <<< "$failures"
  fi
  # The stage table of the run.
  sed -n '/^stage  *seconds  *result$/,$p' "$log"
done

stop_stress
echo
printf '%s\n' "${summary[@]}"
echo "stress-test.sh: $passed of $runs runs passed with $cores cores kept busy"
[ "$passed" -eq "$runs" ]
