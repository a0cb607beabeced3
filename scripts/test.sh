#!/usr/bin/env bash
# Installs the dependencies, builds, runs every test, then the engine and file tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes every reader
# for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"
# The sanitizer pass covers the record engine, the data file and the core readers.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFENDRAL_SANITIZE=ON -DFENDRAL_BENCH=OFF -DFENDRAL_GUI=OFF >/dev/null
cmake --build build-asan -j"$(nproc)" --target core_tests engine_tests database_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -L 'engine|database|core'
# Every reader fuzzed for a short while (scripts/fuzz.sh SECONDS searches longer).
scripts/fuzz.sh "${FENDRAL_FUZZ_SECONDS:-5}"
