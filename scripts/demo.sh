#!/usr/bin/env bash
# Sets up, builds, and renders the built-in demo through Nimbrel into a WAV file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DNIMBREL_TESTS=OFF -DNIMBREL_BENCH=OFF > /dev/null
cmake --build build -j"$(nproc)" --target nimbrel nimbrel_plugin
out="$PWD/nimbrel-demo.wav"
build/tools/nimbrel/nimbrel render --demo "$out"
echo "The demo through program 0 is in $out"
