#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages Fotolot needs to build, test and run, if any is missing.
# Uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-image-formats-plugins
  libgtest-dev googletest
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth xdotool imagemagick
  dpkg-dev file lintian appstream desktop-file-utils librsvg2-bin xdg-utils
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
