#!/usr/bin/env bash
# A link launcher for the emscripten build (CMake's CMAKE_<LANG>_LINKER_LAUNCHER):
#
#   link-cache.sh COMPILER ARGS... -o OUT.js ...
#
# runs the link, or, when the same link ran before (the same arguments, with
# every input file's bytes in place of its path), copies its outputs (OUT.js
# and OUT.wasm) from the cache.  A page's link is mostly wasm-opt's asyncify
# pass, several seconds each, so a fresh clone whose objects come from ccache
# saves most of the web build here.  The cache is KV390_WEB_LINK_CACHE; an
# entry appears under its final name only when complete, and the oldest go
# when there are more than KV390_WEB_LINK_ENTRIES (default 200).
set -euo pipefail

cache=${KV390_WEB_LINK_CACHE:-}
[ -n "$cache" ] || exec "$@"

# The words of the command, response files (@FILE) read in.
words=()
output=""
next_is_output=""
for arg in "$@"; do
  if [[ $arg == @* && -f ${arg#@} ]]; then
    mapfile -t expanded < <(xargs printf '%s\n' < "${arg#@}")  # xargs takes the quotes off
    words+=("${expanded[@]}")
  else
    words+=("$arg")
  fi
done
for word in "${words[@]}"; do
  [ -n "$next_is_output" ] && { output=$word; break; }
  [ "$word" = -o ] && next_is_output=yes
done
[[ $output == *.js ]] || exec "$@"  # not a link this cache knows the outputs of

# The key: each word, a file (alone or as --option=FILE) as its content's
# hash, other words with the clone's folder taken out; the toolchain's versions.
root=$(cd "$(dirname "$0")/../.." && pwd)
key=$(
  {
    dpkg-query -W -f='${Package} ${Version}\n' emscripten binaryen 2> /dev/null || true
    for word in "${words[@]}"; do
      option="" file=$word
      [[ $word == -*=* ]] && option=${word%%=*} file=${word#*=}
      if [ "$word" != "$output" ] && [ -f "$file" ]; then
        echo "$option file $(sha256sum < "$file" | cut -c1-64)"
      else
        echo "${word//$root/<root>}"
      fi
    done
  } | sha256sum | cut -c1-40
)
entry=$cache/$key
wasm=${output%.js}.wasm
name=$(basename "${output%.js}")

if [ -f "$entry/$name.js" ]; then
  touch "$entry"  # recently used: pruned last
  cp "$entry/$name.js" "$output"
  if [ -f "$entry/$name.wasm" ]; then cp "$entry/$name.wasm" "$wasm"; else rm -f "$wasm"; fi
  exit 0
fi

rm -f "$output" "$wasm"
"$@"
mkdir -p "$cache"
partial=$(mktemp -d "$cache/.partial.XXXXXX")
cp "$output" "$partial/$name.js"
[ -f "$wasm" ] && cp "$wasm" "$partial/$name.wasm"
mv -T "$partial" "$entry" 2> /dev/null || rm -rf "$partial"  # another link got there first
# Prune: the least recently used entries beyond the limit.
ls -1t "$cache" | tail -n +$((${KV390_WEB_LINK_ENTRIES:-200} + 1)) |
  while read -r old; do rm -rf "${cache:?}/$old"; done
