#!/usr/bin/env bash
# The launcher of an installed game: the first start makes the player's score
# folder with an empty table and starts the game there; a later start leaves
# the table exactly as it is; a folder that cannot be made is one clear line
# on stderr and exit status 1, and the game is not started. --help, --version
# and a bad option need no HOME and make nothing.
# Usage: launcher.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# The empty table: the ten scores on one line, then ten empty name lines.
printf '0,0,0,0,0,0,0,0,0,0\r\n' >"$tmp/empty.dat"
for _ in 1 2 3 4 5 6 7 8 9 10; do printf '\r\n' >>"$tmp/empty.dat"; done
[ "$(wc -c <"$tmp/empty.dat")" -eq 41 ] || fail "the expected empty table is not 41 bytes"

# A private install of the build, with a stand-in for the game that notes
# where it was started and what table it found there.
root=$tmp/root
cmake --install "$build" --prefix "$root" >"$tmp/install.log" || fail "cmake --install failed"
launcher=$root/games/pellmora
game=$root/libexec/pellmora/pellmora
[ -x "$launcher" ] || fail "no launcher at games/pellmora"
[ -e "$root/bin" ] && fail "the install has a bin folder: games go into games/"
[ -x "$game" ] || fail "no game at libexec/pellmora/pellmora"
cmp -s "$root/share/pellmora/HiScore.dat" "$tmp/empty.dat" ||
  fail "share/pellmora/HiScore.dat is not the 41-byte empty table"
head -n 1 "$launcher" | grep -qx '#!/bin/sh' || fail "the launcher is not a POSIX sh script"
# The menu entry calls the launcher of this very install, by its full path.
grep -qx "Exec=$root/games/pellmora %f" "$root/share/applications/io.pellmora.Pellmora.desktop" ||
  fail "the menu entry does not start $root/games/pellmora: $(grep '^Exec' "$root/share/applications/io.pellmora.Pellmora.desktop")"
for file in share/man/man6/pellmora.6.gz share/doc/pellmora/copyright \
  share/mime/packages/io.pellmora.Pellmora.xml; do
  [ -f "$root/$file" ] || fail "the install lacks $file"
done

export FAKE_LOG=$tmp/game.log

# Runs a command; its status, stdout and stderr land in $tmp/rc, $tmp/out
# and $tmp/err.
run_command() {
  rm -f "$FAKE_LOG" "$FAKE_LOG.table"
  set +e
  "$@" >"$tmp/out" 2>"$tmp/err"
  echo $? >"$tmp/rc"
  set -e
}
# Runs the launcher with the environment changes given as env(1) arguments.
run() {
  run_command env "$@" "$launcher"
}
expect_game_in() {
  [ "$(cat "$tmp/rc")" -eq 0 ] || fail "$1: exit status $(cat "$tmp/rc"), stderr: $(cat "$tmp/err")"
  [ -f "$FAKE_LOG" ] || fail "$1: the game was not started"
  [ "$(cat "$FAKE_LOG")" = "$(cd "$2" && pwd -P)" ] ||
    fail "$1: the game ran in $(cat "$FAKE_LOG"), not in $2"
  [ -s "$tmp/err" ] && fail "$1: unexpected stderr: $(cat "$tmp/err")"
  return 0
}

# The real game answers --help, --version and a bad option with any HOME or
# none, and nothing is made for them.
mkdir "$tmp/bare"
for case in --help:0:Usage --version:0:Pellmora --bogus:2:; do
  option=${case%%:*} status=${case#*:} status=${status%%:*} says=${case##*:}
  for home in -u\ HOME HOME="$tmp/bare"; do
    # shellcheck disable=SC2086 # "-u HOME" is two arguments
    run_command env -u XDG_DATA_HOME $home "$launcher" "$option"
    [ "$(cat "$tmp/rc")" -eq "$status" ] ||
      fail "$option ($home): status $(cat "$tmp/rc"), not $status: $(cat "$tmp/err")"
    [ -z "$says" ] || grep -q "^$says" "$tmp/out" || fail "$option ($home) printed: $(cat "$tmp/out")"
  done
done
[ -z "$(ls -A "$tmp/bare")" ] || fail "the options made $(ls -A "$tmp/bare") in HOME"

cat >"$game" <<'FAKE'
#!/bin/sh
pwd -P >"$FAKE_LOG"
printf '%s\n' "${PELLMORA_START_DIR-unset}" >"$FAKE_LOG.start"
if [ -f HiScore.dat ]; then cat HiScore.dat >"$FAKE_LOG.table"; fi
for argument in "$@"; do printf '%s\n' "$argument"; done >"$FAKE_LOG.arguments"
FAKE
chmod +x "$game"

# First start: the folder is made, parents included, with the empty table in
# it and nothing else, and the game finds the table at its start.
folder=$tmp/data/nested/pellmora
run XDG_DATA_HOME="$tmp/data/nested" HOME="$tmp/nohome"
expect_game_in "first start" "$folder"
cmp -s "$folder/HiScore.dat" "$tmp/empty.dat" || fail "first start: HiScore.dat is not the empty table"
cmp -s "$FAKE_LOG.table" "$tmp/empty.dat" || fail "first start: the game did not find the empty table"
[ "$(ls -A "$folder")" = "HiScore.dat" ] || fail "first start: stray files in the folder: $(ls -A "$folder")"
[ -w "$folder/HiScore.dat" ] || fail "first start: the table is not writable for the game"
[ -e "$tmp/nohome" ] && fail "first start: HOME was used although XDG_DATA_HOME is set"

# Second start: a table with scores in it stays byte for byte, same file.
printf '1500,900,0,0,0,0,0,0,0,0\r\nTaro\r\nHanako\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n' \
  >"$folder/HiScore.dat"
cp "$folder/HiScore.dat" "$tmp/scored.dat"
before=$(stat -c '%i %s %Y' "$folder/HiScore.dat")
sleep 1
run XDG_DATA_HOME="$tmp/data/nested" HOME="$tmp/nohome"
expect_game_in "second start" "$folder"
cmp -s "$folder/HiScore.dat" "$tmp/scored.dat" || fail "second start: the existing table was changed"
[ "$(stat -c '%i %s %Y' "$folder/HiScore.dat")" = "$before" ] ||
  fail "second start: the existing table was rewritten or replaced"
cmp -s "$FAKE_LOG.table" "$tmp/scored.dat" || fail "second start: the game did not find the scores"

# Without XDG_DATA_HOME, and with a relative one (which is not valid), the
# folder is under HOME.
mkdir "$tmp/home" "$tmp/cwd"
run -u XDG_DATA_HOME HOME="$tmp/home"
expect_game_in "XDG_DATA_HOME unset" "$tmp/home/.local/share/pellmora"
cmp -s "$tmp/home/.local/share/pellmora/HiScore.dat" "$tmp/empty.dat" ||
  fail "XDG_DATA_HOME unset: no empty table under HOME"
(cd "$tmp/cwd" && run XDG_DATA_HOME=relative/data HOME="$tmp/home")
expect_game_in "relative XDG_DATA_HOME" "$tmp/home/.local/share/pellmora"
[ -z "$(ls -A "$tmp/cwd")" ] || fail "relative XDG_DATA_HOME: a folder was made in the working directory"

# Started through a link elsewhere on the PATH, it still finds the game.
mkdir "$tmp/games"
ln -s "$launcher" "$tmp/games/pellmora"
run_command env PATH="$tmp/games:$PATH" XDG_DATA_HOME="$tmp/data/nested" sh -c 'exec pellmora'
expect_game_in "started through a link" "$folder"

# The options reach the game as given, one argument each.
run_command env XDG_DATA_HOME="$tmp/data/nested" "$launcher" --scale 2 --fullscreen 'two words'
expect_game_in "options" "$folder"
[ "$(cat "$FAKE_LOG.arguments")" = "$(printf -- '--scale\n2\n--fullscreen\ntwo words')" ] ||
  fail "the launcher passed the options as: $(tr '\n' '|' <"$FAKE_LOG.arguments")"

# The game runs in the score folder; a replay named relative to where the
# command was started is found from there.
(cd "$tmp/cwd" && run_command env XDG_DATA_HOME="$tmp/data/nested" "$launcher" --watch game.pellmora-replay)
expect_game_in "--watch" "$folder"
[ "$(cat "$FAKE_LOG.start")" = "$tmp/cwd" ] ||
  fail "the game was told it was started in '$(cat "$FAKE_LOG.start")', not $tmp/cwd"

# A folder that cannot be made: XDG_DATA_HOME lies under a regular file.
touch "$tmp/plain"
run XDG_DATA_HOME="$tmp/plain/data" HOME="$tmp/home"
[ "$(cat "$tmp/rc")" -eq 1 ] || fail "unmakeable folder: exit status $(cat "$tmp/rc"), not 1"
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "unmakeable folder: not one line on stderr: $(cat "$tmp/err")"
grep -q "^pellmora: .*$tmp/plain/data/pellmora" "$tmp/err" ||
  fail "unmakeable folder: the line does not name the folder: $(cat "$tmp/err")"
[ -e "$FAKE_LOG" ] && fail "unmakeable folder: the game was started"

# No empty table to copy: one clear line, status 1, and no half table left.
rm "$root/share/pellmora/HiScore.dat"
run XDG_DATA_HOME="$tmp/fresh" HOME="$tmp/home"
[ "$(cat "$tmp/rc")" -eq 1 ] || fail "missing empty table: exit status $(cat "$tmp/rc"), not 1"
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "missing empty table: not one line on stderr: $(cat "$tmp/err")"
[ -z "$(ls -A "$tmp/fresh/pellmora")" ] || fail "missing empty table: files left: $(ls -A "$tmp/fresh/pellmora")"
[ -e "$FAKE_LOG" ] && fail "missing empty table: the game was started"

echo "launcher: all checks passed"
