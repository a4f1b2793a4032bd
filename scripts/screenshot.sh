#!/usr/bin/env bash
# Runs the game under xvfb-run with settings of its own (the first run behind it),
# takes the ready game of the first style, saves a picture of the main window and
# prints how long the window took to show and the memory in use.
#   screenshot.sh BUILD PICTURE
set -euo pipefail
build=$1
picture=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Tarnwick" "$work/runtime"
chmod 700 "$work/runtime"
printf '[General]\nFirstCall=1\n' > "$work/config/Tarnwick/Zanth.ini"

XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/pelorin" --screenshot "$picture"
