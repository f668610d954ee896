#!/usr/bin/env bash
# The Debian package, built with CPack as `make package` builds it: its
# control fields and dependencies, its files, the menu entry, the software
# centre's description and the icons; then the game started from the
# unpacked package as a player starts it, on the display this test runs on.
# Usage: package.sh BUILD_DIR SOURCE_DIR   (needs DISPLAY: run it under
# scripts/with-xvfb.sh)
set -euo pipefail
build=$(cd "$1" && pwd)

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

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log" >&2
  fail "cpack could not build the package"
}
shopt -s nullglob
debs=("$tmp"/out/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one .deb from cpack, found ${#debs[@]}"
deb=${debs[0]}
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
# dpkg-shlibdeps.
depends=$(field Depends)
names=" $(tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | tr '\n' ' ')"
for package in fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n \
  libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
  [[ "$names" == *" $package "* ]] || fail "Depends lacks $package: $depends"
done

# The files, unpacked into a throwaway root.
root=$tmp/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x cannot unpack the package"
usr=$root/usr
for file in bin/pellmora libexec/pellmora/pellmora share/pellmora/HiScore.dat \
  share/applications/io.pellmora.Pellmora.desktop share/metainfo/io.pellmora.Pellmora.metainfo.xml; do
  [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
[ -x "$usr/bin/pellmora" ] || fail "the launcher is not executable"
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
for line in 'Exec=pellmora' 'Icon=pellmora' 'Categories=Game;ArcadeGame;'; do
  grep -qx "$line" "$desktop" || fail "the menu entry lacks $line"
done
for key in 'Name' 'Name\[ja\]' 'Comment' 'Comment\[ja\]'; do
  grep -Eq "^$key=.+" "$desktop" || fail "the menu entry lacks $key"
done
appstreamcli validate --no-net "$usr/share/metainfo/io.pellmora.Pellmora.metainfo.xml" \
  >"$tmp/metainfo.log" 2>&1 || {
  cat "$tmp/metainfo.log" >&2
  fail "appstreamcli rejects the metainfo"
}
appstreamcli validate-tree --no-net "$root" >"$tmp/tree.log" 2>&1 || {
  cat "$tmp/tree.log" >&2
  fail "appstreamcli rejects the installed tree"
}

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
"$usr/bin/pellmora" >"$tmp/game.log" 2>&1 &
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
