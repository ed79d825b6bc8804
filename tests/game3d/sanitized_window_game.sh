#!/usr/bin/env bash
# The sanitizer build of korvane3d in a real window under Xvfb: start, e2-e4 by mouse, save to
# game1.pgn, quit from the menu. It must exit 0 with no sanitizer report; the system
# libraries' own leaks are suppressed (tests/lsan.supp), ours never are.
# usage: sanitized_window_game.sh <korvane3d> <suppressions>
set -u
game=$(readlink -f "$1")
suppressions=$(readlink -f "$2")
if [ -z "${INSIDE_XVFB:-}" ]; then
  INSIDE_XVFB=1 exec timeout 170 "$(dirname "$(readlink -f "$0")")/../xvfb_run.sh" "$(readlink -f "$0")" \
    "$game" "$suppressions"
fi
source "$(dirname "$(readlink -f "$0")")/window_util.sh"
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

# The move list shows, so that the engine's answer can be waited for.
mkdir -p config/korvane state home
echo "move-list = on" >config/korvane/korvane3d.conf
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state HOME=$work/home
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$suppressions:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# A press held long enough for a frame of the sanitizer build to see it.
click() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.5
}

# Mesa unloads its driver when SDL closes the display, before the leak check, and a leak in a
# library no longer loaded cannot be named, so not suppressed either: preloaded, it stays.
preload="$(ldd "$game" | awk '/libasan/ {print $3}') $(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null)"
printf '#!/bin/sh\nLD_PRELOAD="%s" exec "%s" "$@"\n' "$preload" "$game" >preloaded
chmod +x preloaded
game=$work/preloaded
within=120 start
# "start new game"; e2 and e4 from White's seat; Escape; "save to pgn-file", "game1.pgn"; "quit".
click 400 186
click 437 295
click 442 214
within=120 until_true listed 0 1 || fail "the engine's answer is not listed"
xdotool keydown Escape
sleep 0.5
xdotool keyup Escape
sleep 0.5
click 400 336
click 400 186
click 400 436
within=60 exits_cleanly
pid=""
! grep -qE "Sanitizer|runtime error" stderr.txt || fail "a sanitizer report"
grep -q "1\. e2-e4 [A-Za-z]" game1.pgn 2>/dev/null || fail "game1.pgn lacks e2-e4 and the answer"
echo "PASS: $(tr -d '\r' <game1.pgn | tail -n 1)"
