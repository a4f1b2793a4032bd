#!/usr/bin/env bash
# The game's start-up to its main window shown, and its resident memory with a game in
# play: the medians of RUNS runs under xvfb-run with the default data. The cache is
# made full before each run, as a player finds it, so that no worker fills a game
# while the window starts.
#   bench-window.sh BUILD [RUNS]
set -euo pipefail
build=$1
runs=${2:-5}
here=$(dirname "${BASH_SOURCE[0]}")
picture=$(mktemp --suffix=.png)
trap 'rm -f "$picture"' EXIT

shown=()
resident=()
for ((i = 0; i < runs; i++)); do
  "$build/pelorin-tool" prepare --root "$build" > /dev/null 2>&1 || { echo "prepare failed" >&2; exit 1; }
  line=$("$here/screenshot.sh" "$build" "$picture")
  shown+=("$(sed -E 's/.*shown ([0-9]+) ms.*/\1/' <<< "$line")")
  resident+=("$(sed -E 's/.* ([0-9]+) MB resident.*/\1/' <<< "$line")")
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
echo "Main window shown after start: median $(median "${shown[@]}") ms of $runs runs (${shown[*]})"
echo "Resident with a game in play: median $(median "${resident[@]}") MB of $runs runs (${resident[*]})"
