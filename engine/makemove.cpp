#include "engine/makemove.h"

#include "engine/sides.h"
#include "engine/state.h"
#include "engine/terms.h"

namespace {

// A rook leaving a corner or the king moving takes the matching rights of the mover's digit.
template <int Side>
void UpdateRights(uint8_t next, uint8_t mover, uint8_t from) {
  using S = SideTraits<Side>;
  uint8_t rights = CastleRights[next];
  uint8_t digit = S::Digit(rights);
  if (mover == S::King) {
    digit = 0;
  } else {
    const CastlingSquares c = CastlingFor<Side>(BoardFlipped);
    if (from == c.shortRook) {
      if (digit == 1) digit = 0;
      if (digit == 3) digit = 2;
    } else if (from == c.longRook) {
      if (digit == 2) digit = 0;
      if (digit == 3) digit = 1;
    }
  }
  CastleRights[next] = S::WithDigit(rights, digit);
}

template <int Side>
void MakeMove(uint8_t ply, uint8_t index) {
  using S = SideTraits<Side>;
  const uint8_t f = MoveFrom[ply][index];
  const uint8_t v = MoveTo[ply][index];
  const uint8_t next = static_cast<uint8_t>(ply + 1);
  UndoCaptured[ply] = 0;
  UndoMover[ply] = 0;
  EpFile[next] = 0;
  CastleRights[next] = CastleRights[ply];
  Castled[next] = Castled[ply];
  // The empty entry, or any entry of a ply that has no moves, only carries the state over.
  if ((f == 0 && v == 0) || LastMove[ply] >= NoMoves) return;

  const uint8_t m = Board[f];
  if (v < CaptureFlag) {
    const uint8_t t = v;
    if (m == S::King) {
      const CastlingSquares c = CastlingFor<Side>(BoardFlipped);
      if (f == c.king && (t == c.shortTarget || t == c.longTarget)) {
        const bool isShort = t == c.shortTarget;
        const uint8_t rook = isShort ? c.shortRook : c.longRook;
        const uint8_t rookTarget = isShort ? c.shortRookTarget : c.longRookTarget;
        SetSquare(f, Empty);
        SetSquare(rook, Empty);
        SetSquare(t, S::King);
        SetSquare(rookTarget, S::Rook);
        const uint8_t amount = static_cast<uint8_t>((isShort ? 1 : 2) * S::RightsUnit);
        CastleRights[next] = static_cast<uint8_t>(CastleRights[next] - amount);
        Castled[next] = static_cast<uint8_t>(Castled[next] + amount);
        UndoCaptured[ply] = S::King;
        return;
      }
    }
    if (m == S::King || m == S::Rook) UpdateRights<Side>(next, m, f);
    UndoCaptured[ply] = m;
    MovePiece(f, t, m);
  } else if (v < DoubleStepFlag) {
    const uint8_t t = static_cast<uint8_t>(v - CaptureFlag);
    if (m == S::Pawn && Board[t] == Empty) {
      MovePiece(f, t, S::Pawn);
      SetSquare((t - S::Forward) & 63, Empty);  // the pawn that made the double step
      UndoCaptured[ply] = 0;
      return;
    }
    if (m == S::King || m == S::Rook) UpdateRights<Side>(next, m, f);
    UndoCaptured[ply] = Board[t];
    UndoMover[ply] = m;
    MovePiece(f, t, m);
  } else if (v < PromotionFlag) {
    const uint8_t t = static_cast<uint8_t>(v - DoubleStepFlag);
    UndoCaptured[ply] = S::Pawn;
    MovePiece(f, t, S::Pawn);
    EpFile[next] = static_cast<uint8_t>(ColumnOf(f) + 1);
  } else {
    const uint8_t t = static_cast<uint8_t>(v - PromotionFlag);
    UndoCaptured[ply] = Board[t];
    SetSquare(t, S::Queen);
    SetSquare(f, Empty);
  }
}

template <int Side>
void UnmakeMove(uint8_t ply, uint8_t index) {
  using S = SideTraits<Side>;
  const uint8_t f = MoveFrom[ply][index];
  const uint8_t v = MoveTo[ply][index];
  if ((f == 0 && v == 0) || LastMove[ply] >= NoMoves) return;

  if (v < CaptureFlag) {
    const uint8_t t = v;
    if (Board[t] == S::King && UndoCaptured[ply] == S::King) {
      const CastlingSquares c = CastlingFor<Side>(BoardFlipped);
      if (f == c.king && (t == c.shortTarget || t == c.longTarget)) {
        const bool isShort = t == c.shortTarget;
        SetSquare(t, Empty);
        SetSquare(isShort ? c.shortRookTarget : c.longRookTarget, Empty);
        SetSquare(f, S::King);
        SetSquare(isShort ? c.shortRook : c.longRook, S::Rook);
        return;
      }
    }
    MovePiece(t, f, UndoCaptured[ply]);  // the piece back from t to f
  } else if (v < DoubleStepFlag) {
    const uint8_t t = static_cast<uint8_t>(v - CaptureFlag);
    if (UndoCaptured[ply] == 0) {
      MovePiece(t, f, S::Pawn);
      SetSquare((t - S::Forward) & 63, S::EnemyPawn);
    } else {
      MovePiece(t, f, UndoMover[ply]);
      SetSquare(t, UndoCaptured[ply]);
    }
  } else if (v < PromotionFlag) {
    const uint8_t t = static_cast<uint8_t>(v - DoubleStepFlag);
    MovePiece(t, f, S::Pawn);
  } else {
    const uint8_t t = static_cast<uint8_t>(v - PromotionFlag);
    SetSquare(t, UndoCaptured[ply]);
    SetSquare(f, S::Pawn);
  }
}

}  // namespace

void MakeMove1(uint8_t ply, uint8_t index) {
  MakeMove<1>(ply, index);
}
void UnmakeMove1(uint8_t ply, uint8_t index) {
  UnmakeMove<1>(ply, index);
}
void MakeMove2(uint8_t ply, uint8_t index) {
  MakeMove<2>(ply, index);
}
void UnmakeMove2(uint8_t ply, uint8_t index) {
  UnmakeMove<2>(ply, index);
}
