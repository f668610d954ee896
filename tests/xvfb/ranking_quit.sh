#!/usr/bin/env bash
# Plays the real game as a player would, with the mouse, on the display the
# caller gives (scripts/with-xvfb.sh): with a score file in its folder, the
# ranking button opens the "ハイスコア ランキング" window; the quit button,
# clicked while that window is open, ends the program with status 0 and
# leaves the score file exactly as it was.
# Usage: bash scripts/with-xvfb.sh bash tests/xvfb/ranking_quit.sh PATH-TO-PELLMORA
set -u

test_name=ranking_quit
# shellcheck source=../support/game-process.sh
source "$(dirname "$0")/../support/game-process.sh"

# A full list; the names in Shift_JIS (山田, 佐藤, ...), CR LF line ends.
printf '900,800,700,600,500,400,300,200,100,50\r\n' >HiScore.dat
for hex in 8e529363 8db293a1 97e996d8 8d828bb4 93639286 88c993a1 936e95d3 928691ba 8fac97d1; do
  printf '%s' "$hex" | xxd -r -p >>HiScore.dat
  printf '\r\n' >>HiScore.dat
done
printf 'Aoi\r\n' >>HiScore.dat
cp HiScore.dat expected.dat

start_game

wait_for_window

# Where the window's client area lies on the screen, and its size.
geometry=$(xdotool getwindowgeometry --shell "$window") || fail "no geometry for window $window"
eval "$geometry" # WINDOW X Y WIDTH HEIGHT SCREEN
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "window is ${WIDTH}x${HEIGHT}, expected 640x480"

# The menu comes up after the title has settled: the buttons' faces.
wait_for_menu 216 368
[ "$(window_pixel 216 424)" = "$menu_face" ] || fail "no quit button at its place"

# A click at the middle of a button of the game window (client coordinates).
click() {
  xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1 || fail "xdotool could not click at $1,$2"
}

# The ranking button (208, 360, 201 x 41).
click 308 380
ranking=$(timeout 20 xdotool search --sync --onlyvisible --name '^ハイスコア ランキング$' 2>/dev/null | head -n 1)
[ -n "$ranking" ] || fail "the ranking window did not open"
eval "$(xdotool getwindowgeometry --shell "$ranking" | sed 's/^/R_/')"
[ "$R_WIDTH" = 529 ] && [ "$R_HEIGHT" = 268 ] || fail "ranking window is ${R_WIDTH}x${R_HEIGHT}"
[ "$(xdotool search --onlyvisible --name '^ハイスコア ランキング$' | wc -l)" = 1 ] ||
  fail "more than one ranking window"

# The quit button (208, 416, 201 x 41) must not lie under the ranking window.
qx=$((X + 308))
qy=$((Y + 436))
if [ "$qx" -ge "$R_X" ] && [ "$qx" -lt $((R_X + R_WIDTH)) ] &&
  [ "$qy" -ge "$R_Y" ] && [ "$qy" -lt $((R_Y + R_HEIGHT)) ]; then
  xdotool windowmove --sync "$ranking" 0 0 || fail "could not move the ranking window aside"
fi
kill -0 "$pid" 2>/dev/null || fail "the game died with the ranking window open"

click 308 436
status=
for _ in $(seq 1 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    status=$?
    pid=
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "the game still runs 10 s after the quit button"
[ "$status" = 0 ] || fail "the game ended with status $status (stderr: $(head -c 500 game.err))"
xdotool search --onlyvisible --name '^ハイスコア ランキング$' >/dev/null 2>&1 &&
  fail "the ranking window outlived the game"
cmp -s HiScore.dat expected.dat || fail "HiScore.dat changed: $(xxd HiScore.dat | head -5)"
[ "$(LC_ALL=C ls)" = "$(printf 'HiScore.dat\nexpected.dat\ngame.err\ngame.out')" ] ||
  fail "the game left files behind: $(ls | tr '\n' ' ')"
echo "ranking_quit: ok (ranking window open, quit ended the game with status 0, score file unchanged)"
