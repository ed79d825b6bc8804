#!/usr/bin/env bash
# korvane3d keeps its settings and the game in progress between runs, played under Xvfb with
# xdotool: (1) Black and the move list chosen in the menus, quit; (2) the next start's new game
# has the engine moving first, quit during it; (3) the next start's "resume" goes on with that
# game: a move as Black, the engine's answer. The files live in the folders of XDG_CONFIG_HOME
# and XDG_STATE_HOME, pointed at a temporary folder.
set -u
export PATH="$PATH:/usr/games"  # Debian puts pgn-extract there
game=$(readlink -f "$1")
if [ -z "${INSIDE_XVFB:-}" ]; then
  INSIDE_XVFB=1 exec timeout 170 "$(dirname "$0")/../xvfb_run.sh" "$0" "$game"
fi
source "$(dirname "$0")/window_util.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state

conf=$XDG_CONFIG_HOME/korvane/korvane3d.conf
last=$XDG_STATE_HOME/korvane/last-game.pgn

click() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
}

# Escape to the menus when a game is shown, then "quit the game" (y 421..452).
quit() {
  if [ "${1:-}" = game ]; then
    xdotool keydown Escape
    sleep 0.3
    xdotool keyup Escape
    sleep 0.3
  fi
  click 400 436
  exits_cleanly
}

# (1) "set game-options" (y 271..302), "play the black pieces" (box at 310,168), the move list
# (box at 360,423), back (461..492).
start
click 400 286
click 315 173
click 365 428
click 400 476
quit
grep -qx "colour = black" "$conf" || fail "Black is not kept: $(cat "$conf")"

# (2) "start new game" (171..202): the engine has White and answers from its book.
start
click 400 186
until_true listed 0 0 || fail "the engine's first move is not listed"
quit game
grep -q '^\[White "Korvane 3D v1.0"\]' "$last" || fail "no game kept with the engine as White"
first=$(tr -d '\r' <"$last" | grep -oE '^1\. [^ ]+ \*$') || fail "no first move kept: $(cat "$last")"

# (3) "resume" (221..252), then e7-e6 from Black's seat; the engine answers.
start
click 400 236
click 364 295
click 361 251
until_true listed 1 0 || fail "the engine's answer to e7-e6 is not listed"
quit game
tr -d '\r' <"$last" | grep -qE "^${first% \*} e7-e6 2\. [^ ]+ \*$" ||
  fail "the game did not go on from '$first': $(cat "$last")"
pgn-extract -s "$last" >/dev/null 2>pgn-errors.txt && [ ! -s pgn-errors.txt ] ||
  fail "pgn-extract complains: $(cat pgn-errors.txt)"
echo "PASS: $(tr -d '\r' <"$last" | tail -n 1)"
