#!/usr/bin/env bash
# A script without end (/dev/zero, an endless pipe) is refused once it passes
# 64 MiB: one line on stderr, status 2, within bounded memory.
#   endless_script.sh PELLMORA-SIM-COMMAND...
# Skipped (status 77) when the command names a browser build not built yet.
set -u
last=${*: -1}
if [[ $last == *.js && ! -f $last ]]; then
  echo "no $last (make web builds it)"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "endless_script: FAIL: $*" >&2
  exit 1
}
check() {
  [ "$status" -eq 2 ] || fail "$1: status $status, expected 2 (stderr: $(head -c 300 "$tmp/err"))"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$1: not one line on stderr: $(head -c 300 "$tmp/err")"
  grep -q '^pellmora-sim: .*64 MiB' "$tmp/err" || fail "$1: $(cat "$tmp/err")"
  [ -s "$tmp/out" ] && fail "$1: printed $(head -c 100 "$tmp/out")"
  return 0
}
# Native: memory capped well above what the limit needs (node and the
# sanitizers reserve too much address space for a cap).
[ "$1" = node ] || [ -n "${PELLMORA_SANITIZED:-}" ] || ulimit -v 1048576
timeout 60 "$@" /dev/zero >"$tmp/out" 2>"$tmp/err"
status=$?
check /dev/zero
# Lines that parse, without end, on standard input.
yes 'wait 0' | timeout 60 "$@" >"$tmp/out" 2>"$tmp/err"
status=${PIPESTATUS[1]}
check "an endless pipe"
echo "endless_script: ok"
