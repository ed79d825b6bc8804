#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, play and test Korvane.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  libgtest-dev libbenchmark-dev
  libsdl2-dev libpng-dev
  xvfb xauth xdotool x11-utils xfonts-base
  xboard fairymax pgn-extract polyglot
  imagemagick
  desktop-file-utils man-db groff-base dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
