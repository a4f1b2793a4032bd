#!/usr/bin/env bash
# Installs Pelorin from a build folder under a prefix, or removes exactly what an
# earlier install put there. DESTDIR stages the files under another folder, as
# packagers do; the paths recorded stay those under the prefix.
#   install.sh install BUILD PREFIX [DESTDIR]
#   install.sh uninstall PREFIX [DESTDIR]
set -euo pipefail

action=$1
if [[ $action == install ]]; then
  build=$2
  shift
fi
prefix=$2
destdir=${3:-}
[[ $prefix == /* ]] || { echo "pelorin: PREFIX must be an absolute path, not '$prefix'" >&2; exit 2; }
root="$destdir$prefix"
# The list of installed files, relative to the prefix. It lives in the installed
# tree rather than the build folder, so that uninstall works after a clean.
manifest_path=share/pelorin/installed-files
manifest="$root/$manifest_path"
# Every folder the install writes into.
folders=(bin share/pelorin share/applications share/metainfo share/icons/hicolor share/man/man1
         share/bash-completion/completions)
icon_sizes=(48 128 256)

# The nearest folder of a path that exists.
existing() {
  local dir=$1
  while [[ ! -e $dir ]]; do dir=$(dirname "$dir"); done
  echo "$dir"
}

# Whether a new file can be made in a path's nearest existing folder. Tried rather
# than asked: root passes every permission check, yet not a read-only file system.
accepts_files() {
  local dir probe
  dir=$(existing "$1")
  [[ -d $dir ]] || return 1
  probe=$(mktemp -p "$dir" .pelorin-probe.XXXXXX 2>/dev/null) || return 1
  rm -f "$probe"
}

# Stops, having changed nothing, unless every folder takes files.
check_writable() {
  local folder
  for folder in "${folders[@]}"; do
    if ! accepts_files "$root/$folder"; then
      echo "pelorin: cannot $action under $prefix: $(existing "$root/$folder") is not writable; nothing was changed." >&2
      echo "pelorin: choose a PREFIX of your own (the default is ~/.local), or use sudo for a system-wide one." >&2
      exit 1
    fi
  done
}

# Every folder the install may make, the prefix itself (".") first, then each
# folder on the way to the files.
candidate_folders() {
  local folder part path size
  local all=("${folders[@]}" share/pelorin/Styles share/pelorin/Books)
  for size in "${icon_sizes[@]}"; do
    all+=("share/icons/hicolor/${size}x${size}/apps")
  done
  echo .
  for folder in "${all[@]}"; do
    path=
    for part in ${folder//\// }; do
      path=${path:+$path/}$part
      echo "$path"
    done
  done | sort -u
}

install() {
  check_writable
  local folder missing=()
  while IFS= read -r folder; do
    [[ -d "$root/$folder" ]] || missing+=("$folder")
  done < <(candidate_folders)
  DESTDIR="$destdir" cmake --install "$build" --prefix "$prefix"
  # CMake lists the files under the prefix (some versions with DESTDIR in front);
  # the manifest keeps them relative to the prefix.
  local file
  {
    # Its last line has no line end.
    while IFS= read -r file || [[ -n $file ]]; do
      file=${file#"$destdir"}
      [[ -n $file ]] && echo "${file#"${prefix%/}/"}"
    done <"$build/install_manifest.txt"
    echo "$manifest_path"
    # The folders this install made, marked by their closing "/".
    for folder in "${missing[@]}"; do
      [[ -d "$root/$folder" ]] && echo "$folder/"
    done
  } >"$manifest"
  # A desktop that keeps an icon cache of this theme must learn of the new icon.
  if [[ -f "$root/share/icons/hicolor/icon-theme.cache" ]] && command -v gtk-update-icon-cache >/dev/null; then
    gtk-update-icon-cache -q -t "$root/share/icons/hicolor" || true
  fi
  echo "pelorin: installed under $prefix; start it from the application menu or with $prefix/bin/pelorin"
}

uninstall() {
  if [[ ! -f $manifest ]]; then
    echo "pelorin: nothing to uninstall: no Pelorin is installed under $prefix"
    return 0
  fi
  check_writable
  local entry made=()
  while IFS= read -r entry; do
    [[ -z $entry || $entry == /* || $entry == *../* ]] && continue
    if [[ $entry == */ ]]; then
      made+=("$entry")
    else
      rm -f "$root/$entry"
    fi
  done <"$manifest"
  # Then the folders the install made, deepest first, once empty: a player's own
  # games, styles and cache in a home install are theirs, and stay.
  printf '%s\n' "${made[@]}" | awk '{ print length($0) " " $0 }' | sort -rn | cut -d' ' -f2- |
    while IFS= read -r entry; do
      entry=${entry%/}
      [[ -n $entry ]] && rmdir "$root/${entry#.}" 2>/dev/null || true
    done
  echo "pelorin: uninstalled from $prefix"
  if [[ -d "$root/share/pelorin" ]]; then
    echo "pelorin: your games, styles and prepared games stay in $prefix/share/pelorin"
  fi
}

case $action in
  install) install ;;
  uninstall) uninstall ;;
  *) echo "usage: install.sh install BUILD PREFIX [DESTDIR] | uninstall PREFIX [DESTDIR]" >&2; exit 2 ;;
esac
