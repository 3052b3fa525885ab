#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
if [ -x build/vroomzle ]; then
  exec build/vroomzle
fi
exec build/vroomzle-levels check build/map/level.ini
