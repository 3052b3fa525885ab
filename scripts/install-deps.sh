#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, test, package and run.
# Does nothing when they are all present; otherwise one apt-get update and one install.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2
  xvfb xauth xdotool imagemagick
  weston qt6-wayland libweston-10-dev
  python3 tesseract-ocr tesseract-ocr-eng
  clang libclang-rt-14-dev llvm
  desktop-file-utils appstream lintian man-db file
)

missing=()
for p in "${PACKAGES[@]}"; do
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
