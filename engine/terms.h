// How one piece on one square adds to the board terms (KeptTerms), and the square writes that
// keep them in step with Board. Used inside the engine core only.
#pragma once
#include <cstdint>

#include "engine/hash.h"
#include "engine/state.h"

// The evaluation terms that depend on one piece on one square, summed in four 16-bit lanes
// of one 64-bit value: placement bonus (lowest), opening term, side 1's short-wing and
// long-wing pawn terms (highest). The lanes are added as one number; each sum stays far
// inside 16 bits, and SquareTermLanes takes them apart again.
enum SquareLane { PlacementLane, OpeningLane, ShortWingLane, LongWingLane };

constexpr uint64_t PackSquareTerms(int placement, int opening, int shortWing, int longWing) {
  return static_cast<uint64_t>(placement) + (static_cast<uint64_t>(opening) << 16) +
         (static_cast<uint64_t>(shortWing) << 32) + (static_cast<uint64_t>(longWing) << 48);
}

inline void SquareTermLanes(uint64_t packed, int lanes[4]) {
  for (int lane = 0; lane < 4; ++lane) {
    lanes[lane] = static_cast<int16_t>(packed & 0xffff);
    packed = (packed - static_cast<uint64_t>(lanes[lane])) >> 16;  // a negative lane borrowed 1
  }
}

// By orientation (BoardFlipped), piece code and square; filled by the evaluation.
struct SquareTermTable {
  uint64_t packed[2][26][64];
};
extern const SquareTermTable SquareTerms;

// Adds (Sign 1) or removes (Sign -1) the piece's share. Codes outside the piece codes never
// reach a search; they count only as pieces and in the key, as in HashSums.
template <int Sign>
[[gnu::always_inline]] inline void CountPiece(uint8_t code, int square) {
  BoardTerms& t = KeptTerms;
  const uint32_t weight = static_cast<uint32_t>(Sign * (code - 9));
  t.key1 += weight * static_cast<uint32_t>(HashRandom1[square]);
  t.key2 += weight * static_cast<uint32_t>(HashRandom2[square]);
  t.key3 += weight * static_cast<uint32_t>(HashRandom3[square]);
  t.pieces = static_cast<uint8_t>(t.pieces + Sign);
  if (code < King1 || code > Pawn2) return;
  const uint64_t packed = SquareTerms.packed[BoardFlipped ? 1 : 0][code][square];
  const uint64_t bit = uint64_t{1} << square;
  if (Sign > 0) {
    t.material += static_cast<uint32_t>(PieceValue[code]);
    t.squareTerms += packed;
    t.pieceBits[code - King1] |= bit;
  } else {
    t.material -= static_cast<uint32_t>(PieceValue[code]);
    t.squareTerms -= packed;
    t.pieceBits[code - King1] &= ~bit;
  }
}

// Board[square] = code, with the terms following.
[[gnu::always_inline]] inline void SetSquare(int square, uint8_t code) {
  const uint8_t old = Board[square];
  if (old != Empty) CountPiece<-1>(old, square);
  if (code != Empty) CountPiece<1>(code, square);
  Board[square] = code;
}

// Board[to] = code, then Board[from] = Empty. When code is the piece on from (a move, the
// usual case) only the differences between the two squares are counted.
[[gnu::always_inline]] inline void MovePiece(int from, int to, uint8_t code) {
  if (Board[from] != code || code == Empty || from == to) {
    SetSquare(to, code);
    SetSquare(from, Empty);
    return;
  }
  if (Board[to] != Empty) CountPiece<-1>(Board[to], to);
  BoardTerms& t = KeptTerms;
  const int weight = code - 9;
  t.key1 += static_cast<uint32_t>(weight * (HashRandom1[to] - HashRandom1[from]));
  t.key2 += static_cast<uint32_t>(weight * (HashRandom2[to] - HashRandom2[from]));
  t.key3 += static_cast<uint32_t>(weight * (HashRandom3[to] - HashRandom3[from]));
  if (code >= King1 && code <= Pawn2) {
    const uint64_t* packed = SquareTerms.packed[BoardFlipped ? 1 : 0][code];
    t.squareTerms += packed[to] - packed[from];
    uint64_t& bits = t.pieceBits[code - King1];
    bits = (bits & ~(uint64_t{1} << from)) | uint64_t{1} << to;
  }
  Board[to] = code;
  Board[from] = Empty;
}

// The pieces of one code on the board.
inline uint64_t PiecesOf(const BoardTerms& terms, uint8_t code) {
  return terms.pieceBits[code - King1];
}

// The terms of Board counted afresh.
void CountBoardTerms();
