#!/usr/bin/env bash
# Starts the game from the build tree the way an installed game starts: the
# build is installed into BUILD/stage and its launcher runs the game in
# BUILD/play-data/pellmora, a score folder of its own, so that a developer's
# play never mixes with an installed game's scores.
set -eu
build=${1:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "pellmora: no display found (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session." >&2
  exit 1
fi
build=$(cd "$build" && pwd)
cmake --install "$build" --prefix "$build/stage" >/dev/null
XDG_DATA_HOME=$build/play-data exec "$build/stage/games/pellmora"
