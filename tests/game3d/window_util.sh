# shellcheck shell=bash
# Sourced by the real-window scripts. They wait for what the game shows on the screen (the
# menus, a move in the move list, a box, the end of the process), polling with generous
# bounds, never for a fixed time: a loaded machine makes them slower, not fail.
# The caller sets $work, its temporary folder; korvane3d's stderr goes to $work/stderr.txt.

fail() {
  echo "FAIL: $*"
  [ -f "$work/stderr.txt" ] && sed 's/^/  korvane3d: /' "$work/stderr.txt"
  exit 1
}

# Runs "$@" every 0.2 s until it succeeds, for at most $within seconds (60 unless set).
until_true() {
  local tries=$((${within:-60} * 5))
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# The screen's colours at the points given as x,y, one a line.
screen_at() {
  local format="" point
  for point in "$@"; do format+="%[pixel:p{$point}]\n"; done
  import -window root "$work/screen.png" 2>/dev/null && convert "$work/screen.png" -format "$format" info:
}

# The main menu is up: the left ends of its seven buttons share one colour, the panel around
# them another.
menu_up() {
  local colours
  colours=$(screen_at 285,125 285,175 285,225 285,275 285,325 285,375 285,425 205,105) || return 1
  [ "$(head -n 7 <<<"$colours" | sort -u | wc -l)" -eq 1 ] && [ "$(sort -u <<<"$colours" | wc -l)" -eq 2 ]
}

# The move list (when shown) has text in row $1, White's entry ($2 = 0) or Black's (1): its
# cell has more than the panel's one colour.
listed() {
  import -window root "$work/screen.png" 2>/dev/null &&
    [ "$(convert "$work/screen.png" -crop "30x6+$((720 + 35 * $2))+$((35 + 8 * $1))" \
      -format %k info:)" -gt 1 ]
}

# The window of a message box titled $1 once it is on the screen (nothing if it never is).
box_window() {
  local box
  box=$(xwininfo -root -tree | awk -v title="\"$1\":" 'index($0, title) {print $1; exit}')
  [ -n "$box" ] && xwininfo -id "$box" 2>/dev/null | grep -q IsViewable && echo "$box"
}

# The process $1 has ended.
ended() { ! kill -0 "$1" 2>/dev/null; }

# Starts korvane3d ($game, with any arguments) and waits for its menus; the process is $pid.
start() {
  "$game" "$@" 2>>"$work/stderr.txt" &
  pid=$!
  until_true eval 'ended "$pid" || menu_up' || fail "the menus did not show"
  ! ended "$pid" || fail "korvane3d ended at its start"
}

# Waits for korvane3d to end by itself, and checks its exit status is 0.
exits_cleanly() {
  if ! within=${within:-30} until_true ended "$pid"; then
    kill "$pid"
    fail "korvane3d did not quit"
  fi
  wait "$pid" || fail "exit status $?"
}
