// Attack tests and the root legality filters. Ordinary attacks, and castling through check as
// perft plays it, are proven by the perft runs; these are the cases it never shows.
#include "test_util.h"

TEST(KingAttacked, MissingKingKingScanOrderAndPawnsOnRowSix) {
  // The pieces, then whether each side's king is attacked.
  const std::tuple<Placement, uint8_t, uint8_t> cases[] = {
      {{{60, King2}, {9, Rook1}}, 1, 0},  // a missing king counts as attacked
      {{{4, King1}}, 0, 1},
      // Side 2's king is the first code 20 found from 63 down: the one on 60, not on 5.
      {{{4, King1}, {60, King2}, {5, King2}}, 1, 0},
      {{{52, King1}, {0, King2}, {61, Pawn2}, {59, Pawn2}}, 0, 0},  // never by a pawn on row 6
  };
  for (const auto& [pieces, attacked1, attacked2] : cases) {
    ClearPosition(0, pieces);
    EXPECT_EQ(std::pair(KingAttacked1(), KingAttacked2()), std::pair(attacked1, attacked2));
  }
  // Without a king every move leaves it attacked: the filter empties the list.
  ClearPosition(0, {{60, King2}, {9, Rook1}});
  EXPECT_TRUE(LegalMoves(1).empty());
  EXPECT_EQ(RootLast, -1);
}

TEST(FilterLegal, CastlingThroughOrIntoAnAttackedSquare) {
  // Bishop on 19 attacks 5, which the king crosses; on 20 it attacks 6, where it lands.
  for (int bishop : {19, 20, -1}) {
    ClearPosition(0, {{4, King1}, {7, Rook1}, {60, King2}});
    if (bishop >= 0) Board[bishop] = Bishop2;
    CastleRights[0] = 10;
    const std::vector<Entry> legal = LegalMoves(1);
    EXPECT_EQ(std::count(legal.begin(), legal.end(), Entry(4, 6)), bishop < 0 ? 1 : 0) << bishop;
    EXPECT_EQ(CastlingThroughCheck1(4, 6), bishop == 19 ? 1 : 0) << bishop;
  }
  // Side 2 with BoardFlipped 1: long castling (59, 61) crosses 60; a rook on 57's file is
  // harmless, one on 60's file is not.
  for (int rook : {33, 36}) {
    ClearPosition(1, {{3, King1}, {59, King2}, {63, Rook2}, {rook, Rook1}});
    CastleRights[0] = 2;
    const std::vector<Entry> legal = LegalMoves(2);
    EXPECT_EQ(std::count(legal.begin(), legal.end(), Entry(59, 61)), rook == 33 ? 1 : 0) << rook;
  }
}

TEST(FilterLegal, PinnedPieceMovesGoAndTheOrderStays) {
  // The knight on 12 is pinned by the rook on 60. A finished search can leave LastMove[0] at
  // NoMoves or above: the trial moves must still be played, and the scratch entry that the
  // castling's trial uses restored.
  ClearPosition(0, {{4, King1}, {7, Rook1}, {12, Knight1}, {60, Rook2}, {63, King2}, {9, Pawn1}});
  CastleRights[0] = 10;
  std::vector<Entry> expected = Row(0, GenerateMoves1(0));
  std::erase_if(expected, [](Entry e) { return e.first == 12; });
  LastMove[0] = 255;
  MoveFrom[30][MoveListSize - 1] = 17;
  MoveTo[30][MoveListSize - 1] = 33;
  EXPECT_EQ(LegalMoves(1), expected);
  EXPECT_EQ(
      std::vector<int>({LastMove[0], MoveFrom[30][MoveListSize - 1], MoveTo[30][MoveListSize - 1]}),
      std::vector<int>({255, 17, 33}));
}
