#!/usr/bin/env bash
# Installs the dependencies, builds, runs every test, then the engine and file tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes every reader
# for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"
# The engine, data file and core tests again under ASan+UBSan, in the clang build the
# fuzzers use, then every reader fuzzed for a short while (scripts/fuzz.sh SECONDS searches
# longer).
FENDRAL_SANITIZED_TESTS='engine|database|core' scripts/fuzz.sh "${FENDRAL_FUZZ_SECONDS:-5}"
