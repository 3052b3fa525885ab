#!/usr/bin/env bash
# Makes the Debian package and the tarball from a build and checks them the way
# a player's machine meets them:
#   - lintian reports no error and no warning;
#   - apt-get installs the .deb, and the installed game, started under Xvfb as an
#     unprivileged user and as root, saves a profile into that player's
#     ~/.local/share/vroomzle/ and loads it, and nothing new appears under /usr;
#   - the tarball unpacks into the portable folder, which starts up offscreen;
#   - apt-get removes the package and nothing of it stays behind under /usr.
#
#   scripts/check-package.sh [BUILD]    BUILD defaults to build/, as ./test.sh leaves it
#
# Installs and removes the package vroomzle, so it needs root or sudo, and
# refuses to run while a vroomzle package is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$(pwd)
build=$(cd "${1:-build}" && pwd)
deb=vroomzle_1.0_amd64.deb
tarball=vroomzle-1.0-linux-x86_64.tar.gz

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo" >&2; exit 1; }
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

scripts/install-deps.sh

fail() { echo "FAILED: $*" >&2; exit 1; }
[ -x "$build/vroomzle" ] || fail "no game in $build: build it first (./test.sh)"
if dpkg-query -W -f='${Status}' vroomzle 2>/dev/null | grep -q "install ok installed"; then
  fail "a vroomzle package is installed already; remove it first (apt-get remove vroomzle)"
fi

work=$(mktemp -d /tmp/vroomzle-package-XXXXXX)
chmod 755 "$work"  # apt's download user reads the .deb from here
installed=no
cleanup() {
  if [ "$installed" = yes ]; then
    $SUDO apt-get remove -y -q vroomzle >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "== packages"
(cd "$build" && rm -f "$deb" "$tarball" && cpack -G DEB >/dev/null && cpack -G TGZ >/dev/null)
cp "$build/$deb" "$build/$tarball" "$work/"
dpkg-deb -f "$work/$deb" Package Version Architecture Section Priority Depends

echo "== lintian"
# Every tag down to the pedantic ones is shown; errors and warnings fail.
status=0
report=$(lintian --pedantic --display-info --fail-on error,warning "$work/$deb" 2>&1) || status=$?
printf '%s\n' "$report" | grep -v "running with root privileges" || true
[ "$status" -eq 0 ] || fail "lintian found errors or warnings"
echo "ok: lintian"

echo "== apt-get install ./$deb"
(cd "$work" && $SUDO apt-get install -y -q "./$deb" >/dev/null)
installed=yes
for file in /usr/games/vroomzle /usr/games/vroomzle-levels /usr/lib/games/vroomzle/vroomzle \
  /usr/lib/games/vroomzle/map/level.ini /usr/lib/games/vroomzle/tiles/8.jpg \
  /usr/share/applications/io.github.vroomzle.Vroomzle.desktop \
  /usr/share/icons/hicolor/256x256/apps/io.github.vroomzle.Vroomzle.png; do
  [ -e "$file" ] || fail "$file is missing after the install"
done
/usr/games/vroomzle-levels check /usr/share/games/vroomzle/map/level.ini >/dev/null ||
  fail "the installed level file does not check"
echo "ok: installed"

# Whoever plays, an installed game writes nothing among its files: each player's
# profile goes to that player's data folder, so the removal leaves nothing behind.
stamp="$work/before-play"
touch "$stamp"
sleep 1  # a file written in the same second as the stamp would not be newer
echo "== the installed game, played by a player who cannot write /usr"
xvfb-run -a -s "-screen 0 1024x768x24" python3 "$source/tests/e2e/profile_in_window.py" "$build" \
  --installed /usr/games/vroomzle
if [ "$(id -u)" -eq 0 ]; then
  echo "== the installed game, played by root, who may write /usr"
  xvfb-run -a -s "-screen 0 1024x768x24" python3 "$source/tests/e2e/profile_in_window.py" "$build" \
    --installed /usr/games/vroomzle --as-caller
fi
written=$(find /usr -newer "$stamp" 2>/dev/null || true)
[ -z "$written" ] || fail "playing the installed game wrote under /usr: $written"
echo "ok: nothing new under /usr"

echo "== the tarball's portable folder"
tar -xzf "$work/$tarball" -C "$work"
folder="$work/${tarball%.tar.gz}"
for file in vroomzle vroomzle-levels map/level.ini map/map10.bmp tiles/0.jpg tiles/8.jpg; do
  [ -f "$folder/$file" ] || fail "the tarball lacks $file"
done
"$folder/vroomzle-levels" check "$folder/map/level.ini" >/dev/null || fail "the tarball's level file does not check"
(cd / && "$source/tests/install/first_frame.sh" "$folder/vroomzle")

echo "== apt-get remove vroomzle"
$SUDO apt-get remove -y -q vroomzle >/dev/null
installed=no
for path in /usr/games/vroomzle /usr/lib/games/vroomzle /usr/share/games/vroomzle \
  /usr/share/applications/io.github.vroomzle.Vroomzle.desktop; do
  [ ! -e "$path" ] && [ ! -L "$path" ] || fail "$path is left after the removal"
done
left=$(find /usr -iname '*vroomzle*' 2>/dev/null || true)
[ -z "$left" ] || fail "left after the removal: $left"
echo "ok: removed"
echo "the package checks out"
