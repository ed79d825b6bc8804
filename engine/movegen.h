// Pseudo-legal move generation into one ply's row of MoveFrom/MoveTo, in search order.
#pragma once
#include <cstdint>

// Last index of the row, or NoMoves when the side has no pseudo-legal move.
uint8_t GenerateMoves1(uint8_t ply);
uint8_t GenerateMoves2(uint8_t ply);
// Only the side's captures onto RecaptureSquare, unordered.
uint8_t GenerateRecaptures1(uint8_t ply);
uint8_t GenerateRecaptures2(uint8_t ply);
