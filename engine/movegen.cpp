#include "engine/movegen.h"

#include <bit>
#include <cstdlib>
#include <cstring>

#include "engine/sides.h"
#include "engine/state.h"

namespace {

// One row being filled: noisy entries go straight into the row, quiet ones into a buffer that
// is appended in reverse at the end (the buffer fills from its end down, so the reversed
// entries lie in order). Both together never exceed MoveListSize, so no position can write
// past a row.
struct RowBuilder {
  uint8_t* from;
  uint8_t* to;
  int noisy = 0;
  int quiet = 0;
  uint8_t quietFrom[MoveListSize];
  uint8_t quietTo[MoveListSize];
  int16_t key[MoveListSize];  // capture-ordering key of each noisy entry

  bool Full() const { return noisy + quiet >= MoveListSize; }

  void AddQuiet(int square, int target) {
    if (Full()) return;
    ++quiet;
    quietFrom[MoveListSize - quiet] = static_cast<uint8_t>(square);
    quietTo[MoveListSize - quiet] = static_cast<uint8_t>(target);
  }

  void AddNoisy(int square, int encoded, int moverValue, int victimValue) {
    if (Full()) return;
    from[noisy] = static_cast<uint8_t>(square);
    to[noisy] = static_cast<uint8_t>(encoded);
    key[noisy] = static_cast<int16_t>(std::abs(moverValue) - std::abs(victimValue));
    ++noisy;
  }
};

// Moves entry i to the front of the row, the entries before it moving up by one.
void MoveToFront(uint8_t* from, uint8_t* to, int i) {
  uint8_t f = from[i], t = to[i];
  for (int j = i; j > 0; --j) {
    from[j] = from[j - 1];
    to[j] = to[j - 1];
  }
  from[0] = f;
  to[0] = t;
}

template <int Side>
void AddRays(RowBuilder& row, int square, uint8_t mover, int firstDirection, int step) {
  using S = SideTraits<Side>;
  for (int d = firstDirection; d < 8; d += step) {
    int direction = Directions[d];
    int t = square;
    for (int n = Rays.length[square][d]; n > 0; --n) {
      t += direction;
      uint8_t code = Board[t];
      if (code == Empty) {
        row.AddQuiet(square, t);
        continue;
      }
      if (S::IsEnemy(code))
        row.AddNoisy(square, t + CaptureFlag, PieceValue[mover], PieceValue[code]);
      break;
    }
  }
}

template <int Side>
void AddSteps(RowBuilder& row, int square, uint8_t mover, const uint8_t* targets, int count) {
  using S = SideTraits<Side>;
  for (int k = 0; k < count; ++k) {
    int t = targets[k];
    uint8_t code = Board[t];
    if (code == Empty) {
      row.AddQuiet(square, t);
    } else if (S::IsEnemy(code)) {
      row.AddNoisy(square, t + CaptureFlag, PieceValue[mover], PieceValue[code]);
    }
  }
}

template <int Side>
void AddKing(RowBuilder& row, int square, uint8_t ply) {
  using S = SideTraits<Side>;
  uint8_t neighbours[8];
  int count = 0;
  for (int d = 0; d < 8; ++d) {
    if (Rays.length[square][d] > 0)
      neighbours[count++] = static_cast<uint8_t>(square + Directions[d]);
  }
  AddSteps<Side>(row, square, S::King, neighbours, count);

  uint8_t digit = S::Digit(CastleRights[ply]);
  if (digit == 0 || S::InCheck()[ply] != 0) return;
  const CastlingSquares c = CastlingFor<Side>(BoardFlipped);
  if (square != c.king) return;
  auto BetweenEmpty = [](int a, int b) {
    int low = a < b ? a : b, high = a < b ? b : a;
    for (int s = low + 1; s < high; ++s) {
      if (Board[s] != Empty) return false;
    }
    return true;
  };
  if ((digit == 1 || digit == 3) && Board[c.shortRook] == S::Rook &&
      BetweenEmpty(c.king, c.shortRook)) {
    row.AddQuiet(c.king, c.shortTarget);
  }
  if ((digit == 2 || digit == 3) && Board[c.longRook] == S::Rook &&
      BetweenEmpty(c.king, c.longRook)) {
    row.AddQuiet(c.king, c.longTarget);
  }
}

template <int Side>
void AddPawn(RowBuilder& row, int s, uint8_t ply) {
  using S = SideTraits<Side>;
  constexpr int F = S::Forward;
  constexpr int PromotingRow = S::LastRow - F / 8;  // the row a promoting pawn leaves
  const int r = RowOf(s), c = ColumnOf(s);
  const int pawnValue = PieceValue[S::Pawn];
  if (r == S::LastRow) return;
  if (Board[s + F] == Empty) {
    if (r == PromotingRow) {
      row.AddNoisy(s, s + F + PromotionFlag, pawnValue, 0);
    } else {
      row.AddQuiet(s, s + F);
    }
  }
  if (r == S::DoubleStepRow && Board[s + F] == Empty && Board[s + 2 * F] == Empty) {
    row.AddQuiet(s, s + 2 * F + DoubleStepFlag);
  }
  if (c > 0 && S::IsEnemy(Board[s + F - 1])) {
    if (r == PromotingRow) {
      row.AddNoisy(s, s + F - 1 + PromotionFlag, pawnValue, 0);
    } else {
      row.AddNoisy(s, s + F - 1 + CaptureFlag, pawnValue, PieceValue[Board[s + F - 1]]);
    }
  }
  if (c < 7 && S::IsEnemy(Board[s + F + 1])) {
    if (r == PromotingRow) {
      row.AddNoisy(s, s + F + 1 + PromotionFlag, pawnValue, 0);
    } else {
      row.AddNoisy(s, s + F + 1 + CaptureFlag, pawnValue, PieceValue[Board[s + F + 1]]);
    }
  }
  if (r == S::EnPassantRow) {
    // EpFile is 1 + the column of the pawn that has just made its double step.
    if (c > 0 && c == EpFile[ply]) row.AddNoisy(s, s + F - 1 + CaptureFlag, pawnValue, 0);
    if (c < 7 && c + 2 == EpFile[ply]) row.AddNoisy(s, s + F + 1 + CaptureFlag, pawnValue, 0);
  }
}

// The squares whose code the side owns (SideTraits::Owns), as a bit board: eight squares
// at a time, each byte compared at once.
template <int Side>
uint64_t OwnSquares() {
  constexpr uint64_t High = 0x8080808080808080u, Low = 0x0101010101010101u;
  constexpr uint64_t Gather = 0x0102040810204080u;  // bit 8i to bit 56 + i
  uint64_t own = 0;
  for (int first = 0; first < 64; first += 8) {
    uint64_t codes;
    std::memcpy(&codes, Board + first, sizeof codes);
    if constexpr (std::endian::native == std::endian::big) codes = __builtin_bswap64(codes);
    // The high bit of each byte that is at least k (k up to 128).
    auto atLeast = [codes](uint64_t k) { return (((codes | High) - k * Low) | codes) & High; };
    const uint64_t owned = Side == 1 ? atLeast(1) & ~atLeast(20) : atLeast(20);
    own |= ((owned >> 7) * Gather >> 56) << first;
  }
  return own;
}

template <int Side>
uint8_t GenerateMoves(uint8_t ply) {
  using S = SideTraits<Side>;
  RowBuilder row;
  row.from = MoveFrom[ply];
  row.to = MoveTo[ply];

  // Squares in ascending order, as a scan of the board would meet them.
  for (uint64_t own = OwnSquares<Side>(); own != 0; own &= own - 1) {
    const int s = std::countr_zero(own);
    const uint8_t code = Board[s];
    switch (code) {
      case S::King:
        AddKing<Side>(row, s, ply);
        break;
      case S::Queen:
        AddRays<Side>(row, s, code, 0, 1);
        break;
      case S::Rook:
        AddRays<Side>(row, s, code, 0, 2);
        break;
      case S::Bishop:
        AddRays<Side>(row, s, code, 1, 2);
        break;
      case S::Knight:
        AddSteps<Side>(row, s, code, Jumps.target[s], Jumps.count[s]);
        break;
      case S::Pawn:
        AddPawn<Side>(row, s, ply);
        break;
      default:
        break;
    }
  }

  const int noisy = row.noisy;
  const int total = noisy + row.quiet;
  if (total == 0) return NoMoves;
  uint8_t* from = row.from;
  uint8_t* to = row.to;
  std::memcpy(from + noisy, row.quietFrom + MoveListSize - row.quiet, row.quiet);
  std::memcpy(to + noisy, row.quietTo + MoveListSize - row.quiet, row.quiet);
  const int last = total - 1;

  // One pass that brings the lowest key to the front; earlier entries win ties.
  if (noisy >= 2) {
    int16_t best = row.key[0];
    for (int i = 1; i < noisy; ++i) {
      if (row.key[i] < best) {
        best = row.key[i];
        uint8_t f = from[0], t = to[0];
        from[0] = from[i];
        to[0] = to[i];
        from[i] = f;
        to[i] = t;
      }
    }
  }

  const uint8_t killerFrom = KillerFrom[ply], killerTo = KillerTo[ply];
  if (killerFrom < 64 && S::Owns(Board[killerFrom])) {
    for (int i = noisy > 0 ? noisy : 1; i <= last; ++i) {
      if (from[i] == killerFrom && to[i] == killerTo) {
        MoveToFront(from, to, i);
        break;
      }
    }
  }

  if (HashMoveFrom != HashMoveTo) {
    for (int i = 1; i <= last; ++i) {
      if (from[i] == HashMoveFrom && to[i] == HashMoveTo) {
        MoveToFront(from, to, i);
        break;
      }
    }
  }
  return static_cast<uint8_t>(last);
}

template <int Side>
uint8_t GenerateRecaptures(uint8_t ply) {
  using S = SideTraits<Side>;
  const int t = RecaptureSquare & 63;
  const int tr = RowOf(t), tc = ColumnOf(t);
  uint8_t* from = MoveFrom[ply];
  uint8_t* to = MoveTo[ply];
  int count = 0;
  auto add = [&](int square, int encoded) {
    from[count] = static_cast<uint8_t>(square);
    to[count] = static_cast<uint8_t>(encoded);
    ++count;
  };

  for (int d = 0; d < 8; ++d) {
    int square = t;
    for (int n = Rays.length[t][d]; n > 0; --n) {
      square += Directions[d];
      uint8_t code = Board[square];
      if (code == Empty) continue;
      bool straight = (d & 1) == 0;
      if (code == S::Queen || code == (straight ? S::Rook : S::Bishop))
        add(square, t + CaptureFlag);
      break;
    }
  }
  for (int k = 0; k < Jumps.count[t]; ++k) {
    if (Board[Jumps.target[t][k]] == S::Knight) add(Jumps.target[t][k], t + CaptureFlag);
  }
  // A pawn capturing onto t stands one row behind it, one column to either side.
  const int pawnEncoded = t + (tr == S::LastRow ? PromotionFlag : CaptureFlag);
  const bool pawnRowOk = Side == 1 ? tr > 1 : tr < 6;
  if (pawnRowOk) {
    if (tc > 0 && Board[t - S::Forward - 1] == S::Pawn) add(t - S::Forward - 1, pawnEncoded);
    if (tc < 7 && Board[t - S::Forward + 1] == S::Pawn) add(t - S::Forward + 1, pawnEncoded);
  }
  for (int d = 0; d < 8; ++d) {
    if (Rays.length[t][d] > 0 && Board[t + Directions[d]] == S::King)
      add(t + Directions[d], t + CaptureFlag);
  }
  return count == 0 ? NoMoves : static_cast<uint8_t>(count - 1);
}

}  // namespace

uint8_t GenerateMoves1(uint8_t ply) {
  return GenerateMoves<1>(ply);
}
uint8_t GenerateMoves2(uint8_t ply) {
  return GenerateMoves<2>(ply);
}
uint8_t GenerateRecaptures1(uint8_t ply) {
  return GenerateRecaptures<1>(ply);
}
uint8_t GenerateRecaptures2(uint8_t ply) {
  return GenerateRecaptures<2>(ply);
}
