#include "engine/perft.h"

#include "engine/legal.h"
#include "engine/makemove.h"
#include "engine/movegen.h"
#include "engine/sides.h"
#include "engine/state.h"

namespace {

template <int Side>
struct Ops;

template <>
struct Ops<1> {
  static uint8_t Generate(uint8_t ply) { return GenerateMoves1(ply); }
  static void Make(uint8_t ply, uint8_t i) { MakeMove1(ply, i); }
  static void Unmake(uint8_t ply, uint8_t i) { UnmakeMove1(ply, i); }
  static uint8_t Attacked() { return KingAttacked1(); }
  static uint8_t ThroughCheck(uint8_t f, uint8_t t) { return CastlingThroughCheck1(f, t); }
};

template <>
struct Ops<2> {
  static uint8_t Generate(uint8_t ply) { return GenerateMoves2(ply); }
  static void Make(uint8_t ply, uint8_t i) { MakeMove2(ply, i); }
  static void Unmake(uint8_t ply, uint8_t i) { UnmakeMove2(ply, i); }
  static uint8_t Attacked() { return KingAttacked2(); }
  static uint8_t ThroughCheck(uint8_t f, uint8_t t) { return CastlingThroughCheck2(f, t); }
};

template <int Side>
uint64_t PerftNode(uint8_t ply, int depth, PerftRootMove* rootMoves, int* rootCount) {
  using S = SideTraits<Side>;
  using O = Ops<Side>;
  // The generator only reads the check flag when castling rights remain.
  S::InCheck()[ply] = S::Digit(CastleRights[ply]) != 0 ? O::Attacked() : 0;
  const uint8_t last = O::Generate(ply);
  LastMove[ply] = last;
  if (last == NoMoves) return 0;

  uint64_t total = 0;
  for (int i = 0; i <= last; ++i) {
    const uint8_t index = static_cast<uint8_t>(i);
    const uint8_t from = MoveFrom[ply][i], to = MoveTo[ply][i];
    // Only a king's two-square move can be castling, so the rest skip the test cheaply.
    if (to < CaptureFlag && Board[from] == S::King && (from - to == 2 || to - from == 2) &&
        O::ThroughCheck(from, to)) {
      continue;
    }
    O::Make(ply, index);
    const bool legal = !O::Attacked();
    uint64_t leaves = 0;
    if (legal && depth > 1) {
      leaves = PerftNode<3 - Side>(static_cast<uint8_t>(ply + 1), depth - 1, nullptr, nullptr);
    } else if (legal) {
      leaves = 1;
    }
    O::Unmake(ply, index);
    if (!legal) continue;
    if (rootMoves != nullptr && *rootCount < MoveListSize) {
      rootMoves[*rootCount] = {from, to, leaves};
      ++*rootCount;
    }
    total += leaves;
  }
  return total;
}

}  // namespace

uint64_t Perft(int depth, int sideToMove, PerftRootMove* rootMoves, int* rootCount) {
  if (rootCount != nullptr) *rootCount = 0;
  if (rootCount == nullptr) rootMoves = nullptr;
  if (depth < 1 || depth > ListPlies - 2) return 0;
  uint8_t savedLast[PlySlots];
  for (int p = 0; p < PlySlots; ++p) savedLast[p] = LastMove[p];
  const uint64_t leaves = sideToMove == 2 ? PerftNode<2>(0, depth, rootMoves, rootCount)
                                          : PerftNode<1>(0, depth, rootMoves, rootCount);
  for (int p = 0; p < PlySlots; ++p) LastMove[p] = savedLast[p];
  return leaves;
}
