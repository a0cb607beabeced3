#!/usr/bin/env bash
# Installs the dependencies, builds and starts the program on FILE (a new data file
# with the default contents when FILE does not exist; default: ~/Fendral.fend).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build >/dev/null
file=${1:-$HOME/Fendral.fend}
if [ ! -e "$file" ]; then
  build/bin/fendral-cli new "$file"
fi
build/bin/fendral-cli info "$file"
