#!/bin/sh
# The search finds exactly what it found before it was made faster: after every slice the same
# steps, nodes, depths, root move, best move, score, hint and variation, the same thinking lines
# and the same move. kvtool's --trace output is compared with the one recorded in tests/data.
#
# usage: search_identity.sh <kvtool> bench|positions [--record]
#   bench      the bench positions (kvtool bench --trace)
#   positions  the search tests' positions and a few with promotions, castling and en passant
#
# The recorded files were written by kvtool built from commit 866f1a1 with only the --trace
# addition to tools/ on top (the engine as it was before the speed-up):
#   git worktree add --detach /tmp/base 866f1a1 && cd /tmp/base && git cherry-pick -n f2fde9b
#   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release && cmake --build build --target kvtool
#   tests/engine/search_identity.sh /tmp/base/build/kvtool bench --record
#   tests/engine/search_identity.sh /tmp/base/build/kvtool positions --record
# (run from this checkout: the files land in its tests/data).
kvtool=$1
set_name=$2
here=$(dirname "$0")
recorded="$here/../data/search-trace-$set_name.txt"

positions() {
  # FEN, depth, seed
  while IFS='|' read -r fen depth seed; do
    echo "position $fen depth $depth seed $seed"
    "$kvtool" search "$fen" --depth "$depth" --seed "$seed" --seconds 0 --trace || echo "failed"
  done <<EOF
7k/8/8/8/8/8/6q1/7K w - - 0 1|29|7
rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|29|7
6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1|29|7
3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1|29|7
7k/8/8/p1p1p3/P1P1P3/8/8/7K w - - 0 1|2|7
7k/pppp1ppp/4p3/8/Q7/4PP2/PPPP1nPP/7K w - - 0 1|2|7
7k/ppp4p/8/8/Q7/4PP2/5nPP/7K w - - 0 1|2|7
b2q3k/3r2pp/1n1rpn2/3p4/4PN2/1BNR4/3R1PPP/3Q2K1 w - - 0 1|3|7
3k4/8/8/8/8/8/r7/4K2R w K - 0 1|4|7
1n5k/8/8/p1p1p3/P1P1P3/8/8/1N5K w - - 0 1|3|7
r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4|2|7
r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7|4|7
4k3/pp3ppp/8/4n3/8/5N2/PP3PPP/4K3 w - - 0 1|4|2
4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1|4|3
r3k2r/pP3ppp/8/2pP4/8/8/P4PpP/R3K2R w KQkq c6 0 1|5|5
r3k2r/p4pPp/8/8/2Pp4/8/PpP3PP/R3K2R b KQkq c3 0 1|5|5
EOF
}

trace() {
  case $set_name in
    bench) "$kvtool" bench --trace || echo "failed" ;;
    positions) positions ;;
    *) echo "usage: search_identity.sh <kvtool> bench|positions [--record]" >&2; exit 2 ;;
  esac
}

if [ "$3" = "--record" ]; then
  trace >"$recorded"
  exit 0
fi
out=$(mktemp) || exit 1
trap 'rm -f "$out"' EXIT
trace >"$out"
diff "$recorded" "$out" && echo "the $set_name searches match the recorded ones"
