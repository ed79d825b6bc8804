#include "engine/makemove.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/board.h"
#include "engine/state.h"

namespace {

void ClearPosition(uint8_t flipped) {
  BoardFlipped = flipped;
  SetPieceValues();
  for (uint8_t& square : Board) square = Empty;
  for (int p = 0; p < PlySlots; ++p) {
    EpFile[p] = CastleRights[p] = Castled[p] = 0;
    UndoCaptured[p] = UndoMover[p] = 0;
    LastMove[p] = 0;
  }
}

void SetEntry(int ply, int index, int from, int to) {
  MoveFrom[ply][index] = static_cast<uint8_t>(from);
  MoveTo[ply][index] = static_cast<uint8_t>(to);
}

struct Snapshot {
  uint8_t board[64];
  Snapshot() { std::memcpy(board, Board, 64); }
  bool Same() const { return std::memcmp(board, Board, 64) == 0; }
};

TEST(MakeMove, CastlingOfBothSidesInBothOrientations) {
  struct Case {
    int side, flipped, king, target, rook, rookTarget, rights, rightsAfter, castled;
  };
  const Case cases[] = {
      {1, 0, 4, 6, 7, 5, 33, 23, 10},    {1, 0, 4, 2, 0, 3, 33, 13, 20},
      {1, 1, 3, 1, 0, 2, 33, 23, 10},    {1, 1, 3, 5, 7, 4, 33, 13, 20},
      {2, 0, 60, 62, 63, 61, 33, 32, 1}, {2, 0, 60, 58, 56, 59, 33, 31, 2},
      {2, 1, 59, 57, 56, 58, 33, 32, 1}, {2, 1, 59, 61, 63, 60, 33, 31, 2},
  };
  for (const Case& c : cases) {
    ClearPosition(static_cast<uint8_t>(c.flipped));
    const uint8_t king = c.side == 1 ? King1 : King2, rook = c.side == 1 ? Rook1 : Rook2;
    Board[c.king] = king;
    Board[c.rook] = rook;
    Board[c.side == 1 ? 60 : 4] = c.side == 1 ? King2 : King1;
    CastleRights[5] = static_cast<uint8_t>(c.rights);
    SetEntry(5, 7, c.king, c.target);
    const Snapshot before;
    c.side == 1 ? MakeMove1(5, 7) : MakeMove2(5, 7);
    EXPECT_EQ(Board[c.target], king) << c.king << "-" << c.target;
    EXPECT_EQ(Board[c.rookTarget], rook) << c.king << "-" << c.target;
    EXPECT_EQ(Board[c.king], Empty);
    EXPECT_EQ(Board[c.rook], Empty);
    EXPECT_EQ(CastleRights[6], c.rightsAfter);
    EXPECT_EQ(Castled[6], c.castled);
    c.side == 1 ? UnmakeMove1(5, 7) : UnmakeMove2(5, 7);
    EXPECT_TRUE(before.Same()) << c.king << "-" << c.target;
  }
}

TEST(MakeMove, DoubleStepSetsTheEnPassantFileOnlyForThatMove) {
  ClearPosition(0);
  SetStartPosition(Board);
  EpFile[0] = 4;
  SetEntry(0, 0, 12, 28 + 128);
  SetEntry(0, 1, 12, 20);
  MakeMove1(0, 0);
  EXPECT_EQ(EpFile[1], 5);
  EXPECT_EQ(Board[28], Pawn1);
  EXPECT_EQ(UndoCaptured[0], Pawn1);
  UnmakeMove1(0, 0);
  MakeMove1(0, 1);
  EXPECT_EQ(EpFile[1], 0);
  UnmakeMove1(0, 1);
  EXPECT_EQ(Board[12], Pawn1);
  EXPECT_EQ(Board[20], Empty);
}

TEST(MakeMove, EnPassantRemovesAndRestoresThePassedPawn) {
  ClearPosition(0);
  Board[4] = King1;
  Board[60] = King2;
  Board[35] = Pawn1;
  Board[34] = Pawn2;
  SetEntry(0, 0, 35, 42 + 64);
  const Snapshot before;
  MakeMove1(0, 0);
  EXPECT_EQ(Board[42], Pawn1);
  EXPECT_EQ(Board[34], Empty);
  EXPECT_EQ(Board[35], Empty);
  EXPECT_EQ(UndoCaptured[0], 0);
  EXPECT_EQ(UndoMover[0], 0);
  UnmakeMove1(0, 0);
  EXPECT_TRUE(before.Same());

  // Side 2 from 27 to 18 takes the side-1 pawn on 26.
  Board[26] = Pawn1;
  Board[27] = Pawn2;
  SetEntry(1, 0, 27, 18 + 64);
  const Snapshot before2;
  MakeMove2(1, 0);
  EXPECT_EQ(Board[18], Pawn2);
  EXPECT_EQ(Board[26], Empty);
  UnmakeMove2(1, 0);
  EXPECT_TRUE(before2.Same());
}

TEST(MakeMove, CastlingRightsAfterKingAndRookMoves) {
  ClearPosition(0);
  Board[4] = King1;
  Board[60] = King2;
  Board[0] = Rook1;
  Board[7] = Rook1;
  Board[56] = Rook2;
  Board[63] = Rook2;

  // A side-2 king move clears the units digit whatever the tens digit holds.
  SetEntry(0, 0, 60, 52);
  CastleRights[0] = 3;
  MakeMove2(0, 0);
  EXPECT_EQ(CastleRights[1], 0);
  UnmakeMove2(0, 0);
  CastleRights[0] = 31;
  MakeMove2(0, 0);
  EXPECT_EQ(CastleRights[1], 30);
  UnmakeMove2(0, 0);

  // The side-1 rook leaving square 0 is the long rook with BoardFlipped 0, the short one with 1.
  SetEntry(0, 1, 0, 8);
  CastleRights[0] = 33;
  MakeMove1(0, 1);
  EXPECT_EQ(CastleRights[1], 13);
  UnmakeMove1(0, 1);
  BoardFlipped = 1;
  MakeMove1(0, 1);
  EXPECT_EQ(CastleRights[1], 23);
  UnmakeMove1(0, 1);
  BoardFlipped = 0;

  // Rights are only ever lost: 23 after side 1 loses its short right, then 21 after side 2
  // loses its long right.
  SetEntry(0, 2, 7, 15);
  MakeMove1(0, 2);
  EXPECT_EQ(CastleRights[1], 23);
  SetEntry(1, 0, 56, 48);
  MakeMove2(1, 0);
  EXPECT_EQ(CastleRights[2], 21);
  UnmakeMove2(1, 0);
  UnmakeMove1(0, 2);

  // A rook capture from its corner changes the mover's digit; the captured rook's owner keeps
  // its digit.
  Board[8] = Empty;
  Board[48] = Empty;
  Board[56] = Rook2;
  SetEntry(0, 3, 0, 56 + 64);
  CastleRights[0] = 33;
  MakeMove1(0, 3);
  EXPECT_EQ(CastleRights[1], 13);
  EXPECT_EQ(UndoCaptured[0], Rook2);
  EXPECT_EQ(UndoMover[0], Rook1);
  UnmakeMove1(0, 3);
  EXPECT_EQ(Board[56], Rook2);
  EXPECT_EQ(Board[0], Rook1);
}

TEST(MakeMove, PromotionWithCaptureKeepsTheVictim) {
  ClearPosition(0);
  Board[4] = King1;
  Board[60] = King2;
  Board[49] = Pawn1;
  Board[58] = Knight2;
  SetEntry(0, 0, 49, 58 + 192);
  SetEntry(0, 1, 49, 57 + 192);
  const Snapshot before;
  MakeMove1(0, 0);
  EXPECT_EQ(Board[58], Queen1);
  EXPECT_EQ(Board[49], Empty);
  EXPECT_EQ(UndoCaptured[0], Knight2);
  UnmakeMove1(0, 0);
  EXPECT_TRUE(before.Same());
  MakeMove1(0, 1);
  EXPECT_EQ(Board[57], Queen1);
  EXPECT_EQ(UndoCaptured[0], 0);
  UnmakeMove1(0, 1);
  EXPECT_TRUE(before.Same());
}

TEST(MakeMove, EmptyEntryAndNoMovesPlyOnlyCarryTheStateOver) {
  ClearPosition(0);
  SetStartPosition(Board);
  EpFile[3] = 6;
  CastleRights[3] = 21;
  Castled[3] = 10;
  UndoCaptured[3] = 99;
  SetEntry(3, 0, 0, 0);
  const Snapshot before;
  MakeMove2(3, 0);
  EXPECT_TRUE(before.Same());
  EXPECT_EQ(EpFile[4], 0);
  EXPECT_EQ(CastleRights[4], 21);
  EXPECT_EQ(Castled[4], 10);
  EXPECT_EQ(UndoCaptured[3], 0);
  UnmakeMove2(3, 0);
  EXPECT_TRUE(before.Same());

  // A ply marked as having no moves plays nothing even from a real entry.
  SetEntry(3, 1, 12, 28 + 128);
  LastMove[3] = NoMoves;
  MakeMove1(3, 1);
  EXPECT_TRUE(before.Same());
  EXPECT_EQ(CastleRights[4], 21);
  UnmakeMove1(3, 1);
  EXPECT_TRUE(before.Same());
  LastMove[3] = 0;
}

}  // namespace
