#!/usr/bin/env bash
# korvane3d with a missing and with a damaged data file, in a real window under Xvfb: the
# message goes to stderr first, names the file (and the line), shows in a box that Enter or a
# click closes, and the program then stops with status 1 before drawing the scene. SIGTERM
# while the box waits ends the program (status 1) and the box's process with it, and so does
# SIGTERM at any moment before the box is up.
set -u
game=$(readlink -f "$1")
data=$(readlink -f "$2")
if [ -z "${INSIDE_XVFB:-}" ]; then
  INSIDE_XVFB=1 exec timeout 170 "$(dirname "$0")/../xvfb_run.sh" "$0" "$game" "$data"
fi
source "$(dirname "$0")/window_util.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings and the last game go to the temporary folder, never to the real home.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state

# Runs korvane3d on the folder, closes its box with "enter", "click" or "term" (SIGTERM),
# checks what it said and that it stopped with status 1.
check() {
  local folder=$1 closeWith=$2 said=$3
  KORVANE_DATA=$folder "$game" 2>"$work/stderr.txt" &
  local pid=$!
  local box
  box=$(within=30 until_true box_window "DATA FILE ERROR !") || fail "no message box for '$said'"
  grep -q "$said" "$work/stderr.txt" || fail "stderr lacks '$said'"
  local boxProcess
  boxProcess=$(pgrep -P "$pid")
  # Each try gives the box the focus first; a loaded machine may need more than one. A
  # signal has one try.
  for _ in 1 2 3; do
    if [ "$closeWith" = enter ]; then
      xdotool windowfocus --sync "$box" key Return 2>/dev/null
    elif [ "$closeWith" = click ]; then
      # The OK button sits at the middle of the box's bottom edge.
      eval "$(xdotool getwindowgeometry --shell "$box")"
      xdotool windowfocus --sync "$box" mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 24)) click 1
    else
      kill -TERM "$pid"
      within=10 until_true ended "$pid"
      break
    fi
    within=10 until_true ended "$pid" && break
  done
  if ! ended "$pid"; then
    kill "$pid"
    fail "the box did not close with $closeWith"
  fi
  wait "$pid"
  local status=$?
  [ "$status" -eq 1 ] || fail "exit status $status for '$said' ($closeWith)"
  for child in $boxProcess; do
    within=10 until_true ended "$child" || fail "the box's process $child outlived the program ($closeWith)"
  done
}

mkdir "$work/missing"
check "$work/missing" enter 'The data file "font1.kvm" was not found'
check "$work/missing" term 'The data file "font1.kvm" was not found'

# SIGTERM at any moment of the start, also before the box is up, ends the program: a quit
# asked for before the box must not leave it waiting for an answer.
for delay in 0.00 0.02 0.04 0.06 0.08 0.10 0.15 0.20 0.30 0.50; do
  KORVANE_DATA=$work/missing "$game" 2>"$work/stderr.txt" &
  pid=$!
  sleep "$delay"
  kill -TERM "$pid"
  if ! within=10 until_true ended "$pid"; then
    pkill -KILL -P "$pid"
    kill -KILL "$pid"
    fail "SIGTERM $delay s after the start did not end the program"
  fi
  wait "$pid"
done

mkdir "$work/damaged"
cp "$data"/*.kvm "$work/damaged/"
sed -i '5s/.*/x/' "$work/damaged/toren.kvm"
check "$work/damaged" click 'toren.kvm" is damaged'
grep -q 'Line 5 (face 1 of 11, value 5 of 15): "x" is not a whole number' "$work/stderr.txt" ||
  fail "the damaged line is not named: $(cat "$work/stderr.txt")"
echo PASS
