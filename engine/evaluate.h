// Static evaluation.
#pragma once
#include <cstdint>

// Score of Board at the ply (castling state of that ply), positive when side 1 stands better.
// Recounts the board terms (KeptTerms) first.
int16_t Evaluate(uint8_t ply);
// The same score from the board terms as make and unmake have kept them: the search's own.
int16_t EvaluateKept(uint8_t ply);
// Plain material balance of GameBoard for side 1; also sets PieceCount.
int16_t MaterialBalance();
