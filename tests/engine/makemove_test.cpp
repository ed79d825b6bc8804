// Make and unmake: the squares a move changes, the next ply's castling and en-passant state,
// and the board restored by unmake. The moves themselves in every orientation are proven by
// perft; these are the state bytes it cannot see, and the board terms make and unmake keep.
#include "test_util.h"

// The evaluation and the hash key from the kept board terms are those of a fresh count.
bool KeptTermsCounted(uint8_t ply) {
  uint32_t keptCheck = 0, check = 0;
  const BoardTerms& t = KeptTerms;
  const auto kept = std::pair(EvaluateKept(ply), HashKeyFromSums(int32_t(t.key1), int32_t(t.key2),
                                                                 int32_t(t.key3), &keptCheck));
  return kept == std::pair(Evaluate(ply), HashKey(&check)) && keptCheck == check;
}

struct MoveCase {
  int side, flipped;
  Placement pieces;
  int from, to;            // the entry, to-square encoded
  uint8_t rights;          // CastleRights before
  std::vector<int> after;  // CastleRights, Castled and EpFile of the next ply
  Placement changed;       // squares changed by the move, with their new codes
  bool emptyPly = false;   // the ply's LastMove says it has no moves
};

TEST(MakeMove, ChangesStateAndUnmakeRestoresTheBoard) {
  constexpr uint8_t K1 = King1, R1 = Rook1, P1 = Pawn1, K2 = King2, R2 = Rook2, P2 = Pawn2;
  // clang-format off
  const MoveCase cases[] = {
      // Castling of both sides, both ways: the rights go, Castled gains the same digit and
      // keeps the opponent's (long, 2 or 20, before every move).
      {1, 0, {{4, K1}, {7, R1}}, 4, 6, 33, {23, 12, 0}, {{4, 0}, {7, 0}, {6, K1}, {5, R1}}},
      {1, 1, {{3, K1}, {7, R1}}, 3, 5, 33, {13, 22, 0}, {{3, 0}, {7, 0}, {5, K1}, {4, R1}}},
      {2, 1, {{59, K2}, {56, R2}}, 59, 57, 33, {32, 21, 0}, {{59, 0}, {56, 0}, {57, K2}, {58, R2}}},
      {2, 0, {{60, K2}, {56, R2}}, 60, 58, 33, {31, 22, 0}, {{60, 0}, {56, 0}, {58, K2}, {59, R2}}},
      // A king move clears its own digit only.
      {2, 0, {{60, K2}}, 60, 52, 31, {30, 20, 0}, {{60, 0}, {52, K2}}},
      {1, 1, {{3, K1}}, 3, 11, 33, {3, 2, 0}, {{3, 0}, {11, K1}}},
      // A rook leaving square 0 is side 1's long rook with BoardFlipped 0, the short one with 1.
      {1, 0, {{0, R1}}, 0, 8, 33, {13, 2, 0}, {{0, 0}, {8, R1}}},
      {1, 1, {{0, R1}}, 0, 8, 33, {23, 2, 0}, {{0, 0}, {8, R1}}},
      {1, 0, {{7, R1}}, 7, 15, 13, {3, 2, 0}, {{7, 0}, {15, R1}}},
      {2, 0, {{56, R2}}, 56, 48, 22, {20, 20, 0}, {{56, 0}, {48, R2}}},
      // A rook taking the rook on its corner: the mover's digit changes, the victim's does not.
      {1, 0, {{0, R1}, {56, R2}}, 0, 56 + 64, 33, {13, 2, 0}, {{0, 0}, {56, R1}}},
      // Double step: the en-passant file of the next ply; a single step clears a stale one.
      {1, 0, {{12, P1}}, 12, 28 + 128, 0, {0, 2, 5}, {{12, 0}, {28, P1}}},
      {1, 0, {{12, P1}}, 12, 20, 0, {0, 2, 0}, {{12, 0}, {20, P1}}},
      // A knight's move; en passant takes the pawn beside; a promotion that captures leaves a
      // queen.
      {1, 0, {{1, Knight1}}, 1, 18, 33, {33, 2, 0}, {{1, 0}, {18, Knight1}}},
      {2, 1, {{26, P2}, {27, P1}}, 26, 19 + 64, 0, {0, 20, 0}, {{26, 0}, {27, 0}, {19, P2}}},
      {1, 0, {{49, P1}, {58, R2}}, 49, 58 + 192, 0, {0, 2, 0}, {{49, 0}, {58, Queen1}}},
      // The empty entry (0, 0), and a real entry of a ply without moves, only carry the state.
      {2, 0, {{0, R1}}, 0, 0, 21, {21, 20, 0}, {}},
      {1, 0, {{12, P1}}, 12, 28 + 128, 21, {21, 2, 0}, {}, true},
  };
  // clang-format on
  const int ply = 3;
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "side " << c.side << " " << c.from << "-" << c.to);
    ClearPosition(static_cast<uint8_t>(c.flipped), c.pieces);
    CastleRights[ply] = c.rights;
    Castled[ply] = c.side == 1 ? 2 : 20;
    EpFile[ply] = 4;
    LastMove[ply] = c.emptyPly ? NoMoves : 7;
    MoveFrom[ply][7] = static_cast<uint8_t>(c.from);
    MoveTo[ply][7] = static_cast<uint8_t>(c.to);
    uint8_t expected[64], before[64];
    std::memcpy(before, Board, sizeof before);
    std::memcpy(expected, Board, sizeof expected);
    for (auto [square, code] : c.changed) expected[square] = code;
    HashFillRandoms();
    CountBoardTerms();
    c.side == 1 ? MakeMove1(ply, 7) : MakeMove2(ply, 7);
    EXPECT_EQ(0, std::memcmp(Board, expected, sizeof expected));
    EXPECT_TRUE(KeptTermsCounted(ply + 1));
    EXPECT_EQ(std::vector<int>({CastleRights[ply + 1], Castled[ply + 1], EpFile[ply + 1]}),
              c.after);
    c.side == 1 ? UnmakeMove1(ply, 7) : UnmakeMove2(ply, 7);
    EXPECT_EQ(0, std::memcmp(Board, before, sizeof before));
    EXPECT_TRUE(KeptTermsCounted(ply));
  }
}
