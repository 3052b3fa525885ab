#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole suite through ctest.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

BUILD=build
CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=Release -DVROOMZLE_REQUIRE_E2E=ON)
cmake -S . -B "$BUILD" "${CMAKE_ARGS[@]}"
cmake --build "$BUILD" -j"$(nproc)"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
