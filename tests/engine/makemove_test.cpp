// Make and unmake: the squares a move changes, the undo bytes, the next ply's castling and
// en-passant state, and the board restored by unmake.
#include "engine/makemove.h"

#include "test_util.h"

namespace {

struct MoveCase {
  int side, flipped;
  Placement pieces;
  int from, to;  // the entry, to-square encoded
  uint8_t rights, rightsAfter, castledAfter, epAfter, undoCaptured, undoMover;
  Placement changed;  // squares the move changes besides its from-square, with their new codes
};

TEST(MakeMove, ChangesStateAndUnmakeRestoresTheBoard) {
  constexpr uint8_t K1 = King1, R1 = Rook1, P1 = Pawn1, Q1 = Queen1;
  constexpr uint8_t K2 = King2, R2 = Rook2, P2 = Pawn2, Q2 = Queen2, N2 = Knight2;
  // clang-format off
  const MoveCase cases[] = {
      // side, flipped, pieces, entry, rights before and after, then after the move: Castled,
      // EpFile, the undo bytes and the changed squares besides the from-square
      // Castling of both sides, both ways, in both orientations.
      {1, 0, {{4, K1}, {7, R1}}, 4, 6, 33, 23, 10, 0, K1, 0, {{7, 0}, {6, K1}, {5, R1}}},
      {1, 0, {{4, K1}, {0, R1}}, 4, 2, 33, 13, 20, 0, K1, 0, {{0, 0}, {2, K1}, {3, R1}}},
      {1, 1, {{3, K1}, {0, R1}}, 3, 1, 33, 23, 10, 0, K1, 0, {{0, 0}, {1, K1}, {2, R1}}},
      {1, 1, {{3, K1}, {7, R1}}, 3, 5, 33, 13, 20, 0, K1, 0, {{7, 0}, {5, K1}, {4, R1}}},
      {2, 0, {{60, K2}, {63, R2}}, 60, 62, 33, 32, 1, 0, K2, 0, {{63, 0}, {62, K2}, {61, R2}}},
      {2, 0, {{60, K2}, {56, R2}}, 60, 58, 33, 31, 2, 0, K2, 0, {{56, 0}, {58, K2}, {59, R2}}},
      {2, 1, {{59, K2}, {56, R2}}, 59, 57, 33, 32, 1, 0, K2, 0, {{56, 0}, {57, K2}, {58, R2}}},
      {2, 1, {{59, K2}, {63, R2}}, 59, 61, 33, 31, 2, 0, K2, 0, {{63, 0}, {61, K2}, {60, R2}}},
      // A king move clears its own digit only, whatever the other holds.
      {2, 0, {{60, K2}}, 60, 52, 31, 30, 0, 0, K2, 0, {{52, K2}}},
      {2, 0, {{60, K2}}, 60, 52, 3, 0, 0, 0, K2, 0, {{52, K2}}},
      {1, 1, {{3, K1}}, 3, 11, 33, 3, 0, 0, K1, 0, {{11, K1}}},
      // A rook leaving square 0 is side 1's long rook with BoardFlipped 0, the short one with 1.
      {1, 0, {{0, R1}}, 0, 8, 33, 13, 0, 0, R1, 0, {{8, R1}}},
      {1, 1, {{0, R1}}, 0, 8, 33, 23, 0, 0, R1, 0, {{8, R1}}},
      {1, 0, {{7, R1}}, 7, 15, 13, 3, 0, 0, R1, 0, {{15, R1}}},
      {2, 0, {{56, R2}}, 56, 48, 23, 21, 0, 0, R2, 0, {{48, R2}}},
      // A rook taking the rook on its corner: the mover's digit changes, the victim's does not.
      {1, 0, {{0, R1}, {56, R2}}, 0, 56 + 64, 33, 13, 0, 0, R2, R1, {{56, R1}}},
      // Double step: the en-passant file of the next ply; a single step clears a stale one.
      {1, 0, {{12, P1}}, 12, 28 + 128, 0, 0, 0, 5, P1, 0, {{28, P1}}},
      {1, 0, {{12, P1}}, 12, 20, 0, 0, 0, 0, P1, 0, {{20, P1}}},
      // En passant removes the pawn that passed, for both sides.
      {1, 0, {{35, P1}, {34, P2}}, 35, 42 + 64, 0, 0, 0, 0, 0, 0, {{34, 0}, {42, P1}}},
      {2, 0, {{27, P2}, {26, P1}}, 27, 18 + 64, 0, 0, 0, 0, 0, 0, {{26, 0}, {18, P2}}},
      // Promotion to a queen, with and without a capture.
      {1, 0, {{49, P1}, {58, N2}}, 49, 58 + 192, 0, 0, 0, 0, N2, 0, {{58, Q1}}},
      {1, 0, {{49, P1}, {58, N2}}, 49, 57 + 192, 0, 0, 0, 0, 0, 0, {{57, Q1}}},
      {2, 1, {{10, P2}}, 10, 2 + 192, 0, 0, 0, 0, 0, 0, {{2, Q2}}},
  };
  // clang-format on
  const int ply = 3;
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "side " << c.side << " " << c.from << "-" << c.to);
    ClearPosition(static_cast<uint8_t>(c.flipped), c.pieces);
    CastleRights[ply] = c.rights;
    EpFile[ply] = 4;
    UndoCaptured[ply] = UndoMover[ply] = 99;
    MoveFrom[ply][7] = static_cast<uint8_t>(c.from);
    MoveTo[ply][7] = static_cast<uint8_t>(c.to);
    uint8_t expected[64], before[64];
    std::memcpy(before, Board, sizeof before);
    std::memcpy(expected, Board, sizeof expected);
    expected[c.from] = Empty;
    for (auto [square, code] : c.changed) expected[square] = code;
    c.side == 1 ? MakeMove1(ply, 7) : MakeMove2(ply, 7);
    EXPECT_EQ(0, std::memcmp(Board, expected, sizeof expected));
    EXPECT_EQ(CastleRights[ply + 1], c.rightsAfter);
    EXPECT_EQ(Castled[ply + 1], c.castledAfter);
    EXPECT_EQ(EpFile[ply + 1], c.epAfter);
    EXPECT_EQ(UndoCaptured[ply], c.undoCaptured);
    EXPECT_EQ(UndoMover[ply], c.undoMover);
    c.side == 1 ? UnmakeMove1(ply, 7) : UnmakeMove2(ply, 7);
    EXPECT_EQ(0, std::memcmp(Board, before, sizeof before));
  }
}

TEST(MakeMove, EmptyEntryAndEmptyPlyOnlyCarryTheStateOver) {
  // The entry (0, 0), and a real entry of a ply marked as having no moves, play nothing.
  ClearPosition(0);
  SetStartPosition(Board);
  uint8_t before[64];
  std::memcpy(before, Board, sizeof before);
  MoveFrom[3][0] = MoveTo[3][0] = 0;
  MoveFrom[3][1] = 12;
  MoveTo[3][1] = 28 + 128;
  for (uint8_t index : {0, 1}) {
    LastMove[3] = index == 0 ? 0 : NoMoves;
    EpFile[3] = 6;
    CastleRights[3] = 21;
    Castled[3] = 10;
    UndoCaptured[3] = EpFile[4] = 99;
    index == 0 ? MakeMove2(3, 0) : MakeMove1(3, 1);
    EXPECT_EQ(0, std::memcmp(Board, before, sizeof before)) << int{index};
    EXPECT_EQ(std::vector<int>({EpFile[4], CastleRights[4], Castled[4], UndoCaptured[3]}),
              std::vector<int>({0, 21, 10, 0}));
    index == 0 ? UnmakeMove2(3, 0) : UnmakeMove1(3, 1);
    EXPECT_EQ(0, std::memcmp(Board, before, sizeof before)) << int{index};
  }
}

}  // namespace
