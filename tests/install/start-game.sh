# Sourced by the install tests, with build set: a scratch folder, work, in the build
# tree; fail, which counts what failed; the installed game played.
work=$(mktemp -d "$build/install-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# start_game GAME: an installed game started as a new player would, with a home of
# its own, $work/home, the first run behind it (its window would wait for a click),
# no data setting, under a virtual X server, taking a picture of the main window
# with a game in play, $work/shot.png; its output goes to $work/game.log.
start_game() {
  mkdir -p "$work/home/.config/Tarnwick" "$work/runtime"
  chmod 700 "$work/runtime"
  printf '[General]\nFirstCall=1\n' >"$work/home/.config/Tarnwick/Zanth.ini"
  # Under AddressSanitizer the game's leaks are the window tests' business; OpenGL
  # drivers keep a few bytes to the end, which would fail the game here.
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" "$1" --screenshot "$work/shot.png" \
    >"$work/game.log" 2>&1 || fail "$1 did not start and play: $(cat "$work/game.log")"
}

# plays_in_place GAME TREE: the game shows its window, prepares a game in the
# player's cache and writes nothing into its installed TREE.
plays_in_place() {
  local before
  before=$(cd "$2" && find . -printf '%p %s %T@ %m\n' | sort)
  start_game "$1"
  [[ -s "$work/shot.png" ]] || fail "$1 showed no window"
  ls "$work/home/.local/share/pelorin/Cache/"*.zac >/dev/null 2>&1 || fail "no prepared game in the player's cache"
  [[ "$(cd "$2" && find . -printf '%p %s %T@ %m\n' | sort)" == "$before" ]] || fail "$1 wrote into $2"
}

passed() {
  [[ $failures -eq 0 ]] && echo "$1: every check passed"
  exit $((failures > 0))
}
