#!/usr/bin/env bash
# Writes the source release of a commit, the tarball a distribution builds from:
# vroomzle-<version>.tar.xz with the commit's files under vroomzle-<version>/ and
# .source-date-epoch, the commit's date. Without git, the packages take their
# time stamps from that file, so a build of the tarball packages byte for byte
# as a clone of the commit does. The tarball itself is the same for a commit
# every time: git archive dates every entry by the commit, xz runs on one thread.
#
#   scripts/make-release.sh [COMMIT [FOLDER]]   COMMIT defaults to HEAD, FOLDER to the current one
#
# The tarball's path is the last line printed.
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
commit=${1:-HEAD}
out=$(cd "${2:-.}" && pwd)

git -C "$source" rev-parse -q --verify "$commit^{commit}" >/dev/null ||
  { echo "make-release: $commit is no commit of $source" >&2; exit 2; }
version=$(git -C "$source" show "$commit:CMakeLists.txt" |
  sed -n 's/^project(Vroomzle VERSION \([0-9][0-9.]*\).*/\1/p')
[ -n "$version" ] || { echo "make-release: no version in the commit's CMakeLists.txt" >&2; exit 2; }
date=$(git -C "$source" log -1 --format=%ct "$commit")
name=vroomzle-$version

git -C "$source" -c tar.umask=0022 archive --format=tar --prefix="$name/" \
  --add-virtual-file="$name/.source-date-epoch:$date
" "$commit" | xz -9 -T1 >"$out/$name.tar.xz.part"
mv "$out/$name.tar.xz.part" "$out/$name.tar.xz"
echo "$out/$name.tar.xz"
