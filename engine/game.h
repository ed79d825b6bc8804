// The game: record, repetition history, end-of-game rules, new game and the human's move.
#pragma once
#include <cstdint>

#include "engine/setup.h"

// The fifty-move rule bounds a game below 6,000 moves, so the record holds every half-move of
// the longest possible game plus its result entry.
constexpr int GameRecordSize = 12000;
constexpr int GameTextSize = 9;   // 8 characters and the terminator
constexpr int HistorySize = 106;  // positions since the last pawn move or capture

extern int16_t HalfMoveCount;
extern char GameRecord[GameRecordSize][GameTextSize];
extern char ResultText[31];
extern uint8_t MoveHistoryFrom[GameRecordSize];  // both sides' moves, for take-backs
extern uint8_t MoveHistoryTo[GameRecordSize];
extern uint8_t FiftyMoveCounter;                 // also the index of the current position
extern int32_t HistKey1[HistorySize], HistKey2[HistorySize], HistKey3[HistorySize];
extern int32_t HistSide[HistorySize];            // TurnState of the side that moved; 8 = cleared
extern uint8_t HistRepeats[HistorySize];

// The 3D program's new game: the engine's colour (1 = White) and the seconds per move.
void StartNewGame(uint8_t engineWhite, int32_t secondsPerMove);
// Replaces a new game's start position by a set-up one, in the orientation already chosen
// (BoardFlipped): the side to move comes from the position and the book is off.
void InstallSetupPosition(const FenPosition& position);
// The steps every new game shares (both programs): status, book, search counters, per-ply
// and game castling/en-passant state, move lists, record, history, hash randoms, piece values,
// the start position of the current BoardFlipped on GameBoard (and Board), and an empty hash.
void ResetGameState();
// The human's move, squares without encoding flags: 1 when legal and played, else 0.
uint8_t HumanMove(uint8_t from, uint8_t to);
// Plays entry (0, index) of the ply-0 list into the game for side 1 (the engine) or side 2,
// with every end-of-game test; the list must have been generated from GameBoard. The move's
// from-square and encoded to-square go to MoveHistoryFrom/To[HalfMoveCount]. When the record
// has no room left the move is not played and the game ends drawn.
void PlayGameMove(uint8_t side, uint8_t index);

void RecordPosition();
void CountRepetitions();
uint8_t RepeatsHistory();
void ClearHistory();
