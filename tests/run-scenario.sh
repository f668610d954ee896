#!/usr/bin/env bash
# Replays one scenario script through pellmora-sim in a fresh working directory
# and compares what it prints (and the score file it leaves) byte for byte.
#   NAME.scn        the script
#   NAME.out        the expected standard output
#   NAME.before.dat optional "HiScore.dat" present at start-up
#   NAME.after.dat  optional expected "HiScore.dat" afterwards ("absent" file: NAME.after.absent)
#   NAME.after.bak  optional expected "HiScore.dat.bak" afterwards
#   NAME.exit       optional expected exit status (default 0)
#   NAME.args       optional extra arguments (e.g. --seed 7)
set -u
sim=$1
script=$2
base=${script%.scn}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -f "$base.before.dat" ] && cp "$base.before.dat" "$work/HiScore.dat"
args=()
[ -f "$base.args" ] && read -r -a args < "$base.args"
expected_exit=0
[ -f "$base.exit" ] && expected_exit=$(cat "$base.exit")
(cd "$work" && "$sim" "${args[@]}" "$script" > "$work/.stdout" 2> "$work/.stderr")
status=$?
fail=0
if [ "$status" != "$expected_exit" ]; then
  echo "exit status $status, expected $expected_exit"; cat "$work/.stderr"; fail=1
fi
if ! cmp -s "$work/.stdout" "$base.out"; then
  echo "output differs from $base.out:"; diff "$base.out" "$work/.stdout" | head -40; fail=1
fi
if [ -f "$base.after.dat" ] && ! cmp -s "$work/HiScore.dat" "$base.after.dat"; then
  echo "HiScore.dat differs from $base.after.dat:"
  xxd "$base.after.dat" > "$work/.want"; xxd "$work/HiScore.dat" > "$work/.got" 2>&1
  diff "$work/.want" "$work/.got" | head -40; fail=1
fi
if [ -f "$base.after.bak" ] && ! cmp -s "$work/HiScore.dat.bak" "$base.after.bak"; then
  echo "HiScore.dat.bak differs from $base.after.bak"; fail=1
fi
if [ -f "$base.after.absent" ] && [ -e "$work/HiScore.dat" ]; then
  echo "HiScore.dat was created"; fail=1
fi
exit $fail
