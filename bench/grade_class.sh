#!/usr/bin/env bash
# Grading throughput: submissions graded per minute by kv390-grade for a
# 3-test exercise, with the sandbox and without (--no-sandbox), every core
# in use (--jobs default).  A benchmark, not a test: it prints figures.
#   bench/grade_class.sh BUILD_DIR [SUBMISSIONS (default 12)]
set -euo pipefail
build=$(cd "$1" && pwd)
count=${2:-12}
here=$(cd "$(dirname "$0")" && pwd)
class=$here/../tests/grade/class
work=$(mktemp -d /tmp/kv390-grade-bench.XXXXXX)
chmod 711 "$work"
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" > /dev/null
cp "$class/solution.c" "$work/"
cat > "$work/exercise.toml" << 'TOML'
title = "Blue disc, three ways"
reference = "solution.c"
[[test]]
name = "closed at once"
input = "at 100 end"
log_has = ["blue circle at (0,0), radius 60"]
[[test]]
name = "a click first"
input = """
at 300 click 10 10
at 1000 end
"""
tolerance = 50
[[test]]
name = "log only"
picture = false
input = "at 2000 end"
log_lacks = ["Illegal color"]
TOML
# Half right, half with a wrong picture: both kinds of verdict.
for i in $(seq 1 "$count"); do
  kind=right
  [ $((i % 2)) -eq 0 ] && kind=wrong_picture
  mkdir -p "$work/class/student$i"
  cp "$class/submissions/$kind/main.c" "$work/class/student$i/"
done

for mode in sandbox no-sandbox; do
  flag=""
  [ "$mode" = no-sandbox ] && flag=--no-sandbox
  start=$(date +%s.%N)
  "$work/prefix/bin/kv390-grade" "$work/exercise.toml" "$work/class"/* --out "$work/out-$mode" \
    $flag 2> "$work/$mode.err" || { cat "$work/$mode.err"; exit 1; }
  end=$(date +%s.%N)
  awk -v n="$count" -v s="$start" -v e="$end" -v m="$mode" \
    'BEGIN { t = e - s; printf "%-10s %d submissions x 3 tests in %.1f s: %.1f submissions per minute\n", m, n, t, n * 60 / t }'
done
