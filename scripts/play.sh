#!/usr/bin/env bash
# Starts the game: korvane3d finds its data beside itself in build/. Extra arguments go to it
# (for example --window).
cd "$(dirname "$0")/.."
if [ -x build/korvane3d ]; then
  exec build/korvane3d "$@"
fi
echo "korvane3d is not built (SDL2 missing?); starting the console engine instead" >&2
exec build/korvanewb
