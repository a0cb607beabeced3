#!/usr/bin/env bash
# Configures and builds into build/ (or $1) with ninja; extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
# Paths relative to the checkout, so that ccache serves any checkout of the project.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
