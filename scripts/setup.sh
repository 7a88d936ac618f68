#!/usr/bin/env bash
# Installs what Nimbrel needs to build and test, from Debian's packages.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

BUILD_PACKAGES=(
  cmake g++ make pkg-config
  libsndfile1-dev libcairo2-dev libx11-dev libxtst-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # The fuzz targets: clang and the runtime libraries of Debian's default clang version.
  clang libclang-rt-dev
  lv2-dev liblilv-dev
)
TEST_PACKAGES=(
  xvfb xdotool x11-utils x11-xserver-utils zenity xdg-utils
  dragonfly-reverb-vst ardour
  lilv-utils lv2file jalv jackd2 serdi sordi
)

want=("${BUILD_PACKAGES[@]}")
if [ "${1:-}" = "--tests" ]; then
  want+=("${TEST_PACKAGES[@]}")
fi

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks whether to raise the real-time limits; the tests run their own
# private dummy server and need no change to the system.
if printf '%s\n' "${missing[@]}" | grep -qx jackd2; then
  echo "jackd2 jackd/tweak_rt_limits boolean false" | $SUDO debconf-set-selections
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
