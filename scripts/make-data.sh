#!/usr/bin/env bash
# Makes the data root: the dictionary from WordNet, the books from Debian's text
# packages and the default styles from those books. Each output is made only when
# it is missing or older than the tool that makes it, so a second run costs nothing.
#   make-data.sh TOOL ROOT
set -euo pipefail
tool=$1
root=$2
mkdir -p "$root/Games" "$root/Styles" "$root/Cache" "$root/Books"

stale() { [[ ! -s "$1" || "$tool" -nt "$1" ]]; }

if stale "$root/Zanth.dct"; then
  echo "Making $root/Zanth.dct from WordNet"
  "$tool" make-dictionary --wordnet /usr/share/wordnet --out "$root/Zanth.dct"
fi
