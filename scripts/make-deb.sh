#!/usr/bin/env bash
# Builds the Debian package of Pelorin, OUT/pelorin_VERSION_ARCH.deb (OUT defaults to
# BUILD), from a build folder whose programs and data root are made: what make install
# puts under /usr, the programs stripped and the manual pages compressed, plus the
# copyright and changelog that Debian asks of a package. The version is the project's
# own (project(VERSION), as the build was configured); the dependencies are the
# packages of the libraries the programs link, as dpkg-shlibdeps finds them, plus
# what they load at run time: Mesa for the OpenGL view and the font they draw with.
#   make-deb.sh BUILD [OUT]
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 BUILD [OUT]" >&2
  exit 2
fi
build=$(realpath "$1")
shown_out=${2:-$1}
out=$(realpath "$shown_out")
templates=$(cd "$(dirname "${BASH_SOURCE[0]}")/../data/debian" && pwd)
maintainer='The Pelorin developers <maintainers@pelorin.invalid>'
runtime_depends='libgl1-mesa-dri, libglx-mesa0, fonts-dejavu-core'

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[[ -n $version ]] || { echo "make-deb.sh: $build is not a configured build folder" >&2; exit 1; }
for made in pelorin pelorin-tool Zanth.dct Styles/Scripture.zas; do
  [[ -s $build/$made ]] || { echo "make-deb.sh: $build/$made is missing; run make data first" >&2; exit 1; }
done
arch=$(dpkg --print-architecture)
deb="pelorin_${version}_${arch}.deb"

mkdir -p "$out"
work=$(mktemp -d "$out/.make-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage="$work/pelorin"
umask 022
# The date of the release is that of the last commit, so that the same tree makes the
# same package; dpkg-deb gives no file a later time.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$(git -C "$templates" log -1 --format=%ct 2>/dev/null || date +%s)
fi
export SOURCE_DATE_EPOCH

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" ||
  { cat "$work/install.log" >&2; exit 1; }
gzip -9n "$stage"/usr/share/man/man1/*.1
# Debian keeps the programs of its games section in /usr/games, which is on every
# player's PATH; the game finds its data root beside that folder as beside
# /usr/bin. The tool is no game and stays in /usr/bin.
desktop_entry="$stage/usr/share/applications/io.github.pelorin.Pelorin.desktop"
mkdir "$stage/usr/games"
mv "$stage/usr/bin/pelorin" "$stage/usr/games/pelorin"
# Stripped as Debian strips programs: no symbols, compiler notes or build id.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/games/pelorin" \
  "$stage/usr/bin/pelorin-tool"
sed -i 's|^Exec="/usr/bin/pelorin"$|Exec="/usr/games/pelorin"|' "$desktop_entry"
doc="$stage/usr/share/doc/pelorin"
mkdir -p "$doc"
install -m 644 "$templates/copyright" "$doc/copyright"

# Replaces @NAME@ in a template with the values of the variables named.
fill() {
  local text name
  text=$(<"$1")
  shift
  for name; do
    text=${text//@${name^^}@/${!name}}
  done
  printf '%s\n' "$text"
}
date=$(date -R -u -d "@$SOURCE_DATE_EPOCH")
fill "$templates/changelog.in" version maintainer date | gzip -9n >"$doc/changelog.gz"

# dpkg-shlibdeps reads the package's debian/control, which a package made without the
# Debian source tools does not have; an empty one serves.
mkdir -p "$work/debian"
: >"$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O -e pelorin/usr/games/pelorin -e pelorin/usr/bin/pelorin-tool 2>"$work/shlibdeps.log") ||
  { cat "$work/shlibdeps.log" >&2; exit 1; }
shlibs=${shlibs#shlibs:Depends=}
[[ -n $shlibs ]] || { echo "make-deb.sh: dpkg-shlibdeps found no libraries" >&2; exit 1; }
depends="$shlibs, $runtime_depends"

mkdir -p "$stage/DEBIAN"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
installed_size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
fill "$templates/control.in" version arch maintainer installed_size depends >"$stage/DEBIAN/control"

dpkg-deb --root-owner-group --build "$stage" "$work/$deb" >/dev/null
mv -f "$work/$deb" "$out/$deb"
# apt takes a package file for a name unless its path has a "/".
[[ $shown_out == /* ]] || shown_out=./${shown_out#./}
echo "pelorin: built $shown_out/$deb; install it with: sudo apt install $shown_out/$deb"
