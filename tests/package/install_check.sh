#!/usr/bin/env bash
# The installed programs as a user gets them: `cmake --install` into a staging folder (DESTDIR)
# gives exactly the expected tree; the staged korvanewb plays a move over the xboard protocol;
# the staged korvane3d, started from an empty folder with no KORVANE_DATA, finds its data and
# reaches its menus under Xvfb; the staged kvtool renders from its data too; the .deb holds the
# same files under /usr with its .eng naming /usr/games/korvanewb; the desktop entry validates;
# every man page renders without a warning and names every option and command.
set -u
build=$1
source=$2

if [ -z "${INSIDE_XVFB:-}" ]; then
  INSIDE_XVFB=1 exec timeout 100 "$source/tests/xvfb_run.sh" "$0" "$@"
fi

source "$source/tests/game3d/window_util.sh"  # until_true, menu_up (fail is ours, below)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# korvane3d's settings and last game go to the temporary folder, never to the real home.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
stage=$work/stage
prefix=/usr/local
root=$stage$prefix
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# ---- the staged tree -----------------------------------------------------------------------
DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }

sizes="32 48 64 128 256"
expected() {
  local p=$1
  echo "$p/bin/kvtool"
  echo "$p/games/korvane3d"
  echo "$p/games/korvanewb"
  echo "$p/share/applications/korvane3d.desktop"
  echo "$p/share/games/plugins/logos/korvanewb.png"
  echo "$p/share/games/plugins/xboard/korvanewb.eng"
  for s in $sizes; do echo "$p/share/icons/hicolor/${s}x$s/apps/korvane3d.png"; done
  for f in "$source"/data/*.kvm; do echo "$p/share/korvane/$(basename "$f")"; done
  echo "$p/share/man/man1/kvtool.1.gz"
  echo "$p/share/man/man6/korvane3d.6.gz"
  echo "$p/share/man/man6/korvanewb.6.gz"
}
[ "$(find "$source/data" -name '*.kvm' | wc -l)" -eq 11 ] || fail "data/ does not hold the eleven .kvm files"
expected "$prefix" | LC_ALL=C sort >"$work/expected.txt"
(cd "$stage" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort) >"$work/staged.txt"
diff -u "$work/expected.txt" "$work/staged.txt" >"$work/tree.diff" ||
  fail "the staged tree differs from the expected one:$(echo; cat "$work/tree.diff")"
for program in games/korvanewb games/korvane3d bin/kvtool; do
  [ -x "$root/$program" ] || fail "$program is not executable"
done
for f in "$source"/data/*.kvm; do
  cmp -s "$f" "$root/share/korvane/$(basename "$f")" || fail "share/korvane/$(basename "$f") differs from data/"
done
printf 'plugin spec 0.0\n%s/games/korvanewb\nchess\n' "$prefix" >"$work/eng.txt"
cmp -s "$work/eng.txt" "$root/share/games/plugins/xboard/korvanewb.eng" ||
  fail "korvanewb.eng: $(cat "$root/share/games/plugins/xboard/korvanewb.eng")"
# Pictures of the scene: the right size and not one flat colour.
picture() {
  local file=$1 size=$2
  [ "$(identify -format '%m %wx%h' "$file" 2>/dev/null)" = "PNG ${size}x$size" ] ||
    fail "$file is not a ${size}x$size PNG"
  [ "$(convert "$file" -format '%k' info: 2>/dev/null || echo 0)" -gt 50 ] || fail "$file is nearly blank"
}
picture "$root/share/games/plugins/logos/korvanewb.png" 64
for s in $sizes; do picture "$root/share/icons/hicolor/${s}x$s/apps/korvane3d.png" "$s"; done

# ---- korvanewb over the xboard protocol ----------------------------------------------------
mkdir "$work/empty"
cd "$work/empty" || exit 1
coproc ENGINE { "$root/games/korvanewb" 2>&1; }
printf 'xboard\nprotover 2\nnew\nst 1\ne2e4\n' >&"${ENGINE[1]}"
answer="" features=0
while IFS= read -r -t 20 line <&"${ENGINE[0]}"; do
  line=${line%$'\r'}
  echo "$line" >>"$work/xboard.txt"
  [ "$line" = "feature done=1" ] && features=1
  case $line in "move "*) answer=$line && break ;; esac
done
echo quit >&"${ENGINE[1]}"
engine_pid=$ENGINE_PID
for _ in $(seq 50); do kill -0 "$engine_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$engine_pid" 2>/dev/null; then
  kill "$engine_pid"
  fail "korvanewb did not end on quit"
fi
wait "$engine_pid" 2>/dev/null
[ "$features" -eq 1 ] || fail "korvanewb sent no 'feature done=1'"
[[ $answer =~ ^move\ [a-h][1-8][a-h][1-8]$ ]] ||
  fail "korvanewb did not answer e2e4 with a move:$(echo; cat "$work/xboard.txt")"

# ---- korvane3d from an empty folder, data from share/korvane -------------------------------
env -u KORVANE_DATA "$root/games/korvane3d" >"$work/korvane3d.out" 2>"$work/korvane3d.err" &
game=$!
# The first picture, then the menus: waited for (a minute at most), not timed.
until_true eval '! kill -0 "$game" 2>/dev/null || menu_up'
kill -0 "$game" 2>/dev/null && ! menu_up && fail "korvane3d's menus did not show"
import -window root "$work/menu.png"
if kill -0 "$game" 2>/dev/null; then
  kill -TERM "$game" # takes the menu's quit path
  for _ in $(seq 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$game" 2>/dev/null; then
    kill -KILL "$game"
    fail "korvane3d did not end on SIGTERM"
  fi
  wait "$game"
  status=$?
  [ "$status" -eq 0 ] || fail "korvane3d ended with status $status after SIGTERM"
else
  wait "$game"
  fail "korvane3d stopped by itself with status $?"
fi
if grep -q "DATA FILE ERROR" "$work/korvane3d.err"; then
  fail "korvane3d did not find its data:$(echo; cat "$work/korvane3d.err")"
fi
[ "$(convert "$work/menu.png" -format '%k' info:)" -gt 5 ] || fail "the korvane3d screenshot is blank"
[ -z "$(ls -A "$work/empty")" ] || fail "korvane3d left files in the current directory: $(ls -A "$work/empty")"

# ---- kvtool from the staged tree -----------------------------------------------------------
[ "$("$root/bin/kvtool" perft 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 3)" = 8902 ] ||
  fail "the staged kvtool perft"
env -u KORVANE_DATA "$root/bin/kvtool" render "$work/render.png" --size 32 2>"$work/kvtool.err" ||
  fail "the staged kvtool does not render from share/korvane: $(cat "$work/kvtool.err")"
cd "$work" || exit 1

# ---- the .deb ------------------------------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack -G DEB"; }
deb=$(ls "$work"/deb/*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
  fail "no .deb was built"
else
  dpkg-deb -c "$deb" >"$work/deb-list.txt" || fail "dpkg-deb -c"
  awk '$1 !~ /^d/ {print substr($6, 2)}' "$work/deb-list.txt" | LC_ALL=C sort >"$work/deb-files.txt"
  expected /usr | LC_ALL=C sort >"$work/deb-expected.txt"
  diff -u "$work/deb-expected.txt" "$work/deb-files.txt" >"$work/deb.diff" ||
    fail "the .deb's files differ from the expected ones:$(echo; cat "$work/deb.diff")"
  for program in usr/games/korvanewb usr/games/korvane3d usr/bin/kvtool; do
    grep -q -- "^-rwxr-xr-x root/root .* \./$program\$" "$work/deb-list.txt" || fail "$program in the .deb"
  done
  dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/games/plugins/xboard/korvanewb.eng >"$work/deb.eng"
  printf 'plugin spec 0.0\n/usr/games/korvanewb\nchess\n' | cmp -s - "$work/deb.eng" ||
    fail "the .deb's korvanewb.eng: $(cat "$work/deb.eng")"
  dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/applications/korvane3d.desktop |
    grep -qx "Exec=/usr/games/korvane3d" || fail "the .deb's desktop entry does not start /usr/games/korvane3d"
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ $depends == *libsdl2-2.0-0* ]] || fail "the .deb does not depend on the SDL2 runtime: $depends"
  [[ $(dpkg-deb -f "$deb" Suggests) == *xboard* ]] || fail "the .deb does not suggest xboard"
  [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the .deb is not in section games"
fi

# ---- the desktop entry ---------------------------------------------------------------------
desktop=$root/share/applications/korvane3d.desktop
desktop-file-validate "$desktop" >"$work/desktop.txt" 2>&1 || fail "desktop-file-validate: $(cat "$work/desktop.txt")"
[ ! -s "$work/desktop.txt" ] || fail "desktop-file-validate: $(cat "$work/desktop.txt")"
grep -qx "Exec=$prefix/games/korvane3d" "$desktop" || fail "the desktop entry does not start $prefix/games/korvane3d"
grep -qx "Icon=korvane3d" "$desktop" || fail "the desktop entry's icon is not korvane3d"
grep -qx "Categories=Game;BoardGame;" "$desktop" || fail "the desktop entry's categories"

# ---- the man pages -------------------------------------------------------------------------
# Wide enough that no word is hyphenated across lines.
man_text() { LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=1000 man -l "$1" 2>/dev/null; }
for page in man6/korvanewb.6.gz man6/korvane3d.6.gz man1/kvtool.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$root/share/man/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page warns:$(echo; echo "$warnings")"
done
# Every option and command the programs know, named in their pages.
# The words, each at the start of a word of the page: korvanewb reads some commands by prefix.
covers() {
  local page=$1 word
  shift
  man_text "$root/share/man/$page" >"$work/page.txt"
  for word in "$@"; do
    grep -qE -- "(^|[^a-z-])$word" "$work/page.txt" || fail "man $page does not mention '$word'"
  done
}
covers man6/korvane3d.6.gz $("$root/games/korvane3d" --help | grep -oE -- '--[a-z-]+' | sort -u)
covers man1/kvtool.1.gz $("$root/bin/kvtool" --help | grep -oE -- '(^  kvtool [a-z-]+|--[a-z0-9-]+)' |
  sed 's/^  kvtool //' | sort -u)
covers man6/korvanewb.6.gz setboard $(cat "$source"/console/*.cpp |
  grep -oE '((CommandIs|StartsWith)\(|command == )"[a-z]+' | sed 's/.*"//' | sort -u) \
  $("$root/games/korvanewb" --help | grep -oE -- '--[a-z-]+' | sort -u)

if [ "$failures" -eq 0 ]; then
  echo "PASS: staged tree, xboard session ($answer), korvane3d menus, .deb, desktop entry, man pages"
  exit 0
fi
exit 1
