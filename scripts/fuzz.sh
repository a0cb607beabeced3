#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# in build-fuzz, and runs each for SECONDS (60 by default) over its seed corpus from
# fuzz/corpus. New interesting inputs collect in build-fuzz/corpus/NAME; an input that
# breaks a reader is written to build-fuzz/crashes/ and the script fails. Copy such an input
# into fuzz/corpus/NAME once it is fixed: every ordinary build then runs it as a test.
# With FENDRAL_SANITIZED_TESTS set to CTest labels ('engine|database|core'), the test
# binaries of those layers are built in the same sanitized build and run first, so that
# one clang build serves both.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DFENDRAL_FUZZ=ON -DFENDRAL_SANITIZE=ON -DFENDRAL_GUI=OFF -DFENDRAL_TESTS=ON -DFENDRAL_BENCH=OFF >/dev/null
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
if [ -n "${FENDRAL_SANITIZED_TESTS:-}" ]; then
  IFS='|' read -r -a layers <<<"$FENDRAL_SANITIZED_TESTS"
  cmake --build build-fuzz -j"$(nproc)" --target "${layers[@]/%/_tests}"
  ctest --test-dir build-fuzz --output-on-failure -j"$(nproc)" -L "$FENDRAL_SANITIZED_TESTS"
fi
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ls fuzz/corpus)
fi
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/crashes
failed=()
for name in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$name"
  echo "== $name: ${seconds} s"
  if ! "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/crashes/$name-" "build-fuzz/corpus/$name" "fuzz/corpus/$name" \
      >"build-fuzz/$name.log" 2>&1; then
    failed+=("$name")
    tail -n 40 "build-fuzz/$name.log"
  fi
  grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "build-fuzz/$name.log" | tr '\n' ' '
  echo
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "broken readers: ${failed[*]} (inputs in build-fuzz/crashes)"
  exit 1
fi
echo "every reader held for ${seconds} s"
