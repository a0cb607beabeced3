#!/usr/bin/env bash
# Installs the dependencies, builds and starts the program. With a display: the GUI program
# on FILE (made first with the default contents when it does not exist), or without FILE on
# a new database (or the file used last). Without a display: fendral-cli shows what FILE
# holds (made first when it does not exist; default ~/Fendral.fend).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build >/dev/null
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/fendral ]; then
  if [ $# -gt 0 ]; then
    [ -e "$1" ] || build/bin/fendral-cli new "$1"
    exec build/bin/fendral "$1"
  fi
  exec build/bin/fendral
fi
file=${1:-$HOME/Fendral.fend}
if [ ! -e "$file" ]; then
  build/bin/fendral-cli new "$file"
fi
build/bin/fendral-cli info "$file"
