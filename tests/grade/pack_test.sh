#!/usr/bin/env bash
# The Gradescope and PrairieLearn packs grade a submission laid out as each
# platform lays it (the platform's root moved into a scratch folder with
# KV390_PLATFORM_ROOT), with KV390 already installed (KV390_PREFIX) and the
# packages already there (KV390_SKIP_APT): their results files must be
# valid and hold the verdicts.
#   tests/grade/pack_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d /tmp/kv390-grade-pack-test.XXXXXX)
chmod 711 "$work"  # the sandboxes' ids reach the KV390 prefix in it
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL $*"; exit 1; }

cmake --install "$build" --prefix "$work/prefix" > /dev/null
export KV390_PREFIX=$work/prefix KV390_SKIP_APT=1
grade=$work/prefix/bin/kv390-grade
exercise=$here/class/exercise.toml

# ---- Gradescope: the zip unpacked into /autograder/source, the student's
# files in /autograder/submission, results in /autograder/results.
"$grade" pack gradescope "$exercise" "$work/autograder.zip" --source "$root" > /dev/null
gs=$work/gradescope
mkdir -p "$gs/source" "$gs/submission"
(cd "$gs/source" && unzip -q "$work/autograder.zip")
for f in setup.sh run_autograder exercise/exercise.toml kv390-source.tar.gz; do
  [ -e "$gs/source/$f" ] || fail "the Gradescope zip lacks $f"
done
sh "$gs/source/setup.sh"
cp "$here/class/submissions/wrong_colour/main.c" "$gs/submission/"
KV390_PLATFORM_ROOT=$gs sh "$gs/source/run_autograder"

# ---- PrairieLearn: the question's tests/ in /grade/tests, the student's
# files in /grade/student, results in /grade/results.
"$grade" pack prairielearn "$exercise" "$work/question" --source "$root" > /dev/null
pl=$work/prairielearn
mkdir -p "$pl/student" "$pl/results"
cp -R "$work/question/tests" "$pl/tests"
cp "$here/class/submissions/right/main.c" "$pl/student/"
KV390_PLATFORM_ROOT=$pl sh "$pl/tests/run.sh"

python3 - "$gs/results/results.json" "$pl/results/results.json" << 'PY' || fail "results"
import json, sys
gs, pl = (json.load(open(p)) for p in sys.argv[1:3])
assert gs["score"] == 0 and [t["status"] for t in gs["tests"]] == ["failed", "failed"], gs
assert gs["tests"][0]["output"].startswith("log has: Illegal color 99"), gs["tests"][0]
assert {"name", "score", "max_score", "status", "output"} <= set(gs["tests"][0]), gs
assert pl["gradable"] is True and pl["score"] == 1.0, pl
assert [t["points"] for t in pl["tests"]] == [5, 2], pl
assert [i["label"] for i in pl["tests"][0]["images"]] == ["expected", "submitted", "differences"]
print("ok   Gradescope: wrong_colour scored 0, " + gs["tests"][0]["output"].split("\n")[0])
print("ok   PrairieLearn: right scored 1.0 with 3 pictures per test")
PY

# A broken submission still gets a results file that says why.
rm "$pl/student/main.c"
KV390_PLATFORM_ROOT=$pl sh "$pl/tests/run.sh"
python3 -c "
import json, sys; r = json.load(open('$pl/results/results.json'))
assert r['score'] == 0 and 'compile error' in r['message'], r" || fail "empty submission"
echo "ok   PrairieLearn: an empty submission scores 0 with a message"
echo "grade packs: all checks done"
