#!/usr/bin/env bash
# Installs the playground's compiler (the pinned npm package @yowasp/clang:
# clang and lld compiled to WebAssembly) once, into a cache outside the clone,
# and prints the folder whose node_modules/ holds it.
#
#   scripts/playground/toolchain.sh     # prints e.g. ~/.cache/kv390/playground-npm-1a2b3c4d5e6f
#
# The folder is named from the lock file's hash, so a new pin installs anew;
# it appears at its final name only when `npm ci` has finished.
set -euo pipefail

fail() { echo "playground-toolchain: $*" >&2; exit 1; }

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
lock_dir=$here/playground/toolchain
command -v node > /dev/null || fail "node not found (Debian package nodejs; scripts/setup.sh installs it)"
command -v npm > /dev/null || fail "npm not found (Debian package npm; scripts/setup.sh installs it)"
[ -f "$lock_dir/package-lock.json" ] || fail "missing $lock_dir/package-lock.json"

hash=$(cat "$lock_dir/package.json" "$lock_dir/package-lock.json" | sha256sum | cut -c1-12)
cache=${KV390_CACHE_DIR:-${KV390_CACHE:-$HOME/.cache/kv390}}
dest=$cache/playground-npm-$hash
if [ -f "$dest/.complete" ]; then
  echo "$dest"
  exit 0
fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/playground-npm-build.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$lock_dir/package.json" "$lock_dir/package-lock.json" "$work/"
echo "playground-toolchain: installing @yowasp/clang (npm ci, about 30 MB)" >&2
(cd "$work" && npm ci --ignore-scripts --no-audit --no-fund > npm.log 2>&1) ||
  { tail -20 "$work/npm.log" >&2; fail "npm ci failed"; }
touch "$work/.complete"
rm -rf "$dest"
mv "$work" "$dest"
trap - EXIT
echo "$dest"
