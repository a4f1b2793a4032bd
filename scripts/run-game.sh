#!/usr/bin/env bash
# Starts the game from the build folder. Without a display it runs the game under
# xvfb-run instead, saves a picture of the main window with a game in play to
# BUILD/screenshot.png and ends.
#   run-game.sh BUILD
set -euo pipefail
build=$1

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$build/pelorin"
fi

echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running Pelorin under xvfb-run to save $build/screenshot.png"
exec "$(dirname "${BASH_SOURCE[0]}")/screenshot.sh" "$build" "$build/screenshot.png"
