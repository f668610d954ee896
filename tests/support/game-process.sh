# Shared by the tests that run the real game as a separate process: sourced
# after setting test_name. Checks the arguments and the display, makes a fresh
# working folder (removed on exit, with the game stopped), and offers
#   start_game        starts the game there in the background (sets pid)
#   wait_for_window   waits for its visible window (sets window)
game=${1:?usage: $test_name.sh PATH-TO-PELLMORA}
game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")
fail() {
  echo "$test_name: FAIL: $*" >&2
  exit 1
}
[ -x "$game" ] || fail "no executable at $game"
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (run through scripts/with-xvfb.sh)"

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || fail "cannot enter $work"

start_game() {
  "$game" >game.out 2>game.err &
  pid=$!
}

wait_for_window() {
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pellmora$' 2>/dev/null | head -n 1)
  [ -n "$window" ] || fail "no visible window named Pellmora within 20 s (stderr: $(head -c 500 game.err))"
}
