#include "engine/legal.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/board.h"
#include "engine/movegen.h"
#include "engine/state.h"

namespace {

using Entry = std::pair<int, int>;

void ClearPosition(uint8_t flipped) {
  BoardFlipped = flipped;
  SetPieceValues();
  for (uint8_t& square : Board) square = Empty;
  for (int p = 0; p < PlySlots; ++p) {
    EpFile[p] = CastleRights[p] = Castled[p] = 0;
    InCheck1[p] = InCheck2[p] = 0;
    KillerFrom[p] = KillerTo[p] = 0;
    LastMove[p] = 0;
  }
  HashMoveFrom = HashMoveTo = 0;
}

std::vector<Entry> RootRow() {
  std::vector<Entry> row;
  for (int i = 0; i <= RootLast; ++i) row.emplace_back(MoveFrom[0][i], MoveTo[0][i]);
  return row;
}

bool Contains(const std::vector<Entry>& row, Entry entry) {
  for (const Entry& e : row) {
    if (e == entry) return true;
  }
  return false;
}

// Generates side's ply-0 list into RootLast and filters it.
std::vector<Entry> LegalMoves(int side) {
  const uint8_t last = side == 1 ? GenerateMoves1(0) : GenerateMoves2(0);
  RootLast = last == NoMoves ? -1 : last;
  if (last != NoMoves) side == 1 ? FilterLegal1() : FilterLegal2();
  return RootRow();
}

TEST(KingAttacked, MissingKingCountsAsAttacked) {
  ClearPosition(0);
  Board[60] = King2;
  Board[9] = Rook1;
  EXPECT_EQ(KingAttacked1(), 1);
  EXPECT_EQ(KingAttacked2(), 0);
  EXPECT_TRUE(LegalMoves(1).empty());
  EXPECT_EQ(RootLast, -1);
  Board[60] = Empty;
  EXPECT_EQ(KingAttacked2(), 1);
}

TEST(KingAttacked, SlidersAreBlockedByTheFirstPiece) {
  ClearPosition(0);
  Board[4] = King1;
  Board[60] = King2;
  Board[36] = Rook2;  // same file as the king
  Board[20] = Bishop2;
  EXPECT_EQ(KingAttacked1(), 0);
  Board[20] = Empty;
  EXPECT_EQ(KingAttacked1(), 1);
  Board[36] = Empty;
  Board[31] = Queen2;  // diagonal 4, 13, 22, 31
  EXPECT_EQ(KingAttacked1(), 1);
  Board[22] = Pawn1;
  EXPECT_EQ(KingAttacked1(), 0);
  Board[22] = Empty;
  Board[31] = Rook2;  // a rook on a diagonal does not attack
  EXPECT_EQ(KingAttacked1(), 0);
  Board[7] = Bishop2;  // a bishop on the row does not either
  EXPECT_EQ(KingAttacked1(), 0);

  Board[31] = Empty;
  Board[19] = Knight2;  // 4 + 15
  EXPECT_EQ(KingAttacked1(), 1);
  Board[19] = Empty;
  Board[5] = King2;
  EXPECT_EQ(KingAttacked1(), 1);
  EXPECT_EQ(KingAttacked2(), 0);  // side 2's king is the first 20 found from 63 down: on 60
}

TEST(KingAttacked, PawnsAttackOnlyFromAhead) {
  ClearPosition(0);
  Board[60] = King2;
  Board[44] = King1;  // row 5
  Board[53] = Pawn2;  // 44 + 9
  EXPECT_EQ(KingAttacked1(), 1);
  Board[53] = Empty;
  Board[51] = Pawn2;  // 44 + 7
  EXPECT_EQ(KingAttacked1(), 1);
  Board[51] = Empty;
  Board[35] = Pawn2;  // behind the king
  EXPECT_EQ(KingAttacked1(), 0);

  // A king on row 6 is never reported attacked by a pawn.
  ClearPosition(0);
  Board[0] = King2;
  Board[52] = King1;
  Board[61] = Pawn2;
  Board[59] = Pawn2;
  EXPECT_EQ(KingAttacked1(), 0);
}

TEST(FilterLegal, CastlingThroughOrIntoAnAttackedSquare) {
  // Bishop on 19 attacks square 5, which the king crosses: removed in the first phase.
  ClearPosition(0);
  Board[4] = King1;
  Board[7] = Rook1;
  Board[60] = King2;
  CastleRights[0] = 10;
  Board[19] = Bishop2;
  ASSERT_NE(GenerateMoves1(0), NoMoves);
  std::vector<Entry> legal = LegalMoves(1);
  EXPECT_FALSE(Contains(legal, Entry(4, 6)));
  EXPECT_EQ(CastlingThroughCheck1(4, 6), 1);

  // Bishop on 20 attacks only square 6: castling lands in check, removed in the second phase.
  Board[19] = Empty;
  Board[20] = Bishop2;
  legal = LegalMoves(1);
  EXPECT_FALSE(Contains(legal, Entry(4, 6)));
  EXPECT_EQ(CastlingThroughCheck1(4, 6), 0);

  // Nothing attacks: castling stays, the king on 4 and rook on 7 again after the filter.
  Board[20] = Empty;
  legal = LegalMoves(1);
  EXPECT_TRUE(Contains(legal, Entry(4, 6)));
  EXPECT_EQ(Board[4], King1);
  EXPECT_EQ(Board[7], Rook1);

  // Side 2 with BoardFlipped 1: long castling (59, 61) crosses 60.
  ClearPosition(1);
  Board[3] = King1;
  Board[59] = King2;
  Board[63] = Rook2;
  CastleRights[0] = 2;
  Board[33] = Rook1;  // on the file of 57: irrelevant
  EXPECT_TRUE(Contains(LegalMoves(2), Entry(59, 61)));
  Board[33] = Empty;
  Board[36] = Rook1;  // file of square 60
  EXPECT_FALSE(Contains(LegalMoves(2), Entry(59, 61)));
}

TEST(FilterLegal, PinnedPieceMovesGoAndTheOrderStays) {
  ClearPosition(0);
  Board[4] = King1;
  Board[12] = Knight1;  // pinned by the rook on 60's file
  Board[60] = Rook2;
  Board[63] = King2;
  Board[9] = Pawn1;
  const uint8_t last = GenerateMoves1(0);
  std::vector<Entry> expected;
  for (int i = 0; i <= last; ++i) {
    if (MoveFrom[0][i] != 12 && !(MoveFrom[0][i] == 4 && (MoveTo[0][i] == 12))) {
      expected.emplace_back(MoveFrom[0][i], MoveTo[0][i]);
    }
  }
  std::vector<Entry> legal = LegalMoves(1);
  for (const Entry& e : legal) EXPECT_NE(e.first, 12);
  EXPECT_EQ(legal, expected);
}

TEST(FilterLegal, CheckmateLeavesNoMove) {
  // Side 1 king in the corner, side-2 queen on 9 protected by the king on 18.
  ClearPosition(0);
  Board[0] = King1;
  Board[9] = Queen2;
  Board[18] = King2;
  EXPECT_EQ(KingAttacked1(), 1);
  EXPECT_TRUE(LegalMoves(1).empty());
  EXPECT_EQ(RootLast, -1);
}

TEST(FilterLegal, TrialMovesArePlayedEvenWhenPlyZeroIsMarkedEmpty) {
  // A finished search can leave LastMove[0] at NoMoves or above; the filter must still see
  // that the pinned knight's moves expose the king.
  ClearPosition(0);
  Board[4] = King1;
  Board[12] = Knight1;
  Board[60] = Rook2;
  Board[63] = King2;
  LastMove[0] = 255;
  MoveFrom[30][MoveListSize - 1] = 17;
  MoveTo[30][MoveListSize - 1] = 33;
  for (const Entry& e : LegalMoves(1)) EXPECT_NE(e.first, 12);
  EXPECT_EQ(LastMove[0], 255);
  EXPECT_EQ(MoveFrom[30][MoveListSize - 1], 17);
  EXPECT_EQ(MoveTo[30][MoveListSize - 1], 33);
}

}  // namespace
