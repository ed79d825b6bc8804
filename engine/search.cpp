// The search: iterative deepening with alpha-beta cutoffs, a recapture extension, killer and
// hash moves, and a best-reply memory per root move. It never recurses: the path lives in the
// per-ply tables, so the caller can stop after any step and draw or read input in between.
#include "engine/search.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "engine/book.h"
#include "engine/evaluate.h"
#include "engine/game.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/makemove.h"
#include "engine/movegen.h"
#include "engine/notation.h"
#include "engine/state.h"
#include "engine/terms.h"
#include "engine/timectl.h"

std::string BestMoveText;
uint8_t PlayedFrom, PlayedTo;
int32_t LastSearchSteps;
int32_t LastSearchNodes;
uint8_t LastCompletedDepth;
int32_t SlicesRun;

namespace {

constexpr int StepsPerSlice = 1000;
constexpr uint8_t DeepestLeaf = 29;     // LeafPly never goes beyond this
constexpr uint8_t LastListPly = 30;     // move lists and path tables are cleared up to here
constexpr uint8_t DepthLimit = 30;      // no iteration reaches this depth
constexpr int16_t ForceThinking = 22222;
constexpr int16_t ShownScoreLimit = 18000;
constexpr uint8_t StartDepth = 2;
constexpr int16_t IllegalMovesLeft = 100;  // MovesLeft of nodes that never count illegal moves
constexpr uint8_t GameOverMate = 3, GameOverDraw = 4;

uint8_t ShownRootIndex;  // root move under search after the last slice, for CurrentMoveText

void KeepThinkingText(uint8_t) { BestMoveText = PrincipalVariationText(); }
ThinkingOutput Output = KeepThinkingText;
StepObserver Observer = nullptr;

// Counters saturate instead of overflowing; SearchSteps must never come back to 0 mid-search.
inline void CountUp(int32_t& counter) {
  if (counter < INT32_MAX) ++counter;
}

inline bool IsCapture(uint8_t to) { return to >= CaptureFlag && to < DoubleStepFlag; }
inline bool SideTwoMoves(int ply) { return (ply & 1) != 0; }
inline bool HasMoves(int ply) { return LastMove[ply] < NoMoves; }

// Even plies are side 1's moves, odd plies side 2's.
inline void MakeAt(int ply, uint8_t index) {
  if (SideTwoMoves(ply)) {
    MakeMove2(static_cast<uint8_t>(ply), index);
  } else {
    MakeMove1(static_cast<uint8_t>(ply), index);
  }
}

inline void UnmakeAt(int ply, uint8_t index) {
  if (SideTwoMoves(ply)) {
    UnmakeMove2(static_cast<uint8_t>(ply), index);
  } else {
    UnmakeMove1(static_cast<uint8_t>(ply), index);
  }
}

// The entry the ply is searching; a node without moves has none.
inline void CurrentMove(int ply, uint8_t* from, uint8_t* to) {
  const uint8_t index = MoveIndex[ply];
  if (!HasMoves(ply) || index >= MoveListSize) {
    *from = 0;
    *to = 0;
    return;
  }
  *from = MoveFrom[ply][index];
  *to = MoveTo[ply][index];
}

// The board terms of GameBoard, counted when the search starts: loading the game position
// takes them instead of recounting.
BoardTerms GameTerms;

void LoadGameBoard() {
  std::memcpy(Board, GameBoard, sizeof(Board));
  KeptTerms = GameTerms;
}

void RestoreGamePosition() {
  LoadGameBoard();
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
}

// Placeholder state for the plies the path has not reached yet; make overwrites it.
void ResetPathState(int lastPly) {
  if (lastPly > PlySlots - 1) lastPly = PlySlots - 1;
  for (int p = 1; p <= lastPly; ++p) {
    EpFile[p] = 0;
    CastleRights[p] = 33;
    Castled[p] = 22;
  }
}

void Cut(int ply) {
  CutoffFlag = 1;
  LastMove[ply] = MoveIndex[ply];
  KillerFrom[ply] = MoveFrom[ply][MoveIndex[ply]];
  KillerTo[ply] = MoveTo[ply][MoveIndex[ply]];
}

// Board as replayed from the game position along the path down to ply p - 1; false when a
// ply on the way has no current move, so the path stops there. Make and unmake keep Board,
// the per-ply state and the board terms on the path at every step, so a whole path is there
// already; only a path cut short is rebuilt, up to the ply where it stops.
bool ReplayPath(int p) {
  for (int q = 0; q < p; ++q) {
    if (HasMoves(q) && MoveIndex[q] <= LastMove[q]) continue;
    RestoreGamePosition();
    for (int r = 0; r < q; ++r) MakeAt(r, MoveIndex[r]);
    return false;
  }
  return true;
}

void OpenNode(uint8_t p) {
  const bool side2 = SideTwoMoves(p);
  const int parent = p - 1;
  HashMoveFrom = 0;
  HashMoveTo = 0;
  PlyBestFrom[p] = 0;
  PlyBestTo[p] = 0;
  InCheck1[p] = 0;
  InCheck2[p] = 0;
  PlyHashIndex[p] = NoHashIndex;
  PlyHashCheck[p] = 0;
  PlyScore[p] = side2 ? OpenBound : static_cast<int16_t>(-OpenBound);

  if (p <= IterDepth) {
    CountUp(NodeCount);
    uint32_t check = 0;
    PlyHashIndex[p] =
        HashKeyFromSums(static_cast<int32_t>(KeptTerms.key1), static_cast<int32_t>(KeptTerms.key2),
                        static_cast<int32_t>(KeptTerms.key3), &check);
    PlyHashCheck[p] = check;
    if (HashProbe(PlyHashIndex[p]) && HashProbed.check == check) {
      const uint8_t piece = Board[HashProbed.from & 63];
      const bool own = side2 ? (piece >= King2 && piece <= Pawn2) : (piece >= King1 && piece <= Pawn1);
      if (own) {
        HashMoveFrom = HashProbed.from;
        HashMoveTo = HashProbed.to;
      }
    }
    InCheck2[p] = KingAttacked2();
    InCheck1[p] = KingAttacked1();
    const uint8_t moverInCheck = side2 ? InCheck1[p] : InCheck2[p];
    const uint8_t moverWasInCheck = side2 ? InCheck1[parent] : InCheck2[parent];
    if (HasMoves(parent)) {
      if (moverInCheck) {
        // The parent's move left its own king attacked: mate against the mover.
        PlyScore[p] = side2 ? static_cast<int16_t>(-MateScore) : MateScore;
        LastMove[p] = NoMoves;
      } else {
        LastMove[p] = side2 ? GenerateMoves2(p) : GenerateMoves1(p);
      }
    } else {
      LastMove[p] = NoMoves;
    }
    MovesLeft[p] = LastMove[p];
    if (!moverWasInCheck && moverInCheck) --MovesLeft[parent];
    LeafPly = IterDepth;
  } else {
    uint8_t parentFrom, parentTo;
    CurrentMove(parent, &parentFrom, &parentTo);
    RecaptureSquare = static_cast<uint8_t>(TargetOf(parentTo));
    MovesLeft[p] = IllegalMovesLeft;
    if (HasMoves(parent) && IsCapture(parentTo)) {
      LastMove[p] = side2 ? GenerateRecaptures2(p) : GenerateRecaptures1(p);
    } else {
      LastMove[p] = NoMoves;
    }
  }

  const bool hasMoves = HasMoves(p);
  if (IterDepth <= p) LeafPly = p;
  // Only a list generated for this node is looked at, so an empty node is never extended.
  if (p == IterDepth && hasMoves && IsCapture(MoveTo[p][0])) LeafPly = static_cast<uint8_t>(p + 1);
  if (p > IterDepth) {
    if (hasMoves) {
      LeafPly = static_cast<uint8_t>(p + 1);
      CountUp(NodeCount);
    } else {
      LeafPly = static_cast<uint8_t>(p - 1);
    }
  }

  if (p == 1) {
    const uint8_t reply = RootReply[MoveIndex[0]];
    if (reply != 0 && hasMoves && LastMove[1] != 0 && reply <= LastMove[1]) {
      std::swap(MoveFrom[1][0], MoveFrom[1][reply]);
      std::swap(MoveTo[1][0], MoveTo[1][reply]);
    }
  }

  bool pathComplete = true;
  if (p == IterDepth) pathComplete = ReplayPath(p);
  if (pathComplete && hasMoves) MakeAt(p, 0);

  MoveIndex[p] = 0;
  ChildDone[p] = 0;
  NodeOpen[p] = 1;
  NodeOpen[p + 1] = 0;
  PlyBound[p + 2] = static_cast<int16_t>(side2 ? PlyBound[p] - 1 : PlyBound[p] + 1);
}

// Odd plies minimise, even plies maximise; ties take the later move.
void PassScoreUp(int ply) {
  const int parent = ply - 1;
  const bool better = SideTwoMoves(ply) ? PlyScore[parent] <= PlyScore[ply]
                                        : PlyScore[ply] <= PlyScore[parent];
  if (!better) return;
  PlyScore[parent] = PlyScore[ply];
  CurrentMove(parent, &PlyBestFrom[parent], &PlyBestTo[parent]);
}

// The tail every finished node shares: store it and hand its value to the next sibling.
void CloseNode(int ply) {
  MoveIndex[ply] = 0;
  NodeOpen[ply] = 0;
  if (ply > 0) ChildDone[ply - 1] = 1;
  HashStore(PlyHashIndex[ply], PlyHashCheck[ply], PlyScore[ply], PlyBestFrom[ply], PlyBestTo[ply],
            static_cast<int8_t>(IterDepth - ply), 0);
  if (!CutoffFlag) {
    const bool better = SideTwoMoves(ply) ? PlyScore[ply] > PlyBound[ply] : PlyScore[ply] < PlyBound[ply];
    if (better) PlyBound[ply] = PlyScore[ply];
  }
}

void FinishLeafNode(int ply) {
  if (MoveIndex[ply] <= LastMove[ply] && HasMoves(ply)) UnmakeAt(ply, MoveIndex[ply]);
  PassScoreUp(ply);
  CloseNode(ply);
}

void FinishRootMove() {
  // The repetition penalty changes the ply-1 score itself, so the root's score and bound
  // agree with the value the move was judged by.
  int16_t& value = PlyScore[1];
  if (RootRepeats[MoveIndex[0]]) {
    if (value > -10 && PieceCount >= 18) {
      value = -20;
    } else if (value > 30 && PieceCount < 18) {
      value = 0;
    }
  }
  if (value > PlyScore[0]) {
    IterBestIndex = BestRootIndex = MoveIndex[0];
    PlyScore[0] = RootScore = value;
    HintFrom = ReplyFrom;
    HintTo = ReplyTo;
  }
}

void AdvancePly(int q) {
  ChildDone[q] = 0;
  CutoffFlag = 0;
  const bool side2 = SideTwoMoves(q);
  if (q == IterDepth) {
    if (side2 && InCheck2[q] && KingAttacked2()) PlyScore[q] = MateScore;
    if (!side2 && InCheck1[q] && KingAttacked1()) PlyScore[q] = static_cast<int16_t>(-MateScore);
  }
  if (q > 0 && HasMoves(q)) {
    const bool cut = side2 ? PlyScore[q] < PlyBound[q] : PlyScore[q] > PlyBound[q];
    if (cut) Cut(q);
  }
  if (q == 0) {
    PlyBound[2] = OpenBound;
  } else {
    PlyBound[q + 2] = static_cast<int16_t>(side2 ? PlyBound[q] - 1 : PlyBound[q] + 1);
  }

  const bool hasMoves = HasMoves(q);
  if (hasMoves) {
    if (MoveIndex[q] <= LastMove[q]) UnmakeAt(q, MoveIndex[q]);
    ++MoveIndex[q];
    if (MoveIndex[q] <= LastMove[q]) MakeAt(q, MoveIndex[q]);
    NodeOpen[q + 1] = 0;
  }
  if (hasMoves && MoveIndex[q] <= LastMove[q]) return;

  if (q > 0) {
    if (MovesLeft[q] < 0) PlyScore[q] = 0;  // every move was illegal without check: stalemate
    if (q == 2 && PlyScore[2] <= PlyScore[1]) {
      RootReply[MoveIndex[0]] = MoveIndex[1];
      CurrentMove(1, &ReplyFrom, &ReplyTo);
    }
    if (q == 1) FinishRootMove();
    PassScoreUp(q);
  } else {
    IterationDone = 1;
    LastCompletedDepth = IterDepth;
  }
  CloseNode(q);
}

void Step() {
  if (!NodeOpen[LeafPly]) {
    for (uint8_t p = 1; p <= LeafPly; ++p) {
      if (!NodeOpen[p]) OpenNode(p);
      if (LeafPly > DeepestLeaf) LeafPly = DeepestLeaf;
    }
    if (Observer) Observer();
  }
  LeafScore = EvaluateKept(static_cast<uint8_t>(LeafPly + 1));
  CutoffFlag = 0;

  const int leaf = LeafPly;
  const bool hasMoves = HasMoves(leaf);
  if (SideTwoMoves(leaf)) {
    if (InCheck2[leaf] && leaf == IterDepth && KingAttacked2()) LeafScore = MateScore;
    if (LeafScore <= PlyScore[leaf]) {
      PlyScore[leaf] = LeafScore;
      CurrentMove(leaf, &PlyBestFrom[leaf], &PlyBestTo[leaf]);
    }
    if (PlyScore[leaf] < PlyBound[leaf] && hasMoves) Cut(leaf);
  } else {
    if (InCheck1[leaf] && leaf == IterDepth && KingAttacked1()) LeafScore = static_cast<int16_t>(-MateScore);
    if (PlyScore[leaf] <= LeafScore) {
      PlyScore[leaf] = LeafScore;
      CurrentMove(leaf, &PlyBestFrom[leaf], &PlyBestTo[leaf]);
    }
    if (PlyScore[leaf] > PlyBound[leaf] && hasMoves) Cut(leaf);
  }

  if (hasMoves && MoveIndex[leaf] < LastMove[leaf]) {
    UnmakeAt(leaf, MoveIndex[leaf]);
    ++MoveIndex[leaf];
    MakeAt(leaf, MoveIndex[leaf]);
    return;
  }
  FinishLeafNode(leaf);
  for (int q = leaf - 1; q >= 0; --q) {
    if (ChildDone[q]) AdvancePly(q);
  }
}

// The game cannot go on when the side to move has no legal move; say so instead of searching.
void EndGameWithoutMoves() {
  GameStatus = KingAttacked1() ? GameOverMate : GameOverDraw;
  TurnState = 2;
}

bool StartSearch() {
  LeafPly = IterDepth = CurrentDepth = StartDepth;
  IterationDone = SearchDone = 0;
  BestRootIndex = IterBestIndex = 0;
  LastCompletedDepth = 0;
  ShownRootIndex = 0;
  MaterialBalance();
  std::memset(RootReply, 0, sizeof(RootReply));

  std::memcpy(Board, GameBoard, sizeof(Board));
  CountBoardTerms();
  GameTerms = KeptTerms;
  RestoreGamePosition();
  for (int p = 0; p <= LastListPly; ++p) {
    MoveIndex[p] = 0;
    LastMove[p] = 0;
    NodeOpen[p] = 0;
    ChildDone[p] = 0;
  }
  ResetPathState(LeafPly + 1);

  InCheck1[0] = 0;
  RootLast = GenerateMoves1(0);
  if (RootLast != NoMoves) FilterLegal1();
  if (RootLast < 0 || RootLast >= NoMoves) {
    EndGameWithoutMoves();
    return false;
  }
  LastMove[0] = static_cast<uint8_t>(RootLast);

  std::memset(RootRepeats, 0, sizeof(RootRepeats));
  for (int i = 0; i <= LastMove[0]; ++i) {
    LoadGameBoard();
    MakeMove1(0, static_cast<uint8_t>(i));
    RootRepeats[i] = RepeatsHistory();
  }

  LoadGameBoard();
  PlyScore[0] = static_cast<int16_t>(-OpenBound);
  MakeMove1(0, 0);

  if (HalfMoveCount < 10 && BookAllowed && BookLookup()) {
    IterationDone = SearchDone = 1;
    MoveFrom[0][0] = BookFrom;
    MoveTo[0][0] = BookTo;
    BestRootIndex = IterBestIndex = 0;
  }

  PlyBound[0] = OpenBound;
  PlyBound[1] = static_cast<int16_t>(-OpenBound);
  PlyBound[2] = OpenBound;
  ShownThisIteration = 0;
  InCheck1[0] = KingAttacked1();
  InCheck2[0] = KingAttacked2();
  for (int p = 0; p <= DeepestLeaf; ++p) {
    PlyBestFrom[p] = 0;
    PlyBestTo[p] = 0;
    MovesLeft[p] = IllegalMovesLeft;
  }
  PlyHashIndex[0] = NoHashIndex;  // the root itself is never keyed
  ThinkSeconds = 0;
  return true;
}

// The previous best goes first in the next iteration, carrying its reply and repeat mark.
void BestMoveFirst() {
  const uint8_t best = BestRootIndex;
  if (!HasMoves(0) || LastMove[0] == 0 || best == 0 || best > LastMove[0]) return;
  const uint8_t from = MoveFrom[0][best], to = MoveTo[0][best];
  const uint8_t reply = RootReply[best], repeats = RootRepeats[best];
  for (int i = best; i > 0; --i) {
    MoveFrom[0][i] = MoveFrom[0][i - 1];
    MoveTo[0][i] = MoveTo[0][i - 1];
    RootReply[i] = RootReply[i - 1];
    RootRepeats[i] = RootRepeats[i - 1];
  }
  MoveFrom[0][0] = from;
  MoveTo[0][0] = to;
  RootReply[0] = reply;
  RootRepeats[0] = repeats;
  BestRootIndex = 0;
}

void NextIteration() {
  if (IterDepth >= MaxDepth - 1 || LastMove[0] == 0 || RootScore == MateScore) SearchDone = 1;
  BestRootIndex = IterBestIndex;
  const int next = CurrentDepth + 1;
  if (next >= DepthLimit) SearchDone = 1;
  IterDepth = CurrentDepth = static_cast<uint8_t>(next);
  // Depth 30 only comes with the end of the search; the leaf stays within the tables.
  LeafPly = static_cast<uint8_t>(next > DeepestLeaf ? DeepestLeaf : next);
  IterationDone = 0;
  IterBestIndex = 0;

  RestoreGamePosition();
  ResetPathState(next + 2);
  BestMoveFirst();
  if (!SearchDone && !ShownThisIteration) {
    LastShownScore = ForceThinking;
    ThinkingLine(static_cast<uint8_t>(CurrentDepth - 1));
  }
  ShownThisIteration = 0;

  LoadGameBoard();
  PlyScore[0] = static_cast<int16_t>(-OpenBound);
  MakeMove1(0, 0);
  for (int p = 0; p <= DeepestLeaf; ++p) {
    MoveIndex[p] = 0;
    NodeOpen[p] = 0;
    ChildDone[p] = 0;
    MovesLeft[p] = IllegalMovesLeft;
  }
  for (int p = 1; p <= LastListPly; ++p) LastMove[p] = 0;
  PlyBound[1] = static_cast<int16_t>(-OpenBound);
  PlyBound[2] = OpenBound;
}

uint8_t PlayBestMove() {
  if (CurrentDepth > 0) --CurrentDepth;
  if (NodeCount > 100) ThinkingLine(CurrentDepth);
  LastSearchSteps = SearchSteps;
  LastSearchNodes = NodeCount;
  if (BestRootIndex > LastMove[0]) BestRootIndex = 0;
  PlayedFrom = MoveFrom[0][BestRootIndex];
  PlayedTo = MoveTo[0][BestRootIndex];

  RestoreGamePosition();
  PlayGameMove(1, BestRootIndex);

  SearchSteps = 0;
  NodeCount = 0;
  NodesPerSecond = 0;
  LastNodeCount = 0;
  HashClear();
  std::memset(MoveFrom, 0, sizeof(MoveFrom));
  std::memset(MoveTo, 0, sizeof(MoveTo));
  return 1;
}

// Everything the PV builder touches, so that a thinking line between slices changes nothing.
struct SearchSnapshot {
  uint8_t board[64];
  uint8_t moveFrom[ListPlies][MoveListSize];
  uint8_t moveTo[ListPlies][MoveListSize];
  uint8_t epFile[PlySlots], castleRights[PlySlots], castled[PlySlots];
  uint8_t undoCaptured[PlySlots], undoMover[PlySlots];
  uint8_t inCheck1[PlySlots], inCheck2[PlySlots];
  uint8_t lastMove[PlySlots];
  uint8_t hashMoveFrom, hashMoveTo;
  HashProbeBuffer probed;
  BoardTerms terms;
};
SearchSnapshot Saved;

void SaveSearchState() {
  std::memcpy(Saved.board, Board, sizeof(Board));
  std::memcpy(Saved.moveFrom, MoveFrom, sizeof(MoveFrom));
  std::memcpy(Saved.moveTo, MoveTo, sizeof(MoveTo));
  std::memcpy(Saved.epFile, EpFile, sizeof(EpFile));
  std::memcpy(Saved.castleRights, CastleRights, sizeof(CastleRights));
  std::memcpy(Saved.castled, Castled, sizeof(Castled));
  std::memcpy(Saved.undoCaptured, UndoCaptured, sizeof(UndoCaptured));
  std::memcpy(Saved.undoMover, UndoMover, sizeof(UndoMover));
  std::memcpy(Saved.inCheck1, InCheck1, sizeof(InCheck1));
  std::memcpy(Saved.inCheck2, InCheck2, sizeof(InCheck2));
  std::memcpy(Saved.lastMove, LastMove, sizeof(LastMove));
  Saved.hashMoveFrom = HashMoveFrom;
  Saved.hashMoveTo = HashMoveTo;
  Saved.probed = HashProbed;
  Saved.terms = KeptTerms;
}

void RestoreSearchState() {
  std::memcpy(Board, Saved.board, sizeof(Board));
  std::memcpy(MoveFrom, Saved.moveFrom, sizeof(MoveFrom));
  std::memcpy(MoveTo, Saved.moveTo, sizeof(MoveTo));
  std::memcpy(EpFile, Saved.epFile, sizeof(EpFile));
  std::memcpy(CastleRights, Saved.castleRights, sizeof(CastleRights));
  std::memcpy(Castled, Saved.castled, sizeof(Castled));
  std::memcpy(UndoCaptured, Saved.undoCaptured, sizeof(UndoCaptured));
  std::memcpy(UndoMover, Saved.undoMover, sizeof(UndoMover));
  std::memcpy(InCheck1, Saved.inCheck1, sizeof(InCheck1));
  std::memcpy(InCheck2, Saved.inCheck2, sizeof(InCheck2));
  std::memcpy(LastMove, Saved.lastMove, sizeof(LastMove));
  HashMoveFrom = Saved.hashMoveFrom;
  HashMoveTo = Saved.hashMoveTo;
  HashProbed = Saved.probed;
  KeptTerms = Saved.terms;
}

MoveNamer Namer = nullptr;  // the variation's notation while one is built; nullptr long

std::string EntryText(uint8_t from, uint8_t to) {
  if (Namer != nullptr) return Namer(from, to) + " ";
  return MoveText(from, to, Board[from], IsCapture(to) ? 1 : 0) + " ";
}

// Makes the hash table's move for the side to move at ply, when the entry matches this
// position and its move is one the side really has here (a colliding entry is never played).
// A move that leaves the mover's king attacked ends the variation: after a mate the table
// may still hold a reply of the mated side.
bool PlayHashMove(uint8_t ply, std::string* text) {
  const bool side2 = SideTwoMoves(ply);
  uint32_t check = 0;
  const int32_t index = HashKey(&check);
  if (!HashProbe(index) || HashProbed.check != check) return false;
  const uint8_t from = HashProbed.from & 63, to = HashProbed.to;
  const uint8_t piece = Board[from];
  if (side2 ? (piece < King2 || piece > Pawn2) : (piece < King1 || piece > Pawn1)) return false;

  HashMoveFrom = 0;
  HashMoveTo = 0;
  InCheck1[ply] = KingAttacked1();
  InCheck2[ply] = KingAttacked2();
  LastMove[ply] = side2 ? GenerateMoves2(ply) : GenerateMoves1(ply);
  if (!HasMoves(ply)) return false;
  for (int i = 0; i <= LastMove[ply]; ++i) {
    if (MoveFrom[ply][i] == from && MoveTo[ply][i] == to) {
      const std::string entry = EntryText(from, to);
      MakeAt(ply, static_cast<uint8_t>(i));
      if (side2 ? KingAttacked2() : KingAttacked1()) return false;
      *text += entry;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string PrincipalVariationText(MoveNamer namer) {
  if (!HasMoves(0) || BestRootIndex > LastMove[0]) return "";
  Namer = namer;
  SaveSearchState();
  RestoreGamePosition();
  const uint8_t from = MoveFrom[0][BestRootIndex], to = MoveTo[0][BestRootIndex];
  std::string text = EntryText(from, to);
  MakeMove1(0, BestRootIndex);
  for (uint8_t ply = 1; ply <= 10; ply += 2) {
    if (!PlayHashMove(ply, &text)) break;
    if (!PlayHashMove(static_cast<uint8_t>(ply + 1), &text)) break;
  }
  RestoreSearchState();
  return text;
}

std::string ThinkingLineText(uint8_t depth) {
  auto padded = [](long value, size_t width) {
    std::string field = std::to_string(value);
    if (field.size() < width) field.append(width - field.size(), ' ');
    return field;
  };
  const int shownDepth = depth + 1;
  std::string line = std::to_string(shownDepth) + (shownDepth < 10 ? "  " : " ");
  line += padded(RootScore, 6);
  line += padded(ThinkSeconds, 5);
  line += padded(NodeCount, 10);
  line += PrincipalVariationText();
  return line;
}

void SetThinkingOutput(ThinkingOutput output) { Output = output ? output : KeepThinkingText; }

void ThinkingLine(uint8_t depth) {
  // Between searches the root list is cleared: there is no line to show (the 3D clock tick
  // calls this every frame, also before the first slice of a search).
  if (SearchSteps == 0) return;
  if (!ThinkingShown || CurrentDepth <= 1 || TurnState != 0) return;
  if (RootScore <= -ShownScoreLimit || RootScore >= ShownScoreLimit) return;
  if (RootScore == LastShownScore) return;
  Output(depth);
  LastShownScore = RootScore;
  ShownThisIteration = 1;
}

void SetStepObserver(StepObserver observer) { Observer = observer; }

uint8_t SearchSlice() {
  if (TurnState != 0 || GameStatus == GameOverMate || GameStatus == GameOverDraw) return 0;
  if (SearchSteps == 0 && !StartSearch()) return 0;
  CountUp(SlicesRun);

  int stepsThisSlice = 0;
  do {
    if (!IterationDone && !SearchDone) Step();
    CountUp(SearchSteps);
    CountUp(NodeCount);
    ++stepsThisSlice;
    if (Observer) Observer();
  } while (stepsThisSlice < StepsPerSlice && !IterationDone);

  ShownRootIndex = MoveIndex[0];
  if (BudgetSpent()) IterationDone = SearchDone = 1;
  ThinkingLine(CurrentDepth);
  if (IterationDone) NextIteration();
  if (SearchDone) return PlayBestMove();
  return 0;
}

std::string CurrentMoveText() {
  if (SearchSteps == 0 || !HasMoves(0)) return "";
  const uint8_t index = ShownRootIndex <= LastMove[0] ? ShownRootIndex : 0;
  const uint8_t from = MoveFrom[0][index], to = MoveTo[0][index];
  return std::to_string(index + 1) + "-" + std::to_string(LastMove[0] + 1) + " " +
         MoveText(from, to, GameBoard[from], IsCapture(to) ? 1 : 0);
}

std::string ScoreText(int16_t score) {
  const int a = score < 0 ? -static_cast<int>(score) : score;
  std::string text = score < 0 ? "-" : "";
  if (a < 10) return text + "0.0" + std::to_string(a);
  if (a < 100) return text + "0." + std::to_string(a);
  const int rest = a % 100;
  return text + std::to_string(a / 100) + (rest < 10 ? ".0" : ".") + std::to_string(rest);
}
