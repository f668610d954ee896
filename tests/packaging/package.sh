#!/usr/bin/env bash
# The Debian package, built with CPack as `make package` builds it: its
# control fields and dependencies, its files, the licence, the changelogs and
# the manual page, the menu entry, the software centre's description and the
# icons; then the game started from the unpacked package as a player starts
# it, on the display this test runs on.
# Usage: package.sh BUILD_DIR SOURCE_DIR   (needs DISPLAY: run it under
# scripts/with-xvfb.sh)
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)

tmp=$(mktemp -d)
gamePid=
cleanup() {
  if [ -n "$gamePid" ]; then
    kill "$gamePid" 2>/dev/null || true
    wait "$gamePid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run this test under scripts/with-xvfb.sh"

source "$(dirname "$0")/lib/build-package.sh"
build_package "$build" "$tmp/out"
[ "$(basename "$deb")" = "pellmora_$(dpkg-deb -f "$deb" Version)_$(dpkg-deb -f "$deb" Architecture).deb" ] ||
  fail "the package file is not named package_version_arch.deb: $(basename "$deb")"

# Control fields.
dpkg-deb -I "$deb" >"$tmp/info" || fail "dpkg-deb -I cannot read the package"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pellmora ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
# Depends: the fonts and the translations by hand, the libraries found by
# dpkg-shlibdeps (SDL for the game pads among them); Wayland's Qt plugin
# recommended.
version=$(field Version)
depends=$(field Depends)
names=" $(tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | tr '\n' ' ')"
for package in fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n \
  libqt6core6 libqt6gui6 libqt6widgets6 libsdl2-2.0-0 libc6 libstdc++6; do
  [[ "$names" == *" $package "* ]] || fail "Depends lacks $package: $depends"
done
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is '$(field Recommends)', not qt6-wayland"

# The files, unpacked into a throwaway root. Debian keeps games in
# /usr/games: nothing goes into /usr/bin.
root=$tmp/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x cannot unpack the package"
usr=$root/usr
doc=$usr/share/doc/pellmora
for file in games/pellmora libexec/pellmora/pellmora share/pellmora/HiScore.dat \
  share/applications/io.pellmora.Pellmora.desktop share/metainfo/io.pellmora.Pellmora.metainfo.xml \
  share/mime/packages/io.pellmora.Pellmora.xml \
  share/man/man6/pellmora.6.gz share/doc/pellmora/copyright share/doc/pellmora/changelog.Debian.gz \
  share/doc/pellmora/changelog.gz; do
  [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
[ -e "$usr/bin" ] && fail "the package has /usr/bin: $(ls -A "$usr/bin")"
[ -x "$usr/games/pellmora" ] || fail "the launcher is not executable"
[ -x "$usr/libexec/pellmora/pellmora" ] || fail "the game is not executable"
dpkg-deb -c "$deb" | awk '$2 != "root/root" { bad = 1; print } END { exit bad }' >&2 ||
  fail "files in the package not owned by root"
printf '0,0,0,0,0,0,0,0,0,0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n' >"$tmp/empty.dat"
cmp -s "$usr/share/pellmora/HiScore.dat" "$tmp/empty.dat" ||
  fail "/usr/share/pellmora/HiScore.dat is not the 41-byte empty table"

# The menu entry and the software centre's description.
desktop=$usr/share/applications/io.pellmora.Pellmora.desktop
desktop-file-validate "$desktop" >"$tmp/desktop.log" 2>&1 || {
  cat "$tmp/desktop.log" >&2
  fail "desktop-file-validate rejects the menu entry"
}
[ -s "$tmp/desktop.log" ] && fail "desktop-file-validate complains: $(cat "$tmp/desktop.log")"
for line in 'Exec=/usr/games/pellmora %f' 'Icon=pellmora' 'Categories=Game;ArcadeGame;' \
  'MimeType=application/x-pellmora-replay;' \
  'Actions=Fullscreen;Windowed;' 'Exec=/usr/games/pellmora --fullscreen' \
  'Exec=/usr/games/pellmora --windowed'; do
  grep -qx "$line" "$desktop" || fail "the menu entry lacks $line"
done
for key in 'Name' 'Name\[ja\]' 'Comment' 'Comment\[ja\]'; do
  grep -Eq "^$key=.+" "$desktop" || fail "the menu entry lacks $key"
done
# The replay files' type, as shared-mime-info builds its database from the
# package's file: *.pellmora-replay, and a file of another name by its
# magic text, are application/x-pellmora-replay, which the menu entry opens.
mime=$tmp/share/mime
mkdir -p "$mime/packages"
cp "$usr/share/mime/packages/io.pellmora.Pellmora.xml" "$mime/packages/"
XDG_DATA_HOME=$tmp/share XDG_DATA_DIRS=$tmp/share update-mime-database "$mime" >"$tmp/mime.log" 2>&1 || fail "update-mime-database rejects the type: $(cat "$tmp/mime.log")"
[ -s "$tmp/mime.log" ] && fail "update-mime-database complains: $(cat "$tmp/mime.log")"
grep -qx '50:application/x-pellmora-replay:\*\.pellmora-replay' "$mime/globs2" ||
  fail "no glob *.pellmora-replay for application/x-pellmora-replay: $(cat "$mime/globs2")"
grep -q 'xml:lang="ja">Pellmora のリプレイ<' "$mime/application/x-pellmora-replay.xml" ||
  fail "the type has no Japanese comment"
grep -q 'PELLMORA-REPLAY' "$mime/magic" || fail "the type has no magic text"
grep -q '<mediatype>application/x-pellmora-replay</mediatype>' \
  "$usr/share/metainfo/io.pellmora.Pellmora.metainfo.xml" || fail "the metainfo does not name the replay type"
appstreamcli validate --no-net "$usr/share/metainfo/io.pellmora.Pellmora.metainfo.xml" \
  >"$tmp/metainfo.log" 2>&1 || {
  cat "$tmp/metainfo.log" >&2
  fail "appstreamcli rejects the metainfo"
}
appstreamcli validate-tree --no-net "$root" >"$tmp/tree.log" 2>&1 || {
  cat "$tmp/tree.log" >&2
  fail "appstreamcli rejects the installed tree"
}

grep -qx '  <project_license>MIT</project_license>' "$usr/share/metainfo/io.pellmora.Pellmora.metainfo.xml" ||
  fail "the metainfo does not give the project's licence as MIT"

# The copyright file in Debian's machine-readable format: everything under the
# MIT licence, whose text is word for word the one in LICENSE.
copyright=$doc/copyright
head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file does not declare the machine-readable format"
paragraph() { awk -v RS= -v want="$1" '$0 ~ want' "$copyright"; }
filesAll=$(paragraph '^Files: \\*\n')
[ -n "$filesAll" ] || fail "the copyright file has no 'Files: *' paragraph"
grep -qx 'License: MIT' <<<"$filesAll" || fail "'Files: *' is not under License: MIT"
grep -qx 'Copyright: 2026 The Pellmora developers' <<<"$filesAll" ||
  fail "'Files: *' does not name the Pellmora developers"
paragraph '^License: MIT\n' | sed '1d; s/^ //; s/^\.$//' >"$tmp/mit.txt"
sed '1,/^Copyright (c)/d' "$source/LICENSE" | sed '/./,$!d' >"$tmp/license-body.txt"
[ -s "$tmp/license-body.txt" ] || fail "LICENSE has no text after its copyright line"
grep -qx 'Copyright (c) 2026 The Pellmora developers' "$source/LICENSE" ||
  fail "LICENSE does not name the Pellmora developers"
diff -u "$tmp/license-body.txt" "$tmp/mit.txt" >&2 ||
  fail "the MIT text of the copyright file is not the one in LICENSE"
grep -q 'Permission is hereby granted, free of charge' "$tmp/mit.txt" ||
  fail "the copyright file's MIT paragraph is not the MIT licence"

# The changelogs: compressed without a timestamp; the Debian one's latest entry
# is this package's version, signed by its maintainer, and the copyright
# file's contact is the same.
for log in changelog.Debian.gz changelog.gz; do
  gzip -t "$doc/$log" || fail "$log is not gzip data"
  [ "$(od -An -tu4 -j4 -N4 "$doc/$log" | tr -d ' ')" = 0 ] || fail "$log carries a timestamp"
done
gzip -dc "$doc/changelog.Debian.gz" >"$tmp/changelog"
dpkg-parsechangelog -l "$tmp/changelog" >"$tmp/parsed" 2>"$tmp/parse.log" ||
  fail "dpkg-parsechangelog rejects changelog.Debian: $(cat "$tmp/parse.log")"
[ -s "$tmp/parse.log" ] && fail "dpkg-parsechangelog warns: $(cat "$tmp/parse.log")"
changelogField() { sed -n "s/^$1: //p" "$tmp/parsed"; }
[ "$(changelogField Version)" = "$(field Version)" ] ||
  fail "the latest changelog entry is $(changelogField Version), the package $(field Version)"
[ "$(changelogField Maintainer)" = "$(field Maintainer)" ] ||
  fail "the changelog is signed by '$(changelogField Maintainer)', the package's Maintainer is '$(field Maintainer)'"
[ "$(sed -n 's/^Upstream-Contact: //p' "$copyright")" = "$(field Maintainer)" ] ||
  fail "the copyright file's Upstream-Contact is not the Maintainer"
grep -Eq '(example|invalid|localhost)' <<<"$(field Maintainer)" &&
  fail "the Maintainer is a placeholder: $(field Maintainer)"
gzip -dc "$doc/changelog.gz" | cmp -s - "$source/CHANGELOG.md" || fail "changelog.gz is not CHANGELOG.md"
gzip -dc "$doc/changelog.gz" | grep -q "^## ${version%-*} " ||
  fail "CHANGELOG.md has no heading for version ${version%-*}"

# The manual page, section 6: it renders without a complaint from groff, has
# its sections, and names the launcher that the menu and the PATH call.
man=$usr/share/man/man6/pellmora.6.gz
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man" >"$tmp/man.txt" 2>"$tmp/man.err" ||
  fail "man cannot render pellmora(6): $(cat "$tmp/man.err")"
[ -s "$tmp/man.err" ] && fail "man warns about pellmora(6): $(cat "$tmp/man.err")"
gzip -dc "$man" | grep -q '^\.TH "pellmora" "6" ' || fail "the manual page is not pellmora(6)"
for section in NAME SYNOPSIS DESCRIPTION CONTROLS OPTIONS FILES ENVIRONMENT 'EXIT STATUS'; do
  grep -qx "$section" "$tmp/man.txt" || fail "pellmora(6) lacks the section $section"
done
grep -Eq '^ +pellmora - .+' "$tmp/man.txt" || fail "pellmora(6) has no 'pellmora - ...' line under NAME"
grep -q "Pellmora ${version%-*}" "$tmp/man.txt" || fail "pellmora(6) does not give version ${version%-*}"
lexgrog "$man" >/dev/null 2>&1 || fail "the whatis database cannot read pellmora(6)'s NAME"

# Once the game answers --help, its options and the manual page's are the
# same ones. A game that does not know --help yet starts instead and is
# stopped after a few seconds.
sed -n '/^OPTIONS$/,/^[A-Z]/p' "$tmp/man.txt" | grep -Eo '^ +--[a-z][a-z-]*' | tr -d ' ' | sort -u \
  >"$tmp/man-options"
[ -s "$tmp/man-options" ] || fail "pellmora(6) lists no options"
mkdir "$tmp/helpdir"
helpStatus=0
(cd "$tmp/helpdir" && QT_QPA_PLATFORM=offscreen timeout 5 "$usr/libexec/pellmora/pellmora" --help) \
  >"$tmp/help.txt" 2>&1 || helpStatus=$?
if [ "$helpStatus" -eq 0 ] && grep -q -- '--help' "$tmp/help.txt"; then
  grep -Eo -- '--[a-z][a-z-]*' "$tmp/help.txt" | sort -u >"$tmp/help-options"
  diff -u "$tmp/help-options" "$tmp/man-options" >&2 ||
    fail "the options of --help (-) and of pellmora(6) (+) differ"
else
  echo "package: the game does not answer --help (status $helpStatus): options not compared"
fi

# The icons: one PNG per size, the larger ones whole-pixel enlargements of
# the 32 x 32 icon.
icons=$usr/share/icons/hicolor
for size in 16 32 48 64 128 256; do
  icon=$icons/${size}x${size}/apps/pellmora.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] ||
    fail "the ${size}x${size} icon is $(identify -format '%m %wx%h' "$icon")"
done
[ "$(identify -format '%k' "$icons/32x32/apps/pellmora.png")" -ge 4 ] ||
  fail "the 32x32 icon has fewer than four colours"
for size in 64 128 256; do
  convert "$icons/${size}x${size}/apps/pellmora.png" -sample 32x32 "$tmp/sampled.png"
  compare -metric AE "$tmp/sampled.png" "$icons/32x32/apps/pellmora.png" null: 2>/dev/null ||
    fail "the ${size}x${size} icon is not a whole-pixel enlargement of the 32x32 one"
done

# The game from the package, started by its launcher with a fresh data home:
# its window appears, it runs in the new score folder, and the empty table
# is there.
export XDG_DATA_HOME=$tmp/data
"$usr/games/pellmora" >"$tmp/game.log" 2>&1 &
gamePid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pellmora$' | head -n 1) ||
  fail "no Pellmora window within 20 s; the game said: $(cat "$tmp/game.log")"
[ -n "$window" ] || fail "no Pellmora window within 20 s; the game said: $(cat "$tmp/game.log")"
# Docks match the window to the menu entry by its class.
wmClass=$(sed -n 's/^StartupWMClass=//p' "$desktop")
xprop -id "$window" WM_CLASS | grep -q "\"$wmClass\"\$" ||
  fail "the window's class ($(xprop -id "$window" WM_CLASS)) is not StartupWMClass=$wmClass"
kill -0 "$gamePid" 2>/dev/null || fail "the game has already ended: $(cat "$tmp/game.log")"
[ "$(readlink "/proc/$gamePid/exe")" = "$usr/libexec/pellmora/pellmora" ] ||
  fail "the running game is $(readlink "/proc/$gamePid/exe"), not the packaged one"
[ "$(readlink "/proc/$gamePid/cwd")" = "$tmp/data/pellmora" ] ||
  fail "the game runs in $(readlink "/proc/$gamePid/cwd"), not in the score folder"
[ "$(wc -c <"$tmp/data/pellmora/HiScore.dat")" -eq 41 ] ||
  fail "the player's HiScore.dat is not 41 bytes"
cmp -s "$tmp/data/pellmora/HiScore.dat" "$tmp/empty.dat" || fail "the player's HiScore.dat is not the empty table"

echo "package: all checks passed ($(basename "$deb"))"
