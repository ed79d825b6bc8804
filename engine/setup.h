// Setting the game up from a FEN text (kvtool, the console's setboard, tests).
#pragma once
#include <cstdint>
#include <string>

// A position as the FEN gives it, in real colours: square 0 is a8, square 63 is h1, and the
// codes are 10..15 for Black and 20..25 for White (the engine's orientation with BoardFlipped 0).
struct FenPosition {
  uint8_t squares[64];
  bool whiteToMove;
  bool whiteShort, whiteLong, blackShort, blackLong;  // castling field
  int epFile;                                         // 0 none, else 1..8 for files a..h
  int halfMoveClock;   // half-moves since a pawn move or capture; 0 when the FEN has none
  int fullMoveNumber;  // number of the next move; 1 when the FEN has none
};

// Parses the board, side, castling and en-passant fields (the move counters may be absent).
// On bad input returns false and sets error to a one-line message.
bool ParseFen(const std::string& fen, FenPosition* position, std::string* error);

// Installs a parsed position as the game position with the engine playing engineWhite:
// sets BoardFlipped, GameBoard, GameCastleRights (only rights whose king and rook stand at
// home), GameEpFile (1 + the internal column of the FEN's en-passant square, 0 when none),
// GameCastled = 0, copies all of it into Board and ply 0, and fills PieceValue.
void InstallPosition(const FenPosition& position, bool engineWhite);

// ParseFen + InstallPosition with the engine playing the side to move, or the other side
// when asOpponent. Returns false with a message on bad input.
bool SetupFromFen(const std::string& fen, bool asOpponent, std::string* error);
