#!/usr/bin/env bash
# pellmora-sim of the browser build, under plain node: the same command line
# as the native one. PELLMORA_SIM_JS names build-web/pellmora-sim.js.
exec node "$PELLMORA_SIM_JS" "$@"
