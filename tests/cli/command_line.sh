#!/usr/bin/env bash
# The game's command line with no display at all: --help lists every option
# and --version gives the version, both with status 0 and nothing on stderr;
# a bad option or value is one line on stderr naming it, status 2, nothing
# on stdout, and no window system asked for. Good options without a display
# still say that no display is found; a display named but dead says so too.
# Usage: command_line.sh PATH-TO-PELLMORA VERSION
set -u
game=${1:?usage: command_line.sh PATH-TO-PELLMORA VERSION}
version=${2:?usage: command_line.sh PATH-TO-PELLMORA VERSION}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "command_line: FAIL: $*" >&2
  exit 1
}

# Runs the game with the arguments given, with no display (but the
# assignments in $displays) and settings of its own; sets status, and leaves
# out and err in $tmp.
run() {
  # shellcheck disable=SC2086 # none, one or two assignments
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$tmp/config" ${displays:-} \
    timeout 10 "$game" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
}

run --help
[ "$status" -eq 0 ] || fail "--help: status $status (stderr: $(cat "$tmp/err"))"
[ -s "$tmp/err" ] && fail "--help wrote to stderr: $(cat "$tmp/err")"
head -n 1 "$tmp/out" | grep -qx 'Usage: pellmora \[OPTION\]\.\.\. \[FILE\]' || fail "--help: no usage line: $(head -n 1 "$tmp/out")"
for option in --help --version '--scale N' --fullscreen --windowed --no-focus-pause --focus-pause \
  '--watch FILE' '--ranking-server URL'; do
  grep -Eq "^  $option " "$tmp/out" || fail "--help does not list $option"
done

run --version
[ "$status" -eq 0 ] || fail "--version: status $status"
[ "$(cat "$tmp/out")" = "Pellmora $version" ] || fail "--version says '$(cat "$tmp/out")', not 'Pellmora $version'"
[ -s "$tmp/err" ] && fail "--version wrote to stderr: $(cat "$tmp/err")"

# A bad command line: status 2, one line naming what is wrong, and nothing
# else (no window system is asked for, so no display is needed to say so).
expect_bad() {
  local what=$1
  shift
  run "$@"
  [ "$status" -eq 2 ] || fail "'$*': status $status, expected 2 (stderr: $(cat "$tmp/err"))"
  [ -s "$tmp/out" ] && fail "'$*' wrote to stdout: $(cat "$tmp/out")"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "'$*': not one line on stderr: $(cat "$tmp/err")"
  grep -q "^pellmora: .*$what" "$tmp/err" || fail "'$*': the line does not name '$what': $(cat "$tmp/err")"
}
expect_bad "'--bogus'" --bogus
expect_bad "'-x'" -x
expect_bad "'--bogus'" --scale 2 --bogus
expect_bad "--scale" --scale
expect_bad "'0'" --scale 0
expect_bad "'-3'" --scale=-3
expect_bad "'two'" --scale two
expect_bad "'2.5'" --scale 2.5
expect_bad "'--fullscreen'" --fullscreen=yes
expect_bad "--windowed" --fullscreen --windowed
# One replay file at most, alone or after --watch.
expect_bad "'b.pellmora-replay'" a.pellmora-replay b.pellmora-replay
expect_bad "'b.pellmora-replay'" --watch a.pellmora-replay b.pellmora-replay
expect_bad "--watch" --watch
expect_bad "--watch" --watch=
# The world ranking's address: http or https, with a host.
expect_bad "'ftp://example.org'" --ranking-server ftp://example.org
expect_bad "'http://'" --ranking-server http://
expect_bad "'example.org'" --ranking-server example.org

# Good options: only the missing display stops the game, with its own line.
for options in "--scale 2 --fullscreen --no-focus-pause" "--watch game.pellmora-replay" \
  "--windowed game.pellmora-replay" "--ranking-server https://ranking.example.org/"; do
  # shellcheck disable=SC2086 # the options, word by word
  run $options
  [ "$status" -eq 1 ] || fail "good options ($options) without a display: status $status, expected 1"
  grep -q '^pellmora: no display found' "$tmp/err" || fail "good options ($options) without a display: $(cat "$tmp/err")"
done
[ -e "$tmp/config" ] && fail "the settings were written although the game never started"

# A display that is named but does not answer: one line, status 1, no abort.
for setting in DISPLAY=:999 QT_QPA_PLATFORM=xcb "QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=none"; do
  displays=$setting run
  [ "$status" -eq 1 ] && [ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q '^pellmora: no display answers' "$tmp/err" ||
    fail "$setting: status $status, stderr: $(cat "$tmp/err")"
done
[ -e "$tmp/config" ] && fail "the settings were written although the game never started"

echo "command_line: ok"
