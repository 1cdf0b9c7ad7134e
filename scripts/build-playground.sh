#!/usr/bin/env bash
# Builds the KV390 playground, a static site:
#
#   scripts/build-playground.sh OUT      # writes OUT/playground/
#
# OUT/playground/ holds the page (index.html, the bundled scripts), the
# compiler's files copied from the pinned npm package @yowasp/clang, KV390
# built for wasm32-wasip1 (headers and archives, with the page backend), and
# the examples.  The npm packages and the wasm builds are cached outside the
# clone (~/.cache/kv390, KV390_CACHE_DIR moves it); the folder appears at its
# final name only when it is complete.
set -euo pipefail

fail() { echo "build-playground: $*" >&2; exit 1; }

[ $# -eq 1 ] && [ -n "$1" ] || fail "usage: scripts/build-playground.sh OUT"
out=$1
root=$(cd "$(dirname "$0")/.." && pwd)
command -v node > /dev/null || fail "node not found (Debian package nodejs; scripts/setup.sh installs it)"
command -v npm > /dev/null || fail "npm not found (Debian package npm; scripts/setup.sh installs it)"
for script in toolchain.sh build-kv390.sh; do
  [ -x "$root/scripts/playground/$script" ] || fail "missing scripts/playground/$script (the playground's toolchain)"
done
cache=${KV390_CACHE_DIR:-${KV390_CACHE:-$HOME/.cache/kv390}}
mkdir -p "$cache" "$out"

# ---- the page's npm packages (CodeMirror, the WASI shim, esbuild), once per lock ----
page_lock=$root/playground/package-lock.json
hash=$(cat "$root/playground/package.json" "$page_lock" | sha256sum | cut -c1-12)
page_npm=$cache/playground-page-npm-$hash
if [ ! -f "$page_npm/.complete" ]; then
  work=$(mktemp -d "$cache/playground-page-npm.XXXXXX")
  cp "$root/playground/package.json" "$page_lock" "$work/"
  echo "build-playground: installing the page's npm packages (npm ci)" >&2
  (cd "$work" && npm ci --no-audit --no-fund > npm.log 2>&1) ||
    { tail -20 "$work/npm.log" >&2; rm -rf "$work"; fail "npm ci of playground/package-lock.json failed"; }
  touch "$work/.complete"
  rm -rf "$page_npm"
  mv "$work" "$page_npm"
fi

# ---- the compiler and KV390 for wasm32-wasip1 ----
toolchain=$("$root/scripts/playground/toolchain.sh")
export KV390_PLAYGROUND_NPM=$toolchain
# Both folders are named after the compiler and shared by clones (their
# objects are reused only for unchanged sources); the lock keeps a second
# build from writing them until this one has copied what it needs.
tag=$(basename "$toolchain" | sed 's/^playground-npm-//')
kv390=$cache/playground-kv390-$tag
exec {lock}> "$cache/playground-$tag.lock"
flock "$lock" || fail "cannot lock $cache/playground-$tag.lock"
"$root/scripts/playground/build-kv390.sh" "$kv390" || fail "building KV390 for wasm32-wasip1 failed"

# The page backend: the web backend's C++ side, whose page is the program's
# worker here (its imports are the module kv390_page).
page_build=$cache/playground-page-build-$tag
mkdir -p "$page_build/obj" "$page_build/lib"
page_sources="/kv390/platform/src/web/page_input.cpp /kv390/platform/src/web/page_windows.cpp
  /kv390/platform/src/web/web_backend.cpp /kv390/platform/src/select/web_library.cpp"
page_flags="-std=c++20 -fno-exceptions -O2 -DNDEBUG -Wall -Wextra -Werror
  -I/kv390/platform/include -I/kv390/platform/src"
node "$root/playground/toolchain/clang.mjs" archives "$page_build/obj" "$page_build/lib" \
  --mount "/kv390/platform/include=$root/platform/include" \
  --mount "/kv390/platform/src=$root/platform/src" \
  --archive kv390_page clang++ "$page_sources" "$page_flags" ||
  fail "building the page backend for wasm32-wasip1 failed"

# ---- the site, staged and then moved into place whole ----
site=$(mktemp -d "$out/.playground.XXXXXX")
trap 'rm -rf "$site"' EXIT
esbuild=$page_npm/node_modules/.bin/esbuild
bundle() {
  NODE_PATH=$page_npm/node_modules "$esbuild" --bundle --log-level=warning --target=chrome120 "$@" ||
    fail "bundling $1 failed"
}
bundle "$root/playground/src/main.js" --format=iife --outfile="$site/playground.js" --minify
bundle "$root/playground/src/compile_worker.js" --format=esm --outfile="$site/compile_worker.js" \
  --external:./clang/bundle.js --minify
bundle "$root/playground/src/run_worker.js" --format=esm --outfile="$site/run_worker.js" --minify
bundle "$root/playground/src/check_worker.js" --format=esm --outfile="$site/check_worker.js" --minify
cp "$root/playground/index.html" "$root/playground/playground.css" "$site/"

# The compiler, as the npm package ships it.
mkdir -p "$site/clang"
cp "$toolchain"/node_modules/@yowasp/clang/gen/* "$site/clang/"
cp "$toolchain"/node_modules/@yowasp/clang/LICENSE* "$site/clang/" 2> /dev/null || true

# KV390: headers, archives, and the list the compiler's worker loads.
mkdir -p "$site/kv390/lib"
cp -r "$kv390/include" "$site/kv390/include"
cp "$kv390"/lib/*.a "$page_build/lib/libkv390_page.a" "$site/kv390/lib/"
node "$root/playground/tools/site-lists.mjs" kv390 "$site/kv390" "$kv390/link-flags" ||
  fail "cannot list the KV390 files"

# The examples, and the weather picture with its several source files.
mkdir -p "$site/examples/weather"
cp "$root"/examples/*.c "$root"/examples/*.cpp "$site/examples/" 2> /dev/null || true
[ -f "$root/examples/index.json" ] && cp "$root/examples/index.json" "$site/examples/titles.json"
weather=(main_headless.cpp main_loop.cpp scene.cpp panel.cpp items.cpp item_drawing.cpp walkers.cpp
  walker_drawing.cpp random.cpp weather.h random.h)
for file in "${weather[@]}"; do cp "$root/weather/$file" "$site/examples/weather/"; done
node "$root/playground/tools/site-lists.mjs" examples "$site/examples" "${weather[@]}" ||
  fail "cannot list the examples"

# The exercises, with their checks and the solutions' pictures made natively.
"$root/scripts/playground/exercise-site.sh" "$site/exercises" || fail "building the exercises failed"

chmod 755 "$site"
rm -rf "${out:?}/playground"
mv "$site" "$out/playground"
trap - EXIT
echo "build-playground: $out/playground/index.html"
