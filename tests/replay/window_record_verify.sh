#!/usr/bin/env bash
# A game played in the real desktop window, on the display the caller gives
# (scripts/with-xvfb.sh): real timers, keys pressed on the X server, the name
# typed into the name box. The replays the game keeps beside HiScore.dat
# verify to the saved score with the native and the node pellmora-sim. Then
# one is watched from the ranking window's right-click menu, which leaves the
# score file and the kept replays byte for byte as they were. The game is
# started on a cut replay file given alone, as the desktop opens one: a box
# and a line tell it, and the game goes on.
# Usage: bash scripts/with-xvfb.sh bash tests/replay/window_record_verify.sh \
#          PATH-TO-PELLMORA PATH-TO-PELLMORA-SIM [PATH-TO-build-web/pellmora-sim.js]
set -u

test_name=window_record_verify
sim=${2:?usage: window_record_verify.sh PELLMORA PELLMORA-SIM [NODE-SIM-JS]}
sim=$(cd "$(dirname "$sim")" && pwd)/$(basename "$sim")
# The node build is there once `make web` has built it; without it, the
# replays are verified natively only.
node_js=${3:-}
if [ -n "$node_js" ] && [ -f "$node_js" ]; then
  node_js=$(cd "$(dirname "$node_js")" && pwd)/$(basename "$node_js")
else
  node_js=
fi
# shellcheck source=../support/game-process.sh
source "$(dirname "$0")/../support/game-process.sh"

press() { xdotool "$@" || fail "xdotool could not $*"; }
# Clicks button $3 at X Y of the screen (no --sync: a pointer already there
# would never be seen to move).
click_at() { press mousemove "$1" "$2" sleep 0.1 click "$3"; }
caption_of() { xdotool getwindowname "$1" 2>/dev/null; }
# Waits up to $2 tenths of a second for the window $1's caption to match
# the pattern $3.
wait_caption() {
  local caption=
  for _ in $(seq 1 "$2"); do
    caption=$(caption_of "$1")
    # shellcheck disable=SC2053 # a pattern on purpose
    [[ "$caption" == $3 ]] && return 0
    sleep 0.1
  done
  fail "the caption is '$caption', not $3"
}
# The first visible window whose name matches $1, within $2 seconds. A
# search fails outright when a window goes while it looks: it is asked
# again.
find_window() {
  local found=
  for _ in $(seq 1 $(($2 * 10))); do
    kill -0 "$pid" 2>/dev/null || fail "the game exited early (stderr: $(head -c 500 game.err))"
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
# Focuses the box titled $1 once it shows (a bare Xvfb has no window
# manager to do it) and presses Return, after typing $2 when given.
answer_box() {
  local box
  box=$(find_window "^$1\$" 60)
  [ -n "$box" ] || fail "no box titled $1 (stderr: $(head -c 500 game.err))"
  press windowfocus --sync "$box"
  [ -n "${2:-}" ] && press type --delay 40 "$2"
  press key Return
}

# A hand-made table below any score: the game reaches the ranking, and the
# name box comes up.
printf -- '-1,-2,-3,-4,-5,-6,-7,-8,-9,-10\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\n' >HiScore.dat

# A file cut short, alone on the command line as the desktop gives it: a
# box and a line say so, and the game starts as at any start.
mkdir "$work/from elsewhere"
cut_file="$work/from elsewhere/a game.pellmora-replay"
# Recorded apart from the score file, which a scenario's game over fills.
printf 'wait 1305\nclick Command1\nwait 3000\n' >"$work/from elsewhere/short.scn"
(cd "$work/from elsewhere" && "$sim" --seed 3 --record "$cut_file" short.scn >/dev/null) ||
  fail "pellmora-sim could not record a game"
truncate -s -10 "$cut_file"
start_game "$cut_file"
answer_box リプレイ再生
grep -q "a game.pellmora-replay.*cut short" game.err || fail "no line on stderr names the cut file: $(cat game.err)"
wait_for_window
eval "$(xdotool getwindowgeometry --shell "$window")" # WINDOW X Y WIDTH HEIGHT SCREEN
press windowfocus --sync "$window"
wait_for_menu 216 312
kill -0 "$pid" 2>/dev/null || fail "the game ended after the cut file"

# Whether the ball shows in the left half of the field.
ball_on_the_left() {
  import -window "$window" png:- 2>/dev/null |
    convert png:- -crop 320x480+0+0 +repage -fill black +opaque '#FCFE04' -format '%[fx:maxima.r>0.5]' info:- 2>/dev/null |
    grep -q '^1'
}

# A game: the start button with the mouse, then a pause with Esc and keys
# held and let go, as a player's keyboard sends them, until the ball is
# lost. The ball comes in from a corner; the flat paddles held to the right
# long enough for where it comes from meet it once, for a score to keep.
play_a_game() {
  click_at $((X + 308)) $((Y + 324)) 1
  # The start button goes when the game starts (the caption may still show
  # the last game's score).
  for _ in $(seq 1 50); do
    [ "$(window_pixel 216 312)" != "$menu_face" ] && break
    sleep 0.1
  done
  [ "$(window_pixel 216 312)" != "$menu_face" ] || fail "the start button started no game"
  local hold=0.15
  ball_on_the_left && hold=0.65
  press key Escape
  press keydown Up
  sleep 0.5
  press keyup Up
  press key Escape
  sleep 0.25
  press keydown Right
  sleep "$hold"
  press keyup Right
  answer_box スコア更新 Taro
  answer_box ゲームオーバー
  wait_for_menu 216 312
}
# A game of no score keeps no ranked replay; a few more tries then.
for _ in 1 2 3 4 5; do
  play_a_game
  [ "$(head -n 1 HiScore.dat | cut -d, -f1)" -gt 0 ] && break
done

# The saved score of Taro, the first entry.
score=$(head -n 1 HiScore.dat | cut -d, -f1)
[ "$(sed -n 2p HiScore.dat | tr -d '\r')" = Taro ] || fail "Taro is not first in HiScore.dat: $(cat -v HiScore.dat)"
last=HiScore.replays/last.pellmora-replay
# The replays are kept once the game over's handler has run to its end,
# which may be just after the menu shows. Taro's game is one of the ranked
# ones (several of his, when the first tries scored nothing).
kept_as_ranked() {
  local file
  for file in HiScore.replays/rank*.pellmora-replay; do
    cmp -s "$last" "$file" && return 0
  done
  return 1
}
for _ in $(seq 1 50); do
  kept_as_ranked && break
  sleep 0.1
done
[ -f "$last" ] || fail "no $last kept after the game over (folder: $(ls -A HiScore.replays 2>&1))"
for line in 'host desktop' 'name Taro' "score $score"; do
  grep -aqx "$line" "$last" || fail "$last lacks the header line '$line'"
done
said=$("$sim" --verify "$last" 2>&1)
[ "$said" = "ok $score" ] || fail "native pellmora-sim --verify $last: '$said', the window saved $score"
if [ -n "$node_js" ]; then
  said=$(node "$node_js" --verify "$last" 2>&1)
  [ "$said" = "ok $score" ] || fail "node pellmora-sim --verify $last: '$said', the window saved $score"
fi
kept_as_ranked ||
  fail "no rank's replay is the game just played: $(ls -A HiScore.replays | tr '\n' ' ')" \
    "$(grep -a '^score\|^name' HiScore.replays/* | tr '\n' ' ') $(head -n 1 HiScore.dat)"
if [ -z "$node_js" ]; then
  echo "$test_name: no node build of pellmora-sim (make web): verified natively only"
fi
# One byte changed in the events never verifies.
cp "$last" changed.replay
size=$(stat -c %s changed.replay)
printf '\x5a' | dd of=changed.replay bs=1 seek=$((size - 3)) conv=notrunc status=none
cmp -s "$last" changed.replay && printf '\x5b' | dd of=changed.replay bs=1 seek=$((size - 3)) conv=notrunc status=none
"$sim" --verify changed.replay >/dev/null 2>&1 && fail "a replay changed by one byte verified"
rm changed.replay

kept() { md5sum HiScore.dat HiScore.replays/*; }
before=$(kept)

# The ranking window: a right-click on rank 1's label (8, 8, 49 x 49) offers
# the game; Down and Return choose it, and it plays in the game window.
click_at $((X + 308)) $((Y + 380)) 1
ranking=$(find_window '^ハイスコア ランキング$' 20)
[ -n "$ranking" ] || fail "the ranking button opened no ranking window"
eval "$(xdotool getwindowgeometry --shell "$ranking" | sed 's/^/R_/')"
press windowfocus --sync "$ranking"
click_at $((R_X + 32)) $((R_Y + 32)) 3
sleep 0.5
press key Down Return
wait_caption "$window" 50 'リプレイ再生中 - Taro (*点)*'
# Esc stops it at once, wherever the keyboard focus went.
press key Escape
wait_caption "$window" 30 'Pellmora　　　*点'
wait_for_menu 216 312

[ "$(kept)" = "$before" ] || fail "watching changed the score file or the kept replays"
echo "$test_name: ok (a game of $score points played in the real window verifies natively${node_js:+ and under node} and is watched from the ranking; a cut file told)"
