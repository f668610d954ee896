#!/usr/bin/env bash
# Installs what the browser build and its tests need on top of the game's own
# packages: Debian's Emscripten, Chromium, fontTools with brotli for the page's
# WOFF2 fonts (node's own zlib writes the site's gzip and brotli copies), and
# puppeteer-core from npm into tests/web/node_modules (it drives
# Debian's Chromium and never downloads a browser). Does nothing when all of
# it is there already. Uses sudo when not run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(
  emscripten binaryen node-acorn nodejs
  chromium
  python3 python3-fonttools python3-brotli
  fonts-ipafont-gothic fonts-ipafont-mincho
)
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

# npm ships with the nodejs package of some sources only.
if ! command -v npm >/dev/null; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends npm
fi

# The browser test's driver, exactly as locked; reinstalled only when the lock
# file changed since the last install.
stamp=tests/web/node_modules/.package-lock.json
if [ ! -f "$stamp" ] || [ tests/web/package-lock.json -nt "$stamp" ]; then
  PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
fi
