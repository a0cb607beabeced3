#!/usr/bin/env bash
# Installs the dependencies, builds, runs every test, then the engine and file tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"
scripts/build.sh build-asan -DFENDRAL_SANITIZE=ON -DFENDRAL_BENCH=OFF -DFENDRAL_GUI=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -L 'engine|database|core|exchange'
