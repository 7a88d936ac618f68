#!/usr/bin/env bash
# Fuzzes the program and the bank loader and the command line's audio-file
# reading for SECONDS each (default 60), and the plug-in's binary interface
# for twice that, under the address and undefined-behaviour sanitizers.
# Exits non-zero on the first crash; the crashing input is left in the build
# folder.
#   tests/fuzz/run.sh [SECONDS]
# NIMBREL_FUZZ_BUILD names the build folder (default build-fuzz).
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${NIMBREL_FUZZ_BUILD:-$root/build-fuzz}"

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DNIMBREL_FUZZ=ON -DNIMBREL_BENCH=OFF >/dev/null
# Every library is built sanitized, and the build runs some of what it builds
# (the skin generator): the drawing libraries' caches are not leaks of ours.
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j2 --target fuzz_fxp_load fuzz_fxb_load fuzz_seeds \
  fuzz_audio_read fuzz_audio_seeds fuzz_plugin_calls

# A fixed seed: the same inputs are tried in the same order on every run, so a
# run differs from another only in how far it gets in its time.
corpus="$build/fuzz-corpus"
mkdir -p "$corpus/fxp" "$corpus/fxb"
"$build/tests/fuzz/fuzz_seeds" "$corpus/fxp" "$corpus/fxb"

for kind in fxp fxb; do
  echo "fuzzing the $kind loader for $seconds s"
  (cd "$build" && "$build/tests/fuzz/fuzz_${kind}_load" -max_total_time="$seconds" -max_len=66000 \
     -seed=1 -print_final_stats=1 "$corpus/$kind")
done

mkdir -p "$corpus/audio"
"$build/tests/fuzz/fuzz_audio_seeds" "$corpus/audio"
echo "fuzzing the command line's audio-file reading for $seconds s"
(cd "$build" && "$build/tests/fuzz/fuzz_audio_read" -max_total_time="$seconds" -max_len=66000 \
   -seed=1 -print_final_stats=1 "$corpus/audio")

mkdir -p "$corpus/calls"
echo "fuzzing the plug-in's binary interface for $((2 * seconds)) s"
# An instance is made and ended for every input, so runs are few: without
# len_control=0 the inputs would stay a few bytes (a call or two) all the time.
(cd "$build" && "$build/tests/fuzz/fuzz_plugin_calls" -max_total_time="$((2 * seconds))" -max_len=4096 \
   -len_control=0 -seed=1 -print_final_stats=1 "$corpus/calls")
