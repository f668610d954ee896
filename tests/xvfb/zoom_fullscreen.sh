#!/usr/bin/env bash
# The real game at a whole zoom and on the whole screen, on a 1920x1200
# display the caller gives (scripts/with-xvfb.sh with PELLMORA_XVFB_SCREEN):
# --scale 2 makes a 1280x960 client area where every game pixel is a sharp
# 2x2 block while the title's lettering keeps its full resolution; F11 fills
# the screen with the field at the largest whole zoom, centred between black
# bars, where the mouse still hits the buttons and the ranking window opens
# over it; Alt+Enter brings the window back; Ctrl+minus, Ctrl+plus and Ctrl+0
# change the zoom within what the screen takes; the ranking window and the
# boxes take the zoom, and a game played at zoom 2 prints nothing on stderr.
# The zoom is kept for the next start, and an option goes before it for its
# run only.
# Usage: PELLMORA_XVFB_SCREEN=1920x1200x24 bash scripts/with-xvfb.sh bash tests/xvfb/zoom_fullscreen.sh PATH-TO-PELLMORA
set -u

test_name=zoom_fullscreen
# shellcheck source=../support/game-process.sh
source "$(dirname "$0")/../support/game-process.sh"

read -r screen_width screen_height < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
[ "$screen_width" = 1920 ] && [ "$screen_height" = 1200 ] ||
  fail "the display is ${screen_width}x${screen_height}, not 1920x1200 (set PELLMORA_XVFB_SCREEN)"

client_size() {
  xwininfo -id "$window" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}
# Waits until the client area is $1 (WIDTHxHEIGHT).
wait_for_size() {
  local size=
  for _ in $(seq 1 50); do
    size=$(client_size)
    [ "$size" = "$1" ] && return 0
    sleep 0.1
  done
  fail "$2: the window is ${size:-gone}, expected $1"
}
key() {
  xdotool key --window "$window" "$1" || fail "xdotool could not press $1"
}
# A normal run says nothing on stderr, at any zoom. A desktop session has a
# runtime folder; without one Qt says so.
XDG_RUNTIME_DIR=$XDG_CONFIG_HOME/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
quiet() {
  [ ! -s game.err ] || fail "$1: the game wrote to stderr: $(head -c 500 game.err)"
}
# Grabs the window into $1.png.
shoot() {
  import -window "$window" "$1.png" 2>import.err || fail "import could not grab the window: $(cat import.err)"
}
# The pixels of shot $1 in the rectangle $2,$3 ($4 x $5), one a line:
# "X,Y: (r,g,b)  #RRGGBB  ...", at their places in the shot.
pixels() {
  convert "$1.png" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
    awk -v dx="$2" -v dy="$3" '/^#/ { next } { split($1, xy, /[,:]/); $1 = (xy[1] + dx) "," (xy[2] + dy) ":"; print }'
}
pixel() { pixels "$1" "$2" "$3" 1 1 | awk '{print $3}'; }
expect() {
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$1: pixel ($2,$3) is ${got:-missing}, expected $4"
}
# The background tile's colour at game pixel ($1, $2): a ramp along x + y
# within each 8x8 tile.
tile() {
  local ramp=(00EB00 00EB00 08EB08 18EB18 18EB18 29EF29 39EF39 39EF39 4AEE4A 5AF35A 6BF36B 6BF36B 7BF77B 8CF78C 8CF78C)
  echo "#${ramp[$(($1 % 8 + $2 % 8))]}"
}
# Pixels of shot $1 in the rectangle $2,$3 ($4 x $5) that are not the tile
# of the game pixel they show, with the field at zoom $6 from $7,$8.
off_tile() {
  pixels "$1" "$2" "$3" "$4" "$5" | awk -v f="$6" -v ox="$7" -v oy="$8" '
    BEGIN {
      split("00EB00 00EB00 08EB08 18EB18 18EB18 29EF29 39EF39 39EF39 4AEE4A 5AF35A 6BF36B 6BF36B 7BF77B 8CF78C 8CF78C", ramp, " ")
    }
    {
      split($1, xy, /[,:]/)
      gx = int((xy[1] - ox) / f); gy = int((xy[2] - oy) / f)
      if ($3 != "#" ramp[(gx % 8) + (gy % 8) + 1]) n++
    }
    END { print n + 0 }'
}
# The 2x2 blocks, aligned on the game pixels, in the rectangle $2,$3 ($4 x $5,
# even numbers) of shot $1 whose four pixels are not all one colour: drawn
# finer than the game's pixels.
finer_blocks() {
  pixels "$1" "$2" "$3" "$4" "$5" | awk '
    { split($1, xy, /[,:]/); c[xy[1] + 0, xy[2] + 0] = $3; x[xy[1] + 0]; y[xy[2] + 0] }
    END {
      for (i in x) for (j in y)
        if (i % 2 == 0 && j % 2 == 0 &&
            (c[i, j] != c[i + 1, j] || c[i, j] != c[i, j + 1] || c[i, j] != c[i + 1, j + 1])) n++
      print n + 0
    }'
}

# Zoom 2 from the command line: 1280x960, centred on the screen.
start_game --scale 2
wait_for_window
wait_for_size 1280x960 "--scale 2"
eval "$(xdotool getwindowgeometry --shell "$window")" # WINDOW X Y WIDTH HEIGHT SCREEN
[ "$X" = 320 ] && [ "$Y" = 120 ] || fail "the zoomed window is at $X,$Y, not centred at 320,120"
# The start button's face at game pixel (216, 312).
wait_for_menu 432 624
sleep 0.3
shoot zoom2
# Every game pixel a 2x2 block of its tile's colour: the field left of the
# buttons and below the title (game 0..199 x 200..299), and the bottom rows.
n=$(off_tile zoom2 0 400 400 200 2 0 0)
[ "$n" = 0 ] || fail "zoom 2: $n pixels of game rows 200..299 are not their game pixel's tile"
n=$(off_tile zoom2 0 920 1280 40 2 0 0)
[ "$n" = 0 ] || fail "zoom 2: $n pixels of game rows 460..479 are not their game pixel's tile"
# The resting title's lettering (game rows 80..176) is drawn at the screen's
# own resolution, not enlarged from 640x480.
finer=$(finer_blocks zoom2 0 160 1280 194)
[ "$finer" -gt 200 ] || fail "zoom 2: the title's lettering is enlarged, not drawn at full resolution ($finer finer blocks)"
n=$(finer_blocks zoom2 0 400 400 200)
[ "$n" = 0 ] || fail "zoom 2: $n blocks of the field are not whole 2x2 blocks"
expect zoom2 432 624 "$menu_face"
expect zoom2 800 624 "$menu_face"
quiet "--scale 2"

# F11: the whole screen; the field at zoom 2 (3 would need 1440 rows),
# centred between black bars of 320 and 120 pixels.
xdotool windowfocus --sync "$window" || fail "could not give the window the keyboard focus"
key F11
wait_for_size 1920x1200 "F11"
sleep 0.3
shoot full
for spot in "0 0" "319 600" "1600 600" "1919 1199" "900 119" "900 1080" "319 119" "1600 1080"; do
  expect full $spot '#000000'
done
expect full 320 600 "$(tile 0 240)"
expect full 1599 600 "$(tile 639 240)"
expect full 900 120 "$(tile 290 0)"
expect full 900 1079 "$(tile 290 479)"
n=$(off_tile full 320 520 400 200 2 320 120)
[ "$n" = 0 ] || fail "full screen: $n pixels of game rows 200..299 are not their game pixel's tile"
expect full $((320 + 432)) $((120 + 624)) "$menu_face"

# The ranking button (208, 360, 201 x 41) where the field shows it; the
# ranking window opens over the whole screen, and its close button closes it.
xdotool mousemove --sync $((320 + 616)) $((120 + 760)) click 1 || fail "xdotool could not click"
ranking=$(timeout 20 xdotool search --sync --onlyvisible --name '^ハイスコア ランキング$' 2>/dev/null | head -n 1)
[ -n "$ranking" ] || fail "the ranking window did not open from the whole screen"
top=$(xwininfo -root -children | awk '/^ +0x/ { print $1; exit }') # topmost first
[ $((top)) = $((ranking)) ] || fail "the ranking window is not the topmost window"
eval "$(xdotool getwindowgeometry --shell "$ranking" | sed 's/^/R_/')"
[ "$R_WIDTH" = 1058 ] && [ "$R_HEIGHT" = 536 ] ||
  fail "the ranking window is ${R_WIDTH}x${R_HEIGHT} beside the field at zoom 2, not twice 529x268"
# Its close button (432, 112, 81 x 41) at zoom 2.
xdotool mousemove --sync $((R_X + 944)) $((R_Y + 264)) click 1 || fail "xdotool could not click"
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^ハイスコア ランキング$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^ハイスコア ランキング$' >/dev/null 2>&1 && fail "the ranking window did not close"

# Alt+Enter: the window again, at its zoom.
xdotool windowfocus --sync "$window" || fail "could not give the window the keyboard focus"
key alt+Return
wait_for_size 1280x960 "Alt+Enter"

# The zoom keys, within 1..2 on this screen.
key ctrl+minus
wait_for_size 640x480 "Ctrl+minus"
key ctrl+minus
sleep 0.3
wait_for_size 640x480 "Ctrl+minus at zoom 1"
key ctrl+plus
wait_for_size 1280x960 "Ctrl+plus"
key ctrl+plus
sleep 0.3
wait_for_size 1280x960 "Ctrl+plus at the largest zoom"
key ctrl+0
wait_for_size 640x480 "Ctrl+0"
key ctrl+plus
wait_for_size 1280x960 "Ctrl+plus"
kill -0 "$pid" 2>/dev/null || fail "the game died"

# A game at zoom 2, with the mouse on the start button (208, 304, 201 x 41);
# the unguided ball is soon lost, and Return answers the boxes.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --sync $((X + 616)) $((Y + 648)) click 1 || fail "xdotool could not click"
over=
for _ in $(seq 1 300); do
  for title in スコア更新 ゲームオーバー; do
    box=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
    [ -n "$box" ] || continue
    xdotool windowfocus --sync "$box" && xdotool key Return || fail "could not answer the box $title"
    [ "$title" = ゲームオーバー ] && over=yes
    sleep 0.3
  done
  [ -n "$over" ] && break
  sleep 0.1
done
[ -n "$over" ] || fail "no game-over box within 30 s of a game at zoom 2"
wait_for_menu 432 624
quiet "a game at zoom 2 after the zoom keys"

# The quit button (208, 416, 201 x 41) at zoom 2 ends the game.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --sync $((X + 616)) $((Y + 872)) click 1 || fail "xdotool could not click"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the quit button at zoom 2 did not end the game"
wait "$pid" || fail "the game ended with status $?"
pid=
quiet "the quit button at zoom 2"

# Kept: the next start is at zoom 2; --scale 1 and --fullscreen go before it
# for their run only.
start_game
wait_for_window
wait_for_size 1280x960 "a start after zoom 2"
stop_game
start_game --scale 1
wait_for_window
wait_for_size 640x480 "--scale 1"
stop_game
start_game --fullscreen
wait_for_window
wait_for_size 1920x1200 "--fullscreen"
stop_game
start_game
wait_for_window
wait_for_size 1280x960 "a start after --scale 1 and --fullscreen"
echo "zoom_fullscreen: ok (zoom 2 in sharp blocks with full-resolution lettering, the whole screen with bars, keys, kept zoom)"
