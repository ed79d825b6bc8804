#include "engine/setup.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "engine/board.h"
#include "engine/sides.h"
#include "engine/state.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
  if (error != nullptr) *error = "bad FEN: " + message;
  return false;
}

// Black codes 10..15, White 20..25, by FEN letter; 0 for anything else.
uint8_t CodeOfLetter(char letter) {
  constexpr char Kinds[] = "kqrbnp";
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  for (int kind = 0; kind < 6; ++kind) {
    if (Kinds[kind] == lower) return static_cast<uint8_t>((lower == letter ? 10 : 20) + kind);
  }
  return 0;
}

bool ParseBoard(const std::string& field, uint8_t squares[64], std::string* error) {
  int rank = 0, column = 0;
  for (char ch : field) {
    if (ch == '/') {
      if (column != 8)
        return Fail(error, "rank " + std::to_string(8 - rank) + " does not hold 8 squares");
      ++rank;
      column = 0;
      if (rank > 7) return Fail(error, "more than 8 ranks");
      continue;
    }
    if (ch >= '1' && ch <= '8') {
      for (int n = ch - '0'; n > 0; --n) {
        if (column >= 8)
          return Fail(error, "rank " + std::to_string(8 - rank) + " holds more than 8 squares");
        squares[rank * 8 + column++] = Empty;
      }
      continue;
    }
    const uint8_t code = CodeOfLetter(ch);
    if (code == 0) return Fail(error, std::string("unknown piece letter '") + ch + "'");
    if (column >= 8)
      return Fail(error, "rank " + std::to_string(8 - rank) + " holds more than 8 squares");
    squares[rank * 8 + column++] = code;
  }
  if (column != 8)
    return Fail(error, "rank " + std::to_string(8 - rank) + " does not hold 8 squares");
  if (rank != 7) return Fail(error, "the board has " + std::to_string(rank + 1) + " ranks, not 8");

  int kings[2] = {0, 0};
  for (int s = 0; s < 64; ++s) {
    const uint8_t code = squares[s];
    if (code == King1) ++kings[0];
    if (code == King2) ++kings[1];
    if ((code == Pawn1 || code == Pawn2) && (s < 8 || s >= 56)) {
      return Fail(error, "a pawn stands on the first or last rank");
    }
  }
  if (kings[1] == 0) return Fail(error, "White has no king");
  if (kings[0] == 0) return Fail(error, "Black has no king");
  if (kings[1] > 1) return Fail(error, "White has more than one king");
  if (kings[0] > 1) return Fail(error, "Black has more than one king");
  return true;
}

bool IsNumber(const std::string& text) {
  if (text.empty() || text.size() > 6) return false;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
  }
  return true;
}

// Keeps the castling digit's rights whose king and rook stand on their home squares.
template <int Side>
uint8_t CastlingDigit(bool shortRight, bool longRight) {
  using S = SideTraits<Side>;
  const CastlingSquares c = CastlingFor<Side>(BoardFlipped);
  if (GameBoard[c.king] != S::King) return 0;
  uint8_t digit = 0;
  if (shortRight && GameBoard[c.shortRook] == S::Rook) digit += 1;
  if (longRight && GameBoard[c.longRook] == S::Rook) digit += 2;
  return digit;
}

}  // namespace

bool ParseFen(const std::string& fen, FenPosition* position, std::string* error) {
  std::istringstream in(fen);
  std::vector<std::string> fields;
  for (std::string field; in >> field;) fields.push_back(field);
  if (fields.size() < 4 || fields.size() > 6) {
    return Fail(error, "expected 4 to 6 fields, got " + std::to_string(fields.size()));
  }
  FenPosition parsed{};
  if (!ParseBoard(fields[0], parsed.squares, error)) return false;

  if (fields[1] == "w") {
    parsed.whiteToMove = true;
  } else if (fields[1] == "b") {
    parsed.whiteToMove = false;
  } else {
    return Fail(error, "side to move '" + fields[1] + "' is not w or b");
  }

  if (fields[2] != "-") {
    for (char ch : fields[2]) {
      bool* right = ch == 'K'   ? &parsed.whiteShort
                    : ch == 'Q' ? &parsed.whiteLong
                    : ch == 'k' ? &parsed.blackShort
                    : ch == 'q' ? &parsed.blackLong
                                : nullptr;
      if (right == nullptr || *right) return Fail(error, "bad castling field '" + fields[2] + "'");
      *right = true;
    }
  }

  const std::string& ep = fields[3];
  if (ep != "-") {
    const char wantedRank = parsed.whiteToMove ? '6' : '3';
    if (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || ep[1] != wantedRank) {
      return Fail(error, "bad en-passant field '" + ep + "'");
    }
    parsed.epFile = ep[0] - 'a' + 1;
  }

  for (size_t i = 4; i < fields.size(); ++i) {
    if (!IsNumber(fields[i]))
      return Fail(error, "move counter '" + fields[i] + "' is not a number");
  }
  parsed.halfMoveClock = fields.size() > 4 ? std::stoi(fields[4]) : 0;
  parsed.fullMoveNumber = fields.size() > 5 ? std::max(1, std::stoi(fields[5])) : 1;
  *position = parsed;
  return true;
}

void InstallPosition(const FenPosition& position, bool engineWhite) {
  BoardFlipped = engineWhite ? 1 : 0;
  for (int s = 0; s < 64; ++s) GameBoard[s] = position.squares[s];
  if (BoardFlipped) TurnBoard(GameBoard);

  const bool engineShort = engineWhite ? position.whiteShort : position.blackShort;
  const bool engineLong = engineWhite ? position.whiteLong : position.blackLong;
  const bool otherShort = engineWhite ? position.blackShort : position.whiteShort;
  const bool otherLong = engineWhite ? position.blackLong : position.whiteLong;
  GameCastleRights = static_cast<uint8_t>(10 * CastlingDigit<1>(engineShort, engineLong) +
                                          CastlingDigit<2>(otherShort, otherLong));

  // File a is column 0 with BoardFlipped 0 and column 7 with BoardFlipped 1.
  GameEpFile = 0;
  if (position.epFile >= 1 && position.epFile <= 8) {
    GameEpFile = static_cast<uint8_t>(BoardFlipped ? 9 - position.epFile : position.epFile);
  }
  GameCastled = 0;

  for (int s = 0; s < 64; ++s) Board[s] = GameBoard[s];
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
  SetPieceValues();
}

bool SetupFromFen(const std::string& fen, bool asOpponent, std::string* error) {
  FenPosition position;
  if (!ParseFen(fen, &position, error)) return false;
  InstallPosition(position, asOpponent ? !position.whiteToMove : position.whiteToMove);
  return true;
}
