#!/usr/bin/env bash
# Plays the real game with the keyboard, on the display the caller gives
# (scripts/with-xvfb.sh): Tab puts the focus on the start button, which shows
# a dotted mark, and Enter starts a game; after the game-over box, Tab moves
# the mark on to the ranking button and Enter opens the ranking window. There
# a name box takes typing, the score boxes lie above the unit labels with
# sunken edges, and what was typed is gone once the window has been closed
# and opened again.
# Usage: bash scripts/with-xvfb.sh bash tests/xvfb/enter_and_name_box.sh PATH-TO-PELLMORA
set -u

test_name=enter_and_name_box
# shellcheck source=../support/game-process.sh
source "$(dirname "$0")/../support/game-process.sh"

start_game
wait_for_window
eval "$(xdotool getwindowgeometry --shell "$window")" # WINDOW X Y WIDTH HEIGHT SCREEN
# A bare Xvfb has no window manager to hand the focus over; give it as one would.
xdotool windowfocus --sync "$window" || fail "could not give the window the keyboard focus"
wait_for_menu 216 312

press() { xdotool key "$@" || fail "xdotool could not press $*"; }

# The start button (208, 304): its dotted mark runs 6 pixels inside its edge.
press Tab
mark=
for _ in $(seq 1 20); do
  mark=$(window_pixel 214 310)
  [ "$mark" = '#000000' ] && break
  sleep 0.1
done
[ "$mark" = '#000000' ] || fail "no focus mark on the start button after Tab (pixel 214,310 is $mark)"
[ "$(window_pixel 215 310)" = "$menu_face" ] || fail "the focus mark is not dotted"
[ "$(window_pixel 214 366)" = "$menu_face" ] || fail "the ranking button shows a focus mark too"

press Return
caption=
for _ in $(seq 1 50); do
  caption=$(xdotool getwindowname "$window" 2>/dev/null)
  [ "$caption" != Pellmora ] && break
  sleep 0.1
done
case "$caption" in
  "Pellmora　　　"*点) ;;
  *) fail "Enter on the start button started no game (caption '$caption')" ;;
esac

# Nobody moves the paddles: the ball is lost soon, and the box comes.
box=$(timeout 90 xdotool search --sync --onlyvisible --name '^ゲームオーバー$' 2>/dev/null | head -n 1)
[ -n "$box" ] || fail "no game-over box within 90 s"
xdotool windowfocus --sync "$box" || fail "could not give the box the keyboard focus"
press Return
wait_for_menu 216 312
xdotool windowfocus --sync "$window" || fail "could not give the window the keyboard focus back"

# Tab runs start, ranking, quit. Coming back to the window, Qt may already
# have put the focus on the first button; Tab until the ranking button's mark
# shows, then Enter.
marked=
for _ in 1 2 3; do
  [ "$(window_pixel 214 366)" = '#000000' ] && { marked=yes; break; }
  press Tab
  sleep 0.3
done
[ -n "$marked" ] || [ "$(window_pixel 214 366)" = '#000000' ] ||
  fail "Tab never put the focus mark on the ranking button"
[ "$(window_pixel 214 422)" = "$menu_face" ] || fail "the quit button shows a focus mark too"
press Return
ranking=$(timeout 20 xdotool search --sync --onlyvisible --name '^ハイスコア ランキング$' 2>/dev/null | head -n 1)
[ -n "$ranking" ] || fail "Tab, Tab and Enter did not open the ranking window"
eval "$(xdotool getwindowgeometry --shell "$ranking" | sed 's/^/R_/')"

ranking_pixel() {
  import -window "$ranking" png:- 2>/dev/null |
    convert png:- -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | awk 'NR == 2 {print $3}'
}
# Dark pixels in the rank-1 name box (56, 8, 217 x 49) inside its edges.
name_ink() {
  import -window "$ranking" png:- 2>/dev/null |
    convert png:- -crop 209x41+60+12 -colorspace gray -threshold 50% -depth 8 txt:- 2>/dev/null |
    grep -c '#000000'
}

sleep 0.3
# The rank-1 score box (272, 8, 137 x 49) over its unit label (408, 8): the
# box's light right edge in the shared column, its sunken edge on the left.
got=$(ranking_pixel 408 30)
[ "$got" = '#FFFFFF' ] || fail "pixel 408,30 of the ranking window is $got, not the box's edge"
got="$(ranking_pixel 272 30) $(ranking_pixel 273 30) $(ranking_pixel 407 30) $(ranking_pixel 340 8)"
[ "$got" = '#808080 #404040 #D4D0C8 #808080' ] || fail "the score box's edge reads $got"

before=$(name_ink)
[ "$before" = 0 ] || fail "the empty name box shows $before dark pixels"
xdotool windowfocus --sync "$ranking" || fail "could not give the ranking window the focus"
xdotool mousemove --sync $((R_X + 160)) $((R_Y + 32)) click 1 || fail "could not click the name box"
xdotool type --delay 50 'WMW' || fail "xdotool could not type"
after=0
for _ in $(seq 1 20); do
  after=$(name_ink)
  [ "$after" -gt 200 ] && break
  sleep 0.1
done
[ "$after" -gt 200 ] || fail "typing showed nothing in the name box ($after dark pixels)"

# The close button (432, 112, 81 x 41) unloads the window with what was typed.
xdotool mousemove --sync $((R_X + 472)) $((R_Y + 132)) click 1 || fail "could not click the close button"
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^ハイスコア ランキング$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^ハイスコア ランキング$' >/dev/null 2>&1 &&
  fail "the close button left the ranking window open"
xdotool mousemove --sync $((X + 308)) $((Y + 380)) click 1 || fail "could not click the ranking button"
ranking=$(timeout 20 xdotool search --sync --onlyvisible --name '^ハイスコア ランキング$' 2>/dev/null | head -n 1)
[ -n "$ranking" ] || fail "the ranking window did not open again"
sleep 0.3
again=$(name_ink)
[ "$again" = 0 ] || fail "the typed name outlived the window ($again dark pixels)"

kill -0 "$pid" 2>/dev/null || fail "the game died"
echo "enter_and_name_box: ok (Tab and Enter start a game and open the ranking; a name box took typing; box edges above the labels)"
