#!/usr/bin/env bash
# A class of twelve submissions graded in one command, sandboxed: the right
# verdict for each (one-line reasons by their stable prefixes), the grade
# sheet and the platforms' files, nothing outside the submissions' run
# folders changed, no process of theirs left.  With --browser, the report
# is also opened in chromium (tests/grade/report_test.js).
#   tests/grade/class_test.sh BUILD_DIR [--browser]
set -euo pipefail
build=$(cd "$1" && pwd)
browser=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d /tmp/kv390-grade-class-test.XXXXXX)
chmod 711 "$work"  # the sandboxes' ids reach the KV390 prefix in it
listener=""
cleanup() {
  [ -n "$listener" ] && kill "$listener" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL $*"; exit 1; }
if ! bwrap --ro-bind / / --unshare-all true 2> /dev/null; then
  echo "skip: bubblewrap cannot make a sandbox here"
  exit 77
fi

# KV390 installed as a student's machine has it, in a prefix of this test's.
cmake --install "$build" --prefix "$work/prefix" > /dev/null

# The class, with the paths the hostile submissions aim at filled in.
cp -R "$here/class" "$work/class"
canary=$work/canary
echo "keep me" > "$canary"
port=$((20000 + RANDOM % 20000))
sed -i "s|@CLASS_DIR@|$work/class/submissions|g; s|@CANARY@|$canary|g" \
  "$work/class/submissions/writes_outside/main.c"
sed -i "s|@PORT@|$port|g" "$work/class/submissions/network/main.c"
# Something to connect to: a program that reaches it logs "network reached".
python3 -c "
import socket, time
s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(('127.0.0.1', $port)); s.listen(50); time.sleep(600)" &
listener=$!

state() {
  (cd "$work/class" && find . -printf '%p %s %m %T@\n' | sort | sha256sum)
  for f in /tmp/kv390-grade-was-here /tmp/escaped "$HOME/.student-was-here" \
           /root/.student-was-here; do
    [ -e "$f" ] && echo "exists: $f"
  done
  cat "$canary"
}
before=$(state)

out=$work/out
"$work/prefix/bin/kv390-grade" "$work/class/exercise.toml" "$work/class/submissions"/* \
  --out "$out" --jobs 2 2> "$work/grade.err" || { cat "$work/grade.err"; fail "kv390-grade"; }
echo "ok   kv390-grade graded the class"

[ "$(state)" = "$before" ] || fail "something outside the run folders changed: $(state)"
echo "ok   nothing outside the run folders changed (class tree, /tmp, \$HOME, the canary)"
# Zombies run nothing: the machine's init reaps them when it gets to them.
left=$(ps -eo uid=,stat= | awk '$1 >= 1000000000 && $2 !~ /^Z/' | wc -l)
[ "$left" -eq 0 ] || fail "$left sandboxed processes are still running"
echo "ok   no sandboxed process left"

# submission: the first line of each test's output (disc | log only), by prefix.
python3 - "$out" << 'PY' || fail "verdicts"
import json, sys
out = sys.argv[1]
expected = {
    "right": ("passed", "passed"),
    "wrong_picture": ("picture differs in ", "passed"),
    "wrong_colour": ("log has: Illegal color 99", "log has: Illegal color 99"),
    "compile_error": ("compile error", "compile error"),
    "endless_loop": ("timeout after 5 s", "timeout after 5 s"),
    "crash": ("crashed: SIGSEGV", "crashed: SIGSEGV"),
    "no_picture": ("never showed a picture", "never showed a picture"),
    "writes_outside": ("passed", "passed"),
    "network": ("passed", "passed"),
    "fork_bomb": ("timeout after 5 s", "timeout after 5 s"),
    "big_alloc": ("crashed: SIGSEGV", "crashed: SIGSEGV"),
    "big_file": ("file size limit", "file size limit"),
}
bad = 0
sheet = {}
with open(f"{out}/grades.csv") as f:
    header = f.readline().strip()
    assert header == "submission,score,max_score,disc,log only", header
    for line in f:
        name, score, most, disc, log = line.strip().split(",")
        sheet[name] = (int(score), int(most), int(disc), int(log))
for name, prefixes in expected.items():
    gs = json.load(open(f"{out}/{name}/results.json"))
    pl = json.load(open(f"{out}/{name}/pl-results.json"))
    got = tuple(t["output"].split("\n")[0] for t in gs["tests"])
    points = tuple(5 * (p == "passed") if i == 0 else 2 * (p == "passed")
                   for i, p in enumerate(prefixes))
    checks = [
        all(g.startswith(p) for g, p in zip(got, prefixes)),
        gs["score"] == sum(points) and [t["score"] for t in gs["tests"]] == list(points),
        [t["status"] for t in gs["tests"]] == ["passed" if p == "passed" else "failed" for p in prefixes],
        sheet[name] == (sum(points), 7) + points,
        abs(pl["score"] - sum(points) / 7) < 1e-9 and pl["gradable"] is True,
        [t["points"] for t in pl["tests"]] == list(points),
        name == "compile_error" or all(im["url"].startswith("data:image/png;base64,iVBOR")
                                       for t in pl["tests"] for im in t["images"]),
    ]
    if not all(checks):
        bad += 1
        print(f"FAIL {name}: {got} (checks {checks}), sheet {sheet[name]}")
    else:
        print(f"ok   {name}: {' | '.join(got)}")
sys.exit(1 if bad else 0)
PY

if [ "$browser" = "--browser" ] && ! { [ -x /usr/bin/chromium ] && command -v node > /dev/null; }; then
  echo "skip: the report in chromium (chromium or node is not installed)"
elif [ "$browser" = "--browser" ]; then
  modules=$root/tests/web/node_modules
  lock=$(sha256sum "$root/tests/web/package-lock.json" | cut -d' ' -f1)
  if [ "$(cat "$modules/.installed-lock" 2> /dev/null)" != "$lock" ]; then
    (cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
    echo "$lock" > "$modules/.installed-lock"
  fi
  NODE_PATH=$modules node "$here/report_test.js" "$out/index.html" 12 || fail "report in chromium"
fi
echo "grade class: all checks done"
