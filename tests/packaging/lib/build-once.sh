#!/usr/bin/env bash
# Builds the Debian package once for the package tests that ctest runs.
# Usage: build-once.sh BUILD_DIR OUT_DIR
set -euo pipefail
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
rm -rf "$2"
mkdir -p "$2"
source "$(dirname "$0")/build-package.sh"
build_package "$1" "$2"
echo "built $deb"
