#!/usr/bin/env bash
# The Debian package, made from the build folder into a scratch folder: its control
# fields and file list; then unpacked, the tool reads the unpacked data root, both
# programs tell the package's version without a display, and the game, started from
# the unpacked tree with a home of its own, finds its data there and writes nothing
# into it.
#   debian-package.sh BUILD SOURCE
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
source "$source/tests/install/start-game.sh"

# The package as make deb builds it, but compressed the fast way: xz takes minutes.
DPKG_DEB_COMPRESSOR_TYPE=gzip DPKG_DEB_COMPRESSOR_LEVEL=1 \
  "$source/scripts/make-deb.sh" "$build" "$work" >"$work/make-deb.log" 2>&1 || { cat "$work/make-deb.log"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb="$work/pelorin_${version}_$arch.deb"
[[ -s $deb ]] || { echo "FAIL: make-deb.sh made no $deb" >&2; exit 1; }

# Control fields.
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == pelorin && $(field Version) == "$version" && $(field Architecture) == "$arch" ]] ||
  fail "wrong name, version or architecture: $(field Package) $(field Version) $(field Architecture)"
[[ $(field Section) == games && $(field Maintainer) == *@* && $(field Installed-Size) -gt 1000 ]] ||
  fail "wrong section, maintainer or size: $(dpkg-deb --info "$deb")"
[[ $(field Description) == "crossword game"* ]] || fail "the description is missing"
# The libraries the programs link, found by dpkg-shlibdeps, and what they load.
depends=$(field Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6opengl6 libqt6openglwidgets6 \
  libgl1-mesa-dri fonts-dejavu-core; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] || fail "Depends lacks $package: $depends"
done

# The file list: make install's, which the staged install test names, with the manual
# pages compressed and the copyright added (the moved game and the changelog are used
# below), all owned by root; nothing of the player's (Games/, Cache/), no install record.
contents=$(dpkg-deb --contents "$deb")
files=$(awk '{ print $NF }' <<<"$contents" | sed 's|^\./||')
for file in usr/share/man/man1/pelorin.1.gz usr/share/man/man1/pelorin-tool.1.gz usr/share/doc/pelorin/copyright; do
  grep -qx "$file" <<<"$files" || fail "$file is not in the package"
done
strays=$(grep -v -e '^$' -e '^usr/' <<<"$files" || true)
[[ -z $strays ]] || fail "files outside /usr: $strays"
grep -q -e 'Games/' -e 'Cache/' -e installed-files <<<"$files" && fail "the package holds a player's folder or an install record"
owners=$(awk '{ print $2 }' <<<"$contents" | sort -u)
[[ $owners == root/root ]] || fail "files not owned by root: $owners"

# Unpacked: the installed paths, the data root the tool reads, the versions.
root="$work/root"
dpkg-deb --extract "$deb" "$root"
grep -qx 'Exec="/usr/games/pelorin"' "$root/usr/share/applications/io.github.pelorin.Pelorin.desktop" ||
  fail "the desktop entry does not start /usr/games/pelorin"
zcat "$root/usr/share/doc/pelorin/changelog.gz" | head -1 | grep -q "^pelorin ($version) " ||
  fail "the changelog's last entry is not version $version"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/io.github.pelorin.Pelorin.metainfo.xml" ||
  fail "the AppStream file names no release $version"
summary=$("$root/usr/bin/pelorin-tool" summary --root "$root/usr/share/pelorin" 2>&1) ||
  fail "summary of the unpacked data root failed: $summary"
grep -qx "Styles: 2" <<<"$summary" && grep -qE "^Words: [0-9]{6}$" <<<"$summary" ||
  fail "the unpacked data root lacks the dictionary or the styles: $summary"
for program in games/pelorin bin/pelorin-tool; do
  shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/$program" --version 2>&1) ||
    fail "$program --version failed without a display: $shown"
  [[ $shown == "${program#*/} $version" ]] || fail "$program --version printed '$shown'"
done

plays_in_place "$root/usr/games/pelorin" "$root"
passed "Debian package"
