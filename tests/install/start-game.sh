# Sourced by the install tests.
#   start_game GAME WORK
# Starts an installed game as a new player would: a home of its own, WORK/home, with
# the first run behind it (the first-run window would wait for a click) and no data
# setting; under a virtual X server, taking a picture of the main window with a game
# in play, WORK/shot.png. Its output goes to WORK/game.log; the status is the game's.
start_game() {
  local game=$1 work=$2
  mkdir -p "$work/home/.config/Tarnwick" "$work/runtime"
  chmod 700 "$work/runtime"
  printf '[General]\nFirstCall=1\n' >"$work/home/.config/Tarnwick/Zanth.ini"
  # Under AddressSanitizer the game's leaks are the window tests' business; OpenGL
  # drivers keep a few bytes to the end, which would fail the game here.
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" "$game" --screenshot "$work/shot.png" \
    >"$work/game.log" 2>&1
}
