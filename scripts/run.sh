#!/usr/bin/env bash
# Builds KV390 and starts the weather picture on the desktop.  Without a
# display it says so and renders the demo script to an animated GIF instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKV390_WERROR=ON > /dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target weather kv390-run weather-headless

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/weather/weather
fi
echo "No display found (DISPLAY is not set): rendering the demo script headless instead."
mkdir -p out
build/tools/kv390-run --script scripts/demo.scr --seed 1997 --gif out/demo.gif --out out/demo.png
echo "Animation written to out/demo.gif, last picture to out/demo.png"
