#!/usr/bin/env bash
# Starts the real game as a player would, on the display the caller gives
# (scripts/with-xvfb.sh), and checks what the player sees: a 640x480 window
# named Pellmora showing the green tiles; the title drops in and comes to
# rest at the top, then the three menu buttons appear below it.
# Usage: bash scripts/with-xvfb.sh bash tests/xvfb/startup_screen.sh PATH-TO-PELLMORA
# PELLMORA_KEEP_SHOT=FILE keeps the screenshot of the menu.
set -u

test_name=startup_screen
# shellcheck source=../support/game-process.sh
source "$(dirname "$0")/../support/game-process.sh"

start_game

wait_for_window

# Grabs the window into $1.png and its pixels into $1.txt, whose lines read
# "X,Y: (r,g,b)  #RRGGBB  ...".
shoot() {
  import -window "$window" "$1.png" 2>import.err || fail "import could not grab the window: $(cat import.err)"
  convert "$1.png" -depth 8 "txt:$1.txt" || fail "convert could not read $1.png"
}
pixel() { grep -m1 "^$2,$3: " "$1.txt" | awk '{print $3}'; }
expect() {
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$1: pixel ($2,$3) is ${got:-missing}, expected $4"
}
# Counts the pixels of shot $1 in rows $2..$3 that differ from the background
# tiles, whose colour depends only on x+y within each 8x8 tile.
non_tile() {
  awk -v from="$2" -v to="$3" '
    BEGIN {
      split("00EB00 00EB00 08EB08 18EB18 18EB18 29EF29 39EF39 39EF39 4AEE4A 5AF35A 6BF36B 6BF36B 7BF77B 8CF78C 8CF78C", ramp, " ")
    }
    /^#/ { next }
    {
      split($1, xy, /[,:]/)
      y = xy[2] + 0
      if (y < from || y > to) next
      x = xy[1] + 0
      if ($3 != "#" ramp[(x % 8) + (y % 8) + 1]) n++
    }
    END { print n + 0 }' "$1.txt"
}

# The client area: a bare Xvfb has no window manager, and the window found by
# name is the client window either way.
geometry=$(xwininfo -id "$window") || fail "xwininfo failed for window $window"
width=$(sed -n 's/^ *Width: *//p' <<<"$geometry")
height=$(sed -n 's/^ *Height: *//p' <<<"$geometry")
[ "$width" = 640 ] && [ "$height" = 480 ] || fail "window is ${width}x${height}, expected 640x480"

# While the title drops in, wherever it is, nothing else is drawn: below its
# lowest place (row 177) and above the buttons' place (row 304), and along
# the bottom edge, only the tiles show; this holds after the menu is up too.
for _ in $(seq 1 50); do
  shoot first
  [ "$(pixel first 320 240)" = '#00EB00' ] && break # painted
  sleep 0.1
done
expect first 0 472 '#00EB00'
expect first 7 479 '#8CF78C'
expect first 639 479 '#8CF78C'
expect first 320 240 '#00EB00'
expect first 10 200 '#08EB08'
[ "$(non_tile first 180 303)" = 0 ] || fail "something besides the tiles in rows 180..303 during the title drop"
[ "$(non_tile first 458 479)" = 0 ] || fail "something besides the tiles in rows 458..479 during the title drop"

# The title settles and the menu comes up.
wait_for_menu 216 440
sleep 0.3
shoot menu
[ -n "${PELLMORA_KEEP_SHOT:-}" ] && cp menu.png "$PELLMORA_KEEP_SHOT"

# The title at rest: its lettering within its rectangle (Top 80, 97 high).
[ "$(non_tile menu 0 79)" = 0 ] || fail "something besides the tiles above the resting title"
lettering=$(non_tile menu 80 176)
[ "$lettering" -gt 1000 ] || fail "no title lettering in rows 80..176 ($lettering pixels)"
[ "$(non_tile menu 177 303)" = 0 ] || fail "something besides the tiles between the title and the menu"
# The three buttons' faces, each at its place.
for y in 312 368 424; do
  expect menu 216 "$y" "$menu_face"
  expect menu 400 "$y" "$menu_face"
done
expect menu 639 479 '#8CF78C'
expect menu 100 400 "$(pixel first 100 400)"

kill -0 "$pid" 2>/dev/null || fail "the game died while on screen"
echo "startup_screen: ok (window $window, ${width}x${height}, title and menu shown)"
