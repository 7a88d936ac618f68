#!/usr/bin/env bash
# Sets up, builds from scratch and runs every test: a plain build, then the
# address and undefined-behaviour sanitizers, then the thread sanitizer on the
# tests that share the instance between threads, then the fuzzers (file
# loaders and the plug-in's binary interface).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests

jobs=$(nproc)
export NIMBREL_DATA_DIR="$(mktemp -d /tmp/nimbrel-ci-XXXXXX)"
stage() { echo; echo "=== $* (at ${SECONDS} s) ==="; }
fresh() { rm -rf "$1"; mkdir -p "$1"; }

stage "build and test"
fresh build-ci
cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-ci -j"$jobs"
ctest --test-dir build-ci --output-on-failure -j"$jobs" --timeout 600

stage "address and undefined-behaviour sanitizers"
# Tools that run during the build (the skin generator) run sanitized too.
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
# The test host keeps the plug-in library mapped: the drawing libraries it pulls
# in keep caches for the life of the process, and unmapping them would turn those
# into anonymous "leaks". A leak of the plug-in's own is still reported.
export NIMBREL_KEEP_LOADED=1
fresh build-asan
# GCC's "undefined" leaves out the float checks: a float converted to an
# integer it does not fit, and a division by zero, are asked for by name.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
  -DNIMBREL_SANITIZE=address,undefined,float-cast-overflow,float-divide-by-zero -DNIMBREL_BENCH=OFF > /dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 900 -LE no-sanitizer

stage "thread sanitizer"
fresh build-tsan
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
  -DNIMBREL_SANITIZE=thread -DNIMBREL_BENCH=OFF > /dev/null
cmake --build build-tsan -j"$jobs"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j"$jobs" --timeout 900 -L threads

if [ -x tests/fuzz/run.sh ]; then
  stage "fuzzing the file loaders and the binary interface"
  tests/fuzz/run.sh 60
fi

echo
echo "All test stages passed in ${SECONDS} s."
