#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it. Only what
# it runs is built: the game, its data and vroomzle-levels; ./test.sh builds
# the tests and benchmarks in the same folder.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target vroomzle vroomzle-levels vz_art
if [ -x build/vroomzle ]; then
  exec build/vroomzle
fi
exec build/vroomzle-levels check build/map/level.ini
