// Evaluation terms checked against hand-worked sums.
#include "engine/evaluate.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/board.h"
#include "engine/setup.h"
#include "engine/state.h"

namespace {

void ClearBoard() {
  std::memset(Board, 0, sizeof Board);
  SetPieceValues();
  CastleRights[0] = 0;
  Castled[0] = 0;
}

// Start position of the orientation with both sides free to castle both ways.
void StartBoard(uint8_t flipped) {
  BoardFlipped = flipped;
  SetPieceValues();
  SetStartPosition(Board);
  CastleRights[0] = 33;
  Castled[0] = 0;
}

// Evaluate(0) after moving the piece on from to to.
int EvalAfterMove(int from, int to) {
  uint8_t saved[64];
  std::memcpy(saved, Board, sizeof Board);
  Board[to] = Board[from];
  Board[from] = Empty;
  int score = Evaluate(0);
  std::memcpy(Board, saved, sizeof Board);
  return score;
}

TEST(Evaluate, StartPositionIsMinusTwoInBothOrientations) {
  // Only the knights differ: 1 + 2 for side 1 on row 0, 2 + 3 for side 2 on row 7.
  StartBoard(0);
  EXPECT_EQ(Evaluate(0), -2);
  StartBoard(1);
  EXPECT_EQ(Evaluate(0), -2);
}

TEST(Evaluate, PassedPawnsScoreTheSquareOfTheirProgress) {
  ClearBoard();
  BoardFlipped = 0;
  Board[4] = King1;
  Board[60] = King2;
  int kings = Evaluate(0);

  Board[43] = Pawn1;  // row 5, nothing in front or beside
  EXPECT_EQ(Evaluate(0) - kings, 100 + 25);
  Board[43] = Empty;

  Board[19] = Pawn2;  // row 2: seven minus two, squared
  EXPECT_EQ(Evaluate(0) - kings, -100 - 25);
}

TEST(Evaluate, NeighbourPawnDecidesWhetherAPawnIsPassed) {
  ClearBoard();
  Board[4] = King1;
  Board[60] = King2;
  int kings = Evaluate(0);
  Board[35] = Pawn1;  // column 3, row 4

  // Side-2 pawn beside it one row further on (row 5): neither pawn is passed.
  Board[44] = Pawn2;
  EXPECT_EQ(Evaluate(0) - kings, 0);
  Board[44] = Empty;

  // On row 4: side 1's pawn is passed (+16) and so is side 2's (-(7-4)^2 = -9).
  Board[36] = Pawn2;
  EXPECT_EQ(Evaluate(0) - kings, 16 - 9);
  Board[36] = Empty;

  // On row 3: both passed again, +16 and -(7-3)^2.
  Board[28] = Pawn2;
  EXPECT_EQ(Evaluate(0) - kings, 16 - 16);
}

TEST(Evaluate, DoubledTripledPawnsAndIslands) {
  ClearBoard();
  Board[4] = King1;
  Board[60] = King2;
  Board[59] = Queen2;  // keeps the score low so the end-game term stays out
  int base = Evaluate(0);

  // Three pawns in column 0: -35 once, one island, passed with its front pawn on row 3.
  Board[8] = Pawn1;
  Board[16] = Pawn1;
  Board[24] = Pawn1;
  EXPECT_EQ(Evaluate(0) - base, 300 - 35 + 9);

  // Two in a column: -14. A second island (column 2) costs 6; a pawn on row 1 adds 1.
  Board[8] = Empty;
  Board[10] = Pawn1;
  EXPECT_EQ(Evaluate(0) - base, 300 - 14 - 6 + 9 + 1);
}

TEST(Evaluate, BishopPairAndPiecePlacement) {
  ClearBoard();
  Board[4] = King1;
  Board[60] = King2;
  Board[59] = Queen2;  // keeps the score low so the end-game term stays out
  int kings = Evaluate(0);

  Board[9] = Bishop1;   // column 1, row 1: +4
  Board[27] = Bishop1;  // no placement bonus
  EXPECT_EQ(Evaluate(0) - kings, 640 + 4 + 15);
  Board[27] = Empty;
  Board[50] = Rook1;  // row 6: +5
  EXPECT_EQ(Evaluate(0) - kings, 320 + 4 + 480 + 5);
  Board[50] = Empty;
  Board[9] = Empty;
  Board[27] = Knight1;  // column 3, row 3: 3 + 3
  EXPECT_EQ(Evaluate(0) - kings, 305 + 6);
}

TEST(Evaluate, KingTermsOnlyAgainstAQueen) {
  ClearBoard();
  Board[27] = King1;  // column 3, row 3: three from each edge
  Board[63] = King2;  // corner
  Board[56] = Queen1;
  Board[0] = Queen2;
  Castled[0] = 10;  // side 1 castled short
  // Side 1: +45 castled, -6 -6 for its central king; side 2: nothing at the corner.
  EXPECT_EQ(Evaluate(0), 45 - 12);
  // Side 2 without its queen: +25 for having castled, no king term; with five pieces and
  // side 1 ahead the end-game term adds 6 x (3 + 3) + 4 x ((7 - 4) + (7 - 4)).
  Board[0] = Empty;
  EXPECT_EQ(Evaluate(0), 900 + 25 + 36 + 24);
}

TEST(Evaluate, EndGameDrivesTheLosingKingToTheEdge) {
  ClearBoard();
  Board[27] = King1;  // (3, 3)
  Board[8] = Rook1;
  Board[9] = Rook1;
  Board[0] = King2;  // corner: 6 x (4 + 4), kings 4 x ((7 - 3) + (7 - 3))
  EXPECT_EQ(Evaluate(0), 960 + 48 + 32);
  Board[0] = Empty;
  Board[63] = King2;  // 6 x (3 + 3), kings 4 x ((7 - 4) + (7 - 4))
  EXPECT_EQ(Evaluate(0), 960 + 36 + 24);

  // Seven pieces: no end-game term.
  Board[40] = Knight2;
  Board[47] = Knight2;
  Board[15] = Knight1;
  // Knights: side 1 on (7, 1) 1 + 1; side 2 on (0, 5) 0 + 3 and (7, 5) 1 + 3.
  EXPECT_EQ(Evaluate(0), 960 + 305 - 610 + (1 + 1) - (3 + 4));

  // Side 2 ahead gets no such term.
  ClearBoard();
  Board[27] = King2;
  Board[48] = Rook2;
  Board[49] = Rook2;
  Board[0] = King1;
  EXPECT_EQ(Evaluate(0), -960);
}

TEST(Evaluate, OpeningTermsNeedEighteenPieces) {
  StartBoard(0);
  // Pawns of columns 0..6 of both sides gone: 18 pieces left.
  for (int c = 0; c < 7; ++c) Board[8 + c] = Board[48 + c] = Empty;
  // Knight from 1 to 18: placement 1 -> 4 (+3); in the opening also its -6 at home goes
  // and 18 is worth +4.
  EXPECT_EQ(EvalAfterMove(1, 18) - Evaluate(0), 3 + 6 + 4);
  Board[55] = Empty;  // 17 pieces: placement only
  EXPECT_EQ(EvalAfterMove(1, 18) - Evaluate(0), 3);
}

TEST(Evaluate, OpeningCentreAndWingPawnsInBothOrientations) {
  // e-pawn to the centre: +8 in either orientation (the mirrored square).
  StartBoard(0);
  EXPECT_EQ(EvalAfterMove(12, 28) - Evaluate(0), 8);
  StartBoard(1);
  EXPECT_EQ(EvalAfterMove(11, 27) - Evaluate(0), 8);

  // Side 1's h-pawn two up: loses +5 at home, then -20 (BoardFlipped 0) but -25 on the
  // mirrored square with BoardFlipped 1; the g-pawn the other way round.
  StartBoard(0);
  EXPECT_EQ(EvalAfterMove(15, 31) - Evaluate(0), -5 - 20);
  EXPECT_EQ(EvalAfterMove(14, 30) - Evaluate(0), -3 - 25);
  StartBoard(1);
  EXPECT_EQ(EvalAfterMove(8, 24) - Evaluate(0), -5 - 25);
  EXPECT_EQ(EvalAfterMove(9, 25) - Evaluate(0), -3 - 20);

  // Side 2's wing pawns two up: +25 g, +20 h with BoardFlipped 0; exchanged with 1.
  StartBoard(0);
  EXPECT_EQ(EvalAfterMove(54, 38) - Evaluate(0), 3 + 25);
  EXPECT_EQ(EvalAfterMove(55, 39) - Evaluate(0), 5 + 20);
  EXPECT_EQ(EvalAfterMove(48, 32) - Evaluate(0), 5 + 10);
  StartBoard(1);
  EXPECT_EQ(EvalAfterMove(49, 33) - Evaluate(0), 3 + 20);
  EXPECT_EQ(EvalAfterMove(48, 32) - Evaluate(0), 5 + 25);
  EXPECT_EQ(EvalAfterMove(55, 39) - Evaluate(0), 5 + 10);
}

TEST(Evaluate, WingPawnsWithoutCastlingRightsCostThreeOrTwo) {
  // No rights for side 1: the rights bonus (+30) goes and both wings switch to the
  // "otherwise" rows: three pairs at -3 each (BoardFlipped 0) or -2 each (1) per wing,
  // instead of +13 on the short side and +10 on the long side.
  StartBoard(0);
  int full = Evaluate(0);
  CastleRights[0] = 3;
  EXPECT_EQ(Evaluate(0) - full, -30 + (-9 - 13) + (-9 - 10));
  // The state is read at the ply asked for; a ply out of range reads the last slot.
  CastleRights[0] = 33;
  CastleRights[PlySlots - 1] = 3;
  Castled[PlySlots - 1] = 0;
  EXPECT_EQ(Evaluate(200) - full, -30 + (-9 - 13) + (-9 - 10));
  StartBoard(1);
  full = Evaluate(0);
  CastleRights[0] = 3;
  EXPECT_EQ(Evaluate(0) - full, -30 + (-6 - 13) + (-6 - 10));
}

TEST(Evaluate, CastledShelterCountsTheFirstOpenFileOnly) {
  StartBoard(1);
  Castled[0] = 10;  // pretend side 1 castled short: +45 and the shelter terms
  int sheltered = Evaluate(0);
  // Without the pawn on 9 (mirror of 14): -100, shelter -70, its +3 at home, and a second
  // pawn island (-6).
  Board[9] = Empty;
  EXPECT_EQ(Evaluate(0) - sheltered, -100 - 70 - 3 - 6);
  // Without 8 as well only one shelter penalty applies; the +5 of the h-pawn goes, the
  // islands are one again, and side 2's pawn on 48 is now passed (-(7 - 6)^2).
  Board[8] = Empty;
  EXPECT_EQ(Evaluate(0) - sheltered, -200 - 70 - 3 - 5 - 1);
  // The pawn one step up on 17 (mirror of 22) still shelters but costs 10, and its +3
  // at home goes.
  Board[8] = Pawn1;
  Board[17] = Pawn1;
  EXPECT_EQ(Evaluate(0) - sheltered, -10 - 3);

  StartBoard(0);
  Castled[0] = 1;  // side 2 castled short: -45, shelter on 54/46 then 55/47
  int side2 = Evaluate(0);
  Board[54] = Empty;
  EXPECT_EQ(Evaluate(0) - side2, 100 + 70 + 3 + 6);
}

TEST(Evaluate, BishopBehindItsCentrePawnInBothOrientations) {
  // A bishop on the square in front of its unmoved d/e pawn: -70; it also leaves home (+5).
  StartBoard(0);
  EXPECT_EQ(EvalAfterMove(2, 19) - Evaluate(0), 5 - 70);
  StartBoard(1);
  EXPECT_EQ(EvalAfterMove(5, 20) - Evaluate(0), 5 - 70);
  // Side 2's mirror: +70, and its own home penalty of +5 goes.
  StartBoard(0);
  EXPECT_EQ(EvalAfterMove(61, 44) - Evaluate(0), -8 + 70);
}

TEST(Evaluate, RooksAndTheUnpinningBishop) {
  StartBoard(0);
  // Side 1's rook from 0 to 2 with the c-pawn gone: +3 (bishop and knight moved aside).
  Board[1] = Board[2] = Empty;
  Board[10] = Empty;
  int before = Evaluate(0);
  // Rook 0 -> 2: rook term +3; the c-pawn's column is empty either way.
  EXPECT_EQ(EvalAfterMove(0, 2) - before, 3);

  // Bishop on 33 without a side-2 knight on 42: -15 (the bishop also leaves home: +5).
  StartBoard(0);
  EXPECT_EQ(EvalAfterMove(5, 33) - Evaluate(0), 8 - 15);
  Board[42] = Knight2;
  Board[57] = Empty;
  int knightOut = Evaluate(0);
  EXPECT_EQ(EvalAfterMove(5, 33) - knightOut, 8);
}

TEST(Evaluate, FenPositionWithTheEngineToMove) {
  // After 1. e4 with the engine as Black (BoardFlipped 0): the start's -2 and -8 for
  // White's pawn on e4; the pawn left e2, which carries no term.
  std::string error;
  ASSERT_TRUE(
      SetupFromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", false, &error))
      << error;
  ASSERT_EQ(BoardFlipped, 0);
  CastleRights[0] = 33;
  Castled[0] = 0;
  EXPECT_EQ(Evaluate(0), -2 - 8);
}

TEST(MaterialBalance, CountsGameBoardWithItsOwnMinorValues) {
  BoardFlipped = 0;
  SetStartPosition(GameBoard);
  EXPECT_EQ(MaterialBalance(), 0);
  EXPECT_EQ(PieceCount, 32);

  std::memset(GameBoard, 0, sizeof GameBoard);
  GameBoard[4] = King1;
  GameBoard[10] = Bishop1;
  GameBoard[11] = Knight1;
  GameBoard[60] = King2;
  GameBoard[50] = Rook2;
  EXPECT_EQ(MaterialBalance(), 325 + 300 - 480);
  EXPECT_EQ(PieceCount, 5);
}

}  // namespace
