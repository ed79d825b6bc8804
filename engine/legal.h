// Attack tests and the root-list legality filters.
#pragma once
#include <cstdint>

// 1 when the side's king is attacked on Board, or when the side has no king.
uint8_t KingAttacked1();
uint8_t KingAttacked2();
// 1 when (from, to) is the side's castling move with its king on from, and the king is
// attacked now or on the square it crosses; 0 for any other move. Uses a scratch entry of a
// spare row (ply 30), which it restores.
uint8_t CastlingThroughCheck1(uint8_t from, uint8_t to);
uint8_t CastlingThroughCheck2(uint8_t from, uint8_t to);
// Remove the illegal moves from row 0 (indices 0..RootLast); RootLast ends at -1 when none is left.
void FilterLegal1();
void FilterLegal2();
