#!/usr/bin/env bash
# Installs what is needed, builds Kirv Vorel, installs it into a local folder
# (program, race database, sounds, settings) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
prefix=${KIRV_PREFIX:-$PWD/install-root}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BENCH=OFF
cmake --build build/release -j "$(nproc)"
cmake --install build/release --prefix "$prefix"
# The installation step keeps an existing race database.
"$prefix/bin/kirv-install" "$prefix"
exec "$prefix/bin/kirv-vorel"
