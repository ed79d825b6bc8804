// Counting the leaves of the legal move tree with the engine's own generators, make/unmake
// and attack tests: the check that move generation is right.
#pragma once
#include <cstdint>

#include "engine/state.h"

// One root move and the leaves below it.
struct PerftRootMove {
  uint8_t from;
  uint8_t to;  // encoded MoveTo value
  uint64_t leaves;
};

// Counts the legal leaves at depth (1..29) from Board with the per-ply state of ply 0, side
// sideToMove (1 or 2) moving first. When rootMoves is given it receives one line per legal
// root move (at most MoveListSize) and *rootCount their number. Uses rows 0..depth-1.
uint64_t Perft(int depth, int sideToMove, PerftRootMove* rootMoves = nullptr,
               int* rootCount = nullptr);
