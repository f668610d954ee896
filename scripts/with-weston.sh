#!/usr/bin/env bash
# Runs a command as a native Wayland client of a private headless Weston
# (started here, stopped afterwards), the way the game runs on a Wayland
# desktop.
#   scripts/with-weston.sh COMMAND [ARGUMENT]...
set -u
runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=pellmora-weston-$$
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --no-config \
  --socket="$socket" --width=1024 --height=768 --idle-time=0 --log="$runtime/weston.log" \
  >/dev/null 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 1 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 $weston 2>/dev/null || {
    echo "with-weston: weston did not start: $(tail -n 5 "$runtime/weston.log")" >&2
    exit 1
  }
  sleep 0.05
done
[ -S "$runtime/$socket" ] || {
  echo "with-weston: no Wayland socket after 5 s" >&2
  exit 1
}
# Without a keyboard on the headless seat, Qt 6.4's text input would crash
# the input box's text cursor; the compose input method needs none.
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
  QT_IM_MODULE=compose "$@"
