#!/usr/bin/env bash
# Runs a command on a virtual display of its own (800x600, 24 bits) and returns its status.
# The X server picks a free display number itself (-displayfd): xvfb-run -a only looks for
# lock files, so tests starting at once could race for a number and one of them would be
# left on a display it cannot open. No reset between clients, so a client that connects just
# as another leaves is never turned away. The server is stopped, and waited for, at the end.
# usage: xvfb_run.sh <command> [arguments...]
set -u
folder=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server"; rm -rf "$folder"' EXIT
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$folder/display" \
  2>"$folder/xvfb.log" &
server=$!
# The number is written once the server takes connections.
for _ in $(seq 300); do
  [ -s "$folder/display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$folder/display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$folder/xvfb.log" >&2
  exit 1
fi
DISPLAY=:$(head -n 1 "$folder/display") "$@"
