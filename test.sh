#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole suite through ctest.
#   ./test.sh             Release build in build/
#   ./test.sh --sanitize  AddressSanitizer and UndefinedBehaviorSanitizer build in
#                         build-asan/; the first sanitizer report fails its test
set -euo pipefail
cd "$(dirname "$0")"

case "${1:-}" in
"")
  BUILD=build
  CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=Release -DVROOMZLE_REQUIRE_E2E=ON)
  ;;
--sanitize)
  BUILD=build-asan
  # -O1 keeps the instrumented suite quick to build and run; without NDEBUG the
  # assertions stay on. The benchmarks measure nothing under a sanitizer.
  CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g"
              -DVROOMZLE_SANITIZE=ON -DVROOMZLE_BENCH=OFF -DVROOMZLE_REQUIRE_E2E=ON)
  ;;
*)
  echo "usage: $0 [--sanitize]" >&2
  exit 2
  ;;
esac

scripts/install-deps.sh

cmake -S . -B "$BUILD" "${CMAKE_ARGS[@]}"
cmake --build "$BUILD" -j"$(nproc)"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
