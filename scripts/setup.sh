#!/usr/bin/env bash
# Installs the Debian packages KV390 needs to build, test and run, when any is
# missing.  Safe to run again: it does nothing when everything is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config          # toolchain
  libfreetype-dev libpng-dev                # fonts, PNG screenshots
  libsdl2-dev                               # desktop windows
  libgif-dev                                # animated GIF output
  googletest libgtest-dev libgmock-dev      # tests
  libbenchmark-dev libcairo2-dev            # benchmarks (cairo is the peer)
  xvfb xdotool x11-apps imagemagick         # desktop end-to-end tests
  clang libclang-rt-14-dev                  # fuzzing
  valgrind
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
