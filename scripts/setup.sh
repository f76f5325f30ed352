#!/usr/bin/env bash
# Installs what building, running and testing Vorlane needs on Debian 12.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    mdbtools mdbtools-dev libglib2.0-dev
    fonts-ipafont-gothic
    libxcb1-dev
    xvfb xauth openbox xdotool x11-utils wmctrl imagemagick
    clang libclang-rt-14-dev
    dpkg-dev file desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
