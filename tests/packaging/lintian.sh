#!/usr/bin/env bash
# Debian's own checker on the package that `make package` builds: lintian
# reports no error and no warning. Its informational notes are shown in the
# log but do not fail the test.
# Usage: lintian.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
command -v lintian >/dev/null || fail "lintian is not installed: run scripts/install-deps.sh"

source "$(dirname "$0")/lib/build-package.sh"
build_package "$build" "$tmp/out"

# Lintian warns on stderr when run as root; only its tags count.
status=0
lintian --fail-on error,warning --display-info "$deb" >"$tmp/tags" 2>"$tmp/stderr" || status=$?
cat "$tmp/tags"
grep -v 'running with root privileges is not recommended' "$tmp/stderr" >&2 || true
[ "$status" -eq 0 ] || fail "lintian failed with status $status"
grep -E '^[EW]: ' "$tmp/tags" >&2 && fail "lintian reports errors or warnings"
# The package's one override must still match a tag, or it hides nothing
# and should go.
grep -q '^I: pellmora: unused-override' "$tmp/tags" && fail "a lintian override matches no tag"

echo "lintian: no error and no warning ($(basename "$deb"))"
