#!/usr/bin/env bash
# Games recorded by pellmora-sim re-run to the score the script itself
# printed, on the native build and under node, each verifying the other's
# recordings; a replay changed by one byte, cut short or of a newer format
# is refused.
#   record_verify.sh NATIVE_SIM [NODE_SIM_JS]
set -u
native=$1
node_js=${2:-}
corpus=$(cd "$(dirname "$0")/../../fuzz/replay-corpus" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

sims=("$native")
[ -n "$node_js" ] && [ -f "$node_js" ] && sims+=("node $node_js")

# A played game: held keys, a pause, items thrown by the seeded luck.
cat > played.scn <<'SCN'
wait 1305
click Command1
autopilot on
wait 25000
autopilot off
press up
press left
wait 1500
key esc
wait 3000
key esc
release up
wait 60000
print score
SCN
# A scripted game: the corner, the offset and the item spawns come from rnd.
cat > scripted.scn <<'SCN'
wait 1305
rnd 0.9 0.5 0.1 0.2 0.3 0.4
click Command1
autopilot on
wait 12000
rnd 0.7 0.1 0.6 0.2
wait 9000
autopilot off
wait 60000
print score
SCN

for sim in "${sims[@]}"; do
  tag=$(basename "${sim%% *}")
  for game in played scripted; do
    out=$($sim --seed 7 --record "$game.$tag.replay" "$game.scn") || fail "$tag: $game did not run"
    printed=$(sed -n 's/^score=//p' <<<"$out")
    [ -n "$printed" ] || fail "$tag: $game printed no score"
    for verifier in "${sims[@]}"; do
      said=$($verifier --verify "$game.$tag.replay")
      [ "$said" = "ok $printed" ] || fail "$tag's $game under $verifier: '$said', the script printed $printed"
    done
  done
  grep -aq '^luck scripted ' "scripted.$tag.replay" || fail "$tag: a scripted game is not marked scripted"
done

# Replays kept from earlier versions of the game still re-run here: format 1
# (the events as they are) and format 2 (deflated), both of rules 1. A new
# rules version must say so in the files it writes, and leave these be.
for sim in "${sims[@]}"; do
  said=$($sim --verify "$corpus/autopilot_game.pellmora-replay" "$corpus/short_game_deflated.pellmora-replay" 2>&1)
  [ "$said" = $'ok 172\nok 12' ] || fail "$sim: the kept replays of formats 1 and 2: '$said'"
done

replay="played.$(basename "$native").replay"
size=$(stat -c %s "$replay")
# One byte changed anywhere past the header: never "ok".
header=$(grep -abo -m1 $'^$' "$replay" | head -n1 | cut -d: -f1)
for at in $((header + 40)) $((header + 400)) $(((header + size) / 2)) $((size - 3)); do
  cp "$replay" changed.replay
  printf '\x5a' | dd of=changed.replay bs=1 seek="$at" conv=notrunc status=none
  cmp -s "$replay" changed.replay && printf '\x5b' | dd of=changed.replay bs=1 seek="$at" conv=notrunc status=none
  said=$("$native" --verify changed.replay 2>/dev/null)
  status=$?
  case "$status:$said" in
    1:"differs at second "*) ;;
    2:) ;;
    *) fail "byte $at changed: exit $status, '$said'" ;;
  esac
done

head -c $((size - 10)) "$replay" > short.replay
"$native" --verify short.replay 2> short.err && fail "a cut replay verified"
[ $? -eq 2 ] && grep -q 'cut short' short.err || fail "a cut replay: $(cat short.err)"

sed '1s/ [0-9]*$/ 9/' "$replay" > future.replay
"$native" --verify future.replay 2> future.err
[ $? -eq 2 ] && grep -q 'format 9, newer' future.err || fail "a newer format: $(cat future.err)"

# Several files at once: one line each, the worst status.
said=$("$native" --verify "$replay" changed.replay "$replay" 2>/dev/null | wc -l)
[ "$said" -ge 2 ] || fail "several replays gave $said lines"

if [ "$failures" -gt 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "record and verify: every check passed"
