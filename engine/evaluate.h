// Static evaluation.
#pragma once
#include <cstdint>

// Score of Board at the ply (castling state of that ply), positive when side 1 stands better.
int16_t Evaluate(uint8_t ply);
// Plain material balance of GameBoard for side 1; also sets PieceCount.
int16_t MaterialBalance();
