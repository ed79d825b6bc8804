#include "engine/game.h"

#include <cstring>

#include "engine/board.h"
#include "engine/book.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/makemove.h"
#include "engine/movegen.h"
#include "engine/notation.h"
#include "engine/search.h"
#include "engine/state.h"
#include "engine/timectl.h"

int16_t HalfMoveCount;
char GameRecord[GameRecordSize][GameTextSize];
char ResultText[31];
uint8_t MoveHistoryFrom[GameRecordSize];
uint8_t MoveHistoryTo[GameRecordSize];
uint8_t FiftyMoveCounter;
int32_t HistKey1[HistorySize], HistKey2[HistorySize], HistKey3[HistorySize];
int32_t HistSide[HistorySize];
uint8_t HistRepeats[HistorySize];

namespace {

constexpr const char* DrawEntry = "1/2-1/2";

// Writes a record entry; an index outside the record (a count pushed out of range by
// take-backs or a set-up) is ignored rather than written.
void SetRecordEntry(int index, const char* text) {
  if (index < 0 || index >= GameRecordSize) return;
  std::strncpy(GameRecord[index], text, GameTextSize - 1);
  GameRecord[index][GameTextSize - 1] = '\0';
}

void SetResultText(const char* text) {
  std::strncpy(ResultText, text, sizeof ResultText - 1);
  ResultText[sizeof ResultText - 1] = '\0';
}

// Board and ply 0 take the game position.
void LoadGamePosition() {
  std::memcpy(Board, GameBoard, sizeof Board);
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
}

// Whether side has a legal move on Board. The same filter as the root list, so a castling
// through an attacked square, which the side could never play, does not keep the game going.
template <int Side>
bool HasLegalMove(bool inCheck) {
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
  (Side == 1 ? InCheck1 : InCheck2)[0] = inCheck ? 1 : 0;
  const uint8_t last = Side == 1 ? GenerateMoves1(0) : GenerateMoves2(0);
  if (last == NoMoves) return false;
  RootLast = last;
  if constexpr (Side == 1) {
    FilterLegal1();
  } else {
    FilterLegal2();
  }
  return RootLast >= 0;
}

bool AnyThirdOccurrence() {
  for (int i = 0; i < HistorySize - 1; ++i) {
    if (HistRepeats[i] > 1) return true;
  }
  return false;
}

void EndTurn(uint8_t side) {
  TurnState = side == 1 ? 1 : 0;
  SearchSteps = 0;
  NodeCount = 0;
  NodesPerSecond = 0;
  LastNodeCount = 0;
  if (GameStatus == 3 || GameStatus == 4) TurnState = 2;
}

// Plays entry (0, index) for side 1 or 2; false when the record has no room left for it.
bool PlayIntoGame(uint8_t side, uint8_t index) {
  // The record must keep room for this move and a result entry after it. A legal game
  // cannot get this long; if one does (set-ups and take-backs can push the count), it ends
  // drawn instead of writing past the record.
  if (HalfMoveCount >= GameRecordSize - 1) {
    GameStatus = 4;
    SetRecordEntry(HalfMoveCount, DrawEntry);
    SetResultText("1/2-1/2 {Draw}");
    EndTurn(side);
    return false;
  }

  LoadGamePosition();
  const uint8_t from = MoveFrom[0][index], to = MoveTo[0][index];
  const uint8_t piece = GameBoard[from & 63];
  const bool capture = to >= CaptureFlag && to < DoubleStepFlag;
  const uint8_t pawn = side == 1 ? Pawn1 : Pawn2;

  if (FiftyMoveCounter < 255) ++FiftyMoveCounter;  // never wraps back to 0
  if (piece == pawn || capture) {
    FiftyMoveCounter = 0;
    ClearHistory();
  }

  if (LastMove[0] >= NoMoves) LastMove[0] = index;  // make ignores a ply marked empty
  if (side == 1) {
    PromotionLetter = 'Q';
    MakeMove1(0, index);
  } else {
    if (to >= PromotionFlag) PromotionLetter = 'q';
    MakeMove2(0, index);
  }

  RecordPosition();
  CountRepetitions();

  uint8_t status = 0;
  if (KingAttacked1()) status = 1;
  if (KingAttacked2()) status = 2;

  const uint8_t mode = static_cast<uint8_t>((capture ? 1 : 0) + (status != 0 ? 2 : 0));
  SetRecordEntry(HalfMoveCount, MoveText(from, to, piece, mode).c_str());
  if (HalfMoveCount >= 0) {
    MoveHistoryFrom[HalfMoveCount] = from;
    MoveHistoryTo[HalfMoveCount] = to;
  }
  GameStatus = status;
  ++HalfMoveCount;

  std::memcpy(GameBoard, Board, sizeof GameBoard);
  GameEpFile = EpFile[1];
  GameCastleRights = CastleRights[1];
  GameCastled = Castled[1];

  // The engine is White exactly when BoardFlipped is 1.
  const bool moverIsWhite = (side == 1) == (BoardFlipped == 1);
  const uint8_t opponentInCheck = side == 1 ? 2 : 1;
  const bool opponentCanMove =
      side == 1 ? HasLegalMove<2>(status == 2) : HasLegalMove<1>(status == 1);
  if (!opponentCanMove) {
    if (GameStatus == 0) {
      GameStatus = 4;
      SetRecordEntry(HalfMoveCount, DrawEntry);
      SetResultText("1/2-1/2 {Stalemate}");
    } else if (GameStatus == opponentInCheck) {
      GameStatus = 3;
      SetRecordEntry(HalfMoveCount, moverIsWhite ? "1 - 0 " : "0 - 1 ");
    }
  }

  // Third occurrence or fifty moves; this also overrides a stalemate's text.
  if (AnyThirdOccurrence() || (FiftyMoveCounter > 99 && GameStatus != 3)) {
    GameStatus = 4;
    SetRecordEntry(HalfMoveCount, DrawEntry);
    SetResultText("1/2-1/2 {Draw}");
  }
  if (GameStatus == 3) SetResultText(moverIsWhite ? "1-0 {White mates}" : "0-1 {Black mates}");

  EndTurn(side);
  return true;
}

}  // namespace

void PlayGameMove(uint8_t side, uint8_t index) {
  if ((side != 1 && side != 2) || index >= MoveListSize) return;
  PlayIntoGame(side, index);
}

uint8_t HumanMove(uint8_t from, uint8_t to) {
  if (TurnState != 1 || GameStatus == 3 || GameStatus == 4) return 0;
  if (from > 63 || to > 63) return 0;
  LoadGamePosition();
  InCheck2[0] = KingAttacked2();
  uint8_t last = GenerateMoves2(0);
  if (last == NoMoves) return 0;
  RootLast = last;
  FilterLegal2();
  for (int i = 0; i <= RootLast; ++i) {
    if (MoveFrom[0][i] == from && TargetOf(MoveTo[0][i]) == to) {
      LastMove[0] = static_cast<uint8_t>(RootLast);
      return PlayIntoGame(2, static_cast<uint8_t>(i)) ? 1 : 0;
    }
  }
  return 0;
}

void RecordPosition() {
  if (FiftyMoveCounter >= HistorySize) return;
  int32_t k1, k2, k3;
  HashSums(&k1, &k2, &k3);
  HistKey1[FiftyMoveCounter] = k1;
  HistKey2[FiftyMoveCounter] = k2;
  HistKey3[FiftyMoveCounter] = k3;
  HistSide[FiftyMoveCounter] = TurnState;
}

void CountRepetitions() {
  const int now = FiftyMoveCounter;
  if (now >= HistorySize) return;
  for (int i = 0; i < now; ++i) {
    if (HistKey1[i] == HistKey1[now] && HistKey2[i] == HistKey2[now] &&
        HistKey3[i] == HistKey3[now] && HistSide[i] == HistSide[now] && HistRepeats[i] < 255) {
      ++HistRepeats[i];
    }
  }
}

uint8_t RepeatsHistory() {
  int32_t k1, k2, k3;
  HashSums(&k1, &k2, &k3);
  const int last = FiftyMoveCounter < HistorySize ? FiftyMoveCounter : HistorySize - 1;
  for (int i = 0; i <= last; ++i) {
    if (HistKey1[i] == k1 && HistKey2[i] == k2 && HistKey3[i] == k3) return 1;
  }
  return 0;
}

void ClearHistory() {
  for (int i = 0; i < HistorySize; ++i) {
    HistKey1[i] = HistKey2[i] = HistKey3[i] = 0;
    HistSide[i] = 8;
    HistRepeats[i] = 0;
  }
}

void ResetGameState() {
  GameStatus = 0;
  BookAllowed = 1;
  SearchSteps = 0;
  NodeCount = 0;
  ThinkingShown = 1;

  for (int p = 0; p < PlySlots; ++p) {
    CastleRights[p] = 33;
    EpFile[p] = 0;
    Castled[p] = 0;
    MoveIndex[p] = 0;
    NodeOpen[p] = 0;
  }
  GameCastleRights = 33;
  GameEpFile = 0;
  GameCastled = 0;
  std::memset(MoveFrom, 0, sizeof MoveFrom);
  std::memset(MoveTo, 0, sizeof MoveTo);
  std::memset(RootReply, 0, sizeof RootReply);
  IterationDone = 0;
  SearchDone = 0;

  std::memset(GameRecord, 0, sizeof GameRecord);
  std::memset(MoveHistoryFrom, 0, sizeof MoveHistoryFrom);
  std::memset(MoveHistoryTo, 0, sizeof MoveHistoryTo);
  ResultText[0] = '\0';
  HalfMoveCount = 0;
  FiftyMoveCounter = 0;
  ClearHistory();

  HashFillRandoms();
  SetPieceValues();
  SetStartPosition(GameBoard);
  std::memcpy(Board, GameBoard, sizeof Board);
  HashClear();
}

void InstallSetupPosition(const FenPosition& position) {
  const bool engineWhite = BoardFlipped == 1;
  InstallPosition(position, engineWhite);
  TurnState = position.whiteToMove == engineWhite ? 0 : 1;
  BookAllowed = 0;
}

void StartNewGame(uint8_t engineWhite, int32_t secondsPerMove) {
  BoardFlipped = engineWhite ? 1 : 0;
  SecondsPerMove = secondsPerMove;
  MaxDepth = 30;
  ResetClocks();
  BestMoveText.clear();
  ResetGameState();
  TurnState = engineWhite ? 0 : 1;
}
