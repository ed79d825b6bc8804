// Long move notation in both orientations; the coordinate form is read by the book, search
// and kvtool tests.
#include "test_util.h"

TEST(Notation, LongFormInBothOrientations) {
  // BoardFlipped, from, encoded to, piece, mode, PromotionLetter, text.
  const std::tuple<uint8_t, uint8_t, uint8_t, uint8_t, uint8_t, char, const char*> cases[] = {
      {0, 12, 28, Pawn1, 0, 'Q', "e7-e5"},
      {0, 12, 28 + DoubleStepFlag, Pawn1, 0, 'Q', "e7-e5"},  // flags are never shown
      {1, 1, 18, Knight1, 0, 'Q', "Ng1-f3"},
      {0, 45, 28 + CaptureFlag, Knight2, 1, 'Q', "Nf3xe5"},
      {0, 45, 28 + CaptureFlag, Knight2, 3, 'Q', "Nf3xe5+"},
      {0, 45, 28, Knight2, 2, 'Q', "Nf3-e5+"},
      {0, 45, 28 + CaptureFlag, Knight2, 0, 'Q', "Nf3-e5"},  // only the mode shows a capture
      {0, 3, 11, Queen1, 0, 'Q', "Qd8-d7"},
      {0, 2, 9, Bishop1, 0, 'Q', "Bc8-b7"},
      // Promotions: the engine's with its letter, the human's with 'q'; a side-1 pawn reaching
      // row 0 does not promote.
      {1, 51, 60 + PromotionFlag, Pawn1, 3, 'Q', "e7xd8=Q+"},
      {0, 12, 4 + PromotionFlag, Pawn2, 0, 'q', "e7-e8=q"},
      {0, 12, 4, Pawn1, 0, 'q', "e7-e8"},
      // Castling, with the check sign when it gives check; only a king's two-square move from
      // its home square is castling.
      {1, 3, 1, King1, 0, 'Q', "O-O"},
      {1, 3, 5, King1, 0, 'Q', "O-O-O"},
      {1, 3, 1, King1, 2, 'Q', "O-O+"},
      {1, 59, 57, King2, 0, 'Q', "O-O"},
      {0, 4, 2, King1, 2, 'Q', "O-O-O+"},
      {0, 4, 12, King1, 0, 'Q', "Ke8-e7"},
      {0, 60, 62, Rook2, 0, 'Q', "Re1-g1"},
      {0, 60, 61, King2, 2, 'Q', "Ke1-f1+"},
  };
  for (auto [flipped, from, to, piece, mode, letter, text] : cases) {
    std::tie(BoardFlipped, PromotionLetter) = std::tuple(flipped, letter);
    EXPECT_EQ(MoveText(from, to, piece, mode), text);
  }
  PromotionLetter = 'Q';
}
