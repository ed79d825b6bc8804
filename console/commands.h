// The command table: every line read is decoded as a move, then tested against the commands in
// a fixed order. Lines that match nothing are ignored.
#pragma once
#include <string>

#include "engine/setup.h"

// TypedFrom and TypedTo from characters 1..4 of CommandLine, in the engine's orientation.
void DecodeTypedMove();
// Before a move is checked: the game xboard hands over as force mode and "computer" leave it (a
// waiting set-up, or the engine's colour to move after force-mode moves) starts, so the move is
// played from it.
void TakeOverForMove();
// Runs every row of the table over CommandLine.
void DispatchCommand();
// "setboard FEN": checks the position and keeps it for the next new game.
void SetBoardCommand();
// The FEN of a set-up position (castling and en-passant fields may be missing), refused with a
// reason when it cannot be read or the side not to move is in check.
bool ParseSetupFen(std::string fen, FenPosition* position, std::string* error);
