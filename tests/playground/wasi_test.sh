#!/usr/bin/env bash
# KV390 built for wasm32-wasip1 by the playground's compiler draws what the
# native build draws.  Given a native build tree (default build/):
#   1. scripts/playground/build-kv390.sh builds the wasm archives;
#   2. the hello program of docs/GETTING-STARTED.md and examples/click_draw.c,
#      compiled and linked by that compiler, run under node's WASI with timed
#      clicks and keys, and write PNGs byte-identical to kv390-run's of the
#      same programs built natively;
#   3. the weather picture compiled from weather/*.cpp, seed 1997, with
#      scripts/demo.scr played, writes the native kv390-run picture.
# Prints the archive build time and the compile+link times.  Without node or
# npm it says so in one line and does nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
native=$(realpath "${1:-$root/build}")

missing=()
command -v node > /dev/null || missing+=(nodejs)
command -v npm > /dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "playground wasm tests skipped: ${missing[*]} not installed (scripts/setup.sh installs them)"
  exit 0
fi
for file in tools/kv390-run library/libkv390.a platform/libkv390_headless.a; do
  [ -e "$native/$file" ] || { echo "playground wasm tests: $native/$file is not built" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
ok() { echo "ok   $*"; passed=$((passed + 1)); }
bad() { echo "FAIL $*"; failed=$((failed + 1)); }

started=$(date +%s)
"$root/scripts/playground/build-kv390.sh" "$work/kv390"
echo "playground: KV390 archives for wasm32-wasip1 ready in $(($(date +%s) - started)) s" \
  "($(du -ch "$work"/kv390/lib/*.a | tail -1 | cut -f1) of archives)"

export KV390_PLAYGROUND_NPM
KV390_PLAYGROUND_NPM=$("$root/scripts/playground/toolchain.sh")
mapfile -t link_flags < "$work/kv390/link-flags"

# wasm_build NAME COMPILER FILE...: NAME.wasm in $work/NAME, from the files
# copied there (sources and their headers), compiled and linked in one run of
# the playground's compiler.
wasm_build() {
  local name=$1 compiler=$2
  shift 2
  mkdir -p "$work/$name"
  cp "$@" "$work/$name/"
  local files=()
  for source in "$@"; do
    case $source in *.c | *.cpp) files+=("$(basename "$source")") ;; esac
  done
  local flags=(-O2 -I/kv390/include -L/kv390/lib)
  [ "$compiler" = clang++ ] && flags+=(-std=c++20 -fno-exceptions)
  local begin
  begin=$(date +%s%N)
  node "$root/playground/toolchain/clang.mjs" -C "$work/$name" --mount "/kv390=$work/kv390" \
    "$compiler" "${flags[@]}" "${files[@]}" "${link_flags[@]}" -o "$name.wasm"
  echo "playground: $name (${#files[@]} files) compiled and linked under node in" \
    "$(( ($(date +%s%N) - begin) / 1000000 )) ms"
}

# native_build NAME SOURCE: the same program built natively against the build tree.
native_build() {
  local name=$1 source=$2 compiler=cc
  case $source in *.cpp) compiler=c++ ;; esac
  "$compiler" -O2 -I"$root/library/include" "$source" -o "$work/$name/$name" \
    "$native/library/libkv390.a" "$native/platform/libkv390_headless.a" \
    -lfreetype -lpng -lz -lstdc++ -lm
}

# same_picture NAME WHAT KV390_RUN_OPTIONS...: the wasm and native pictures.
same_picture() {
  local name=$1 what=$2
  shift 2
  if ! node --no-warnings "$root/tests/playground/wasi_run.mjs" "$work/$name/$name.wasm" \
    --out "$work/$name/wasm.png" "$@"; then
    bad "$what: the wasm program did not run to its picture"
    return
  fi
  local native_program=()
  [ -x "$work/$name/$name" ] && native_program=(--program "$work/$name/$name")
  "$native/tools/kv390-run" "$@" --out "$work/$name/native.png" "${native_program[@]}"
  if cmp -s "$work/$name/wasm.png" "$work/$name/native.png"; then
    ok "$what: the wasm picture equals the native one byte for byte"
  else
    bad "$what: the wasm picture differs from the native one"
  fi
}

# The hello program, as the guide prints it, and two clicks.
mkdir -p "$work/hello"
awk '/^`hello.c`/ { found = 1 } found && /^```$/ { exit } found && inside { print } found && /^```c$/ { inside = 1 }' \
  "$root/docs/GETTING-STARTED.md" > "$work/hello.c"
grep -q KV390_wait_event "$work/hello.c" || bad "hello.c not found in docs/GETTING-STARTED.md"
printf '%s\n' "at 300 click 400 120" "at 600 click 150 350" > "$work/hello.input"
wasm_build hello clang "$work/hello.c"
native_build hello "$work/hello.c"
same_picture hello "hello.c of the guide" --input "$work/hello.input"

# click_draw: dots in colours chosen by keys.
printf '%s\n' "at 200 click 100 100" "at 300 type r" "at 400 click 300 200" "at 500 type g" \
  "at 600 click 500 400" "at 700 type y" "at 800 click 250 420" > "$work/click_draw.input"
wasm_build click_draw clang "$root/examples/click_draw.c"
native_build click_draw "$root/examples/click_draw.c"
same_picture click_draw "examples/click_draw.c" --input "$work/click_draw.input"

# The weather picture from its own sources (main_headless.cpp takes the seed
# from KV390_SEED), against kv390-run's own weather picture.
weather_sources=()
for source in "$root"/weather/*.cpp; do
  [ "$(basename "$source")" = main.cpp ] || weather_sources+=("$source")
done
wasm_build weather clang++ "${weather_sources[@]}" "$root"/weather/*.h
same_picture weather "the weather picture (seed 1997, scripts/demo.scr)" \
  --script "$root/scripts/demo.scr" --seed 1997

echo "playground-wasm: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
