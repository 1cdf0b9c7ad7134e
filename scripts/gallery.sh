#!/usr/bin/env bash
# The example gallery: runs every example of examples/index.json headless
# with its timed input and makes its picture (and, for an animated one, its
# animation), then the gallery page docs/examples/README.md from the index.
#
#   scripts/gallery.sh            # compare with the committed gallery
#   scripts/gallery.sh --update   # write the gallery anew
#
# Options: --build DIR (the build tree with tools/kv390-run and the
# examples' *_headless programs; default build/), --gallery DIR (the
# gallery folder; default docs/examples/), --only NAME (one example, the
# page left out).  Runs are deterministic: a virtual clock and seed 1.
# Comparing exits 1 when anything differs, naming each example and, for a
# picture, how many pixels differ; 2 for a usage or set-up problem.
set -euo pipefail

usage_error() { echo "gallery: $*" >&2; exit 2; }

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
gallery=$root/docs/examples
update=0
only=""
while [ $# -gt 0 ]; do
  case "$1" in
    --update) update=1 ;;
    --build) [ $# -ge 2 ] || usage_error "--build needs a folder"; build=$2; shift ;;
    --gallery) [ $# -ge 2 ] || usage_error "--gallery needs a folder"; gallery=$2; shift ;;
    --only) [ $# -ge 2 ] || usage_error "--only needs an example name"; only=$2; shift ;;
    *) usage_error "unknown option $1 (usage: scripts/gallery.sh [--update] [--build DIR] [--gallery DIR] [--only NAME])" ;;
  esac
  shift
done

command -v jq > /dev/null || usage_error "jq not found (Debian package jq; scripts/setup.sh installs it)"
index=$root/examples/index.json
run=$build/tools/kv390-run
compare=$build/tools/kv390-compare
[ -x "$run" ] && [ -x "$compare" ] ||
  usage_error "no kv390-run and kv390-compare in $build/tools (build them first, or give --build DIR)"
jq -e '.examples | length > 0' "$index" > /dev/null 2>&1 || usage_error "$index is not a list of examples"

# The index must name every example source exactly once, with its input.
problems=0
mapfile -t sources < <(cd "$root" && ls examples/*.c examples/*.cpp)
for source in "${sources[@]}"; do
  count=$(jq --arg f "$source" '[.examples[] | select(.file == $f)] | length' "$index")
  [ "$count" -eq 1 ] || { echo "gallery: $source appears $count times in examples/index.json" >&2; problems=1; }
done
while IFS=$'\t' read -r name file input; do
  for path in "$file" "$input"; do
    [ -f "$root/$path" ] || { echo "gallery: $name: $path does not exist" >&2; problems=1; }
  done
done < <(jq -r '.examples[] | [.name, .file, .input] | @tsv' "$index")
# Together the examples show every call of the library.
for call in $(grep -oE '^int KV390_[a-z_]+' "$root/library/include/kv390.h" | cut -d' ' -f2 | sort -u); do
  grep -qE "\b$call\(" "${sources[@]/#/$root/}" ||
    { echo "gallery: no example calls $call" >&2; problems=1; }
done
[ "$problems" -eq 0 ] || exit 1

if [ -n "$only" ]; then
  jq -e --arg n "$only" 'any(.examples[]; .name == $n)' "$index" > /dev/null ||
    usage_error "no example named $only in examples/index.json"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The gallery page: a section per topic, in the order of the index, and per
# example its picture (the animation of an animated one), description,
# build command and links to the source and the playground.
write_page() {
  jq -r '
    def anchor: ascii_downcase | gsub("[^a-z0-9 -]"; "") | gsub(" "; "-");
    def capital: (.[0:1] | ascii_upcase) + .[1:];
    (reduce .examples[].topic as $t ([]; if index([$t]) then . else . + [$t] end)) as $topics
    | .examples as $all
    | "# Example gallery",
      "",
      "Every example in [`examples/`](../../examples) with what it draws, made headless by `kv390-run`",
      "from the timed input beside it (`examples/<name>.input`). Build one with",
      "`cmake --build build --target <name>` and start `build/examples/<name>`, or open it in the",
      "playground to change it and run it in the browser.",
      "",
      "Topics: " + ([$topics[] | "[" + capital + "](#" + anchor + ")"] | join(" · ")),
      "",
      "The tests regenerate these pictures and compare them (`scripts/gallery.sh`); after changing an",
      "example, `scripts/gallery.sh --update` makes them anew.",
      ($topics[] as $t
       | "", "## " + ($t | capital), "", "| Picture | Example |", "|---|---|",
         ($all[] | select(.topic == $t)
          | "| <img src=\"" + .name + (if .animated then ".gif" else ".png" end) + "\" width=\"298\" alt=\""
            + .title + "\"> | **" + .title + "**<br>" + .description
            + "<br><br>`cmake --build build --target " + .name + "`"
            + "<br><br>[`" + .file + "`](../../" + .file + ") · [open in the playground](../../playground/index.html?file="
            + .file + ") |"))
  ' "$index" > "$1"
}

failures=0
# The lines the library logs when it corrects a call's arguments.
corrections='not possible|^Illegal color|^No room for color|no longer supported'
while IFS=$'\t' read -r name input animated corrects; do
  [ -z "$only" ] || [ "$name" = "$only" ] || continue
  program=$build/examples/${name}_headless
  [ -x "$program" ] || usage_error "$name: $program is not built"
  outputs=(--out "$work/$name.png")
  [ "$animated" = true ] && outputs+=(--gif "$work/$name.gif" --gif-limit 1)
  if ! "$run" --input "$root/$input" --seed 1 --timeout 60 "${outputs[@]}" \
       --log "$work/$name.log" --program "$program" 2> "$work/$name.err"; then
    echo "gallery: $name did not run: $(tail -1 "$work/$name.err")" >&2
    failures=$((failures + 1))
    continue
  fi
  # An example teaches good calls: only one showing corrections on purpose
  # ("corrections": true in the index) may have its arguments corrected.
  corrected=$(grep -E -m 1 "$corrections" "$work/$name.log" || true)
  if [ "$corrects" = true ] && [ -z "$corrected" ]; then
    echo "gallery: $name: no correction was logged, though the index says it shows them" >&2
    failures=$((failures + 1))
  elif [ "$corrects" != true ] && [ -n "$corrected" ]; then
    echo "gallery: $name: the library corrected a call: $corrected" >&2
    failures=$((failures + 1))
  fi
  pictures=("$name.png")
  [ "$animated" = true ] && pictures+=("$name.gif")
  for picture in "${pictures[@]}"; do
    if [ "$update" -eq 1 ]; then
      continue
    elif [ ! -f "$gallery/$picture" ]; then
      echo "gallery: $name: $picture is missing from $gallery" >&2
      failures=$((failures + 1))
    elif ! cmp -s "$work/$picture" "$gallery/$picture"; then
      case "$picture" in
        *.png)
          differing=$("$compare" "$gallery/$picture" "$work/$picture" 2>&1 || true)
          echo "gallery: $name: $picture differs from a fresh run: $differing" >&2 ;;
        *) echo "gallery: $name: $picture differs from a fresh run (the animation)" >&2 ;;
      esac
      failures=$((failures + 1))
    fi
  done
done < <(jq -r '.examples[] | [.name, .input, (.animated | tostring), (.corrections // false | tostring)] | @tsv' "$index")

if [ -z "$only" ]; then
  write_page "$work/README.md"
  if [ "$update" -eq 0 ] && ! cmp -s "$work/README.md" "$gallery/README.md"; then
    echo "gallery: $gallery/README.md does not match examples/index.json" >&2
    failures=$((failures + 1))
  fi
fi

if [ "$update" -eq 1 ]; then
  [ "$failures" -eq 0 ] || { echo "gallery: $failures example(s) did not run; nothing written" >&2; exit 1; }
  mkdir -p "$gallery"
  # Each file replaces the old one at once; pictures of examples no longer
  # in the index go.
  for file in "$work"/*.png "$work"/*.gif "$work"/README.md; do
    [ -f "$file" ] || continue
    cp "$file" "$gallery/.$(basename "$file").new"
    mv "$gallery/.$(basename "$file").new" "$gallery/$(basename "$file")"
  done
  if [ -z "$only" ]; then
    for file in "$gallery"/*.png "$gallery"/*.gif; do
      [ -f "$file" ] && [ ! -f "$work/$(basename "$file")" ] && rm -f "$file"
    done
  fi
  echo "gallery: $gallery updated"
  exit 0
fi
[ "$failures" -eq 0 ] || { echo "gallery: $failures difference(s)" >&2; exit 1; }
echo "gallery: every picture matches"
