#include "engine/legal.h"

#include <utility>

#include "engine/makemove.h"
#include "engine/sides.h"
#include "engine/state.h"

namespace {

// Scratch entry for the one-square king trial of castling: a spare row, never ply 0.
constexpr uint8_t ScratchPly = 30;
constexpr uint8_t ScratchIndex = MoveListSize - 1;

template <int Side>
int FindKing() {
  using S = SideTraits<Side>;
  if (Side == 1) {
    for (int s = 0; s < 64; ++s) {
      if (Board[s] == S::King) return s;
    }
  } else {
    for (int s = 63; s >= 0; --s) {
      if (Board[s] == S::King) return s;
    }
  }
  return -1;
}

// The first piece met from the king along direction D attacks it when it is the enemy queen,
// the enemy rook (straight) or bishop (diagonal), or, on the neighbouring square, the enemy king.
template <int Side, int D>
inline bool RayAttacks(int k) {
  using S = SideTraits<Side>;
  constexpr int Direction = Directions[D];
  constexpr uint8_t Slider = (D & 1) == 0 ? S::EnemyRook : S::EnemyBishop;
  int n = Rays.length[k][D];
  if (n == 0) return false;
  int t = k + Direction;
  uint8_t code = Board[t];
  if (code != Empty) return code == S::EnemyQueen || code == Slider || code == S::EnemyKing;
  while (--n > 0) {
    t += Direction;
    code = Board[t];
    if (code != Empty) return code == S::EnemyQueen || code == Slider;
  }
  return false;
}

template <int Side, int... D>
inline bool AnyRayAttacks(int k, std::integer_sequence<int, D...>) {
  return (RayAttacks<Side, D>(k) || ...);
}

template <int Side>
uint8_t KingAttacked() {
  using S = SideTraits<Side>;
  const int k = FindKing<Side>();
  if (k < 0) return 1;
  const int r = RowOf(k), c = ColumnOf(k);

  if (AnyRayAttacks<Side>(k, std::make_integer_sequence<int, 8>{})) return 1;
  for (int i = 0; i < Jumps.count[k]; ++i) {
    if (Board[Jumps.target[k][i]] == S::EnemyKnight) return 1;
  }
  // An enemy pawn one row ahead of the king, one column to either side.
  if (S::PawnCanAttackRow(r)) {
    if (c > 0 && Board[k + S::Forward - 1] == S::EnemyPawn) return 1;
    if (c < 7 && Board[k + S::Forward + 1] == S::EnemyPawn) return 1;
  }
  return 0;
}

template <int Side>
uint8_t CastlingThroughCheck(uint8_t from, uint8_t to) {
  using S = SideTraits<Side>;
  constexpr int b = S::HomeRowBase;
  const bool castling =
      Board[from] == S::King && ((from == b + 4 && (to == b + 6 || to == b + 2)) ||
                                 (from == b + 3 && (to == b + 5 || to == b + 1)));
  if (!castling) return 0;
  if (KingAttacked<Side>()) return 1;
  const uint8_t savedFrom = MoveFrom[ScratchPly][ScratchIndex];
  const uint8_t savedTo = MoveTo[ScratchPly][ScratchIndex];
  const uint8_t savedLast = LastMove[ScratchPly];
  MoveFrom[ScratchPly][ScratchIndex] = from;
  MoveTo[ScratchPly][ScratchIndex] = static_cast<uint8_t>(to > from ? from + 1 : from - 1);
  LastMove[ScratchPly] = 0;  // so make really plays the trial move
  if (Side == 1) {
    MakeMove1(ScratchPly, ScratchIndex);
  } else {
    MakeMove2(ScratchPly, ScratchIndex);
  }
  const uint8_t attacked = KingAttacked<Side>();
  if (Side == 1) {
    UnmakeMove1(ScratchPly, ScratchIndex);
  } else {
    UnmakeMove2(ScratchPly, ScratchIndex);
  }
  MoveFrom[ScratchPly][ScratchIndex] = savedFrom;
  MoveTo[ScratchPly][ScratchIndex] = savedTo;
  LastMove[ScratchPly] = savedLast;
  return attacked;
}

template <int Side>
void FilterLegal() {
  if (RootLast < 0) return;
  if (RootLast >= MoveListSize) RootLast = MoveListSize - 1;
  // The trials must really be played, even when a finished search left ply 0 marked empty.
  const uint8_t savedLast = LastMove[0];
  LastMove[0] = 0;
  uint8_t* from = MoveFrom[0];
  uint8_t* to = MoveTo[0];

  int kept = 0;
  for (int i = 0; i <= RootLast; ++i) {
    if (CastlingThroughCheck<Side>(from[i], to[i])) continue;
    from[kept] = from[i];
    to[kept] = to[i];
    ++kept;
  }
  RootLast = static_cast<int16_t>(kept - 1);

  kept = 0;
  for (int i = 0; i <= RootLast; ++i) {
    const uint8_t index = static_cast<uint8_t>(i);
    uint8_t attacked;
    if (Side == 1) {
      MakeMove1(0, index);
      attacked = KingAttacked<1>();
      UnmakeMove1(0, index);
    } else {
      MakeMove2(0, index);
      attacked = KingAttacked<2>();
      UnmakeMove2(0, index);
    }
    if (attacked) continue;
    from[kept] = from[i];
    to[kept] = to[i];
    ++kept;
  }
  RootLast = static_cast<int16_t>(kept - 1);
  LastMove[0] = savedLast;
}

}  // namespace

uint8_t KingAttacked1() {
  return KingAttacked<1>();
}
uint8_t KingAttacked2() {
  return KingAttacked<2>();
}
uint8_t CastlingThroughCheck1(uint8_t from, uint8_t to) {
  return CastlingThroughCheck<1>(from, to);
}
uint8_t CastlingThroughCheck2(uint8_t from, uint8_t to) {
  return CastlingThroughCheck<2>(from, to);
}
void FilterLegal1() {
  FilterLegal<1>();
}
void FilterLegal2() {
  FilterLegal<2>();
}
