#!/usr/bin/env bash
# Runs a command on a private Xvfb display (started here, stopped afterwards),
# unless PELLMORA_DISPLAY names one that is already up. PELLMORA_XVFB_SCREEN
# gives the screen's size and depth (1024x768x24 unless set). Xvfb picks a
# free display number itself and tells it once it listens, so that any
# number of these run side by side.
set -u
if [ -n "${PELLMORA_DISPLAY:-}" ]; then
  DISPLAY=$PELLMORA_DISPLAY exec "$@"
fi
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${PELLMORA_XVFB_SCREEN:-1024x768x24}" -nolisten tcp \
  3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$number"' EXIT
for _ in $(seq 1 200); do
  [ -s "$number" ] && break
  kill -0 $xvfb 2>/dev/null || break
  sleep 0.05
done
[ -s "$number" ] || {
  echo "with-xvfb: Xvfb did not start" >&2
  exit 1
}
display=:$(head -n1 "$number")
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
