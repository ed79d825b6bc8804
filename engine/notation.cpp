#include "engine/notation.h"

#include "engine/state.h"

char PromotionLetter = 'Q';

namespace {

char PieceLetter(uint8_t piece) {
  switch (piece) {
    case King1:
    case King2:
      return 'K';
    case Queen1:
    case Queen2:
      return 'Q';
    case Rook1:
    case Rook2:
      return 'R';
    case Bishop1:
    case Bishop2:
      return 'B';
    case Knight1:
    case Knight2:
      return 'N';
    default:
      return 0;  // pawns and anything else carry no letter
  }
}

// The king's two-square moves from its home square are castling in real squares too.
const char* CastlingText(const std::string& text) {
  if (text == "Ke1-g1" || text == "Ke8-g8") return "O-O";
  if (text == "Ke1-c1" || text == "Ke8-c8") return "O-O-O";
  return nullptr;
}

}  // namespace

std::string SquareName(uint8_t square) {
  int file = ColumnOf(square & 63), row = RowOf(square & 63);
  std::string name(2, ' ');
  if (BoardFlipped) {
    name[0] = static_cast<char>('h' - file);
    name[1] = static_cast<char>('1' + row);
  } else {
    name[0] = static_cast<char>('a' + file);
    name[1] = static_cast<char>('8' - row);
  }
  return name;
}

std::string MoveText(uint8_t from, uint8_t to, uint8_t piece, uint8_t mode) {
  bool capture = mode == 1 || mode == 3;
  bool check = mode == 2 || mode == 3;
  int target = TargetOf(to);

  std::string text;
  if (char letter = PieceLetter(piece)) text += letter;
  text += SquareName(from);
  text += capture ? 'x' : '-';
  text += SquareName(static_cast<uint8_t>(target));
  if ((piece == Pawn1 && RowOf(target) == 7) || (piece == Pawn2 && RowOf(target) == 0)) {
    text += '=';
    text += PromotionLetter;
  }
  // Castling is named before the check mark so that a checking castle reads "O-O+".
  if (const char* castling = CastlingText(text)) text = castling;
  if (check) text += '+';
  return text;
}

std::string CoordinateText(uint8_t from, uint8_t to) {
  return SquareName(from) + SquareName(static_cast<uint8_t>(TargetOf(to)));
}
