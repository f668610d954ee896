#!/usr/bin/env bash
# A script without end (/dev/zero, an endless pipe) is refused once past
# 64 MiB: one line on stderr, status 2, in bounded memory.
#   endless_script.sh PELLMORA-SIM-COMMAND...  (status 77: no such web build)
set -u
[[ ${*: -1} == *.js && ! -f ${*: -1} ]] && exit 77
err=$(mktemp)
trap 'rm -f "$err"' EXIT
# Native: memory capped well above what the limit needs (node and the
# sanitizers reserve too much address space for a cap).
[ "$1" = node ] || [ -n "${PELLMORA_SANITIZED:-}" ] || ulimit -v 1048576
for input in /dev/zero pipe; do
  if [ $input = pipe ]; then
    out=$(yes 'wait 0' | timeout 60 "$@" 2>"$err")
  else
    out=$(timeout 60 "$@" $input 2>"$err")
  fi
  status=$?
  if [ $status -ne 2 ] || [ -n "$out" ] || [ "$(wc -l <"$err")" -ne 1 ] ||
    ! grep -q '^pellmora-sim: .*64 MiB' "$err"; then
    echo "endless_script: FAIL: $input: status $status, stderr: $(head -c 300 "$err")" >&2
    exit 1
  fi
done
echo "endless_script: ok"
