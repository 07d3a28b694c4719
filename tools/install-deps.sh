#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages needed to build, test and run VeloxCanMoni.
set -euo pipefail
packages=(
  build-essential cmake ccache clang
  qt6-base-dev qt6-serialport-dev libgl-dev
  qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core
  x11-utils python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
