#!/usr/bin/env bash
# Installs what building and playing need, builds the game in Release and starts
# it. Only what it runs is built: the game, its data and vroomzle-levels, without
# the tests and benchmarks, which ./test.sh adds to the same folder.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVROOMZLE_TESTS=OFF -DVROOMZLE_BENCH=OFF
cmake --build build -j"$(nproc)" --target vroomzle vroomzle-levels vz_art
exec build/vroomzle
