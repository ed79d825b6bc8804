// Move generation: the search order of a row, the 151-entry guard and the recapture lists.
// Which moves are generated is proven by the perft runs; these tests pin what perft cannot see.
#include "test_util.h"

std::vector<Entry> Entries(std::vector<Entry> front, const std::vector<Entry>& rest) {
  for (Entry e : rest) {
    if (std::find(front.begin(), front.end(), e) == front.end()) front.push_back(e);
  }
  return front;
}

TEST(MoveGeneration, OrderIsHashKillerLowestCaptureNoisyThenQuietReversed) {
  // Quiet moves come out in reverse of the scan: pawns from square 15 down, each double step
  // before its single step, then the knights on 6 and 1.
  ClearPosition(0);
  SetStartPosition(Board);
  CastleRights[0] = 33;
  std::vector<Entry> start;
  for (int s = 15; s >= 8; --s) start.insert(start.end(), {{s, s + 16 + 128}, {s, s + 8}});
  start.insert(start.end(), {{6, 21}, {6, 23}, {1, 16}, {1, 18}});
  EXPECT_EQ(Row(0, GenerateMoves1(0)), start);

  // One pass moves the lowest key to the front: the pawn taking the queen (-800) goes before
  // the queen taking a pawn (800), generated first; the promotion (100) stays noisy, behind.
  ClearPosition(
      0,
      {{0, King1}, {63, King2}, {20, Queen1}, {29, Pawn2}, {27, Pawn1}, {34, Queen2}, {50, Pawn1}});
  const std::vector<Entry> noisy = Row(0, GenerateMoves1(0));
  EXPECT_EQ(Entries({{27, 34 + 64}, {20, 29 + 64}, {50, 58 + 192}}, noisy), noisy);
  for (size_t i = 3; i < noisy.size(); ++i) EXPECT_LT(noisy[i].second, 64) << i;

  // The pawns on 11 and 13 take a knight on 20 with equal keys: generation order stays. A
  // killer goes in front of them, and the hash move in front of the killer; a killer whose
  // square holds no piece of the mover and a hash move not in the list change nothing.
  ClearPosition(0);
  SetStartPosition(Board);
  Board[20] = Knight2;
  const std::vector<Entry> plain = Row(0, GenerateMoves1(0));
  const std::vector<Entry> captures = {{11, 20 + 64}, {13, 20 + 64}};
  EXPECT_EQ(Entries(captures, plain), plain);
  std::tie(KillerFrom[0], KillerTo[0], HashMoveFrom, HashMoveTo) = std::tuple(6, 21, 14, 30 + 128);
  EXPECT_EQ(Row(0, GenerateMoves1(0)), Entries({{14, 30 + 128}, {6, 21}}, plain));
  std::tie(KillerFrom[0], KillerTo[0], HashMoveFrom, HashMoveTo) = std::tuple(30, 38, 12, 44);
  EXPECT_EQ(Row(0, GenerateMoves1(0)), plain);
}

TEST(MoveGeneration, RowsStopAt151Entries) {
  // Ten queens have far more than 151 moves; the next ply's row must stay untouched.
  ClearPosition(0, {{0, King1}, {63, King2}});
  for (int s : {9, 14, 19, 22, 27, 34, 41, 44, 49, 54}) Board[s] = Queen1;
  std::memset(MoveFrom[1], 0xEE, MoveListSize);
  std::memset(MoveTo[1], 0xEE, MoveListSize);
  EXPECT_EQ(GenerateMoves1(0), MoveListSize - 1);
  for (int i = 0; i < MoveListSize; ++i) {
    ASSERT_EQ(MoveFrom[1][i] + MoveTo[1][i], 2 * 0xEE) << "row 1 was written at " << i;
    EXPECT_EQ(Board[MoveFrom[0][i]] / 10, 1) << i;
  }
}

TEST(Recaptures, FirstPieceOfEachRayThenKnightsPawnsKingAndPromotions) {
  // The queen stands first on the file; the rook behind it is not listed.
  ClearPosition(0, {{0, King1}, {63, King2}, {43, Queen2}, {51, Rook2}});
  RecaptureSquare = 27;
  EXPECT_EQ(Row(0, GenerateRecaptures2(0)), (std::vector<Entry>{{43, 27 + 64}}));
  // Knight on 27 + 17, pawn on 27 + 7 and the king on 27 + 8, which now also hides the queen.
  for (auto [square, code] : Placement{{44, Knight2}, {34, Pawn2}, {35, King2}})
    Board[square] = code;
  EXPECT_EQ(Row(0, GenerateRecaptures2(0)),
            (std::vector<Entry>{{44, 27 + 64}, {34, 27 + 64}, {35, 27 + 64}}));
  // Side-1 pawns recapturing onto row 7 promote; nothing reaches square 20.
  ClearPosition(0, {{0, King1}, {40, King2}, {49, Pawn1}, {51, Pawn1}});
  RecaptureSquare = 58;
  EXPECT_EQ(Row(0, GenerateRecaptures1(0)), (std::vector<Entry>{{49, 58 + 192}, {51, 58 + 192}}));
  RecaptureSquare = 20;
  EXPECT_EQ(GenerateRecaptures1(0), NoMoves);
}
