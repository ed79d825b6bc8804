// Long and coordinate move notation in both orientations.
#include "engine/notation.h"

#include <gtest/gtest.h>

#include "engine/state.h"

namespace {

TEST(Notation, SquareNamesFollowTheOrientation) {
  BoardFlipped = 0;
  EXPECT_EQ(SquareName(0), "a8");
  EXPECT_EQ(SquareName(63), "h1");
  EXPECT_EQ(SquareName(52), "e2");
  BoardFlipped = 1;
  EXPECT_EQ(SquareName(0), "h1");
  EXPECT_EQ(SquareName(63), "a8");
  EXPECT_EQ(SquareName(11), "e2");
  EXPECT_EQ(SquareName(27), "e4");
}

TEST(Notation, PlainCaptureAndCheckForms) {
  BoardFlipped = 0;
  EXPECT_EQ(MoveText(12, 28, Pawn1, 0), "e7-e5");
  EXPECT_EQ(MoveText(12, 28 + DoubleStepFlag, Pawn1, 0), "e7-e5");  // flags never shown
  BoardFlipped = 1;
  EXPECT_EQ(MoveText(1, 18, Knight1, 0), "Ng1-f3");

  // f3 is 45 and e5 is 28 with BoardFlipped 0.
  BoardFlipped = 0;
  EXPECT_EQ(MoveText(45, 28 + CaptureFlag, Knight2, 1), "Nf3xe5");
  EXPECT_EQ(MoveText(45, 28 + CaptureFlag, Knight2, 3), "Nf3xe5+");
  EXPECT_EQ(MoveText(45, 28, Knight2, 2), "Nf3-e5+");
  // Only the mode decides the form, not the capture flag.
  EXPECT_EQ(MoveText(45, 28 + CaptureFlag, Knight2, 0), "Nf3-e5");
  EXPECT_EQ(MoveText(63, 62, Rook2, 0), "Rh1-g1");
  EXPECT_EQ(MoveText(3, 11, Queen1, 0), "Qd8-d7");
  EXPECT_EQ(MoveText(2, 9, Bishop1, 0), "Bc8-b7");
  EXPECT_EQ(MoveText(4, 12, King1, 0), "Ke8-e7");
}

TEST(Notation, PromotionLetterShowsWhosePromotionItIs) {
  // Engine as White: e7 is 51, d8 is 60 (internal row 7).
  BoardFlipped = 1;
  PromotionLetter = 'Q';
  EXPECT_EQ(MoveText(51, 60 + PromotionFlag, Pawn1, 3), "e7xd8=Q+");
  // Human as White with BoardFlipped 0: e7 is 12, e8 is 4 (internal row 0).
  BoardFlipped = 0;
  PromotionLetter = 'q';
  EXPECT_EQ(MoveText(12, 4 + PromotionFlag, Pawn2, 0), "e7-e8=q");
  // A side-1 pawn reaching row 0 is not a promotion.
  EXPECT_EQ(MoveText(12, 4, Pawn1, 0), "e7-e8");
  PromotionLetter = 'Q';
}

TEST(Notation, CastlingIsNamedWithOrWithoutCheck) {
  BoardFlipped = 1;  // engine White: e1 is 3, g1 is 1, c1 is 5
  EXPECT_EQ(MoveText(3, 1, King1, 0), "O-O");
  EXPECT_EQ(MoveText(3, 5, King1, 0), "O-O-O");
  EXPECT_EQ(MoveText(3, 1, King1, 2), "O-O+");
  EXPECT_EQ(MoveText(3, 5, King1, 2), "O-O-O+");
  EXPECT_EQ(MoveText(59, 57, King2, 0), "O-O");  // black king e8-g8
  BoardFlipped = 0;
  EXPECT_EQ(MoveText(60, 62, King2, 0), "O-O");
  EXPECT_EQ(MoveText(4, 2, King1, 2), "O-O-O+");
  // Only a king's two-square move from e1/e8 is castling.
  EXPECT_EQ(MoveText(60, 62, Rook2, 0), "Re1-g1");
  EXPECT_EQ(MoveText(60, 61, King2, 2), "Ke1-f1+");
}

TEST(Notation, CoordinateTextDropsTheFlags) {
  BoardFlipped = 0;
  EXPECT_EQ(CoordinateText(52, 36 + DoubleStepFlag), "e2e4");
  EXPECT_EQ(CoordinateText(27, 34 + CaptureFlag), "d5c4");
  BoardFlipped = 1;
  EXPECT_EQ(CoordinateText(11, 27 + DoubleStepFlag), "e2e4");
  EXPECT_EQ(CoordinateText(51, 59 + PromotionFlag), "e7e8");
}

}  // namespace
