// Attack tests and the root-list legality filters.
#pragma once
#include <cstdint>

// 1 when the side's king is attacked on Board, or when the side has no king.
uint8_t KingAttacked1();
uint8_t KingAttacked2();
// Remove the illegal moves from row 0 (indices 0..RootLast); RootLast ends at -1 when none is left.
void FilterLegal1();
void FilterLegal2();
