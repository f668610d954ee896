#!/usr/bin/env bash
# Replays one scenario through the browser build's pellmora-sim under node and
# compares it byte for byte, as run-scenario.sh does for the native one.
#   node-scenario.sh WEB_BUILD_DIR SCRIPT.scn
# Skipped (status 77) when the web build is not there.
set -u
here=$(cd "$(dirname "$0")" && pwd)
js=$1/pellmora-sim.js
if [ ! -f "$js" ]; then
  echo "no web build in $1 (make web builds it)"
  exit 77
fi
PELLMORA_SIM_JS=$(cd "$(dirname "$js")" && pwd)/pellmora-sim.js
export PELLMORA_SIM_JS
exec bash "$here/../run-scenario.sh" "$here/pellmora-sim-node.sh" "$2"
