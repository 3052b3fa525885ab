#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole suite through ctest.
#   ./test.sh             Release build in build/
#   ./test.sh --sanitize  AddressSanitizer and UndefinedBehaviorSanitizer build in
#                         build-asan/; the first sanitizer report fails its test
#   ./test.sh --tsan      ThreadSanitizer build in build-tsan/ of the tests whose
#                         threads run without Qt; the first report fails its test
set -euo pipefail
cd "$(dirname "$0")"

TARGETS=()
case "${1:-}" in
"")
  BUILD=build
  CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=Release -DVROOMZLE_TESTS=ON -DVROOMZLE_BENCH=ON -DVROOMZLE_REQUIRE_E2E=ON)
  ;;
--sanitize)
  BUILD=build-asan
  # -O1 keeps the instrumented suite quick to build and run; without NDEBUG the
  # assertions stay on. The benchmarks measure nothing under a sanitizer.
  CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g"
              -DVROOMZLE_SANITIZE=ON -DVROOMZLE_TESTS=ON -DVROOMZLE_BENCH=OFF -DVROOMZLE_REQUIRE_E2E=ON)
  ;;
--tsan)
  BUILD=build-tsan
  # Qt is not built with ThreadSanitizer, which sees only code that is: this build
  # holds the tests whose threads run without Qt, and makes only what they need.
  CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g"
              -DVROOMZLE_TSAN=ON -DVROOMZLE_TESTS=ON -DVROOMZLE_BENCH=OFF)
  TARGETS=(--target vz_tsan_tests)
  ;;
*)
  echo "usage: $0 [--sanitize | --tsan]" >&2
  exit 2
  ;;
esac

scripts/install-deps.sh test

cmake -S . -B "$BUILD" "${CMAKE_ARGS[@]}"
cmake --build "$BUILD" -j"$(nproc)" "${TARGETS[@]}"
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
