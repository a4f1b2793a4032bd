#!/usr/bin/env bash
# The tests' share of the code: lines of every file under tests/ against lines of every
# file under src/ and tools/, as wc -l counts them.
#   test-share.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-.}"
lines() { find "$@" -type f -print0 | xargs -0 cat | wc -l; }
tests=$(lines tests)
code=$(lines src tools)
awk -v t="$tests" -v c="$code" \
  'BEGIN { printf "tests: %d lines against %d lines of code in src/ and tools/ (%.2f)\n", t, c, t / c }'
