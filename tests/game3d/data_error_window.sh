#!/usr/bin/env bash
# korvane3d with a missing and with a damaged data file, in a real window under Xvfb: the
# message goes to stderr first, names the file (and the line), shows in a box that Enter or a
# click closes, and the program then stops with status 1 before drawing the scene.
set -u
game=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings and the last game go to the temporary folder, never to the real home.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state

if [ -z "${INSIDE_XVFB:-}" ]; then
  INSIDE_XVFB=1 exec timeout 60 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$game" "$data"
fi

fail() {
  echo "FAIL: $*"
  exit 1
}

# Runs korvane3d on the folder, closes its box with "enter" or "click", checks what it said.
check() {
  local folder=$1 closeWith=$2 said=$3
  KORVANE_DATA=$folder "$game" 2>"$work/stderr.txt" &
  local pid=$! box=""
  for _ in $(seq 50); do
    box=$(xwininfo -root -tree | awk '/"DATA FILE ERROR !"/ {print $1; exit}')
    [ -n "$box" ] && break
    sleep 0.2
  done
  grep -q "$said" "$work/stderr.txt" || fail "stderr lacks '$said': $(cat "$work/stderr.txt")"
  [ -n "$box" ] || fail "no message box for '$said'"
  if [ "$closeWith" = enter ]; then
    xdotool windowfocus --sync "$box" key Return
  else
    # The OK button sits at the middle of the box's bottom edge.
    eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 24)) click 1
  fi
  for _ in $(seq 25); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "the box did not close with $closeWith"
  fi
  wait "$pid"
  local status=$?
  [ "$status" -eq 1 ] || fail "exit status $status for '$said'"
}

mkdir "$work/missing"
check "$work/missing" enter 'The data file "font1.kvm" was not found'

mkdir "$work/damaged"
cp "$data"/*.kvm "$work/damaged/"
sed -i '5s/.*/x/' "$work/damaged/toren.kvm"
check "$work/damaged" click 'toren.kvm" is damaged'
grep -q 'Line 5 (face 1 of 11, value 5 of 15): "x" is not a whole number' "$work/stderr.txt" ||
  fail "the damaged line is not named: $(cat "$work/stderr.txt")"
echo PASS
