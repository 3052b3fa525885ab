#!/usr/bin/env bash
# CPU per event of the game and of a bare Qt widget sent the same events in a real
# X window, and of the X server for each (docs/performance.md, "The cost of an event").
#   scripts/measure-events.sh [BUILD] [MOVES] [CYCLES] [RUNS]
# BUILD is a Release build folder with the game and vroomzle-bare-widget (default
# build); MOVES pointer moves (1500), CYCLES pairs taken and undone (100), each
# sent RUNS times (5) to both programs in turn; the medians are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
for program in vroomzle vroomzle-bare-widget; do
  [ -x "$BUILD/$program" ] || { echo "no $BUILD/$program: build first (cmake --build $BUILD)" >&2; exit 2; }
done
exec xvfb-run -a -s "-screen 0 1024x768x24" python3 scripts/measure_events.py "$BUILD" "${2:-1500}" "${3:-100}" "${4:-5}"
