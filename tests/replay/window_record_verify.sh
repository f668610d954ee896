#!/usr/bin/env bash
# A game played in the real desktop window, on the display the caller gives
# (scripts/with-xvfb.sh): real timers, keys pressed on the X server, the name
# typed into the name box. The replays the game keeps beside HiScore.dat
# verify to the saved score with the native and the node pellmora-sim. Then
# they are watched: from the ranking window's right-click menu, with
# --watch on a cut file (a box and a line name what is wrong, the game goes
# on), and as a bare file argument, as the desktop opens one; watching
# leaves the score file and the kept replays byte for byte as they were.
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
# Focuses the box titled $1 once it shows (a bare Xvfb has no window
# manager to do it) and presses Return, after typing $2 when given.
answer_box() {
  local box
  box=$(timeout 90 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$box" ] || fail "no box titled $1 (stderr: $(head -c 500 game.err))"
  press windowfocus --sync "$box"
  [ -n "${2:-}" ] && press type --delay 40 "$2"
  press key Return
}

# A hand-made table below any score: the game reaches the ranking, and the
# name box comes up.
printf -- '-1,-2,-3,-4,-5,-6,-7,-8,-9,-10\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\n' >HiScore.dat

start_game
wait_for_window
eval "$(xdotool getwindowgeometry --shell "$window")" # WINDOW X Y WIDTH HEIGHT SCREEN
press windowfocus --sync "$window"
wait_for_menu 216 312

# Whether the ball shows in the left half of the field.
ball_on_the_left() {
  import -window "$window" png:- 2>/dev/null |
    convert png:- -crop 320x480+0+0 +repage -fill black +opaque '#FCFE04' -format '%[fx:maxima.r>0.5]' info:- 2>/dev/null |
    grep -q '^1'
}

# A game: the start button with the mouse, then the arrows held and let go
# and a pause, as a player's keyboard sends them, until the ball is lost.
# The ball comes in from a corner and first meets the top or bottom paddle
# on the far side: that pair is moved towards it, for a score to keep.
play_a_game() {
  press mousemove --sync $((X + 308)) $((Y + 324)) click 1
  wait_caption "$window" 50 'Pellmora　　　*点'
  local arrow=Left
  ball_on_the_left && arrow=Right
  press keydown "$arrow"
  sleep 0.25
  press keyup "$arrow"
  press keydown Up
  press key Escape
  sleep 0.5
  press keyup Up
  press key Escape
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
rank1=HiScore.replays/rank01.pellmora-replay
for replay in "$last" "$rank1"; do
  [ -f "$replay" ] || fail "no $replay kept after the game over (folder: $(ls -A HiScore.replays 2>&1))"
  for line in 'host desktop' 'name Taro' "score $score"; do
    grep -aqx "$line" "$replay" || fail "$replay lacks the header line '$line'"
  done
  said=$("$sim" --verify "$replay" 2>&1)
  [ "$said" = "ok $score" ] || fail "native pellmora-sim --verify $replay: '$said', the window saved $score"
  if [ -n "$node_js" ]; then
    said=$(node "$node_js" --verify "$replay" 2>&1)
    [ "$said" = "ok $score" ] || fail "node pellmora-sim --verify $replay: '$said', the window saved $score"
  fi
done
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
press mousemove --sync $((X + 308)) $((Y + 380)) click 1
ranking=$(timeout 20 xdotool search --sync --onlyvisible --name '^ハイスコア ランキング$' 2>/dev/null | head -n 1)
[ -n "$ranking" ] || fail "the ranking button opened no ranking window"
eval "$(xdotool getwindowgeometry --shell "$ranking" | sed 's/^/R_/')"
press windowfocus --sync "$ranking"
press mousemove --sync $((R_X + 32)) $((R_Y + 32)) click 3
sleep 0.5
press key Down Return
wait_caption "$window" 50 'リプレイ再生中 - Taro (*点)*'
# Esc stops it at once, wherever the keyboard focus went.
press key Escape
wait_caption "$window" 30 'Pellmora　　　*点'
stop_game

# --watch with a file cut short: a box and a line say so, and the menu
# comes as at any start.
head -c -10 "$last" >cut.pellmora-replay
start_game --watch cut.pellmora-replay
answer_box リプレイ再生
grep -q "cut.pellmora-replay.*cut short" game.err || fail "no line on stderr names the cut file: $(cat game.err)"
wait_for_window
wait_for_menu 216 312
kill -0 "$pid" 2>/dev/null || fail "the game ended after the cut file"
stop_game

# The file alone, as the desktop opens it: the game plays it with its
# caption, four times as fast after the right arrow, then shows the menu.
mkdir "$work/from elsewhere"
cp "$last" "$work/from elsewhere/Taro's game.pellmora-replay"
start_game "$work/from elsewhere/Taro's game.pellmora-replay"
watched=$(timeout 20 xdotool search --sync --onlyvisible --name '^リプレイ再生中' 2>/dev/null | head -n 1)
[ -n "$watched" ] || fail "no replay caption within 20 s (stderr: $(head -c 500 game.err))"
case "$(caption_of "$watched")" in
  "リプレイ再生中 - Taro (${score}点)"*) ;;
  *) fail "the replay's caption is '$(caption_of "$watched")'" ;;
esac
press windowfocus --sync "$watched"
press key Right
wait_caption "$watched" 20 '*4倍速*'
wait_caption "$watched" 1200 'Pellmora'
window=$watched
wait_for_menu 216 312
stop_game

[ "$(kept)" = "$before" ] || fail "watching changed the score file or the kept replays"
echo "$test_name: ok (a game of $score points played in the real window verifies natively${node_js:+ and under node}; watched from the ranking, --watch and a bare file)"
