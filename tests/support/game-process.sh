# Shared by the tests that run the real game as a separate process: sourced
# after setting test_name. Checks the arguments and the display, makes a fresh
# working folder and a settings folder of its own (removed on exit, with the
# game stopped), and offers
#   start_game [ARG]... starts the game there in the background (sets pid)
#   stop_game         stops it
#   wait_for_window   waits for its visible window (sets window)
#   window_pixel X Y  one pixel of the window on screen
#   wait_for_menu X Y waits until a menu button shows at X Y
game=${1:?usage: $test_name.sh PATH-TO-PELLMORA}
game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")
fail() {
  echo "$test_name: FAIL: $*" >&2
  exit 1
}
[ -x "$game" ] || fail "no executable at $game"
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (run through scripts/with-xvfb.sh)"

work=$(mktemp -d)
# The game keeps its settings between runs; a test's never reach the player's.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
pid=
stop_game() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  pid=
}
cleanup() {
  stop_game
  rm -rf "$work" "$XDG_CONFIG_HOME"
}
trap cleanup EXIT
cd "$work" || fail "cannot enter $work"

start_game() {
  "$game" "$@" >game.out 2>game.err &
  pid=$!
}

wait_for_window() {
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pellmora$' 2>/dev/null | head -n 1)
  [ -n "$window" ] || fail "no visible window named Pellmora within 20 s (stderr: $(head -c 500 game.err))"
}

# One pixel of the game window as it is on screen now, as #RRGGBB.
window_pixel() {
  import -window "$window" png:- 2>/dev/null |
    convert png:- -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | awk 'NR == 2 {print $3}'
}

# The face colour of the menu buttons' pictures.
menu_face='#FCE2D4'

# Waits until pixel X Y shows a menu button's face: the title has settled.
wait_for_menu() {
  local face=
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || fail "the game exited early (stderr: $(head -c 500 game.err))"
    face=$(window_pixel "$1" "$2")
    [ "$face" = "$menu_face" ] && return 0
    sleep 0.2
  done
  fail "the menu did not come up (pixel $1,$2 is ${face:-missing})"
}
