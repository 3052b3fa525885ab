#!/usr/bin/env bash
# check_install.sh BUILD APP_ID
# Installs the build into a temporary prefix and checks what a player's system
# gets: the layout, the desktop entry, the icons, the AppStream metadata and the
# manual pages with the tools distributions use, and the game started offscreen
# through its link on PATH up to its first frame.
set -euo pipefail
build=$(cd "$1" && pwd)
id=$2
here=$(cd "$(dirname "$0")" && pwd)

prefix=$(mktemp -d /tmp/vroomzle-install-XXXXXX)
# The install lists its files in BUILD/install_manifest.txt, which a player's own
# install into ~/.local may have left there to uninstall with: keep theirs.
manifest=$build/install_manifest.txt
if [ -f "$manifest" ]; then
  cp -p "$manifest" "$prefix.manifest"
  trap 'mv -f "$prefix.manifest" "$manifest"; rm -rf "$prefix"' EXIT
else
  trap 'rm -f "$manifest"; rm -rf "$prefix"' EXIT
fi
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix"

# Every file and link, and nothing else.
expected=(
  bin/vroomzle bin/vroomzle-levels
  lib/games/vroomzle/vroomzle lib/games/vroomzle/vroomzle-levels
  lib/games/vroomzle/map lib/games/vroomzle/tiles lib/games/vroomzle/installed
  share/games/vroomzle/map/level.ini
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/man/man6/vroomzle.6.gz share/man/man6/vroomzle-levels.6.gz
  share/doc/vroomzle/copyright share/doc/vroomzle/changelog.gz
)
for n in 1 2 3 4 5 6 7 8 9 10; do expected+=(share/games/vroomzle/map/map$n.bmp); done
for n in 0 1 2 3 4 5 6 7 8; do expected+=(share/games/vroomzle/tiles/$n.jpg); done
sizes=(16 24 32 48 64 128 256)
for n in "${sizes[@]}"; do expected+=(share/icons/hicolor/${n}x$n/apps/$id.png); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(find . ! -type d | sed 's|^\./||' | sort) ||
  fail "the installed files differ from the layout (< expected, > installed)"
echo "ok: layout"

# The portable folder: the programs, and the data reached through relative links.
for program in vroomzle vroomzle-levels; do
  [ -x lib/games/vroomzle/$program ] && [ ! -L lib/games/vroomzle/$program ] || fail "lib/games/vroomzle/$program"
  [ "$(readlink -f bin/$program)" = "$prefix/lib/games/vroomzle/$program" ] || fail "bin/$program does not lead to the folder"
  case "$(readlink bin/$program)" in /*) fail "bin/$program is an absolute link" ;; esac
done
for data in map tiles; do
  [ "$(readlink lib/games/vroomzle/$data)" = "../../../share/games/vroomzle/$data" ] || fail "the link lib/games/vroomzle/$data"
done
[ -f lib/games/vroomzle/map/level.ini ] && [ -f lib/games/vroomzle/tiles/8.jpg ] || fail "the data is not reached from the folder"
grep -q 'never in this folder' lib/games/vroomzle/installed || fail "the marker lib/games/vroomzle/installed"
echo "ok: the portable folder, its marker and the links on PATH"

# Permissions a package would carry.
# The programs are executable; every other file, the marker among them, is not.
bad=$(find . -mindepth 1 \( -type d ! -perm 0755 \) -o \( -type f -path './lib/*' -name 'vroomzle*' ! -perm 0755 \) \
  -o \( -type f ! \( -path './lib/*' -name 'vroomzle*' \) ! -perm 0644 \))
[ -z "$bad" ] || fail "unexpected modes: $bad"

said=$(desktop-file-validate share/applications/$id.desktop 2>&1) || fail "desktop-file-validate: $said"
[ -z "$said" ] || fail "desktop-file-validate: $said"
grep -qx 'Categories=Game;LogicGame;' share/applications/$id.desktop || fail "the desktop entry's categories"
grep -qx "Icon=$id" share/applications/$id.desktop || fail "the desktop entry's icon"
echo "ok: desktop-file-validate"

for n in "${sizes[@]}"; do
  icon=share/icons/hicolor/${n}x$n/apps/$id.png
  [ "$(identify -format '%w %h %[channels]' "$icon")" = "$n $n srgba" ] || fail "$icon is not a $n x $n picture with alpha"
  # The tile's rounded corner is clear, its middle solid.
  [ "$(convert "$icon" -format '%[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' info:)" = "0 1" ] || fail "$icon: corner or middle"
done
echo "ok: icons"

said=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "appstreamcli validate-tree: $said"
appstreamcli validate --no-net share/metainfo/$id.metainfo.xml >/dev/null || fail "appstreamcli validate"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" share/metainfo/$id.metainfo.xml ||
  fail "the metadata does not launch the desktop entry"
echo "ok: appstreamcli validate"

for page in vroomzle vroomzle-levels; do
  # As lintian runs it: every warning of man and groff goes to standard error.
  said=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z share/man/man6/$page.6.gz 2>&1 >/dev/null) ||
    fail "man $page: $said"
  [ -z "$said" ] || fail "man $page: $said"
done
echo "ok: manual pages"

# From elsewhere, through PATH alone.
cd /
PATH="$prefix/bin:$PATH" vroomzle-levels check "$prefix/share/games/vroomzle/map/level.ini" >/dev/null ||
  fail "vroomzle-levels check on the installed levels"
PATH="$prefix/bin:$PATH" "$here/first_frame.sh" vroomzle
echo "the install is complete"
