#!/usr/bin/env bash
# make install staged into a folder of the build tree: every file in place, the
# desktop entry and the AppStream file valid; the installed game, started with a
# home of its own, finds its data, fills its cache in the player's folder and
# writes nothing into the installed tree; uninstall leaves nothing; and a prefix
# that takes no files is refused with nothing changed.
#   staged-install.sh BUILD SOURCE
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
install_sh="$source/scripts/install.sh"
source "$source/tests/install/start-game.sh"
stage="$work/stage"
prefix=/opt/pelorin
root="$stage$prefix"

"$install_sh" install "$build" "$prefix" "$stage" >"$work/install.log" || { cat "$work/install.log"; exit 1; }

expected=(
  bin/pelorin bin/pelorin-tool
  share/pelorin/Zanth.dct share/pelorin/Styles/Scripture.zas share/pelorin/Styles/Quotations.zas
  share/pelorin/Books/Bible-01-Genesis.txt
  share/applications/io.github.pelorin.Pelorin.desktop
  share/metainfo/io.github.pelorin.Pelorin.metainfo.xml
  share/icons/hicolor/48x48/apps/pelorin.png share/icons/hicolor/128x128/apps/pelorin.png
  share/icons/hicolor/256x256/apps/pelorin.png
  share/man/man1/pelorin.1 share/man/man1/pelorin-tool.1
  share/bash-completion/completions/pelorin-tool
)
for file in "${expected[@]}"; do
  [[ -s "$root/$file" ]] || fail "$file is not installed"
done
# A PNG's signature, then its header's width and height, big-endian.
for size in 48 128 256; do
  header=$(od -An -tx1 -N24 "$root/share/icons/hicolor/${size}x${size}/apps/pelorin.png" | tr -d ' \n')
  [[ $header == 89504e470d0a1a0a*"$(printf '%08x%08x' "$size" "$size")" ]] ||
    fail "the ${size} pixel icon is not a PNG of that size"
done
desktop-file-validate "$root/share/applications/io.github.pelorin.Pelorin.desktop" || fail "invalid desktop entry"
grep -qx 'Categories=Game;LogicGame;' "$root/share/applications/io.github.pelorin.Pelorin.desktop" ||
  fail "the desktop entry is not in Game;LogicGame;"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/share/metainfo/io.github.pelorin.Pelorin.metainfo.xml" >/dev/null ||
    fail "invalid AppStream file"
fi
if command -v groff >/dev/null; then
  warnings=$(groff -man -ww -z "$root/share/man/man1/"*.1 2>&1)
  [[ -z $warnings ]] || fail "the manual page has warnings: $warnings"
fi

plays_in_place "$root/bin/pelorin" "$stage"
home="$work/home"
[[ -d "$home/.local/share/pelorin/Games" ]] || fail "no Games folder in the player's folder"

# Uninstall removes every file and folder the install made; a second one finds
# nothing and says so.
"$install_sh" uninstall "$prefix" "$stage" >/dev/null || fail "uninstall failed"
left=$(find "$stage" -mindepth 1 ! -path "$stage/opt")
[[ -z $left ]] || fail "uninstall left $left"
"$install_sh" uninstall "$prefix" "$stage" | grep -q "nothing to uninstall" || fail "a second uninstall did not say so"

# A home install: the tree is the player's own folder, where the game makes its
# folders; uninstall keeps the player's cache and kept game there. The picture run
# leaves the kept game as it was, even one it could not read.
prefix="$home/.local"
"$install_sh" install "$build" "$prefix" >/dev/null || fail "the home install failed"
mkdir -p "$prefix/share/pelorin/Session" && echo "kept" >"$prefix/share/pelorin/Session/state.txt"
start_game "$prefix/bin/pelorin"
[[ $(cat "$prefix/share/pelorin/Session/state.txt" 2>/dev/null) == kept ]] || fail "the picture run replaced the kept game"
"$install_sh" uninstall "$prefix" | grep -q "stay in $prefix/share/pelorin" || fail "uninstall did not say what stays"
kept=$(cd "$prefix" && find . -type f | sort)
grep -q '^./share/pelorin/Cache/' <<<"$kept" && ! grep -qv -e '^./share/pelorin/Cache/' -e '^./share/pelorin/Session/state.txt$' <<<"$kept" ||
  fail "a home uninstall should keep the player's cache and kept game and nothing else, but left: $kept"

# A prefix where no file can be made: refused, and nothing made.
if "$install_sh" install "$build" /proc/pelorin-staged-test >"$work/refused.log" 2>&1; then
  fail "an install into /proc succeeded"
fi
grep -q "not writable; nothing was changed" "$work/refused.log" || fail "the refusal does not say why: $(cat "$work/refused.log")"
passed "staged install"
