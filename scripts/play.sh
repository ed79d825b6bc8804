#!/usr/bin/env bash
# Starts the best program that is built: the 3D game, else the console engine, else kvtool.
cd "$(dirname "$0")/.."
if [ -x build/korvane3d ] && [ -f data/font1.kvm ]; then
  cd data && exec ../build/korvane3d
elif [ -x build/korvanewb ]; then
  exec build/korvanewb
else
  exec build/kvtool help
fi
