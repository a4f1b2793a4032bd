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

shown=()
resident=()
milestones=$(mktemp)
trap 'rm -f "$picture" "$milestones"' EXIT
for ((i = 0; i < runs; i++)); do
  "$build/pelorin-tool" prepare --root "$build" > /dev/null 2>&1 || { echo "prepare failed" >&2; exit 1; }
  output=$("$here/screenshot.sh" "$build" "$picture")
  line=$(grep 'main window shown' <<< "$output")
  shown+=("$(sed -E 's/.*shown ([0-9]+) ms.*/\1/' <<< "$line")")
  resident+=("$(sed -E 's/.* ([0-9]+) MB resident.*/\1/' <<< "$line")")
  # "pelorin: start-up: Qt 40 ms, dictionary 120 ms, ...": one "name<TAB>ms" a line.
  sed -n 's/^pelorin: start-up: //p' <<< "$output" | tr ',' '\n' |
    sed -E 's/^ *(.*) ([0-9]+) ms$/\1\t\2/' >> "$milestones"
done

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
echo "Main window shown after start: median $(median "${shown[@]}") ms of $runs runs (${shown[*]})"
echo "Resident with a game in play: median $(median "${resident[@]}") MB of $runs runs (${resident[*]})"
# Each milestone's median time since the process began, in the order they come.
echo "Start-up milestones, medians (ms since the process began):"
awk -F '\t' '!($1 in seen) { seen[$1] = 1; order[++n] = $1 } { times[$1] = times[$1] " " $2 }
  END { for (i = 1; i <= n; i++) print order[i] "\t" times[order[i]] }' "$milestones" |
  while IFS=$'\t' read -r name times; do
    # shellcheck disable=SC2086
    printf '  %-20s %s\n' "$name" "$(median $times)"
  done
