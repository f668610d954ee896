#!/usr/bin/env bash
# The README's screenshots: the screenshot tool still draws both pictures
# from the real game window, and docs/ holds what it draws today, pixel for
# pixel (after a change to the game's looks, run `make screenshots`).
# Usage: screenshots.sh BUILD_DIR SOURCE_DIR   (needs DISPLAY: run it under
# scripts/with-xvfb.sh)
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run this test under scripts/with-xvfb.sh"

mkdir "$tmp/work" "$tmp/out"
(cd "$tmp/work" && "$build/tools/screenshots/pellmora-screenshots" "$tmp/out") ||
  fail "the screenshot tool failed"
[ -z "$(ls -A "$tmp/work")" ] || fail "the screenshot tool left files in its working folder"

for name in screenshot-menu screenshot-play; do
  shot=$tmp/out/$name.png
  [ -f "$shot" ] || fail "no $name.png"
  [ "$(identify -format '%m %wx%h' "$shot")" = "PNG 640x480" ] ||
    fail "$name.png is $(identify -format '%m %wx%h' "$shot"), not a 640x480 PNG"
  [ -f "$source/docs/$name.png" ] || fail "docs/$name.png is missing: run make screenshots"
  compare -metric AE "$shot" "$source/docs/$name.png" null: 2>/dev/null ||
    fail "docs/$name.png is not what the game draws now: run make screenshots"
done
compare -metric AE "$tmp/out/screenshot-menu.png" "$tmp/out/screenshot-play.png" null: \
  2>/dev/null && fail "the menu and play screenshots are the same picture"

echo "screenshots: all checks passed"
