#!/usr/bin/env bash
# first_frame.sh COMMAND [ARGS...]
# Starts the game offscreen and waits until its window has been painted and
# shown whole once, then ends it. Qt's painting log names that moment: the
# flush of the whole client area of the main window (Form1). A message box (a
# start-up error such as a missing level file), an early end or no frame within
# 30 seconds fails.
set -euo pipefail

log=$(mktemp /tmp/vroomzle-frame-XXXXXX)
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.widgets.painting=true" "$@" >/dev/null 2>"$log" &
game=$!
trap 'kill "$game" 2>/dev/null || true; rm -f "$log"' EXIT

frame='Flushing QRegion\(0,0 [0-9]+x[0-9]+\) of QWidget\([^)]*name="Form1"\)'
fail() {
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  echo "FAILED: $*" >&2
  grep -v '^qt.widgets.painting' "$log" | tail -20 >&2 || true
  exit 1
}

for ((i = 0; i < 300; i++)); do
  grep -Eq "$frame" "$log" && break
  kill -0 "$game" 2>/dev/null || fail "$1 ended before its first frame"
  sleep 0.1
done
grep -Eq "$frame" "$log" || fail "no first frame from $1 within 30 seconds"

# A start-up error shows its box right after the first frame.
sleep 1
grep -q 'of QMessageBox' "$log" && fail "$1 showed a message box at start-up"
kill -0 "$game" 2>/dev/null || fail "$1 ended after its first frame"
kill "$game"
wait "$game" 2>/dev/null || true
echo "ok: $1 showed its first frame"
