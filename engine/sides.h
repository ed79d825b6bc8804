// What tells side 1 from side 2 (codes, pawn direction, rows, castling squares), and the
// board geometry the generators and attack tests share. Used inside the engine core only.
#pragma once
#include <cstdint>

#include "engine/state.h"

// The eight directions in the order the generators and attack tests walk them.
// Even indices are straight (-1, -8, +1, +8), odd ones diagonal (-9, -7, +9, +7).
constexpr int Directions[8] = {-1, -9, -8, -7, +1, +9, +8, +7};

// Knight jumps in generation order.
constexpr int KnightJumps[8] = {-10, -17, -15, -6, +10, +17, +15, +6};

namespace geometry {

constexpr bool StepFits(int square, int direction) {
  int row = RowOf(square), column = ColumnOf(square);
  switch (direction) {
    case -1:
      return column > 0;
    case -9:
      return column > 0 && row > 0;
    case -8:
      return row > 0;
    case -7:
      return row > 0 && column < 7;
    case +1:
      return column < 7;
    case +9:
      return column < 7 && row < 7;
    case +8:
      return row < 7;
    case +7:
      return column > 0 && row < 7;
  }
  return false;
}

constexpr bool JumpFits(int square, int jump) {
  int row = RowOf(square), column = ColumnOf(square);
  switch (jump) {
    case -10:
      return column > 1 && row > 0;
    case -17:
      return column > 0 && row > 1;
    case -15:
      return column < 7 && row > 1;
    case -6:
      return column < 6 && row > 0;
    case +10:
      return column < 6 && row < 7;
    case +17:
      return column < 7 && row < 6;
    case +15:
      return column > 0 && row < 6;
    case +6:
      return column > 1 && row < 7;
  }
  return false;
}

struct RayTable {
  uint8_t length[64][8];  // squares from s to the edge in each direction
};

constexpr RayTable MakeRayTable() {
  RayTable table{};
  for (int s = 0; s < 64; ++s) {
    for (int d = 0; d < 8; ++d) {
      int n = 0;
      for (int t = s; StepFits(t, Directions[d]); t += Directions[d]) ++n;
      table.length[s][d] = static_cast<uint8_t>(n);
    }
  }
  return table;
}

// Knight targets of each square, in jump order, behind a count.
struct JumpTable {
  uint8_t count[64];
  uint8_t target[64][8];
};

constexpr JumpTable MakeJumpTable() {
  JumpTable table{};
  for (int s = 0; s < 64; ++s) {
    int n = 0;
    for (int jump : KnightJumps) {
      if (JumpFits(s, jump)) table.target[s][n++] = static_cast<uint8_t>(s + jump);
    }
    table.count[s] = static_cast<uint8_t>(n);
  }
  return table;
}

}  // namespace geometry

inline constexpr geometry::RayTable Rays = geometry::MakeRayTable();
inline constexpr geometry::JumpTable Jumps = geometry::MakeJumpTable();

// Per-side constants. Side 1 starts on rows 0-1 and moves up; side 2 starts on rows 6-7.
template <int Side>
struct SideTraits;

template <>
struct SideTraits<1> {
  static constexpr uint8_t King = King1, Queen = Queen1, Rook = Rook1, Bishop = Bishop1,
                           Knight = Knight1, Pawn = Pawn1;
  static constexpr uint8_t EnemyKing = King2, EnemyQueen = Queen2, EnemyRook = Rook2,
                           EnemyBishop = Bishop2, EnemyKnight = Knight2, EnemyPawn = Pawn2;
  static constexpr int Forward = 8;
  static constexpr int HomeRowBase = 0;  // first square of the back rank
  static constexpr int LastRow = 7;      // promotion row of the target
  static constexpr int DoubleStepRow = 1;
  static constexpr int EnPassantRow = 4;
  static constexpr uint8_t RightsUnit = 10;  // tens digit of CastleRights/Castled
  // The generator's scan: skip empty squares and side-2 codes.
  static constexpr bool Owns(uint8_t code) { return code != 0 && code < 20; }
  static constexpr bool IsEnemy(uint8_t code) { return code > 15; }
  static constexpr uint8_t Digit(uint8_t rights) { return rights / 10; }
  static constexpr uint8_t WithDigit(uint8_t rights, uint8_t digit) {
    return static_cast<uint8_t>(digit * 10 + rights % 10);
  }
  // An enemy pawn can stand on a capturing square of a king on this row.
  static constexpr bool PawnCanAttackRow(int row) { return row < 6; }
  static uint8_t* InCheck() { return InCheck1; }
};

template <>
struct SideTraits<2> {
  static constexpr uint8_t King = King2, Queen = Queen2, Rook = Rook2, Bishop = Bishop2,
                           Knight = Knight2, Pawn = Pawn2;
  static constexpr uint8_t EnemyKing = King1, EnemyQueen = Queen1, EnemyRook = Rook1,
                           EnemyBishop = Bishop1, EnemyKnight = Knight1, EnemyPawn = Pawn1;
  static constexpr int Forward = -8;
  static constexpr int HomeRowBase = 56;
  static constexpr int LastRow = 0;
  static constexpr int DoubleStepRow = 6;
  static constexpr int EnPassantRow = 3;
  static constexpr uint8_t RightsUnit = 1;
  static constexpr bool Owns(uint8_t code) { return code >= 20; }
  static constexpr bool IsEnemy(uint8_t code) { return code != 0 && code < 20; }
  static constexpr uint8_t Digit(uint8_t rights) { return rights % 10; }
  static constexpr uint8_t WithDigit(uint8_t rights, uint8_t digit) {
    return static_cast<uint8_t>(rights - rights % 10 + digit);
  }
  static constexpr bool PawnCanAttackRow(int row) { return row > 1; }
  static uint8_t* InCheck() { return InCheck2; }
};

// Castling squares of one side in the current orientation (BoardFlipped).
struct CastlingSquares {
  uint8_t king;  // the king's home square
  uint8_t shortTarget, shortRook, shortRookTarget;
  uint8_t longTarget, longRook, longRookTarget;
};

template <int Side>
constexpr CastlingSquares CastlingFor(uint8_t flipped) {
  constexpr int b = SideTraits<Side>::HomeRowBase;
  if (flipped == 0) {
    return {uint8_t(b + 4), uint8_t(b + 6), uint8_t(b + 7), uint8_t(b + 5),
            uint8_t(b + 2), uint8_t(b + 0), uint8_t(b + 3)};
  }
  return {uint8_t(b + 3), uint8_t(b + 1), uint8_t(b + 0), uint8_t(b + 2),
          uint8_t(b + 5), uint8_t(b + 7), uint8_t(b + 4)};
}
