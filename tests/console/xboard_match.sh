#!/usr/bin/env bash
# A match of korvanewb against fairymax inside the real xboard (on a virtual display): every
# game must end with a result, korvanewb must play each colour equally often, and no game may
# end in an illegal move, a crash, a loss on time or a hang.
# Usage: xboard_match.sh <path to korvanewb> [uci|position|opening]
#   uci       two games with korvanewb in its UCI mode, behind Debian's polyglot adapter (-fUCI)
#   position  four games from loaded positions (-lpf), one with White and one with Black to
#             move, each played with both colours
#   opening   four games from opening lines (-lgf), one of even and one of odd length, each
#             played with both colours
# Without a mode: two games from the start position.
set -u
# Debian keeps fairymax and polyglot in /usr/games, which is not on every PATH; xboard looks
# for polyglot on PATH.
export PATH="$PATH:/usr/games"
engine=$(readlink -f "${1:?usage: xboard_match.sh <korvanewb> [uci|position|opening]}")
mode=${2:-}
tools=(Xvfb xboard fairymax)
work=$(mktemp -d /tmp/korvanewb-match-XXXXXX)
trap 'rm -rf "$work"' EXIT
pgn="$work/games.pgn"

# One slice a move for korvanewb in its xboard mode at these clocks (under two seconds a move),
# so the games are short and decided; the loaded matches give each game 10 seconds a side for 40
# moves. In UCI it thinks its share in milliseconds, so its match gets 10 seconds too.
games=2
options=(-tc 0:20 -mps 40)
case "$mode" in
  uci)
    tools+=(polyglot)
    options=(-tc 0:10 -mps 40 -fUCI)
    ;;
  position)
    games=4
    printf '%s\n' 'r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQ - 0 6' \
      'r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQK2R b KQ - 0 6' >"$work/start.fen"
    # -lpi -2: each position twice, the colours reversed.
    options=(-tc 0:10 -mps 40 -lpf "$work/start.fen" -lpi -2)
    ;;
  opening)
    games=4
    printf '[Event "even"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n[Event "odd"]\n\n1. d4 Nf6 2. c4 *\n' \
      >"$work/lines.pgn"
    options=(-tc 0:10 -mps 40 -lgf "$work/lines.pgn" -lgi -2)
    ;;
  "") ;;
  *)
    echo "unknown mode '$mode' (uci, position or opening)"
    exit 2
    ;;
esac
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)"; exit 1; }
done

# Generous for a loaded machine: unloaded, a match takes under a minute.
timeout 300 "$(dirname "$(readlink -f "$0")")/../xvfb_run.sh" xboard -noGUI -popupExitMessage false \
  -fcp "$engine" -fd "$work" -scp "$(command -v fairymax)" "${options[@]}" \
  -matchGames "$games" -saveGameFile "$pgn" -xponder \
  -debug -nameOfDebugFile "$work/debug.txt" >"$work/xboard.log" 2>&1
status=$?

fail() {
  echo "FAIL ($mode): $*"
  echo "--- xboard exit status $status; PGN:"
  cat "$pgn" 2>/dev/null
  echo "--- xboard output:"
  tail -n 20 "$work/xboard.log"
  echo "--- the last lines between xboard and korvanewb (> sent to it, < its answers):"
  grep -aE '^[0-9]+ [<>]first' "$work/debug.txt" 2>/dev/null | tail -n 40
  exit 1
}

[ "$status" -eq 124 ] && fail "the match did not finish within 300 seconds (a hang?)"
[ -s "$pgn" ] || fail "no PGN was saved"

found=$(grep -c '^\[Event ' "$pgn")
[ "$found" -eq "$games" ] || fail "expected $games games, found $found"
results=$(grep -cE '^\[Result "(1-0|0-1|1/2-1/2)"\]' "$pgn")
[ "$results" -eq "$games" ] || fail "expected $games decided results, found $results"
grep -q 'KorvaneWB' "$pgn" || fail "korvanewb is not named in the PGN"
[ "$(grep -c '^\[White "KorvaneWB' "$pgn")" -eq $((games / 2)) ] || fail "korvanewb did not play White in half the games"
[ "$(grep -c '^\[Black "KorvaneWB' "$pgn")" -eq $((games / 2)) ] || fail "korvanewb did not play Black in half the games"
if grep -qiE 'illegal|loses on time|forfeit|crash|disconnect|exited unexpectedly|resign' "$pgn"; then
  fail "a game ended by illegal move, time, crash or resignation"
fi
# Each start was played twice, once with korvanewb on either side.
if [ "$mode" = position ]; then
  [ "$(grep -c '^\[FEN "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w' "$pgn")" -eq 2 ] &&
    [ "$(grep -c '^\[FEN "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQK2R b' "$pgn")" -eq 2 ] ||
    fail "the games did not start from the loaded positions, each twice"
fi
if [ "$mode" = opening ]; then
  [ "$(grep -c '^1\. e4 e5 2\. Nf3 Nc6 3\.' "$pgn")" -eq 2 ] &&
    [ "$(grep -c '^1\. d4 Nf6 2\. c4 ' "$pgn")" -eq 2 ] ||
    fail "the games did not start with the opening lines, each twice"
fi
if command -v pgn-extract >/dev/null; then
  # pgn-extract replays every move; a move it cannot play is reported on its error output.
  pgn-extract -s "$pgn" -o "$work/checked.pgn" 2>"$work/pgn-extract.log"
  checked=$(cat "$work/checked.pgn" 2>/dev/null | grep -c '^\[Event ')
  [ "$checked" -eq "$games" ] || { cat "$work/pgn-extract.log"; fail "pgn-extract accepted $checked of $games games"; }
fi
echo "PASS: $games games finished"
grep -E '^\[(White|Black|Result|FEN)' "$pgn"
grep -E '\{[^}]*\}' -o "$pgn" | tail -n "$games"
exit 0
