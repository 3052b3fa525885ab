#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ and runs each for SECONDS seconds.
#   scripts/fuzz.sh SECONDS [TARGET...]
# Prints one line per target: "fuzz <target>: <runs> runs, <crashes> crashes".
# Exits non-zero when any target crashed, leaked, timed out or ran out of memory;
# the inputs that did it are in build-fuzz/artifacts/<target>/, the logs in
# build-fuzz/logs/. Each target works on build-fuzz/corpus/<target>, a copy of
# fuzz/corpus/<target> that keeps what earlier runs found; the repository's
# corpus changes only when an input is copied there on purpose.
set -euo pipefail

if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ]; then
  echo "usage: $0 SECONDS [level_file|profile_line|bmp|jpeg ...]" >&2
  exit 2
fi
seconds=$1
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(level_file profile_line bmp jpeg)

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

# The longest input worth trying for each file.
max_len() {
  case "$1" in
    level_file) echo 16384 ;;   # 110 lines of up to 44 fields
    profile_line) echo 256 ;;   # one line of 23 digits
    bmp | jpeg) echo 65536 ;;
    *) echo "unknown target $1" >&2; return 1 ;;
  esac
}
for t in "${targets[@]}"; do max_len "$t" >/dev/null; done

"$root/scripts/install-deps.sh" fuzz
mkdir -p "$build"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVROOMZLE_FUZZ=ON -DVROOMZLE_TESTS=OFF -DVROOMZLE_BENCH=OFF \
    >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
fi
build_targets=()
for t in "${targets[@]}"; do build_targets+=("fuzz_$t"); done
cmake --build "$build" -j2 --target "${build_targets[@]}" >"$build/build.log" 2>&1 ||
  { tail -50 "$build/build.log" >&2; exit 1; }

mkdir -p "$build/logs"
# The targets write each input to a file for the game's readers (and the profile
# is saved with fsync): a memory-backed temp folder keeps that cheap.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  log="$build/logs/$t.log"
  mkdir -p "$corpus" "$artifacts"
  cp -f "$root/fuzz/corpus/$t"/* "$corpus"/
  # The level file as we ship it, never a copy that could fall behind.
  [ "$t" != level_file ] || cp -f "$root/data/map/level.ini" "$corpus/shipped-level.ini"
  marker="$build/logs/$t.started"
  touch "$marker"
  rc=0
  "$build/fuzz/$t" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$(max_len "$t")" -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -1)
  [ -n "$runs" ] || runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -1)
  [ -n "$runs" ] || runs=0
  crashes=$(find "$artifacts" -maxdepth 1 -type f -newer "$marker" \
    \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  rm -f "$marker"
  echo "fuzz $t: $runs runs, $crashes crashes"
  if [ "$crashes" -gt 0 ] || [ "$rc" -ne 0 ]; then
    status=1
    [ "$crashes" -gt 0 ] || echo "fuzz $t: the fuzzer stopped with status $rc, see $log" >&2
  fi
done
exit $status
