#!/usr/bin/env bash
# The playground checks, given a native build tree (default build/):
#   1. the site is built (scripts/build-playground.sh, into build-playground/);
#   2. the page runs in chromium (tests/playground/browser_test.js): programs
#      typed, linked and shared, compared with the native headless build.
# Without chromium, node or npm it says so and does nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(realpath "${1:-$root/build}")

missing=()
[ -x /usr/bin/chromium ] || missing+=(chromium)
command -v node > /dev/null || missing+=(nodejs)
command -v npm > /dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "playground tests skipped: ${missing[*]} not installed (scripts/setup.sh installs them)"
  exit 0
fi
for file in tools/kv390-run tools/kv390-render library/libkv390.a platform/libkv390_headless.a; do
  [ -e "$native/$file" ] || { echo "playground tests: $native/$file is not built" >&2; exit 1; }
done

out=${KV390_PLAYGROUND_BUILD:-$root/build-playground}
started=$(date +%s)
rm -rf "$out/playground"
KV390_NATIVE_BUILD=$native "$root/scripts/build-playground.sh" "$out"
echo "playground: site built in $(($(date +%s) - started)) s"

# playwright-core, pinned in tests/web/package-lock.json, installed once per
# lock into the cache.
cache=${KV390_CACHE_DIR:-${KV390_CACHE:-$HOME/.cache/kv390}}
hash=$(cat "$root/tests/web/package.json" "$root/tests/web/package-lock.json" | sha256sum | cut -c1-12)
modules=$cache/playground-test-npm-$hash
if [ ! -f "$modules/.complete" ]; then
  mkdir -p "$cache"
  work=$(mktemp -d "$cache/playground-test-npm.XXXXXX")
  cp "$root/tests/web/package.json" "$root/tests/web/package-lock.json" "$work/"
  (cd "$work" && npm ci --no-audit --no-fund --loglevel=error) ||
    { rm -rf "$work"; echo "playground tests: npm ci of tests/web/package-lock.json failed" >&2; exit 1; }
  touch "$work/.complete"
  rm -rf "$modules"
  mv "$work" "$modules"
fi
NODE_PATH=$modules/node_modules node "$root/tests/playground/browser_test.js" --site "$out" --native "$native"
node --no-warnings "$root/tests/playground/check_verdict_test.mjs"
node --no-warnings "$root/tests/playground/compile_lanes_test.mjs"
NODE_PATH=$modules/node_modules node "$root/tests/playground/check_test.js" --site "$out" --native "$native"
echo "playground: all checks done in $(($(date +%s) - started)) s"
