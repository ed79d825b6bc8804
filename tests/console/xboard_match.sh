#!/usr/bin/env bash
# A two-game match of korvanewb against fairymax inside the real xboard (on a virtual display):
# both games must end with a result, korvanewb must be named in the PGN, and no game may end in
# an illegal move, a crash or a loss on time.
# Usage: xboard_match.sh <path to korvanewb> [uci]
# With "uci", xboard talks to korvanewb through Debian's polyglot adapter (-fUCI), so korvanewb
# plays in its UCI mode.
set -u
# Debian keeps fairymax and polyglot in /usr/games, which is not on every PATH; xboard looks
# for polyglot on PATH.
export PATH="$PATH:/usr/games"
engine=$(readlink -f "${1:?usage: xboard_match.sh <korvanewb> [uci]}")
tools=(xvfb-run xboard fairymax)
protocol=()
if [ "${2:-}" = uci ]; then
  tools+=(polyglot)
  protocol=(-fUCI)
fi
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/korvanewb-match-XXXXXX)
trap 'rm -rf "$work"' EXIT
pgn="$work/games.pgn"

timeout 220 xvfb-run -a xboard -noGUI -popupExitMessage false \
  -fcp "$engine" "${protocol[@]}" -fd "$work" -scp "$(command -v fairymax)" \
  -matchGames 2 -tc 0:20 -mps 40 -saveGameFile "$pgn" -xponder >"$work/xboard.log" 2>&1
status=$?

fail() {
  echo "FAIL: $*"
  echo "--- xboard exit status $status; PGN:"
  cat "$pgn" 2>/dev/null
  echo "--- xboard output:"
  tail -n 40 "$work/xboard.log"
  exit 1
}

[ "$status" -eq 124 ] && fail "the match did not finish in time"
[ -s "$pgn" ] || fail "no PGN was saved"

games=$(grep -c '^\[Event ' "$pgn")
[ "$games" -eq 2 ] || fail "expected 2 games, found $games"
results=$(grep -cE '^\[Result "(1-0|0-1|1/2-1/2)"\]' "$pgn")
[ "$results" -eq 2 ] || fail "expected 2 decided results, found $results"
grep -q 'KorvaneWB' "$pgn" || fail "korvanewb is not named in the PGN"
[ "$(grep -c '^\[White "KorvaneWB' "$pgn")" -eq 1 ] || fail "korvanewb did not play White once"
[ "$(grep -c '^\[Black "KorvaneWB' "$pgn")" -eq 1 ] || fail "korvanewb did not play Black once"
if grep -qiE 'illegal|loses on time|forfeit|crash|disconnect|exited unexpectedly|resign' "$pgn"; then
  fail "a game ended by illegal move, time, crash or resignation"
fi
if command -v pgn-extract >/dev/null; then
  # pgn-extract replays every move; a move it cannot play is reported on its error output.
  pgn-extract -s "$pgn" -o "$work/checked.pgn" 2>"$work/pgn-extract.log"
  checked=$(grep -c '^\[Event ' "$work/checked.pgn" 2>/dev/null || echo 0)
  [ "$checked" -eq 2 ] || { cat "$work/pgn-extract.log"; fail "pgn-extract accepted $checked of 2 games"; }
fi
echo "PASS: two games finished"
grep -E '^\[(White|Black|Result|Termination)' "$pgn"
grep -E '\{[^}]*\}' -o "$pgn" | tail -n 4
exit 0
