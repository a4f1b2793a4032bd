#!/usr/bin/env bash
# The tool's peak resident memory for a lookup (the dictionary alone) and a summary
# (the dictionary and every style): the medians of RUNS runs on the default data.
#   bench-memory.sh BUILD [RUNS]
set -euo pipefail
build=$1
runs=${2:-5}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
peak() {
  local kilobytes=()
  for ((i = 0; i < runs; i++)); do
    kilobytes+=("$( { /usr/bin/time -f '%M' "$@" > /dev/null; } 2>&1 | tail -n 1)")
  done
  awk -v kb="$(median "${kilobytes[@]}")" 'BEGIN { printf "%.1f MB", kb / 1024 }'
}
echo "pelorin-tool lookup cat, peak resident: median $(peak "$build/pelorin-tool" lookup --root "$build" cat) of $runs runs"
echo "pelorin-tool summary, peak resident: median $(peak "$build/pelorin-tool" summary --root "$build") of $runs runs"
