#include "engine/board.h"

#include <gtest/gtest.h>

#include "engine/state.h"

namespace {

// Square of a coordinate by the orientation table: (8 - rank) * 8 + file, or
// (rank - 1) * 8 + (7 - file).
int SquareOf(const char* name, int flipped) {
  int file = name[0] - 'a', rank = name[1] - '0';
  return flipped ? (rank - 1) * 8 + (7 - file) : (8 - rank) * 8 + file;
}

TEST(Board, PieceValuesBySideAndKind) {
  SetPieceValues();
  const int16_t expected[6] = {5000, 900, 480, 320, 305, 100};
  for (int kind = 0; kind < 6; ++kind) {
    EXPECT_EQ(PieceValue[10 + kind], expected[kind]);
    EXPECT_EQ(PieceValue[20 + kind], -expected[kind]);
  }
  for (int code : {0, 1, 9, 16, 19}) EXPECT_EQ(PieceValue[code], 0) << code;
}

TEST(Board, StartPositionInBothOrientations) {
  uint8_t board[64];
  for (int flipped = 0; flipped < 2; ++flipped) {
    BoardFlipped = static_cast<uint8_t>(flipped);
    SetStartPosition(board);
    // Kings on their e-file squares, queens on the d-file.
    EXPECT_EQ(board[SquareOf(flipped ? "e1" : "e8", flipped)], King1);
    EXPECT_EQ(board[SquareOf(flipped ? "d1" : "d8", flipped)], Queen1);
    EXPECT_EQ(board[SquareOf(flipped ? "e8" : "e1", flipped)], King2);
    EXPECT_EQ(board[SquareOf(flipped ? "d8" : "d1", flipped)], Queen2);
    EXPECT_EQ(board[flipped ? 3 : 4], King1);
    EXPECT_EQ(board[flipped ? 59 : 60], King2);
    for (int s = 8; s < 16; ++s) EXPECT_EQ(board[s], Pawn1);
    for (int s = 16; s < 48; ++s) EXPECT_EQ(board[s], Empty);
    for (int s = 48; s < 56; ++s) EXPECT_EQ(board[s], Pawn2);
    for (int s : {0, 7}) EXPECT_EQ(board[s], Rook1);
    for (int s : {1, 6}) EXPECT_EQ(board[s], Knight1);
    for (int s : {2, 5}) EXPECT_EQ(board[s], Bishop1);
  }
  EXPECT_EQ(SquareOf("e2", 0), 52);
  EXPECT_EQ(SquareOf("e4", 0), 36);
  EXPECT_EQ(SquareOf("e2", 1), 11);
  EXPECT_EQ(SquareOf("e4", 1), 27);
}

TEST(Board, TurningTheStartPositionGivesTheOtherOrientation) {
  uint8_t turned[64], flippedStart[64];
  BoardFlipped = 0;
  SetStartPosition(turned);
  TurnBoard(turned);
  BoardFlipped = 1;
  SetStartPosition(flippedStart);
  for (int s = 0; s < 64; ++s) EXPECT_EQ(turned[s], flippedStart[s]) << "square " << s;
  TurnBoard(turned);
  BoardFlipped = 0;
  SetStartPosition(flippedStart);
  for (int s = 0; s < 64; ++s) EXPECT_EQ(turned[s], flippedStart[s]) << "square " << s;
}

}  // namespace
