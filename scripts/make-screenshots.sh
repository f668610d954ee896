#!/usr/bin/env bash
# Draws the README's screenshots with the real game window on a private Xvfb
# display: docs/screenshot-menu.png and docs/screenshot-play.png.
# Usage: scripts/make-screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
tool=$build/tools/screenshots/pellmora-screenshots
if [ ! -x "$tool" ]; then
  echo "make-screenshots: $tool is not built; build the project first" >&2
  exit 1
fi
mkdir -p "$root/docs"
# An empty folder of its own: the game must find no score table there.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
bash "$root/scripts/with-xvfb.sh" "$tool" "$root/docs"
echo "make-screenshots: wrote $root/docs/screenshot-menu.png and $root/docs/screenshot-play.png"
