#!/usr/bin/env bash
# Measures how many faults the test suite catches: applies each source mutation of
# scripts/mutations.txt (flipped comparisons, off-by-one bounds, dropped checks in the engine,
# the rules, the import and the balances) one at a time, rebuilds the test binaries it names
# in build-mutate, runs them and puts the source back. A mutation is caught when a test fails
# or crashes; one that does not compile is not counted.
#   scripts/mutate.sh [FIRST [COUNT]]     the mutations from line FIRST (1), COUNT of them
set -uo pipefail
cd "$(dirname "$0")/.."
first=${1:-1}
count=${2:-100000}
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build-mutate -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFENDRAL_GUI=OFF -DFENDRAL_BENCH=OFF >/dev/null
if [ -n "$(git status --porcelain -- src)" ]; then
  echo "the sources have uncommitted changes; commit or stash them first"
  exit 2
fi
trap 'git checkout -q -- src' EXIT

caught=0 survived=0 stillborn=0 n=0
while IFS=$'\t' read -r file text replacement targets; do
  case "$file" in ''|'#'*) continue ;; esac
  n=$((n + 1))
  [ "$n" -lt "$first" ] && continue
  [ "$n" -ge $((first + count)) ] && break
  if ! /usr/bin/python3 - "$file" "$text" "$replacement" <<'PY'
import sys
path, text, replacement = sys.argv[1], *(bytes(a, 'utf-8').decode('unicode_escape') for a in sys.argv[2:4])
if replacement == '(nothing)':
    replacement = ''
source = open(path, encoding='utf-8').read()
if text not in source:
    sys.exit(1)
open(path, 'w', encoding='utf-8').write(source.replace(text, replacement, 1))
PY
  then
    echo "$n $file: the text to mutate is not there any more"
    stillborn=$((stillborn + 1))
    continue
  fi
  verdict=survived
  # shellcheck disable=SC2086
  if ! cmake --build build-mutate --target $targets >/dev/null 2>&1; then
    verdict=stillborn
  else
    for target in $targets; do
      if ! timeout 900 "build-mutate/tests/$target" --gtest_brief=1 >/dev/null 2>&1; then
        verdict=caught
        break
      fi
    done
  fi
  git checkout -q -- "$file"
  case $verdict in
    caught) caught=$((caught + 1)) ;;
    survived) survived=$((survived + 1)) ;;
    stillborn) stillborn=$((stillborn + 1)) ;;
  esac
  echo "$n $verdict $file: $(cut -c1-70 <<<"$text")"
done < scripts/mutations.txt
# The binaries are left as the sources are, for the next run.
cmake --build build-mutate --target core_tests engine_tests database_tests exchange_tests rates_tests >/dev/null 2>&1
echo "caught $caught of $((caught + survived)) mutations ($stillborn did not compile or no longer apply)"
[ "$survived" -eq 0 ]
