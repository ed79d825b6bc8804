// Evaluation terms checked against hand-worked sums.
#include "test_util.h"

struct EvalCase {
  int start;  // -1: empty board (BoardFlipped 0, no rights); 0 or 1: start position, rights 33
  uint8_t castled;
  Placement setup;   // pieces put on (or, code 0, taken off) the board first
  Placement change;  // then these
  int expected;      // the score of the set-up board when change is empty, else the change's effect
  uint8_t rights = 33;  // CastleRights of a start position
};

TEST(Evaluate, HandWorkedScores) {
  constexpr uint8_t K1 = King1, Q1 = Queen1, R1 = Rook1, B1 = Bishop1, N1 = Knight1, P1 = Pawn1;
  constexpr uint8_t K2 = King2, Q2 = Queen2, R2 = Rook2, B2 = Bishop2, N2 = Knight2, P2 = Pawn2;
  const Placement kings = {{4, K1}, {60, K2}}, kingsAndQueen = {{4, K1}, {60, K2}, {59, Q2}};
  Placement pawnsGone;  // the pawns of columns 0..6 of both sides: 18 pieces left
  for (int c = 0; c < 7; ++c) pawnsGone.insert(pawnsGone.end(), {{8 + c, 0}, {48 + c, 0}});
  Placement morePawnsGone = pawnsGone;
  morePawnsGone.push_back({55, 0});
  // clang-format off
  const EvalCase cases[] = {
      // Only the knights differ at the start: 1 + 2 for side 1 on row 0, 2 + 3 for side 2.
      {0, 0, {}, {}, -2},
      {1, 0, {}, {}, -2},
      // No rights for side 1: the rights bonus (+30) goes and both wings switch to the
      // "otherwise" rows: three pairs at -3 each (BoardFlipped 0) or -2 each (1) per wing,
      // instead of +13 on the short side and +10 on the long side.
      {0, 0, {}, {}, -2 - 30 + (-9 - 13) + (-9 - 10), 3},
      {1, 0, {}, {}, -2 - 30 + (-6 - 13) + (-6 - 10), 3},
      // Passed pawns score the square of their progress: row 5, and seven minus row 2.
      {-1, 0, kings, {{43, P1}}, 100 + 25},
      {-1, 0, kings, {{19, P2}}, -100 - 25},
      // A side-2 pawn beside it one row further on stops side 1's pawn on row 4; on row 4 or 3
      // both pawns are passed.
      {-1, 0, kings, {{35, P1}, {44, P2}}, 0},
      {-1, 0, kings, {{35, P1}, {36, P2}}, 16 - 9},
      {-1, 0, kings, {{35, P1}, {28, P2}}, 16 - 16},
      // Three pawns in a column cost 35 once (passed, front pawn on row 3); two cost 14, a
      // second island 6, and a pawn on row 1 is passed for 1.
      {-1, 0, kingsAndQueen, {{8, P1}, {16, P1}, {24, P1}}, 300 - 35 + 9},
      {-1, 0, kingsAndQueen, {{10, P1}, {16, P1}, {24, P1}}, 300 - 14 - 6 + 9 + 1},
      // Bishop pair, a bishop on (1, 1), a rook on row 6, a knight on (3, 3).
      {-1, 0, kingsAndQueen, {{9, B1}, {27, B1}}, 640 + 4 + 15},
      {-1, 0, kingsAndQueen, {{9, B1}, {50, R1}}, 320 + 4 + 480 + 5},
      {-1, 0, kingsAndQueen, {{27, N1}}, 305 + 3 + 3},
      // Castled side 1 against a queen: +45 and -6 -6 for its central king; without side 2's
      // queen +25 and no king term, and with five pieces and side 1 ahead the end-game term
      // 6 x (3 + 3) + 4 x ((7 - 4) + (7 - 4)).
      {-1, 10, {{27, K1}, {63, K2}, {56, Q1}, {0, Q2}}, {}, 45 - 12},
      {-1, 10, {{27, K1}, {63, K2}, {56, Q1}}, {}, 900 + 25 + 36 + 24},
      // End game: the losing king in the corner, 6 x (4 + 4) + 4 x ((7 - 3) + (7 - 3)); on 63
      // 6 x (3 + 3) + 4 x ((7 - 4) + (7 - 4)); none with seven pieces or with side 2 ahead.
      {-1, 0, {{27, K1}, {8, R1}, {9, R1}, {0, K2}}, {}, 960 + 48 + 32},
      {-1, 0, {{27, K1}, {8, R1}, {9, R1}, {63, K2}}, {}, 960 + 36 + 24},
      {-1, 0, {{27, K1}, {8, R1}, {9, R1}, {63, K2}, {40, N2}, {47, N2}, {15, N1}}, {},
       960 + 305 - 610 + (1 + 1) - (3 + 4)},
      {-1, 0, {{27, K2}, {48, R2}, {49, R2}, {0, K1}}, {}, -960},
      // Opening terms need 18 pieces: with 18 left the knight's move to 18 gains its
      // placement (+3), its home penalty (+6) and the square (+4); with 17 only the placement.
      {0, 0, pawnsGone, {{1, 0}, {18, N1}}, 3 + 6 + 4},
      {0, 0, morePawnsGone, {{1, 0}, {18, N1}}, 3},
      // The e-pawn to the centre: +8 on the mirrored square as well.
      {0, 0, {}, {{12, 0}, {28, P1}}, 8},
      {1, 0, {}, {{11, 0}, {27, P1}}, 8},
      // Side 1's wing pawns two up lose their home bonus (5 h, 3 g), then -20 h and -25 g,
      // exchanged on the mirrored squares with BoardFlipped 1.
      {0, 0, {}, {{15, 0}, {31, P1}}, -5 - 20},
      {0, 0, {}, {{14, 0}, {30, P1}}, -3 - 25},
      {1, 0, {}, {{8, 0}, {24, P1}}, -5 - 25},
      {1, 0, {}, {{9, 0}, {25, P1}}, -3 - 20},
      // Side 2's wing pawns two up: +25 g, +20 h, +10 a with BoardFlipped 0; with 1 the squares
      // of g and h exchange values.
      {0, 0, {}, {{54, 0}, {38, P2}}, 3 + 25},
      {0, 0, {}, {{55, 0}, {39, P2}}, 5 + 20},
      {0, 0, {}, {{48, 0}, {32, P2}}, 5 + 10},
      {1, 0, {}, {{49, 0}, {33, P2}}, 3 + 20},
      {1, 0, {}, {{48, 0}, {32, P2}}, 5 + 25},
      {1, 0, {}, {{55, 0}, {39, P2}}, 5 + 10},
      // Castled short: without the shelter pawn on 9 (mirror of 14) -100, shelter -70, its +3
      // at home and a second island; without 8 as well one shelter penalty only, the h-pawn's
      // +5 goes, one island again, and side 2's pawn on 48 is passed (-(7 - 6)^2); the pawn one
      // step up on 17 still shelters but costs 10 and its +3.
      {1, 10, {}, {{9, 0}}, -100 - 70 - 3 - 6},
      {1, 10, {}, {{9, 0}, {8, 0}}, -200 - 70 - 3 - 5 - 1},
      {1, 10, {}, {{9, 0}, {17, P1}}, -10 - 3},
      {0, 1, {}, {{54, 0}}, 100 + 70 + 3 + 6},
      // A bishop in front of its unmoved d or e pawn: -70, and it leaves home (+5); side 2's
      // mirror +70 with its own home penalty (+8) gone.
      {0, 0, {}, {{2, 0}, {19, B1}}, 5 - 70},
      {1, 0, {}, {{5, 0}, {20, B1}}, 5 - 70},
      {0, 0, {}, {{61, 0}, {44, B2}}, -8 + 70},
      // The rook to 2 with the c-pawn gone: +3. The bishop on 33 without a side-2 knight on 42:
      // -15 (and +8 for leaving home); with the knight there no penalty.
      {0, 0, {{1, 0}, {2, 0}, {10, 0}}, {{0, 0}, {2, R1}}, 3},
      {0, 0, {}, {{5, 0}, {33, B1}}, 8 - 15},
      {0, 0, {{42, N2}, {57, 0}}, {{5, 0}, {33, B1}}, 8},
  };
  // clang-format on
  for (const EvalCase& c : cases) {
    ClearPosition(c.start < 0 ? 0 : static_cast<uint8_t>(c.start));
    if (c.start >= 0) SetStartPosition(Board);
    std::tie(CastleRights[0], Castled[0]) = std::tuple(c.start < 0 ? 0 : c.rights, c.castled);
    for (auto [square, code] : c.setup) Board[square] = code;
    const int before = Evaluate(0);
    for (auto [square, code] : c.change) Board[square] = code;
    EXPECT_EQ(c.change.empty() ? before : Evaluate(0) - before, c.expected)
        << "case " << &c - cases;
  }
}

TEST(Evaluate, PlyOutOfRangeReadsTheLastSlot) {
  ClearPosition(0);
  SetStartPosition(Board);
  CastleRights[PlySlots - 1] = 3;
  EXPECT_EQ(Evaluate(200), -2 - 30 + (-9 - 13) + (-9 - 10));
}

TEST(MaterialBalance, CountsGameBoardWithItsOwnMinorValues) {
  std::memset(GameBoard, 0, sizeof GameBoard);
  for (auto [square, code] :
       Placement{{4, King1}, {10, Bishop1}, {12, Bishop1}, {11, Knight1}, {60, King2}, {50, Rook2}})
    GameBoard[square] = code;
  EXPECT_EQ(MaterialBalance(), 2 * 325 + 300 - 480);
  EXPECT_EQ(PieceCount, 6);
}
