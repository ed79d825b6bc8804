#include "engine/evaluate.h"

#include <algorithm>
#include <cstdlib>

#include "engine/state.h"

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
  bool N1(int s) const { return Holds(s, Knight1); }
  bool N2(int s) const { return Holds(s, Knight2); }
  bool B1(int s) const { return Holds(s, Bishop1); }
  bool B2(int s) const { return Holds(s, Bishop2); }
  bool R1(int s) const { return Holds(s, Rook1); }
  bool R2(int s) const { return Holds(s, Rook2); }
  bool MinorOrQueen1(int s) const { return B1(s) || N1(s) || Holds(s, Queen1); }
  bool MinorOrQueen2(int s) const { return B2(s) || N2(s) || Holds(s, Queen2); }
  bool Minor1(int s) const { return B1(s) || N1(s); }

 private:
  const uint8_t* board_;
};

// Development, pawn shelter and centre terms for the first moves of a game.
// rights/castled: the tens (side 1) and units (side 2) digits of CastleRights and Castled.
template <int Flip>
int OpeningTerms(const uint8_t* board, int rights1, int castled1, int castled2) {
  const OpeningBoard<Flip> b(board);
  int score = 0;

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

  // Side 1's pieces still at home.
  if (b.MinorOrQueen1(6)) score -= 10;
  if (b.MinorOrQueen1(5)) score -= 8;
  if (b.Minor1(3)) score -= 5;
  if (b.Minor1(4)) score -= 5;
  if (b.MinorOrQueen1(2)) score -= 5;
  if (b.MinorOrQueen1(1)) score -= 6;

  // Side 1's pawns on the wings: keep them home where the king is or may go, else advance.
  // The White orientation has its own weights here (the g/h-pawn values are exchanged and an
  // advanced wing pawn costs 2, not 3).
  constexpr int wingStep = Flip ? 2 : 3;
  if (castled1 == 1 || rights1 == 1 || rights1 == 3) {
    if (b.P1(15)) score += 5;
    if (b.P1(14)) score += 3;
    if (b.P1(13)) score += 5;
    if (b.P1(30)) score -= Flip ? 20 : 25;
    if (b.P1(31)) score -= Flip ? 25 : 20;
  } else {
    if (b.P1(13) || b.P1(21)) score -= wingStep;
    if (b.P1(14) || b.P1(22)) score -= wingStep;
    if (b.P1(15) || b.P1(23)) score -= wingStep;
  }
  if (castled1 == 2 || rights1 == 2 || rights1 == 3) {
    if (b.P1(10)) score += 1;
    if (b.P1(9)) score += 4;
    if (b.P1(8)) score += 5;
    if (b.P1(24)) score -= 10;
  } else {
    if (b.P1(8) || b.P1(16)) score -= wingStep;
    if (b.P1(9) || b.P1(17)) score -= wingStep;
    if (b.P1(10) || b.P1(18)) score -= wingStep;
  }

  // Side 1's centre pawns and knights.
  if (b.P1(27)) score += 8;
  if (b.P1(28)) score += 8;
  if (b.P1(35)) score += 6;
  if (b.P1(36)) score += 6;
  if (b.N1(18)) score += 4;
  if (b.N1(21)) score += 4;
  if (b.N1(16)) score -= 3;
  if (b.N1(23)) score -= 3;

  // Side 2's pieces still at home.
  if (b.MinorOrQueen2(62)) score += 10;
  if (b.MinorOrQueen2(61)) score += 8;
  if (b.MinorOrQueen2(58)) score += 5;
  if (b.MinorOrQueen2(57)) score += 6;

  // Side 2's pawns at home and in the centre.
  if (b.P2(55)) score -= 5;
  if (b.P2(54)) score -= 3;
  if (b.P2(53)) score -= 5;
  if (b.P2(50)) score -= 1;
  if (b.P2(49)) score -= 4;
  if (b.P2(48)) score -= 5;
  if (b.P2(35)) score -= 8;
  if (b.P2(36)) score -= 8;
  if (b.P2(27)) score -= 6;
  if (b.P2(28)) score -= 6;

  // Side 2's knights.
  if (b.N2(42)) score -= 4;
  if (b.N2(45)) score -= 4;
  if (b.N2(40)) score += 3;
  if (b.N2(47)) score += 3;

  // Side 2's advanced wing pawns (g/h values exchanged in the White orientation).
  if (b.P2(38)) score += Flip ? 20 : 25;
  if (b.P2(39)) score += Flip ? 25 : 20;
  if (b.P2(32)) score += 10;

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

}  // namespace

int16_t Evaluate(uint8_t ply) {
  if (ply >= PlySlots) ply = PlySlots - 1;

  // Summed in 32 bits and wrapped to 16 at the two points where the 16-bit value is read.
  int32_t score = 0;
  int pieces = 0;
  // A king can be missing inside the pseudo-legal search; it then counts as standing on
  // square 0 (the missing 5000 decides such a position anyway).
  int king1 = 0, king2 = 0;
  bool queen1 = false, queen2 = false;
  int bishops1 = 0, bishops2 = 0;
  int pawns1[8] = {}, pawns2[8] = {};  // pawns per column
  int row1[8] = {}, row2[8] = {};      // highest row of a pawn in the column

  for (int s = 0; s < 64; ++s) {
    uint8_t code = Board[s];
    if (code == Empty) continue;
    ++pieces;
    if (code > Pawn2) continue;
    score += PieceValue[code];
    int r = RowOf(s), c = ColumnOf(s);
    switch (code) {
      case King1:
        king1 = s;
        break;
      case King2:
        king2 = s;
        break;
      case Queen1:
        queen1 = true;
        break;
      case Queen2:
        queen2 = true;
        break;
      case Rook1:
        if (r == 6) score += 5;
        break;
      case Rook2:
        if (r == 1) score -= 5;
        break;
      case Bishop1:
        if ((c == 1 || c == 6) && (r == 1 || r == 6)) score += 4;
        ++bishops1;
        break;
      case Bishop2:
        if ((c == 1 || c == 6) && (r == 1 || r == 6)) score -= 4;
        ++bishops2;
        break;
      case Knight1:
        score += (4 - std::abs(4 - c)) + (4 - std::abs(4 - r));
        break;
      case Knight2:
        score -= (4 - std::abs(4 - c)) + (4 - std::abs(4 - r));
        break;
      case Pawn1:
        ++pawns1[c];
        row1[c] = r;
        break;
      case Pawn2:
        ++pawns2[c];
        row2[c] = r;
        break;
      default:
        break;
    }
  }

  if (bishops1 == 2) score += 15;
  if (bishops2 == 2) score -= 15;

  const int rights1 = CastleRights[ply] / 10, rights2 = CastleRights[ply] % 10;
  const int castled1 = Castled[ply] / 10, castled2 = Castled[ply] % 10;

  // Castling rights, having castled and a king away from the centre count for more while the
  // opponent still has a queen.
  score += RightsBonus[queen2][Digit(rights1, 4)] + CastledBonus[queen2][Digit(castled1, 3)];
  if (queen2) score -= 2 * EdgeDistance(ColumnOf(king1)) + 2 * EdgeDistance(RowOf(king1));
  score -= RightsBonus[queen1][Digit(rights2, 4)] + CastledBonus[queen1][Digit(castled2, 3)];
  if (queen1) score += 2 * EdgeDistance(ColumnOf(king2)) + 2 * EdgeDistance(RowOf(king2));

  // Doubled pawns and pawn islands.
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

  if (pieces >= 18) {
    score += BoardFlipped ? OpeningTerms<1>(Board, rights1, castled1, castled2)
                          : OpeningTerms<0>(Board, rights1, castled1, castled2);
  }

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
