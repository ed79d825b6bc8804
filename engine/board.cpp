#include "engine/board.h"

#include "engine/state.h"

namespace {

constexpr int16_t KindValue[6] = {5000, 900, 480, 320, 305, 100};

// Back ranks of side 1 (squares 0..7) and side 2 (56..63) in each orientation; the kings
// stand on the e-file, which is column 4 with BoardFlipped 0 and column 3 with 1.
constexpr uint8_t BackRank1[2][8] = {{12, 14, 13, 11, 10, 13, 14, 12},
                                     {12, 14, 13, 10, 11, 13, 14, 12}};
constexpr uint8_t BackRank2[2][8] = {{22, 24, 23, 21, 20, 23, 24, 22},
                                     {22, 24, 23, 20, 21, 23, 24, 22}};

uint8_t SwapSide(uint8_t code) {
  if (code >= 10 && code <= 19) return static_cast<uint8_t>(code + 10);
  if (code >= 20 && code <= 29) return static_cast<uint8_t>(code - 10);
  return code;
}

}  // namespace

void SetPieceValues() {
  for (int16_t& value : PieceValue) value = 0;
  for (int kind = 0; kind < 6; ++kind) {
    PieceValue[10 + kind] = KindValue[kind];
    PieceValue[20 + kind] = static_cast<int16_t>(-KindValue[kind]);
  }
}

void SetStartPosition(uint8_t board[64]) {
  int orientation = BoardFlipped ? 1 : 0;
  for (int s = 0; s < 64; ++s) board[s] = Empty;
  for (int c = 0; c < 8; ++c) {
    board[c] = BackRank1[orientation][c];
    board[8 + c] = Pawn1;
    board[48 + c] = Pawn2;
    board[56 + c] = BackRank2[orientation][c];
  }
}

void TurnBoard(uint8_t board[64]) {
  for (int s = 0; s < 32; ++s) {
    uint8_t low = board[s], high = board[63 - s];
    board[s] = SwapSide(high);
    board[63 - s] = SwapSide(low);
  }
}
