#!/usr/bin/env bash
# korvane3d in a real window under Xvfb, played as a person would with xdotool: quick clicks
# (pressed and released at once) start a new game and pick d2; Escape, then "resume" pressed
# and held must not move the picked pawn; saving to a folder shows "SAVE ERROR" and the first
# click after the box counts; e2-e4 with two quick clicks, the engine's answer, save to
# game1.pgn, quit from the menu. Checks the exit status, the PGN files (read back by
# pgn-extract) and that the screenshots of the menu and of the board are not blank.
set -u
export PATH="$PATH:/usr/games"  # Debian puts pgn-extract there
game=$(readlink -f "$1")
if [ -z "${INSIDE_XVFB:-}" ]; then
  INSIDE_XVFB=1 exec timeout 170 "$(dirname "$0")/../xvfb_run.sh" "$0" "$game"
fi
source "$(dirname "$0")/window_util.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings and the last game go to the temporary folder, never to the real home; the move list
# shows, so that the engine's answer can be waited for.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
mkdir -p "$XDG_CONFIG_HOME/korvane"
echo "move-list = on" >"$XDG_CONFIG_HOME/korvane/korvane3d.conf"
cd "$work" || exit 1

# Pressed and released at once, as xdotool's click does; the game must still see it.
click() {
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool click 1
  sleep 0.3
}

# Pressed for a tenth of a second.
held_click() {
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.3
}

escape() {
  xdotool key Escape
  sleep 0.3
}

# Distinct colours in a screenshot: a blank or one-colour screen has very few.
colours() { convert "$1" -format "%k\n" info:; }

start
import -window root "$work/menu.png"

# Frame and screen coincide on an 800x600 screen. Buttons of the main menu: "start new game"
# at y 171..202, "resume" 221..252, "save to pgn-file" 321..352, "quit the game" 421..452; on
# the save page "game1.pgn" at 171..202 and "game2.pgn" 221..252. The squares d2, e2 and e4 as
# seen from White's seat at a new game.
click 400 186
click 360 295
escape
held_click 400 237
escape
mkdir game2.pgn  # a folder where the file should go: the save fails with a box
click 400 336
click 400 236
box=$(until_true box_window "SAVE ERROR") || fail "no SAVE ERROR box"
xdotool windowfocus --sync "$box" key Return
until_true eval '! box_window "SAVE ERROR" >/dev/null && menu_up' || fail "the SAVE ERROR box stays"
rmdir game2.pgn
click 400 336  # the first click after the box: "save to pgn-file"
click 400 236  # "game2.pgn"
click 400 237  # "resume"
click 437 295
click 442 214
until_true listed 0 1 || fail "the engine's answer is not listed"
import -window root "$work/board.png"
escape
click 400 336
click 400 186
click 400 436
exits_cleanly

[ "$(colours menu.png)" -gt 5 ] || fail "the menu screenshot is blank"
[ "$(colours board.png)" -gt 5 ] || fail "the board screenshot is blank"
[ -f game2.pgn ] || fail "game2.pgn was not written: the first click after the box was lost?"
grep -q "^1\. " game2.pgn && fail "a move was played before e2-e4: $(cat game2.pgn)"
[ -f game1.pgn ] || fail "game1.pgn was not written"
grep -q "1\. e2-e4 [A-Za-z]" game1.pgn || fail "game1.pgn lacks e2-e4 and the answer: $(cat game1.pgn)"
pgn-extract -s game1.pgn >extracted.pgn 2>pgn-errors.txt || fail "pgn-extract failed"
[ ! -s pgn-errors.txt ] || fail "pgn-extract complains: $(cat pgn-errors.txt)"
grep -q "e4" extracted.pgn || fail "pgn-extract lost the moves"
echo "PASS: $(tr -d '\r' < game1.pgn | tail -n 1)"
