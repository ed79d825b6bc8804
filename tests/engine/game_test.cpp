// Playing moves into the game: record, repetition history, check, mate, stalemate and draws.
#include "engine/game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/book.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/movegen.h"
#include "engine/random.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

// Internal square of a real square name in the current orientation.
uint8_t Sq(const char* name) {
  int f = name[0] - 'a', r = name[1] - '1';
  return static_cast<uint8_t>(BoardFlipped ? r * 8 + (7 - f) : (7 - r) * 8 + f);
}

// Piece code of a real colour (kind 0 king .. 5 pawn) in the current orientation.
uint8_t White(int kind) {
  return static_cast<uint8_t>((BoardFlipped ? 10 : 20) + kind);
}
uint8_t Black(int kind) {
  return static_cast<uint8_t>((BoardFlipped ? 20 : 10) + kind);
}
constexpr int K = 0, Q = 1, R = 2, P = 5;

void NewGame(uint8_t engineWhite) {
  HashAllocate();
  SeedRandom(7);
  StartNewGame(engineWhite, 0);
}

// An empty game position (no castling rights) for hand-built endings.
void EmptyGamePosition() {
  std::memset(GameBoard, 0, sizeof GameBoard);
  GameCastleRights = 0;
  GameEpFile = 0;
  GameCastled = 0;
}

bool Human(const char* from, const char* to) {
  return HumanMove(Sq(from), Sq(to)) == 1;
}

// The engine's move: found among side 1's legal moves and played as the search plays it.
bool Engine(const char* from, const char* to) {
  std::memcpy(Board, GameBoard, sizeof Board);
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
  InCheck1[0] = KingAttacked1();
  uint8_t last = GenerateMoves1(0);
  if (last == NoMoves) return false;
  RootLast = last;
  FilterLegal1();
  for (int i = 0; i <= RootLast; ++i) {
    if (MoveFrom[0][i] == Sq(from) && TargetOf(MoveTo[0][i]) == Sq(to)) {
      LastMove[0] = static_cast<uint8_t>(RootLast);
      PlayGameMove(1, static_cast<uint8_t>(i));
      return true;
    }
  }
  return false;
}

std::string Record(int index) {
  return GameRecord[index];
}

TEST(Game, NewGameSetsTurnOrientationAndEmptyRecord) {
  NewGame(0);
  EXPECT_EQ(BoardFlipped, 0);
  EXPECT_EQ(TurnState, 1);
  EXPECT_EQ(GameStatus, 0);
  EXPECT_EQ(MaxDepth, 30);
  EXPECT_EQ(GameBoard[Sq("e1")], King2);  // the human's white king
  EXPECT_EQ(GameCastleRights, 33);
  EXPECT_EQ(HalfMoveCount, 0);
  EXPECT_EQ(HistSide[0], 8);
  EXPECT_EQ(BookAllowed, 1);

  NewGame(1);
  EXPECT_EQ(BoardFlipped, 1);
  EXPECT_EQ(TurnState, 0);
  EXPECT_EQ(GameBoard[Sq("e1")], King1);
  EXPECT_EQ(GameBoard[3], King1);
}

TEST(Game, MovesAreRecordedAndTheTurnPasses) {
  NewGame(0);
  ASSERT_TRUE(Human("e2", "e4"));
  EXPECT_EQ(Record(0), "e2-e4");
  EXPECT_EQ(HalfMoveCount, 1);
  EXPECT_EQ(TurnState, 0);
  EXPECT_EQ(FiftyMoveCounter, 0);
  EXPECT_EQ(GameEpFile, ColumnOf(Sq("e4")) + 1);  // the double step is open to en passant
  EXPECT_EQ(MoveHistoryFrom[0], Sq("e2"));
  EXPECT_EQ(TargetOf(MoveHistoryTo[0]), Sq("e4"));

  ASSERT_TRUE(Engine("g8", "f6"));
  EXPECT_EQ(Record(1), "Ng8-f6");
  EXPECT_EQ(TurnState, 1);
  EXPECT_EQ(FiftyMoveCounter, 1);
  EXPECT_EQ(MoveHistoryFrom[1], Sq("g8"));
  EXPECT_EQ(MoveHistoryTo[1], Sq("f6"));
}

TEST(Game, IllegalOrUntimelyHumanMoveChangesNothing) {
  NewGame(0);
  uint8_t before[64];
  std::memcpy(before, GameBoard, sizeof before);
  EXPECT_FALSE(Human("e2", "e5"));
  EXPECT_FALSE(Human("e7", "e5"));         // the engine's pawn
  EXPECT_EQ(HumanMove(Sq("e2"), 200), 0);  // nonsense square
  EXPECT_EQ(TurnState, 1);
  EXPECT_EQ(HalfMoveCount, 0);
  EXPECT_EQ(Record(0), "");
  EXPECT_EQ(std::memcmp(before, GameBoard, sizeof before), 0);

  ASSERT_TRUE(Human("e2", "e4"));
  EXPECT_FALSE(Human("d2", "d4"));  // the engine is to move
  EXPECT_EQ(HalfMoveCount, 1);
}

TEST(Game, ThirdRepetitionBySameMoverDraws) {
  NewGame(0);
  // Knights out and back twice, then out again: the position after Nf3 occurs a third time,
  // each time with the human having moved.
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(Human("g1", "f3"));
    ASSERT_TRUE(Engine("g8", "f6"));
    ASSERT_TRUE(Human("f3", "g1"));
    ASSERT_TRUE(Engine("f6", "g8"));
    EXPECT_EQ(GameStatus, 0);
  }
  ASSERT_TRUE(Human("g1", "f3"));
  EXPECT_EQ(GameStatus, 4);
  EXPECT_EQ(TurnState, 2);
  EXPECT_EQ(std::string(ResultText), "1/2-1/2 {Draw}");
  EXPECT_EQ(HalfMoveCount, 9);
  EXPECT_EQ(Record(8), "Ng1-f3");
  EXPECT_EQ(Record(9), "1/2-1/2");
  EXPECT_FALSE(Human("f3", "g1"));  // the game is over
}

TEST(Game, RepetitionsWithTheOtherSideHavingMovedDoNotCount) {
  NewGame(0);
  ASSERT_TRUE(Human("e2", "e4"));
  ASSERT_TRUE(Engine("e7", "e5"));  // history restarts here: P0, the engine having moved
  // The queen goes round in three moves, the knight out and back in two, so P0 comes back
  // once with the human having moved and once with the engine having moved.
  const char* queen[] = {"d1", "f3", "e2", "d1", "f3", "e2", "d1"};
  const char* knight[] = {"b8", "c6", "b8", "c6", "b8", "c6", "b8"};
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(Human(queen[i], queen[i + 1])) << i;
    ASSERT_TRUE(Engine(knight[i], knight[i + 1])) << i;
    ASSERT_EQ(GameStatus, 0) << i;
  }
  // P0 stood at history entries 0 (engine), 5 (human) and 12 (engine): three times on the
  // board, but only twice after the same side's move.
  EXPECT_EQ(HistRepeats[0], 1);
  EXPECT_EQ(HistSide[5], 1);
  EXPECT_EQ(TurnState, 1);
}

TEST(Game, PawnMoveOrCaptureEmptiesTheHistory) {
  NewGame(0);
  ASSERT_TRUE(Human("g1", "f3"));
  ASSERT_TRUE(Engine("g8", "f6"));
  ASSERT_TRUE(Human("f3", "g1"));
  ASSERT_TRUE(Engine("f6", "g8"));
  EXPECT_EQ(FiftyMoveCounter, 4);
  ASSERT_TRUE(Human("e2", "e4"));
  EXPECT_EQ(FiftyMoveCounter, 0);
  EXPECT_EQ(HistSide[0], 1);
  for (int i = 1; i < HistorySize; ++i) ASSERT_EQ(HistSide[i], 8) << i;

  // Only positions from the pawn move on are compared: one round back to it is its
  // second occurrence.
  ASSERT_TRUE(Engine("g8", "f6"));
  ASSERT_TRUE(Human("g1", "f3"));
  ASSERT_TRUE(Engine("f6", "g8"));
  ASSERT_TRUE(Human("f3", "g1"));
  EXPECT_EQ(HistRepeats[0], 1);
  EXPECT_EQ(GameStatus, 0);
  // A capture resets as well.
  ASSERT_TRUE(Engine("d7", "d5"));
  ASSERT_TRUE(Human("e4", "d5"));
  EXPECT_EQ(Record(HalfMoveCount - 1), "e4xd5");
  EXPECT_EQ(FiftyMoveCounter, 0);
}

// Black king h8 behind its g7/h7 pawns; White rook a1, king e1. Ra1-a8 mates.
void BackRankForWhite() {
  EmptyGamePosition();
  GameBoard[Sq("h8")] = Black(K);
  GameBoard[Sq("g7")] = Black(P);
  GameBoard[Sq("h7")] = Black(P);
  GameBoard[Sq("a1")] = White(R);
  GameBoard[Sq("e1")] = White(K);
}

// The mirror: White king h1 behind g2/h2, Black rook a8, king e8. Ra8-a1 mates.
void BackRankForBlack() {
  EmptyGamePosition();
  GameBoard[Sq("h1")] = White(K);
  GameBoard[Sq("g2")] = White(P);
  GameBoard[Sq("h2")] = White(P);
  GameBoard[Sq("a8")] = Black(R);
  GameBoard[Sq("e8")] = Black(K);
}

TEST(Game, MateResultsForBothColoursAndBothMovers) {
  // Human White mates.
  NewGame(0);
  BackRankForWhite();
  ASSERT_TRUE(Human("a1", "a8"));
  EXPECT_EQ(Record(0), "Ra1-a8+");
  EXPECT_EQ(Record(1), "1 - 0 ");
  EXPECT_EQ(std::string(ResultText), "1-0 {White mates}");
  EXPECT_EQ(GameStatus, 3);
  EXPECT_EQ(TurnState, 2);
  EXPECT_EQ(HalfMoveCount, 1);

  // Engine White mates.
  NewGame(1);
  BackRankForWhite();
  ASSERT_TRUE(Engine("a1", "a8"));
  EXPECT_EQ(Record(1), "1 - 0 ");
  EXPECT_EQ(std::string(ResultText), "1-0 {White mates}");
  EXPECT_EQ(TurnState, 2);

  // Engine Black mates.
  NewGame(0);
  TurnState = 0;
  BackRankForBlack();
  ASSERT_TRUE(Engine("a8", "a1"));
  EXPECT_EQ(Record(0), "Ra8-a1+");
  EXPECT_EQ(Record(1), "0 - 1 ");
  EXPECT_EQ(std::string(ResultText), "0-1 {Black mates}");
  EXPECT_EQ(GameStatus, 3);

  // Human Black mates.
  NewGame(1);
  TurnState = 1;
  BackRankForBlack();
  ASSERT_TRUE(Human("a8", "a1"));
  EXPECT_EQ(Record(1), "0 - 1 ");
  EXPECT_EQ(std::string(ResultText), "0-1 {Black mates}");
}

TEST(Game, CheckWithoutMateOnlySetsTheStatus) {
  NewGame(0);
  BackRankForWhite();
  GameBoard[Sq("h7")] = Empty;  // the king can step to h7
  ASSERT_TRUE(Human("a1", "a8"));
  EXPECT_EQ(GameStatus, 1);  // side 1, the engine, is in check
  EXPECT_EQ(TurnState, 0);
  EXPECT_EQ(Record(1), "");
}

TEST(Game, StalemateIsADrawAndTheCountStays) {
  NewGame(0);
  EmptyGamePosition();
  GameBoard[Sq("a8")] = Black(K);
  GameBoard[Sq("b6")] = White(K);
  GameBoard[Sq("d7")] = White(Q);
  ASSERT_TRUE(Human("d7", "c7"));
  EXPECT_EQ(GameStatus, 4);
  EXPECT_EQ(TurnState, 2);
  EXPECT_EQ(std::string(ResultText), "1/2-1/2 {Stalemate}");
  EXPECT_EQ(HalfMoveCount, 1);
  EXPECT_EQ(Record(0), "Qd7-c7");
  EXPECT_EQ(Record(1), "1/2-1/2");
}

TEST(Game, FiftyMovesDrawUnlessTheHundredthHalfMoveMates) {
  NewGame(0);
  BackRankForWhite();
  FiftyMoveCounter = 98;
  ASSERT_TRUE(Human("a1", "a2"));  // the 99th: play goes on
  EXPECT_EQ(GameStatus, 0);
  ASSERT_TRUE(Engine("h8", "g8"));  // the 100th
  EXPECT_EQ(GameStatus, 4);
  EXPECT_EQ(std::string(ResultText), "1/2-1/2 {Draw}");
  EXPECT_EQ(Record(2), "1/2-1/2");

  NewGame(0);
  BackRankForWhite();
  FiftyMoveCounter = 99;
  ASSERT_TRUE(Human("a1", "a8"));
  EXPECT_EQ(GameStatus, 3);
  EXPECT_EQ(std::string(ResultText), "1-0 {White mates}");
  EXPECT_EQ(Record(1), "1 - 0 ");
}

TEST(Game, CastlingThatGivesCheckIsWrittenWithTheCastlingSign) {
  // Human White castles short, the rook on f1 checks the king on f8.
  NewGame(0);
  EmptyGamePosition();
  GameBoard[Sq("e1")] = White(K);
  GameBoard[Sq("h1")] = White(R);
  GameBoard[Sq("a1")] = White(R);
  GameBoard[Sq("f8")] = Black(K);
  GameCastleRights = 3;  // only the human (side 2) may castle
  ASSERT_TRUE(Human("e1", "g1"));
  EXPECT_EQ(Record(0), "O-O+");
  EXPECT_EQ(GameStatus, 1);

  // Engine White castles long with check on d8; and a quiet castle stays "O-O".
  NewGame(1);
  EmptyGamePosition();
  GameBoard[Sq("e1")] = White(K);
  GameBoard[Sq("a1")] = White(R);
  GameBoard[Sq("h1")] = White(R);
  GameBoard[Sq("d8")] = Black(K);
  GameCastleRights = 30;
  ASSERT_TRUE(Engine("e1", "c1"));
  EXPECT_EQ(Record(0), "O-O-O+");
  ASSERT_TRUE(Human("d8", "e8"));
  EXPECT_EQ(Record(1), "Kd8-e8");
  // Castling long takes 20 off; the short right stays in the digit but is dead, since the
  // king has left its square.
  EXPECT_EQ(GameCastleRights, 10);
}

TEST(Game, PromotionLettersTellTheMovers) {
  NewGame(0);
  EmptyGamePosition();
  GameBoard[Sq("e7")] = White(P);
  GameBoard[Sq("h1")] = White(K);
  GameBoard[Sq("a5")] = Black(K);
  GameBoard[Sq("b2")] = Black(P);
  ASSERT_TRUE(Human("e7", "e8"));
  EXPECT_EQ(Record(0), "e7-e8=q");
  ASSERT_TRUE(Engine("b2", "b1"));
  EXPECT_EQ(Record(1), "b2-b1=Q+");
}

TEST(Game, RecordNeverWrittenPastItsEnd) {
  // One free entry left: no room for a move and its result, so the game ends drawn.
  NewGame(0);
  HalfMoveCount = GameRecordSize - 1;
  EXPECT_FALSE(Human("g1", "f3"));
  EXPECT_EQ(GameStatus, 4);
  EXPECT_EQ(TurnState, 2);
  EXPECT_EQ(Record(GameRecordSize - 1), "1/2-1/2");
  EXPECT_EQ(HalfMoveCount, GameRecordSize - 1);

  // Two free entries: the move is played into the last but one.
  NewGame(0);
  HalfMoveCount = GameRecordSize - 2;
  EXPECT_TRUE(Human("g1", "f3"));
  EXPECT_EQ(Record(GameRecordSize - 2), "Ng1-f3");
  EXPECT_EQ(HalfMoveCount, GameRecordSize - 1);
  EXPECT_EQ(TurnState, 0);

  // A count pushed below zero: the move is played, nothing is written.
  NewGame(0);
  HalfMoveCount = -3;
  EXPECT_TRUE(Human("g1", "f3"));
  EXPECT_EQ(HalfMoveCount, -2);
}

TEST(Game, VeryLongGameEndsAtTheRecordLimit) {
  // Knights back and forth with the repetition and fifty-move memory wiped before every
  // move, so only the record's size can end the game.
  NewGame(0);
  const char* human[] = {"g1", "f3"};
  const char* engine[] = {"g8", "f6"};
  int moves = 0;
  while (TurnState != 2 && moves < GameRecordSize + 10) {
    ClearHistory();
    FiftyMoveCounter = 0;
    int leg = (moves / 2) % 2;
    bool played =
        TurnState == 1 ? Human(human[leg], human[1 - leg]) : Engine(engine[leg], engine[1 - leg]);
    if (!played) break;
    ++moves;
  }
  EXPECT_EQ(TurnState, 2);
  EXPECT_EQ(GameStatus, 4);
  EXPECT_EQ(HalfMoveCount, GameRecordSize - 1);
  EXPECT_EQ(Record(GameRecordSize - 1), "1/2-1/2");
}

TEST(Game, HistoryIndexIsGuardedWhenTheCounterRunsHigh) {
  NewGame(0);
  // After take-backs the counter can be left far above the history's 106 entries.
  FiftyMoveCounter = 200;
  RecordPosition();
  CountRepetitions();
  EXPECT_EQ(RepeatsHistory(), 0);
  FiftyMoveCounter = 255;
  ASSERT_TRUE(Human("g1", "f3"));
  EXPECT_EQ(FiftyMoveCounter, 255);  // does not wrap round to 0
  EXPECT_EQ(GameStatus, 4);          // long past the fifty-move limit
}

TEST(Game, RepeatsHistoryFindsAnyEarlierBoardWhateverTheMover) {
  NewGame(0);
  ASSERT_TRUE(Human("g1", "f3"));
  uint8_t afterNf3[64];
  std::memcpy(afterNf3, GameBoard, sizeof afterNf3);
  ASSERT_TRUE(Engine("g8", "f6"));
  std::memcpy(Board, afterNf3, sizeof Board);
  EXPECT_EQ(RepeatsHistory(), 1);
  std::memcpy(Board, GameBoard, sizeof Board);
  Board[Sq("a2")] = Empty;
  EXPECT_EQ(RepeatsHistory(), 0);
  ClearHistory();
  std::memcpy(Board, afterNf3, sizeof Board);
  EXPECT_EQ(RepeatsHistory(), 0);
  EXPECT_EQ(HistSide[3], 8);
}

}  // namespace
