#!/usr/bin/env bash
# Makes the data root: the dictionary from WordNet, the books from Debian's text
# packages and the default styles from those books. Each output is made only when
# it is missing or older than what it is made from, so a second run costs nothing.
#   make-data.sh TOOL ROOT
set -euo pipefail
tool=$1
root=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$root/Games" "$root/Styles" "$root/Cache" "$root/Books"
shopt -s nullglob

# True when OUTPUT is missing or empty, or older than any of the INPUTS.
older_than_any() {
  local output=$1 input
  shift
  [[ -s "$output" ]] || return 0
  for input in "$@"; do
    [[ "$input" -nt "$output" ]] && return 0
  done
  return 1
}

# True when a set of exported books is empty or any of them is older than the script
# that exports them. The exports move a finished set into place with signals held off,
# so a set that is there is complete.
books_stale() {
  local script=$1 book
  shift
  [[ $# -gt 0 ]] || return 0
  for book in "$@"; do
    [[ "$script" -nt "$book" ]] && return 0
  done
  return 1
}

# Builds a style through the tool's make-style, the code the style editor uses. The file
# is written in a hidden folder inside Styles and moved in when complete, so that a
# failed or interrupted build leaves no file that looks newer than its books.
style_work=
trap '[[ -z "$style_work" ]] || rm -rf "$style_work"' EXIT
make_style() {
  local out=$1 description=$2
  shift 2
  # This script is an input too: it says which books make the style.
  older_than_any "$out" "$root/Zanth.dct" "$here/make-data.sh" "$@" || return 0
  echo "Making $out from $# books"
  style_work=$(mktemp -d "$root/Styles/.make-style.XXXXXX")
  "$tool" make-style --root "$root" --description "$description" --out "$style_work/${out##*/}" "$@"
  mv -f "$style_work/${out##*/}" "$out"
  rmdir "$style_work"
  style_work=
}

# The dictionary is made again whenever the tool changed, but it replaces the old file
# only when its content differs: the styles are rebuilt when the dictionary file is
# newer than they are, and an unchanged dictionary must not cost that.
dictionary_mark="$root/.dictionary-made"
if [[ ! -s "$root/Zanth.dct" || ! -e "$dictionary_mark" || "$tool" -nt "$dictionary_mark" ]]; then
  echo "Making $root/Zanth.dct from WordNet"
  "$tool" make-dictionary --wordnet /usr/share/wordnet --out "$root/Zanth.dct.new"
  if cmp -s "$root/Zanth.dct.new" "$root/Zanth.dct"; then
    rm -f "$root/Zanth.dct.new"
  else
    mv -f "$root/Zanth.dct.new" "$root/Zanth.dct"
  fi
  touch "$dictionary_mark"
fi

if books_stale "$here/export-bible.sh" "$root"/Books/Bible-*.txt; then
  echo "Exporting the Bible into $root/Books"
  "$here/export-bible.sh" "$root"
fi

if books_stale "$here/export-fortunes.sh" "$root"/Books/Fortunes-*.txt; then
  echo "Copying the fortune collections into $root/Books"
  "$here/export-fortunes.sh" "$root"
fi

# The Bible alone is a little short of words to fill every block pattern every time;
# the Tao, the wisdom, the literature and the platitudes collections keep Scripture's
# tone of proverbs and sayings and give it enough.
make_style "$root/Styles/Scripture.zas" Scripture "$root"/Books/Bible-*.txt \
  "$root/Books/Fortunes-tao.txt" "$root/Books/Fortunes-wisdom.txt" \
  "$root/Books/Fortunes-literature.txt" "$root/Books/Fortunes-platitudes.txt"
make_style "$root/Styles/Quotations.zas" Quotations "$root"/Books/Fortunes-*.txt
