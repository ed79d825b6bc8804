// Constants, start position and turning the board between orientations.
#pragma once
#include <cstdint>

// Fills PieceValue (kings 5000, queens 900, rooks 480, bishops 320, knights 305, pawns 100).
void SetPieceValues();
// Writes the start position of the current orientation (BoardFlipped) into board.
void SetStartPosition(uint8_t board[64]);
// Turns a board by 180 degrees and swaps the sides' codes: used when the engine changes colour.
void TurnBoard(uint8_t board[64]);
