#include "console/gameflow.h"

#include <cstring>
#include <string>

#include "console/console_state.h"
#include "console/output.h"
#include "console/timecontrol.h"
#include "engine/book.h"
#include "engine/evaluate.h"
#include "engine/game.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/makemove.h"
#include "engine/movegen.h"
#include "engine/notation.h"
#include "engine/random.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

// A single move is played through a spare entry, away from the lists the filters use.
constexpr uint8_t SinglePly = 29;
constexpr uint8_t SingleIndex = 29;

bool GameOver() {
  return GameStatus == 3 || GameStatus == 4;
}

// Board and ply 0 from the game.
void LoadGamePosition() {
  std::memcpy(Board, GameBoard, sizeof Board);
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
}

// The game from Board and the state that make left at the given ply.
void StoreGamePosition(uint8_t ply) {
  std::memcpy(GameBoard, Board, sizeof GameBoard);
  GameEpFile = EpFile[ply];
  GameCastleRights = CastleRights[ply];
  GameCastled = Castled[ply];
}

// Make really plays the entry only while its ply has moves; the console's single moves are made
// outside any search, so the ply is marked for the call.
void MakeFor(uint8_t side, uint8_t ply, uint8_t index) {
  const uint8_t savedLast = LastMove[ply];
  LastMove[ply] = index;
  if (side == 1) {
    MakeMove1(ply, index);
  } else {
    MakeMove2(ply, index);
  }
  LastMove[ply] = savedLast;
}

// Side's pseudo-legal moves on Board at ply 0; the last index or NoMoves.
uint8_t GenerateAtRoot(uint8_t side, bool castlingAllowed) {
  InCheck1[0] = InCheck2[0] = 0;
  if (!castlingAllowed) (side == 1 ? InCheck1 : InCheck2)[0] = 1;
  HashMoveFrom = HashMoveTo = 0;
  return side == 1 ? GenerateMoves1(0) : GenerateMoves2(0);
}

// The legal moves of side on Board, in row 0 up to RootLast (-1 when none).
void LegalMovesAtRoot(uint8_t side) {
  const uint8_t inCheck = side == 1 ? KingAttacked1() : KingAttacked2();
  const uint8_t last = GenerateAtRoot(side, inCheck == 0);
  RootLast = -1;
  if (last == NoMoves) return;
  RootLast = last;
  if (side == 1) {
    FilterLegal1();
  } else {
    FilterLegal2();
  }
}

// The index in row 0 (up to last) of a move from -> target square, or -1.
int FindMove(int last, uint8_t from, uint8_t target) {
  for (int i = 0; i <= last && i < MoveListSize; ++i) {
    if (MoveFrom[0][i] == from && TargetOf(MoveTo[0][i]) == target) return i;
  }
  return -1;
}

// Plays from -> target for side on Board as make does, using the generated encoding when
// the move is one of the side's moves, else as a plain move. Leaves the new state at the
// returned ply.
uint8_t PlayOnBoard(uint8_t side, uint8_t from, uint8_t target, uint8_t promotionKind) {
  const uint8_t last = GenerateAtRoot(side, true);
  const int index = last == NoMoves ? -1 : FindMove(last, from, target);
  if (index >= 0) {
    MakeFor(side, 0, static_cast<uint8_t>(index));
    if (MoveTo[0][index] >= PromotionFlag && promotionKind >= 1 && promotionKind <= 4) {
      Board[target] = static_cast<uint8_t>(side * 10 + promotionKind);
    }
    return 1;
  }
  EpFile[SinglePly] = EpFile[0];
  CastleRights[SinglePly] = CastleRights[0];
  Castled[SinglePly] = Castled[0];
  MoveFrom[SinglePly][SingleIndex] = from;
  MoveTo[SinglePly][SingleIndex] = target;
  MakeFor(side, SinglePly, SingleIndex);
  return SinglePly + 1;
}

// The side to move in the game: 1 for the engine, 2 for the opponent.
uint8_t SideToMove() {
  return TurnState == 0 ? 1 : 2;
}

// Ends the game when the side to move has no legal move: mate when it is in check, else
// stalemate. The result goes into the record after the last move and is printed.
bool EndIfNoLegalMove(uint8_t side) {
  LoadGamePosition();
  LegalMovesAtRoot(side);
  if (RootLast >= 0) return false;
  const bool inCheck = (side == 1 ? KingAttacked1() : KingAttacked2()) != 0;
  const int entry = HalfMoveCount >= 0 && HalfMoveCount < GameRecordSize ? HalfMoveCount : -1;
  if (inCheck) {
    // The winner is the other side; side 1 is White when BoardFlipped is 1.
    const bool whiteWins = (side == 2) == (BoardFlipped == 1);
    GameStatus = 3;
    std::strcpy(ResultText, whiteWins ? "1-0 {White mates}" : "0-1 {Black mates}");
    if (entry >= 0) std::strcpy(GameRecord[entry], whiteWins ? "1 - 0 " : "0 - 1 ");
  } else {
    GameStatus = 4;
    std::strcpy(ResultText, "1/2-1/2 {Stalemate}");
    if (entry >= 0) std::strcpy(GameRecord[entry], "1/2-1/2");
  }
  TurnState = 2;
  PrintLine(ResultText);
  return true;
}

// The result lines after a move that ended the game, in the order of the tests: stalemate,
// then a draw by repetition or fifty moves, then mate if the game is still a mate.
void PrintResultLines(uint8_t sideToMove) {
  if (!GameOver()) return;
  if (GameStatus == 4 && std::strcmp(ResultText, "1/2-1/2 {Draw}") == 0) {
    LoadGamePosition();
    LegalMovesAtRoot(sideToMove);
    const bool inCheck = (sideToMove == 1 ? KingAttacked1() : KingAttacked2()) != 0;
    if (RootLast < 0 && !inCheck) PrintLine("1/2-1/2 {Stalemate}");
  }
  PrintLine(ResultText);
}

// A promotion to a piece other than the queen: make promoted to a queen, so the piece is
// exchanged and what depends on it decided again. Nothing is printed.
void Underpromote(uint8_t side, uint8_t from, uint8_t target, uint8_t kind, int16_t recordEntry) {
  GameBoard[target] = static_cast<uint8_t>(side * 10 + kind);
  LoadGamePosition();
  // A pawn move emptied the repetition memory; the position is recorded again as it stands,
  // under the turn of the side that moved.
  TurnState = side == 1 ? 0 : 1;
  RecordPosition();
  // After a legal move only the other side can be in check.
  GameStatus = side == 1 ? (KingAttacked2() ? 2 : 0) : (KingAttacked1() ? 1 : 0);
  if (recordEntry >= 0 && recordEntry < GameRecordSize) {
    const char savedLetter = PromotionLetter;
    PromotionLetter = (side == 1 ? "QRBN" : "qrbn")[kind - 1];
    const std::string text =
        MoveText(from, static_cast<uint8_t>(target + PromotionFlag), side == 1 ? Pawn1 : Pawn2,
                 static_cast<uint8_t>(GameStatus ? 2 : 0));
    PromotionLetter = savedLetter;
    std::strncpy(GameRecord[recordEntry], text.c_str(), GameTextSize - 1);
    GameRecord[recordEntry][GameTextSize - 1] = '\0';
    if (recordEntry + 1 < GameRecordSize) GameRecord[recordEntry + 1][0] = '\0';
  }
  ResultText[0] = '\0';
  TurnState = side == 1 ? 1 : 0;
}

// Plays entry (0, index) of side's legal list into the game; a promotion places the piece of
// kind (1 queen .. 4 knight). True when a piece other than the queen was placed.
bool PlayListedMove(uint8_t side, int index, uint8_t kind) {
  const uint8_t from = MoveFrom[0][index],
                target = static_cast<uint8_t>(TargetOf(MoveTo[0][index]));
  const bool promotion = MoveTo[0][index] >= PromotionFlag;
  if (!promotion || kind < 1 || kind > 4) kind = 1;
  const int16_t entry = HalfMoveCount;
  PlayGameMove(side, static_cast<uint8_t>(index));
  if (entry >= HalfMoveCount) return false;  // the record was full: the game ended instead
  if (entry < GameRecordSize) PromotionHistory[entry] = kind;
  if (kind == 1) return false;
  Underpromote(side, from, target, kind, entry);
  return true;
}

// Piece kind chosen by the fifth character of a typed promotion; a queen by default.
uint8_t PromotionKindTyped() {
  switch (CommandChar(5)) {
    case 'r':
    case 'R':
      return 2;
    case 'b':
    case 'B':
      return 3;
    case 'n':
    case 'N':
      return 4;
    default:
      return 1;
  }
}

void RememberGameStart() {
  std::memcpy(StartOfGame.board, GameBoard, sizeof StartOfGame.board);
  StartOfGame.castleRights = GameCastleRights;
  StartOfGame.epFile = GameEpFile;
  StartOfGame.castled = GameCastled;
  StartOfGame.engineMovesFirst = TurnState == 0 ? 1 : 0;
}

}  // namespace

void EngineStartup() {
  HashAllocate();
  SeedRandomFromClock();
  BookRandom = static_cast<uint8_t>(RandomBelow(10));
  SetThinkingOutput(ConsoleThinkingLine);
}

void EngineShutdown() {
  HashRelease();
}

void StartNewGame() {
  ResetGameState();  // also the start position and the book for it
  ResetClocks();
  TurnState = BoardFlipped == 0 ? 1 : 0;
  MovesThisControl = 0;
  RootScore = 0;
  TimeReceived = 0;
  if (SetupPending == 1) {
    InstallSetupPosition(SetupPosition);
    SetupPending = 0;
  }
  RememberGameStart();
  EndIfNoLegalMove(SideToMove());
}

void EngineTurn() {
  // A position without a legal move for the engine is never searched: the game ends with its
  // result instead (take-backs and force mode can lead there).
  if (SearchSteps == 0 && EndIfNoLegalMove(1)) return;
  if (SearchSlice() == 0) return;
  PrintLine(SummaryText(LastSearchNodes, ThinkSeconds));
  PrintLine("move " + CoordinateText(PlayedFrom, PlayedTo));
  MovesThisControl += 1;
  if (HalfMoveCount >= 1 && HalfMoveCount <= GameRecordSize)
    PromotionHistory[HalfMoveCount - 1] = 0;
  PrintResultLines(2);
  ClearCommandLine();
  TimeReceived = 0;
  if (ConsoleMode == 1) PrintBoardText();
}

int FindLegalMove(uint8_t side, uint8_t from, uint8_t target) {
  LoadGamePosition();
  LegalMovesAtRoot(side);
  return FindMove(RootLast, from, target);
}

bool SideHasLegalMove(uint8_t side) {
  LoadGamePosition();
  LegalMovesAtRoot(side);
  return RootLast >= 0;
}

bool PlayLegalMove(uint8_t side, uint8_t from, uint8_t target, uint8_t kind) {
  const int index = FindLegalMove(side, from, target);
  if (index < 0) return false;
  const int16_t before = HalfMoveCount;
  PlayListedMove(side, index, kind);
  return HalfMoveCount > before;
}

void OpponentMove() {
  MoveFound = 0;
  const int index = FindLegalMove(2, TypedFrom, TypedTo);
  if (index < 0) return;
  MoveFound = 1;
  if (PlayListedMove(2, index, PromotionKindTyped())) {
    EndIfNoLegalMove(1);
  } else {
    PrintResultLines(1);
  }
  ScoreDrop = RootScore - MaterialBalance();
  if (TimeReceived == 1) ComputeMoveTime();
  TypedFrom = TypedTo = 0;
  ClearCommandLine();
}

bool ForcedMoveLine(uint8_t side) {
  const char file = CommandChar(1), rank = CommandChar(2);
  if (CommandLine.length == 4) return file >= 'a' && file <= 'h' && rank >= '1' && rank <= '8';
  // xboard hands over edited and loaded games with promotions spelt "e7e8q": such a line is
  // played when the side's pawn can make that promotion here, so both boards stay the same.
  if (CommandLine.length != 5 || !CommandLooksLikeMove()) return false;
  LoadGamePosition();
  const uint8_t last = GenerateAtRoot(side, true);
  const int index = last == NoMoves ? -1 : FindMove(last, TypedFrom, TypedTo);
  return index >= 0 && MoveTo[0][index] >= PromotionFlag;
}

bool ForcedMove(uint8_t side) {
  if (!ForcedMoveLine(side)) return false;
  // The record keeps room for the result after the last move.
  if (HalfMoveCount < 0 || HalfMoveCount >= GameRecordSize - 1) return false;
  const uint8_t kind = CommandLine.length == 5 ? PromotionKindTyped() : 1;
  LoadGamePosition();
  const uint8_t ply = PlayOnBoard(side, TypedFrom, TypedTo, kind);
  StoreGamePosition(ply);
  MoveHistoryFrom[HalfMoveCount] = TypedFrom;
  MoveHistoryTo[HalfMoveCount] = TypedTo;
  PromotionHistory[HalfMoveCount] = kind;
  HalfMoveCount += 1;
  ClearCommandLine();
  TurnState = side == 1 ? 1 : 0;
  return true;
}

void ReplayHistory() {
  if (HalfMoveCount < 0) HalfMoveCount = 0;
  if (HalfMoveCount > GameRecordSize - 1) HalfMoveCount = GameRecordSize - 1;
  std::memcpy(GameBoard, StartOfGame.board, sizeof GameBoard);
  GameCastleRights = StartOfGame.castleRights;
  GameEpFile = StartOfGame.epFile;
  GameCastled = StartOfGame.castled;
  FiftyMoveCounter = 0;
  ClearHistory();
  const uint8_t savedTurn = TurnState;
  uint8_t side = StartOfGame.engineMovesFirst ? 1 : 2;
  for (int n = 0; n < HalfMoveCount; ++n) {
    LoadGamePosition();
    const uint8_t from = MoveHistoryFrom[n] & 63, target = TargetOf(MoveHistoryTo[n]);
    const uint8_t piece = Board[from];
    const bool irreversible = piece == (side == 1 ? Pawn1 : Pawn2) || Board[target] != Empty;
    if (irreversible || FiftyMoveCounter + 1 >= HistorySize) {
      FiftyMoveCounter = 0;
      ClearHistory();
    } else {
      FiftyMoveCounter += 1;
    }
    StoreGamePosition(PlayOnBoard(side, from, target, PromotionHistory[n]));
    // The history remembers which side made the move that led to each position.
    TurnState = side == 1 ? 0 : 1;
    LoadGamePosition();
    RecordPosition();
    CountRepetitions();
    side = side == 1 ? 2 : 1;
  }
  TurnState = savedTurn;
  if (!GameOver()) {
    LoadGamePosition();
    GameStatus = KingAttacked2() ? 2 : KingAttacked1() ? 1 : 0;
  }
}
