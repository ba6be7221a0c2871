#!/usr/bin/env bash
# Installs every Debian package the build, the program and the test suite need.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite sqlite3 libsqlite3-dev
  qt6-serialport-dev qt6-multimedia-dev qt6-charts-dev
  libgl-dev libqt6opengl6-dev libcurl4-openssl-dev
  clang-14 libfuzzer-14-dev libclang-rt-14-dev
  fonts-liberation2
  python3 python3-pyftpdlib poppler-utils sox
  socat locales
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
