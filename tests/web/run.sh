#!/usr/bin/env bash
# The web checks, given a native build tree (default build/):
#   1. the pages and the node programs are built with emscripten (build-web/);
#   2. the wasm kv390-render, run under node, writes the same PNG bytes for
#      scripts/demo.scr and seed 1997 as the native one;
#   3. the pages run in chromium (tests/web/browser_test.js).
# Without emscripten, chromium or node it says so and does nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(realpath "${1:-$root/build}")

missing=()
command -v emcc > /dev/null || missing+=(emscripten)
[ -x /usr/bin/chromium ] || missing+=(chromium)
command -v node > /dev/null || missing+=(nodejs)
command -v npm > /dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "web tests skipped: ${missing[*]} not installed (scripts/setup.sh installs them)"
  exit 0
fi
for program in tools/kv390-render examples/ask_name_headless; do
  [ -x "$native/$program" ] || { echo "web tests: $native/$program is not built" >&2; exit 1; }
done

export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # emscripten's acorn
build=${KV390_WEB_BUILD:-$root/build-web}
site=$build/site
started=$(date +%s)

rm -rf "$site"  # the pages of this build only
KV390_WEB_BUILD=$build "$root/scripts/build-web.sh" "$site"
cmake --build "$build" --target kv390-render -j "${KV390_JOBS:-2}" > /dev/null
echo "web: pages and node programs built in $(($(date +%s) - started)) s"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
node "$build/tools/kv390-render.js" --script "$root/scripts/demo.scr" --seed 1997 --out "$work/wasm.png"
"$native/tools/kv390-render" --script "$root/scripts/demo.scr" --seed 1997 --out "$work/native.png"
if cmp -s "$work/wasm.png" "$work/native.png"; then
  echo "ok   wasm headless picture of scripts/demo.scr (seed 1997) equals the native one byte for byte"
else
  echo "FAIL wasm and native headless pictures of scripts/demo.scr (seed 1997) differ"
  exit 1
fi

# playwright-core, pinned in package-lock.json, installed once per lock into
# a cache outside the clone (KV390_CACHE_DIR moves it), so a fresh clone
# reuses it; the folder appears under its final name only when complete.
cache=${KV390_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kv390}
lock=$(sha256sum "$root/tests/web/package-lock.json" | cut -c1-12)
modules=$cache/web-test-npm-$lock
if [ ! -d "$modules/node_modules" ]; then
  mkdir -p "$cache"
  partial=$(mktemp -d "$modules.partial.XXXXXX")
  cp "$root/tests/web/package.json" "$root/tests/web/package-lock.json" "$partial/"
  (cd "$partial" && npm ci --no-audit --no-fund --loglevel=error)
  mv -T "$partial" "$modules" 2> /dev/null || rm -rf "$partial"  # another run got there first
fi
NODE_PATH=$modules/node_modules:$NODE_PATH \
  node "$root/tests/web/browser_test.js" --site "$site" --native "$native"
echo "web: all checks done in $(($(date +%s) - started)) s"
