#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, and nothing when
# all of them are there already. Uses sudo when not run as root.
set -euo pipefail
packages=(
  cmake g++ make pkgconf
  libstb-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n qt6-qpa-plugins
  fonts-ipafont-gothic fonts-ipafont-mincho
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  libsdl2-dev libxtst-dev libxcb1-dev libwayland-dev
  xvfb xauth x11-utils imagemagick xdotool weston qt6-wayland
  dpkg-dev desktop-file-utils appstream
  python3
  libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpq-dev libssl-dev postgresql wrk
  scdoc man-db lintian
)
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
