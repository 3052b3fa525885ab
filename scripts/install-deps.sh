#!/usr/bin/env bash
# Installs the Debian packages a purpose needs; the caller names its purposes:
#   scripts/install-deps.sh play      to build the game and play it (./run.sh)
#   scripts/install-deps.sh test      to build and run the whole suite (./test.sh)
#   scripts/install-deps.sh package   to make and check the packages (scripts/check-package.sh)
#   scripts/install-deps.sh fuzz      to build and run the fuzzers (scripts/fuzz.sh)
# Does nothing when they are all present; otherwise one apt-get update and one install.
set -euo pipefail

# Each purpose's own packages; every purpose builds the game first.
play=(build-essential cmake pkg-config qt6-base-dev libgl-dev libjpeg-dev fonts-liberation2)
# The test libraries, the real-window tests on X and Wayland (Xvfb, xdotool,
# ImageMagick, tesseract, weston) and the install test's validators.
test=(libgtest-dev libgmock-dev libbenchmark-dev python3
      xvfb xauth xdotool imagemagick tesseract-ocr tesseract-ocr-eng
      weston qt6-wayland libweston-10-dev
      desktop-file-utils appstream man-db file)
# lintian, and what the installed game is played with (the test's window scripts).
package=(lintian "${test[@]}")
fuzz=(clang libclang-rt-14-dev llvm)

[ $# -gt 0 ] || { echo "usage: $0 play|test|package|fuzz ..." >&2; exit 2; }
wanted=("${play[@]}")
for purpose in "$@"; do
  case "$purpose" in
  play) ;;
  test) wanted+=("${test[@]}") ;;
  package) wanted+=("${package[@]}") ;;
  fuzz) wanted+=("${fuzz[@]}") ;;
  *) echo "$0: no purpose '$purpose' (play, test, package, fuzz)" >&2; exit 2 ;;
  esac
done

missing=()
for p in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo to get: ${missing[*]}" >&2; exit 1; }
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
