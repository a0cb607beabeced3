#!/usr/bin/env bash
# Installs everything the build and the tests need (Debian 12, as root).
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config ccache
  zlib1g-dev libminizip-dev libcurl4-openssl-dev nlohmann-json3-dev
  qt6-base-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-olefile python3-openpyxl
  help2man dpkg-dev desktop-file-utils shared-mime-info appstream
  poppler-utils
  clang libclang-rt-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
