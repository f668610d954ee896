#!/usr/bin/env bash
# Runs a command on a private Xvfb display (started here, stopped afterwards),
# unless PELLMORA_DISPLAY names one that is already up. PELLMORA_XVFB_SCREEN
# gives the screen's size and depth (1024x768x24 unless set).
set -u
if [ -n "${PELLMORA_DISPLAY:-}" ]; then
  DISPLAY=$PELLMORA_DISPLAY exec "$@"
fi
for n in $(seq 90 140); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 "${PELLMORA_XVFB_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
for _ in $(seq 1 100); do
  DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
