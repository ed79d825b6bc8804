// The console program's own state, beside the engine's tables: plain globals, nothing allocated
// per command. The engine is always side 1; everything typed or printed is converted at the edge.
#pragma once
#include <cstdint>

#include "engine/game.h"
#include "engine/setup.h"

// ---- The command line -------------------------------------------------------------------------
constexpr int CommandLineLimit = 120;  // characters kept of one input line

struct CommandText {
  char text[CommandLineLimit + 1];  // not terminated: input may hold any byte
  int length;
};
extern CommandText CommandLine;  // the last line read; " " when consumed

void SetCommandLine(const char* text, int length);
void ClearCommandLine();  // back to " "
bool CommandIs(const char* word);  // the whole line, case and all
// Character at a 1-based position, or '\0' past the end of the line.
char CommandChar(int position);
// A space, or past the end of the line (so that padding cut off at the limit still ends a field).
bool CommandSpaceAt(int position);
void AppendSpaces(int count);  // keeps at most CommandLineLimit characters
// Characters 1..4 have the shape of a move: a..h, 1..8, a..h, 1..8.
bool CommandLooksLikeMove();

// ---- Console settings and game-flow state -----------------------------------------------------
extern uint8_t ConsoleMode;           // 1 until "xboard" is received
extern uint8_t ForceMode;
// "force" came, and neither "go", "new" nor an opponent's move has set the engine going since:
// it does not start thinking by itself, and "go" hands it the game as force mode's "go" does,
// also after "computer" has ended force mode line by line.
extern uint8_t ForceGoPending;
extern uint8_t OpponentIsComputer;    // set by "computer"
extern uint8_t RequestedEngineWhite;  // 1 after "white", 0 after "black"

// A position waiting to be installed by the next new game: its board in real colours (square
// 0 = a8, Black 10..15, White 20..25), the side to move, castling and en-passant fields.
extern uint8_t SetupPending;
extern FenPosition SetupPosition;

// Where the current game began, in the engine's orientation: take-backs replay from here.
struct GameStart {
  uint8_t board[64];
  uint8_t castleRights, epFile, castled;
  uint8_t engineMovesFirst;
};
extern GameStart StartOfGame;

// ---- Time control -----------------------------------------------------------------------------
extern int32_t MovesPerControl;   // 0 = the whole game
extern int32_t MovesThisControl;  // moves the engine made in the current control
extern int32_t IncrementSeconds;
extern int32_t RemainingCentis;   // the engine's clock as "time" sent it
extern uint8_t TimeReceived;      // "time" arrived since the engine's last move
extern int32_t ScoreDrop;         // RootScore less the material now, after the opponent's move

// ---- Typed moves ------------------------------------------------------------------------------
extern uint8_t MoveFound;  // the last checked move matched a legal move
extern uint8_t TypedFrom, TypedTo;
// Piece kind (1 queen .. 4 knight) each half-move promoted to, so a replay promotes alike.
extern uint8_t PromotionHistory[GameRecordSize];
