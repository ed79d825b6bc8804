// The console game: start-up and shut-down, a new game (with set-up positions), the engine's
// turn, the opponent's typed move, force-mode moves and the replay behind take-backs.
#pragma once
#include <cstdint>

void EngineStartup();   // hash table, random seed, the thinking printer
void EngineShutdown();  // releases the hash table

// The console's new game: BoardFlipped and the console settings decide colour and timing, and a
// position waiting in SetupPosition is installed. (The 3D program's form takes its arguments.)
void StartNewGame();

// One slice of the engine's thinking; when the move is found, everything printed about it.
void EngineTurn();
// The typed move TypedFrom-TypedTo for side 2, tested against the legal moves (MoveFound).
void OpponentMove();
// Side's legal moves in the game position, in row 0 of the move lists: the index of the move
// from -> target (a square without encoding flags), or -1.
int FindLegalMove(uint8_t side, uint8_t from, uint8_t target);
bool SideHasLegalMove(uint8_t side);
// Plays from -> target for side when it is legal in the game, with every end-of-game test and
// nothing printed; a promotion places the piece of kind (1 queen .. 4 knight). False, and the
// game unchanged, when it is not legal (or the record is full).
bool PlayLegalMove(uint8_t side, uint8_t from, uint8_t target, uint8_t kind);
// CommandLine is a force-mode move for side: four characters starting with a square, or a
// five-character promotion that the side's pawn can make in the game position.
bool ForcedMoveLine(uint8_t side);
// A move typed in force mode for the side to move, played without a legality test (a
// promotion places the piece its fifth character names). False when the line is not a
// force-mode move or the record is full.
bool ForcedMove(uint8_t side);
// Rebuilds the game from its start and the first HalfMoveCount moves of the history.
void ReplayHistory();
