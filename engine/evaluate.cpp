#include "engine/evaluate.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <utility>

#include "engine/state.h"
#include "engine/terms.h"

namespace {

// The opening terms are written for BoardFlipped 0; with BoardFlipped 1 each square is taken
// in the same row with the column mirrored.
constexpr int MirrorColumn(int square) {
  return square + 7 - 2 * (square % 8);
}
static_assert(MirrorColumn(14) == 9 && MirrorColumn(31) == 24 && MirrorColumn(38) == 33);

template <int Flip>
class OpeningBoard {
 public:
  explicit OpeningBoard(const uint8_t* board) : board_(board) {}
  bool Holds(int square, uint8_t code) const {
    return board_[Flip ? MirrorColumn(square) : square] == code;
  }
  bool P1(int s) const { return Holds(s, Pawn1); }
  bool P2(int s) const { return Holds(s, Pawn2); }
  bool N2(int s) const { return Holds(s, Knight2); }
  bool B1(int s) const { return Holds(s, Bishop1); }
  bool B2(int s) const { return Holds(s, Bishop2); }
  bool R1(int s) const { return Holds(s, Rook1); }
  bool R2(int s) const { return Holds(s, Rook2); }

 private:
  const uint8_t* board_;
};

// Every term that depends on one piece on one square, for both orientations. The opening
// terms are written for BoardFlipped 0; with 1 each square is its column mirror, and a few
// wing-pawn values differ (the g- and h-pawns' values are exchanged).
constexpr SquareTermTable MakeSquareTerms() {
  int terms[2][26][64][4] = {};  // by SquareLane
  for (int flip = 0; flip < 2; ++flip) {
    auto& t = terms[flip];
    for (int s = 0; s < 64; ++s) {
      const int r = RowOf(s), c = ColumnOf(s);
      const int knight = (4 - (c < 4 ? 4 - c : c - 4)) + (4 - (r < 4 ? 4 - r : r - 4));
      const bool bishopSquare = (c == 1 || c == 6) && (r == 1 || r == 6);
      t[Rook1][s][PlacementLane] = r == 6 ? 5 : 0;
      t[Rook2][s][PlacementLane] = r == 1 ? -5 : 0;
      t[Bishop1][s][PlacementLane] = bishopSquare ? 4 : 0;
      t[Bishop2][s][PlacementLane] = bishopSquare ? -4 : 0;
      t[Knight1][s][PlacementLane] = knight;
      t[Knight2][s][PlacementLane] = -knight;
    }
    auto at = [flip](int s) { return flip ? MirrorColumn(s) : s; };
    auto opening = [&](int code, int s, int value) { t[code][at(s)][OpeningLane] = value; };
    auto minorOrQueen = [&](int side, int s, int value) {
      for (int kind : {Queen1 % 10, Bishop1 % 10, Knight1 % 10})
        opening(side * 10 + kind, s, value);
    };
    auto shortWing = [&](int s, int value) { t[Pawn1][at(s)][ShortWingLane] = value; };
    auto longWing = [&](int s, int value) { t[Pawn1][at(s)][LongWingLane] = value; };
    // Side 1's pieces still at home.
    minorOrQueen(1, 6, -10);
    minorOrQueen(1, 5, -8);
    for (int s : {3, 4}) opening(Bishop1, s, -5), opening(Knight1, s, -5);
    minorOrQueen(1, 2, -5);
    minorOrQueen(1, 1, -6);
    // Side 1's wing pawns while it may castle on that wing (castled there or the right kept).
    shortWing(15, 5);
    shortWing(14, 3);
    shortWing(13, 5);
    shortWing(30, flip ? -20 : -25);
    shortWing(31, flip ? -25 : -20);
    longWing(10, 1);
    longWing(9, 4);
    longWing(8, 5);
    longWing(24, -10);
    // Side 1's centre pawns and knights.
    for (auto [s, value] : {std::pair{27, 8}, {28, 8}, {35, 6}, {36, 6}}) opening(Pawn1, s, value);
    for (auto [s, value] : {std::pair{18, 4}, {21, 4}, {16, -3}, {23, -3}})
      opening(Knight1, s, value);
    // Side 2's pieces still at home.
    for (auto [s, value] : {std::pair{62, 10}, {61, 8}, {58, 5}, {57, 6}})
      minorOrQueen(2, s, value);
    // Side 2's pawns at home and in the centre, its knights, its advanced wing pawns.
    for (auto [s, value] : {std::pair{55, -5}, {54, -3}, {53, -5}, {50, -1}, {49, -4}, {48, -5}})
      opening(Pawn2, s, value);
    for (auto [s, value] : {std::pair{35, -8}, {36, -8}, {27, -6}, {28, -6}})
      opening(Pawn2, s, value);
    for (auto [s, value] : {std::pair{42, -4}, {45, -4}, {40, 3}, {47, 3}})
      opening(Knight2, s, value);
    opening(Pawn2, 38, flip ? 20 : 25);
    opening(Pawn2, 39, flip ? 25 : 20);
    opening(Pawn2, 32, 10);
  }
  SquareTermTable table{};
  for (int flip = 0; flip < 2; ++flip) {
    for (int code = 0; code < 26; ++code) {
      for (int s = 0; s < 64; ++s) {
        const int* lane = terms[flip][code][s];
        table.packed[flip][code][s] = PackSquareTerms(lane[0], lane[1], lane[2], lane[3]);
      }
    }
  }
  return table;
}

// The opening terms that look at more than one square: shelter in front of a castled king,
// wing pawns where castling is no longer possible, blocked bishops, the pinning bishop and the
// rooks. The one-square terms come from the kept sums.
// rights/castled: the tens (side 1) and units (side 2) digits of CastleRights and Castled.
template <int Flip>
int OpeningTerms(const uint8_t* board, const int lanes[4], int rights1, int castled1,
                 int castled2) {
  const OpeningBoard<Flip> b(board);
  int score = lanes[OpeningLane];

  // Shelter in front of a castled king: only the first open file counts.
  if (castled1 == 1) {
    if (!b.P1(14) && !b.P1(22)) {
      score -= 70;
    } else if (!b.P1(15) && !b.P1(23)) {
      score -= 70;
    }
    if (b.P1(22)) score -= 10;
  }
  if (castled1 == 2) {
    if (!b.P1(8) && !b.P1(16)) {
      score -= 60;
    } else if (!b.P1(9) && !b.P1(17)) {
      score -= 60;
    }
  }
  if (castled2 == 1) {
    if (!b.P2(54) && !b.P2(46)) {
      score += 70;
    } else if (!b.P2(55) && !b.P2(47)) {
      score += 70;
    }
  }
  if (castled2 == 2) {
    if (!b.P2(48) && !b.P2(40)) {
      score += 60;
    } else if (!b.P2(49) && !b.P2(41)) {
      score += 60;
    }
  }

  // Side 1's pawns on the wings: keep them home where the king is or may go, else advance.
  // The White orientation has its own weights here (an advanced wing pawn costs 2, not 3).
  constexpr int wingStep = Flip ? 2 : 3;
  if (castled1 == 1 || rights1 == 1 || rights1 == 3) {
    score += lanes[ShortWingLane];
  } else {
    if (b.P1(13) || b.P1(21)) score -= wingStep;
    if (b.P1(14) || b.P1(22)) score -= wingStep;
    if (b.P1(15) || b.P1(23)) score -= wingStep;
  }
  if (castled1 == 2 || rights1 == 2 || rights1 == 3) {
    score += lanes[LongWingLane];
  } else {
    if (b.P1(8) || b.P1(16)) score -= wingStep;
    if (b.P1(9) || b.P1(17)) score -= wingStep;
    if (b.P1(10) || b.P1(18)) score -= wingStep;
  }

  // A bishop shut in behind its own unmoved centre pawn.
  if (b.P1(11) && b.B1(19)) score -= 70;
  if (b.P1(12) && b.B1(20)) score -= 70;
  if (b.P2(51) && b.B2(43)) score += 70;
  if (b.P2(52) && b.B2(44)) score += 70;

  // Side 1's bishop out on the pinning square with no knight there to pin.
  if (b.B1(33) && !b.N2(42)) score -= 15;

  // Rooks brought towards the centre.
  if (!b.P1(10) && b.R1(2) && !b.R1(0)) score += 3;
  if (!b.R1(5) && (b.R1(4) || b.R1(3))) score += 3;
  if (!b.P2(50) && b.R2(58) && !b.R2(56)) score -= 3;
  if (!b.R2(61) && (b.R2(60) || b.R2(59))) score -= 3;

  return score;
}

int EdgeDistance(int coordinate) {
  return std::min(coordinate, 7 - coordinate);
}

// By castling-rights digit (0 none, 1 short, 2 long, 3 both) and by castled digit (0 not,
// 1 short, 2 long); the first index tells whether the opponent still has a queen.
constexpr int RightsBonus[2][4] = {{0, 17, 16, 20}, {0, 25, 20, 30}};
constexpr int CastledBonus[2][3] = {{0, 25, 24}, {0, 45, 40}};

// A digit outside the table (a corrupt state byte) scores nothing.
int Digit(int digit, int size) {
  return digit < size ? digit : 0;
}

// Pawns in a column from its rows, three or more counting alike.
int PawnsIn(unsigned rows) {
  if (rows == 0) return 0;
  rows &= rows - 1;
  if (rows == 0) return 1;
  return (rows & (rows - 1)) == 0 ? 2 : 3;
}

// The rows of one column that hold a piece of the bit board, as bit r for row r.
unsigned ColumnRows(uint64_t bits, int column) {
  constexpr uint64_t ColumnA = 0x0101010101010101u;
  constexpr uint64_t Gather = 0x0102040810204080u;  // moves bit 8r of column a to bit 56 + r
  return static_cast<unsigned>((((bits >> column) & ColumnA) * Gather) >> 56);
}

// Doubled pawns, pawn islands and passed pawns: they depend on the pawns alone.
int32_t CountPawnStructure(uint64_t pawns1Bits, uint64_t pawns2Bits) {
  int pawns1[8], pawns2[8], row1[8] = {}, row2[8] = {};  // row: the column's highest pawn
  for (int c = 0; c < 8; ++c) {
    const unsigned rows1 = ColumnRows(pawns1Bits, c);
    const unsigned rows2 = ColumnRows(pawns2Bits, c);
    pawns1[c] = PawnsIn(rows1);
    pawns2[c] = PawnsIn(rows2);
    if (rows1) row1[c] = std::bit_width(rows1) - 1;
    if (rows2) row2[c] = std::bit_width(rows2) - 1;
  }

  int32_t score = 0;
  int islands1 = 0, islands2 = 0;
  for (int c = 0; c < 8; ++c) {
    if (pawns1[c] > 0) {
      if (c == 0 || pawns1[c - 1] == 0) ++islands1;
      if (pawns1[c] == 2)
        score -= 14;
      else if (pawns1[c] >= 3)
        score -= 35;
    }
    if (pawns2[c] > 0) {
      if (c == 0 || pawns2[c - 1] == 0) ++islands2;
      if (pawns2[c] == 2)
        score += 14;
      else if (pawns2[c] >= 3)
        score += 35;
    }
  }
  if (islands1 > 1) score -= 6 * (islands1 - 1);
  if (islands2 > 1) score += 6 * (islands2 - 1);

  // Passed pawns: no enemy pawn in the column, none further on in a neighbour column.
  for (int c = 0; c < 8; ++c) {
    if (pawns1[c] > 0 && pawns2[c] == 0) {
      bool passed = !(c > 0 && pawns2[c - 1] > 0 && row2[c - 1] > row1[c]) &&
                    !(c < 7 && pawns2[c + 1] > 0 && row2[c + 1] > row1[c]);
      if (passed) score += row1[c] * row1[c];
    }
    if (pawns2[c] > 0 && pawns1[c] == 0) {
      bool passed = !(c > 0 && pawns1[c - 1] > 0 && row1[c - 1] < row2[c]) &&
                    !(c < 7 && pawns1[c + 1] > 0 && row1[c + 1] < row2[c]);
      if (passed) score -= (7 - row2[c]) * (7 - row2[c]);
    }
  }
  return score;
}

// The search meets few pawn structures at a time: their scores are remembered by the pawns'
// places. A zeroed slot holds the right score of no pawns at all.
struct PawnStructureSlot {
  uint64_t pawns1, pawns2;
  int32_t score;
};
PawnStructureSlot PawnStructureScores[1024];

int32_t PawnStructure(uint64_t pawns1, uint64_t pawns2) {
  const uint64_t mixed = pawns1 * 0x9e3779b97f4a7c15u ^ pawns2 * 0xc2b2ae3d27d4eb4fu;
  PawnStructureSlot& slot = PawnStructureScores[mixed >> 54];
  if (slot.pawns1 != pawns1 || slot.pawns2 != pawns2) {
    slot = {pawns1, pawns2, CountPawnStructure(pawns1, pawns2)};
  }
  return slot.score;
}

// Square of the side's king; the last one of a board scan when there are more, 0 when none.
int KingSquare(uint64_t kings) {
  return kings ? std::bit_width(kings) - 1 : 0;
}

// Exactly two pieces in the bit board.
bool TwoPieces(uint64_t bits) {
  const uint64_t rest = bits & (bits - 1);
  return rest != 0 && (rest & (rest - 1)) == 0;
}

}  // namespace

constinit const SquareTermTable SquareTerms = MakeSquareTerms();

void CountBoardTerms() {
  KeptTerms = BoardTerms{};
  for (int s = 0; s < 64; ++s) {
    if (Board[s] != Empty) CountPiece<1>(Board[s], s);
  }
}

int16_t Evaluate(uint8_t ply) {
  CountBoardTerms();
  return EvaluateKept(ply);
}

int16_t EvaluateKept(uint8_t ply) {
  if (ply >= PlySlots) ply = PlySlots - 1;
  const BoardTerms& kept = KeptTerms;
  int lanes[4];
  SquareTermLanes(kept.squareTerms, lanes);

  // Summed in 32 bits and wrapped to 16 at the two points where the 16-bit value is read.
  // A king can be missing inside the pseudo-legal search; it then counts as standing on
  // square 0 (the missing 5000 decides such a position anyway).
  int32_t score = static_cast<int32_t>(kept.material) + lanes[PlacementLane];
  const int king1 = KingSquare(PiecesOf(kept, King1)), king2 = KingSquare(PiecesOf(kept, King2));
  const bool queen1 = PiecesOf(kept, Queen1) != 0, queen2 = PiecesOf(kept, Queen2) != 0;

  if (TwoPieces(PiecesOf(kept, Bishop1))) score += 15;
  if (TwoPieces(PiecesOf(kept, Bishop2))) score -= 15;

  const int rights1 = CastleRights[ply] / 10, rights2 = CastleRights[ply] % 10;
  const int castled1 = Castled[ply] / 10, castled2 = Castled[ply] % 10;

  // Castling rights, having castled and a king away from the centre count for more while the
  // opponent still has a queen.
  score += RightsBonus[queen2][Digit(rights1, 4)] + CastledBonus[queen2][Digit(castled1, 3)];
  if (queen2) score -= 2 * EdgeDistance(ColumnOf(king1)) + 2 * EdgeDistance(RowOf(king1));
  score -= RightsBonus[queen1][Digit(rights2, 4)] + CastledBonus[queen1][Digit(castled2, 3)];
  if (queen1) score += 2 * EdgeDistance(ColumnOf(king2)) + 2 * EdgeDistance(RowOf(king2));

  score += PawnStructure(PiecesOf(kept, Pawn1), PiecesOf(kept, Pawn2));

  const int pieces = kept.pieces;
  if (pieces >= 18) {
    score += BoardFlipped ? OpeningTerms<1>(Board, lanes, rights1, castled1, castled2)
                          : OpeningTerms<0>(Board, lanes, rights1, castled1, castled2);
  }

  // Winning end game: drive side 2's king to the edge and bring side 1's king close.
  if (pieces < 7 && static_cast<int16_t>(score) > 200) {
    int c1 = ColumnOf(king1), r1 = RowOf(king1), c2 = ColumnOf(king2), r2 = RowOf(king2);
    score += 6 * (std::abs(4 - c2) + std::abs(4 - r2));
    score += 4 * ((7 - std::abs(c2 - c1)) + (7 - std::abs(r2 - r1)));
  }

  return static_cast<int16_t>(score);
}

int16_t MaterialBalance() {
  // King 0; bishops and knights count 325 and 300 here, unlike PieceValue.
  constexpr int32_t KindMaterial[6] = {0, 900, 480, 325, 300, 100};
  int32_t balance = 0;
  int count = 0;
  for (int s = 0; s < 64; ++s) {
    uint8_t code = GameBoard[s];
    if (code == Empty) continue;
    ++count;
    if (code >= King1 && code <= Pawn1) balance += KindMaterial[code - King1];
    if (code >= King2 && code <= Pawn2) balance -= KindMaterial[code - King2];
  }
  PieceCount = static_cast<uint8_t>(count);
  return static_cast<int16_t>(balance);
}
