// The command table: every line read is decoded as a move, then tested against the commands in
// a fixed order. Lines that match nothing are ignored.
#pragma once

// TypedFrom and TypedTo from characters 1..4 of CommandLine, in the engine's orientation.
void DecodeTypedMove();
// Runs every row of the table over CommandLine.
void DispatchCommand();
// "setboard FEN": checks the position and keeps it for the next new game.
void SetBoardCommand();
