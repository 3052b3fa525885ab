#!/usr/bin/env bash
# Makes the Debian package and the tarball from a build and checks them the way
# a player's machine meets them:
#   - lintian reports no error and no warning, and no hardening or unneeded-section
#     tag either;
#   - a second build of the same commit, from its source release (the tarball of
#     scripts/make-release.sh) unpacked in another folder without git, gives the
#     same .deb and .tar.gz byte for byte;
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

scripts/install-deps.sh package

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

# --- reproducibility -------------------------------------------------------
# check_reproducible: the source release of the commit (scripts/make-release.sh),
# unpacked in another folder where there is no git, built and packaged again,
# must give the same .deb and .tar.gz as $build, byte for byte. So the tarball
# holds all the build needs and carries the commit's date. Run in an unpacked
# release, the second build is of a copy of its files.
check_reproducible() {
  echo "== reproducibility: a second build, of the source release, in another folder"
  local second
  mkdir -p "$work/elsewhere"
  if [ -f "$source/.source-date-epoch" ] || ! git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
    second=$work/elsewhere/v
    mkdir "$second"
    tar -C "$source" --exclude='./build*' -cf - . | tar -C "$second" -xf -
  else
    if [ -n "$(git -C "$source" status --porcelain --untracked-files=no)" ]; then
      fail "the work tree has changes that are not committed: a second build of the commit would not be of the same sources"
    fi
    local release
    release=$(scripts/make-release.sh HEAD "$work" | tail -1)
    echo "ok: $(basename "$release"), $(stat -c %s "$release") bytes ($(sha256sum <"$release" | cut -c1-16))"
    tar -xJf "$release" -C "$work/elsewhere"
    second=$work/elsewhere/$(basename "$release" .tar.xz)
    [ ! -e "$second/.git" ] || fail "the source release holds a .git"
  fi
  # Only what the packages hold is built; the tests and benchmarks do not change it.
  cmake -S "$second" -B "$second/out" -DCMAKE_BUILD_TYPE=Release -DVROOMZLE_TESTS=OFF -DVROOMZLE_BENCH=OFF >/dev/null &&
    cmake --build "$second/out" -j"$(nproc)" >"$work/second-build.log" 2>&1 ||
    { tail -30 "$work/second-build.log" >&2; fail "the second build failed"; }
  # Unless the caller set SOURCE_DATE_EPOCH for both, the date comes from the
  # release's .source-date-epoch here and from git for $build.
  (cd "$second/out" && cpack -G DEB >/dev/null && cpack -G TGZ >/dev/null) || fail "packaging the second build failed"
  local same=yes package
  for package in "$deb" "$tarball"; do
    if cmp "$work/$package" "$second/out/$package"; then
      echo "ok: $package is the same, byte for byte ($(sha256sum <"$work/$package" | cut -c1-16))"
    else
      same=no
      explain_difference "$work/$package" "$second/out/$package"
    fi
  done
  [ "$same" = yes ] || fail "two builds of one commit gave different packages"
}

# explain_difference A B: names the member of the .deb and the file in it that
# differ, with diffoscope's report when it is installed.
explain_difference() {
  local a=$1 b=$2 out member
  out=$(mktemp -d "$work/difference-XXXXXX")
  if command -v diffoscope >/dev/null; then
    diffoscope --text - "$a" "$b" | head -150 || true
  fi
  case "$a" in
  *.deb)
    diff <(ar tv "$a") <(ar tv "$b") && echo "  the ar members are alike in name, order, owner, mode and time" ||
      echo "  ^ the ar members' headers differ"
    mkdir "$out/a" "$out/b"
    (cd "$out/a" && ar x "$a") && (cd "$out/b" && ar x "$b")
    for member in $(ar t "$a"); do
      cmp -s "$out/a/$member" "$out/b/$member" && continue
      echo "  member $member differs"
      case "$member" in *.tar*) explain_tar_difference "$out/a/$member" "$out/b/$member" ;; esac
    done
    ;;
  *) explain_tar_difference "$a" "$b" ;;
  esac
}

# explain_tar_difference A B: the gzip header, the entries (names, order,
# modes, owners, times) and then each file's content.
explain_tar_difference() {
  local a=$1 b=$2 out name
  case "$a" in *.gz)
    cmp -s <(head -c 10 "$a") <(head -c 10 "$b") || echo "    the gzip headers differ (a time stamp or a name)" ;;
  esac
  diff <(tar -tvf "$a" --full-time) <(tar -tvf "$b" --full-time) | sed 's/^/    /' ||
    echo "    ^ the entries' names, order, modes, owners or times differ"
  out=$(mktemp -d "$work/tar-XXXXXX")
  mkdir "$out/a" "$out/b"
  tar -xf "$a" -C "$out/a" && tar -xf "$b" -C "$out/b"
  while IFS= read -r name; do
    [ -f "$out/a/$name" ] && [ ! -L "$out/a/$name" ] || continue
    cmp -s "$out/a/$name" "$out/b/$name" || echo "    file $name differs"
  done < <(tar -tf "$a")
}
# ---------------------------------------------------------------------------

echo "== packages"
# Every time stamp in the packages is the commit's date (packaging/CPackOptions.cmake).
(cd "$build" && rm -f "$deb" "$tarball" && cpack -G DEB >/dev/null && cpack -G TGZ >/dev/null)
cp "$build/$deb" "$build/$tarball" "$work/"
dpkg-deb -f "$work/$deb" Package Version Architecture Section Priority Depends Recommends
dpkg-deb -f "$work/$deb" Recommends | grep -qw qt6-wayland || fail "the package does not recommend qt6-wayland"

echo "== lintian"
# Every tag down to the pedantic ones is shown; errors and warnings fail.
status=0
report=$(lintian --pedantic --display-info --fail-on error,warning "$work/$deb" 2>&1) || status=$?
printf '%s\n' "$report" | grep -v "running with root privileges" || true
[ "$status" -eq 0 ] || fail "lintian found errors or warnings"
# A build hardened as Debian's own, and stripped as dh_strip strips.
if printf '%s\n' "$report" | grep -E ': (hardening-[a-z-]+|binary-has-unneeded-section)( |$)'; then
  fail "lintian: the programs lack hardening or keep unneeded sections"
fi
echo "ok: lintian"

check_reproducible

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
# Every file of the package has the game's name in its own name or in its
# folder's: the programs, the data, the desktop entry, the metadata, the icons
# and the manual pages, so a leftover of any of them is found here.
left=$(find /usr -iname '*vroomzle*' 2>/dev/null || true)
[ -z "$left" ] || fail "left after the removal: $left"
echo "ok: removed"
echo "the package checks out"
