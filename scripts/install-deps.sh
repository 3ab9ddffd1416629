#!/usr/bin/env bash
# Installs what building and testing Bramblex 2 needs on Debian 12 (run as root or with sudo).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  zlib1g-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core openbox
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
