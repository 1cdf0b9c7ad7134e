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
  ccache                                    # scripts/test.sh: compiles reused across clones
  stress-ng                                 # scripts/stress-test.sh: every core kept busy
  jq                                        # the example gallery (scripts/gallery.sh)
  emscripten chromium nodejs                # web pages and their browser tests
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix  # the Windows build
  wine wine64 zip unzip dpkg-dev                          # its tests, package, sources
  libtomlplusplus-dev libcli11-dev nlohmann-json3-dev bubblewrap  # kv390-grade
)
# npm comes with some nodejs builds and as its own package with Debian's.
command -v npm > /dev/null || packages+=(npm)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The web and Windows builds compile their libraries (FreeType, zlib, libpng,
# giflib; for Windows also SDL2 and GoogleTest) from Debian's source
# packages (apt-get source), which needs deb-src lines for the configured
# mirror.  The security archive is left out: its sources are not mirrored
# everywhere, and the libraries' main versions build the same pictures.
sources_added=""
add_source_lines() {
  grep -rqsE '^deb-src |^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/ && return
  local list=/etc/apt/sources.list.d/kv390-deb-src
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    awk -v RS= -v ORS='\n\n' '!/security/ { sub(/Types: deb/, "Types: deb-src"); print }' \
      /etc/apt/sources.list.d/debian.sources | $sudo tee "$list.sources" > /dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | grep -v security | sed 's/^deb /deb-src /' |
      $sudo tee "$list.list" > /dev/null
  fi
  sources_added=yes
}
add_source_lines

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && [ -z "$sources_added" ] && exit 0

# Other installs may hold the package lock: wait for them instead of failing.
apt=(apt-get -o DPkg::Lock::Timeout=900)
export DEBIAN_FRONTEND=noninteractive
$sudo "${apt[@]}" update -q
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing Debian packages: ${missing[*]}"
$sudo "${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
