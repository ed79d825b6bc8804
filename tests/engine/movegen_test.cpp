#include "engine/movegen.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/board.h"
#include "engine/state.h"

namespace {

using Entry = std::pair<int, int>;  // from-square, encoded MoveTo

void ClearPosition(uint8_t flipped) {
  BoardFlipped = flipped;
  SetPieceValues();
  for (uint8_t& square : Board) square = Empty;
  for (int p = 0; p < PlySlots; ++p) {
    EpFile[p] = 0;
    CastleRights[p] = 0;
    Castled[p] = 0;
    InCheck1[p] = InCheck2[p] = 0;
    KillerFrom[p] = KillerTo[p] = 0;
    LastMove[p] = 0;
  }
  HashMoveFrom = HashMoveTo = 0;
}

std::vector<Entry> Row(int ply, uint8_t last) {
  std::vector<Entry> row;
  if (last == NoMoves) return row;
  for (int i = 0; i <= last; ++i) row.emplace_back(MoveFrom[ply][i], MoveTo[ply][i]);
  return row;
}

bool Contains(const std::vector<Entry>& row, Entry entry) {
  for (const Entry& e : row) {
    if (e == entry) return true;
  }
  return false;
}

TEST(MoveGeneration, StartPositionOrder) {
  ClearPosition(0);
  SetStartPosition(Board);
  CastleRights[0] = 33;
  const uint8_t last = GenerateMoves1(0);
  ASSERT_EQ(last, 19);
  // Quiet moves come out in reverse of the scan: pawns from square 15 down, each double step
  // before its single step, then the knights on 6 and 1.
  std::vector<Entry> expected;
  for (int s = 15; s >= 8; --s) {
    expected.emplace_back(s, s + 16 + 128);
    expected.emplace_back(s, s + 8);
  }
  expected.insert(expected.end(), {{6, 21}, {6, 23}, {1, 16}, {1, 18}});
  EXPECT_EQ(Row(0, last), expected);
}

TEST(MoveGeneration, PromotionIsNoisyAndComesBeforeQuietMoves) {
  ClearPosition(0);
  Board[0] = King1;
  Board[63] = King2;
  Board[50] = Pawn1;  // row 6
  Board[18] = Knight1;
  const uint8_t last = GenerateMoves1(0);
  ASSERT_NE(last, NoMoves);
  EXPECT_EQ(MoveFrom[0][0], 50);
  EXPECT_EQ(MoveTo[0][0], 50 + 200);
  for (int i = 1; i <= last; ++i) EXPECT_LT(MoveTo[0][i], 64) << i;
}

TEST(MoveGeneration, EnPassantForBothSides) {
  ClearPosition(0);
  Board[4] = King1;
  Board[60] = King2;
  Board[34] = Pawn2;  // has just come from 50
  Board[35] = Pawn1;
  EpFile[0] = 3;
  EXPECT_TRUE(Contains(Row(0, GenerateMoves1(0)), Entry(35, 106)));
  EpFile[0] = 0;
  EXPECT_FALSE(Contains(Row(0, GenerateMoves1(0)), Entry(35, 106)));

  // Side 1 pawn on 33 next to the same pawn captures towards the higher column.
  Board[35] = Empty;
  Board[33] = Pawn1;
  EpFile[0] = 3;
  EXPECT_TRUE(Contains(Row(0, GenerateMoves1(0)), Entry(33, 42 + 64)));

  // Side 2: a side-1 pawn has just come from 10 to 26 (column 2, EpFile 3).
  ClearPosition(0);
  Board[4] = King1;
  Board[60] = King2;
  Board[26] = Pawn1;
  Board[27] = Pawn2;
  Board[25] = Pawn2;
  EpFile[0] = 3;
  const std::vector<Entry> row = Row(0, GenerateMoves2(0));
  EXPECT_TRUE(Contains(row, Entry(27, 18 + 64)));
  EXPECT_TRUE(Contains(row, Entry(25, 18 + 64)));
}

TEST(MoveGeneration, CastlingNeedsRightsFreeSquaresRookAndNoCheck) {
  ClearPosition(0);
  Board[0] = Rook1;
  Board[4] = King1;
  Board[7] = Rook1;
  Board[60] = King2;
  CastleRights[0] = 30;
  std::vector<Entry> row = Row(0, GenerateMoves1(0));
  EXPECT_TRUE(Contains(row, Entry(4, 6)));
  EXPECT_TRUE(Contains(row, Entry(4, 2)));

  InCheck1[0] = 1;
  row = Row(0, GenerateMoves1(0));
  EXPECT_FALSE(Contains(row, Entry(4, 6)));
  EXPECT_FALSE(Contains(row, Entry(4, 2)));
  InCheck1[0] = 0;

  CastleRights[0] = 10;  // short only
  row = Row(0, GenerateMoves1(0));
  EXPECT_TRUE(Contains(row, Entry(4, 6)));
  EXPECT_FALSE(Contains(row, Entry(4, 2)));

  CastleRights[0] = 30;
  Board[1] = Knight1;  // blocks the long side
  Board[7] = Empty;    // no rook on the short corner
  row = Row(0, GenerateMoves1(0));
  EXPECT_FALSE(Contains(row, Entry(4, 6)));
  EXPECT_FALSE(Contains(row, Entry(4, 2)));
}

TEST(MoveGeneration, CaptureOrderingPutsTheLowestKeyFirst) {
  ClearPosition(0);
  Board[0] = King1;
  Board[63] = King2;
  Board[20] = Queen1;  // captures the pawn on 44 (key 800), generated first
  Board[44] = Pawn2;
  Board[27] = Pawn1;  // captures the queen on 36 (key -800)
  Board[36] = Queen2;
  uint8_t last = GenerateMoves1(0);
  ASSERT_NE(last, NoMoves);
  EXPECT_EQ(Row(0, last)[0], Entry(27, 36 + 64));

  // Two captures with equal keys keep their generation order at the front.
  ClearPosition(0);
  Board[0] = King1;
  Board[63] = King2;
  Board[18] = Knight1;  // takes the knight on 35
  Board[35] = Knight2;
  Board[21] = Knight1;  // takes the knight on 38
  Board[38] = Knight2;
  last = GenerateMoves1(0);
  std::vector<Entry> row = Row(0, last);
  EXPECT_EQ(row[0], Entry(18, 35 + 64));
  EXPECT_EQ(row[1], Entry(21, 38 + 64));
}

TEST(MoveGeneration, KillerAndHashMoveGoToTheFront) {
  ClearPosition(0);
  SetStartPosition(Board);
  Board[20] = Knight2;  // the pawns on 11 and 13 can take it
  uint8_t last = GenerateMoves1(0);
  std::vector<Entry> plain = Row(0, last);
  ASSERT_EQ(plain[0], Entry(11, 20 + 64));
  ASSERT_EQ(plain[1], Entry(13, 20 + 64));

  KillerFrom[0] = 6;
  KillerTo[0] = 21;
  std::vector<Entry> withKiller = Row(0, GenerateMoves1(0));
  EXPECT_EQ(withKiller[0], Entry(6, 21));
  EXPECT_EQ(withKiller[1], Entry(11, 20 + 64));
  EXPECT_EQ(withKiller.size(), plain.size());

  HashMoveFrom = 14;
  HashMoveTo = 30 + 128;
  std::vector<Entry> withHash = Row(0, GenerateMoves1(0));
  EXPECT_EQ(withHash[0], Entry(14, 30 + 128));
  EXPECT_EQ(withHash[1], Entry(6, 21));
  EXPECT_EQ(withHash[2], Entry(11, 20 + 64));

  // A killer whose square no longer holds the mover's piece, and a hash move that is not in
  // the list, leave the order alone.
  KillerFrom[0] = 30;
  KillerTo[0] = 38;
  HashMoveFrom = 12;
  HashMoveTo = 44;
  EXPECT_EQ(Row(0, GenerateMoves1(0)), plain);
}

TEST(MoveGeneration, RowsStopAt151Entries) {
  ClearPosition(0);
  Board[0] = King1;
  Board[63] = King2;
  // Ten queens spread over the board have far more than 151 moves.
  const int queens[] = {9, 14, 19, 22, 27, 34, 41, 44, 49, 54};
  for (int s : queens) Board[s] = Queen1;
  for (int i = 0; i < MoveListSize; ++i) MoveFrom[1][i] = MoveTo[1][i] = 0xEE;
  EXPECT_EQ(GenerateMoves1(0), MoveListSize - 1);
  for (int i = 0; i < MoveListSize; ++i) {
    ASSERT_EQ(MoveFrom[1][i], 0xEE) << "row 1 was written at " << i;
    ASSERT_EQ(MoveTo[1][i], 0xEE);
  }
  for (int i = 0; i < MoveListSize; ++i) EXPECT_EQ(Board[MoveFrom[0][i]] / 10, 1) << i;
}

TEST(Recaptures, OnlyTheFirstPieceOfARayAndAllKindsInOrder) {
  ClearPosition(0);
  Board[0] = King1;
  Board[63] = King2;
  RecaptureSquare = 27;
  Board[43] = Queen2;  // +16 on the file: the queen stands first
  Board[51] = Rook2;   // behind the queen: not listed
  EXPECT_EQ(GenerateRecaptures2(0), 0);
  EXPECT_EQ(MoveFrom[0][0], 43);
  EXPECT_EQ(MoveTo[0][0], 27 + 64);

  Board[44] = Knight2;  // 27 + 17
  Board[34] = Pawn2;    // 27 + 7
  Board[35] = King2;    // 27 + 8: a neighbour, and now the first piece of the queen's ray
  const uint8_t last = GenerateRecaptures2(0);
  std::vector<Entry> row = Row(0, last);
  const std::vector<Entry> expected = {{44, 27 + 64}, {34, 27 + 64}, {35, 27 + 64}};
  EXPECT_EQ(row, expected);

  // A side-1 pawn recapturing onto row 7 promotes.
  ClearPosition(0);
  Board[0] = King1;
  Board[40] = King2;
  RecaptureSquare = 58;
  Board[49] = Pawn1;
  Board[51] = Pawn1;
  row = Row(0, GenerateRecaptures1(0));
  EXPECT_EQ(row, (std::vector<Entry>{{49, 58 + 192}, {51, 58 + 192}}));

  RecaptureSquare = 20;
  EXPECT_EQ(GenerateRecaptures1(0), NoMoves);
}

}  // namespace
