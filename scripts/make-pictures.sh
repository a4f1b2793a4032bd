#!/usr/bin/env bash
# Makes the README's two pictures with the program itself: the game window with a
# game in play (docs/window.png) and page 1 of an exported puzzle (docs/puzzle.png).
#   make-pictures.sh BUILD
set -euo pipefail
build=$1
scripts=$(dirname "${BASH_SOURCE[0]}")
docs="$scripts/../docs"
mkdir -p "$docs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$scripts/screenshot.sh" "$build" "$docs/window.png"
"$build/pelorin-tool" fill --root "$build" --style Quotations.zas --pattern 0 --seed 7 --out "$work/Quotations 7.zag"
"$build/pelorin-tool" export "$work/Quotations 7.zag" --pdf "$work/puzzle.pdf"
pdftoppm -png -r 72 -f 1 -l 1 -singlefile "$work/puzzle.pdf" "$docs/puzzle"
ls -l "$docs/window.png" "$docs/puzzle.png"
