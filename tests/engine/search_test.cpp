#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

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

uint16_t FakeSecond;
uint16_t ReadFakeSecond() { return FakeSecond; }

// A game set up from a FEN with the engine to move, no book, a fake clock and no time limit.
class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HashAllocate();
    SeedRandom(12345);
    FakeSecond = 0;
    SetSecondsSource(ReadFakeSecond);
    SetThinkingOutput(nullptr);
    SetStepObserver(nullptr);
    SearchStrength = 0;
    SliceGate = 0;
  }
  void TearDown() override {
    SetSecondsSource(nullptr);
    SetThinkingOutput(nullptr);
    SetStepObserver(nullptr);
  }

  static void Position(const char* fen, int maxDepth = 30, int seconds = 0) {
    FenPosition position;
    std::string error;
    ASSERT_TRUE(ParseFen(fen, &position, &error)) << error;
    StartNewGame(position.whiteToMove ? 1 : 0, seconds);
    InstallPosition(position, position.whiteToMove);
    TurnState = 0;
    GameStatus = 0;
    BookAllowed = 0;
    HashMoveFrom = HashMoveTo = 0;
    // Killers outlive searches by design; clearing them keeps each test independent.
    std::memset(KillerFrom, 0, sizeof(KillerFrom));
    std::memset(KillerTo, 0, sizeof(KillerTo));
    SecondsPerMove = seconds;
    MaxDepth = static_cast<uint8_t>(maxDepth);
  }

  // Runs slices until the move is played; the number of slices it took.
  static int SearchToMove(int sliceLimit = 100000) {
    for (int n = 1; n <= sliceLimit; ++n) {
      if (SearchSlice()) return n;
    }
    return -1;
  }

  static std::string Played() { return CoordinateText(PlayedFrom, PlayedTo); }
};

// Legal root moves of side 1 on the game position, in list order.
int LegalRootMoves() {
  std::memcpy(Board, GameBoard, sizeof(Board));
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
  InCheck1[0] = KingAttacked1();
  RootLast = GenerateMoves1(0);
  if (RootLast != NoMoves) FilterLegal1();
  return RootLast == NoMoves ? 0 : RootLast + 1;
}

TEST_F(SearchTest, OneLegalMoveIsPlayedAfterTheFirstIteration) {
  // The white king in check from the queen can only take it.
  Position("7k/8/8/8/8/8/6q1/7K w - - 0 1");
  ASSERT_EQ(LegalRootMoves(), 1);
  EXPECT_EQ(SearchSlice(), 1);
  EXPECT_EQ(Played(), "h1g2");
  EXPECT_EQ(LastCompletedDepth, 2);
  EXPECT_EQ(TurnState, 1);
  EXPECT_STREQ(GameRecord[0], "Kh1xg2");
}

TEST_F(SearchTest, MateInOneScoresMateAndStopsDeepening) {
  struct Case {
    const char* fen;
    const char* mate;
  };
  // Both orientations: the engine as White (BoardFlipped 1) and as Black.
  for (const Case& c : {Case{"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "d1d8"},
                        Case{"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", "d8d1"}}) {
    Position(c.fen);
    EXPECT_GT(SearchToMove(), 0) << c.fen;
    EXPECT_EQ(Played(), c.mate) << c.fen;
    EXPECT_EQ(RootScore, MateScore) << c.fen;
    EXPECT_EQ(LastCompletedDepth, 2) << c.fen;
    EXPECT_EQ(GameStatus, 3) << c.fen;
    EXPECT_EQ(TurnState, 2) << c.fen;
  }
}

int StepsSeen;
void CountStep() { ++StepsSeen; }  // also counts the openings of a step: an upper bound

TEST_F(SearchTest, BookMoveIsPlayedInTheFirstSliceWithoutSearching) {
  StartNewGame(1, 10);  // engine White at the start position: the book answers
  ASSERT_EQ(TurnState, 0);
  StepsSeen = 0;
  SetStepObserver(CountStep);
  EXPECT_EQ(SearchSlice(), 1);
  const std::string move = GameRecord[0];
  EXPECT_TRUE(move == "e2-e4" || move == "d2-d4" || move == "c2-c4" || move == "Ng1-f3") << move;
  // Only the slice's one empty step is counted; no node of the tree was opened.
  EXPECT_LE(StepsSeen, 1);
  EXPECT_EQ(LastCompletedDepth, 0);
  EXPECT_EQ(NodeOpen[1], 0);
}

TEST_F(SearchTest, OfEqualScoresTheEarlierRootMoveIsPlayed) {
  // Kings far from locked pawns and no queens: every line evaluates alike, so no root move
  // ever scores strictly higher than the first one.
  Position("7k/8/8/p1p1p3/P1P1P3/8/8/7K w - - 0 1", 3);
  ASSERT_EQ(LegalRootMoves(), 3);
  const std::string first = CoordinateText(MoveFrom[0][0], MoveTo[0][0]);
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_EQ(Played(), first);
  EXPECT_EQ(LastCompletedDepth, 2);
}

// Puts the position after the king's move h1-g1 (the only legal move) into the history.
void RecordPositionAfterKingMove() {
  std::memcpy(Board, GameBoard, sizeof(Board));
  int king = -1;
  for (int s = 0; s < 64; ++s) {
    if (Board[s] == King1) king = s;
  }
  ASSERT_GE(king, 0);
  // With the engine as White square 0 is h1, so g1 is the next square up in the row.
  Board[king + 1] = King1;
  Board[king] = Empty;
  FiftyMoveCounter = 0;
  RecordPosition();
  std::memcpy(Board, GameBoard, sizeof(Board));
}

TEST_F(SearchTest, RepeatingRootMoveIsValuedByPieceCount) {
  // The knight's check leaves only Kg1; White is a queen up, so the move is worth far more
  // than +30 until it repeats a position of the history.
  const char* many = "7k/pppp1ppp/4p3/8/Q7/4PP2/PPPP1nPP/7K w - - 0 1";  // 20 pieces
  const char* few = "7k/ppp4p/8/8/Q7/4PP2/5nPP/7K w - - 0 1";  // 12 pieces

  Position(many, 3);
  ASSERT_EQ(LegalRootMoves(), 1);
  ASSERT_EQ(SearchToMove(), 1);
  EXPECT_EQ(Played(), "h1g1");
  EXPECT_GT(RootScore, 30) << "without a repetition the extra queen counts";

  Position(many, 3);
  RecordPositionAfterKingMove();
  ASSERT_EQ(SearchToMove(), 1);
  EXPECT_EQ(PieceCount, 20);
  EXPECT_EQ(RootScore, -20);

  Position(few, 3);
  ASSERT_EQ(LegalRootMoves(), 1);
  RecordPositionAfterKingMove();
  ASSERT_EQ(SearchToMove(), 1);
  EXPECT_EQ(PieceCount, 12);
  EXPECT_EQ(RootScore, 0);
}

// What the step observer saw over a whole search.
struct PathWatch {
  int maxLeaf = 0;
  int maxIterDepth = 0;
  int illegalNodes = 0;          // open nodes without moves below a parent that had moves
  int movesBelowIllegal = 0;     // open nodes with moves below a parent without moves
  int leafAboveLimit = 0;
} Watch;

void WatchPath() {
  Watch.maxLeaf = std::max<int>(Watch.maxLeaf, LeafPly);
  Watch.maxIterDepth = std::max<int>(Watch.maxIterDepth, IterDepth);
  if (LeafPly > 29) ++Watch.leafAboveLimit;
  for (int p = 1; p <= std::min<int>(LeafPly, 29); ++p) {
    if (!NodeOpen[p]) break;
    const bool parentHasMoves = LastMove[p - 1] < NoMoves;
    const bool hasMoves = LastMove[p] < NoMoves;
    if (!parentHasMoves && hasMoves) ++Watch.movesBelowIllegal;
    if (parentHasMoves && !hasMoves && (PlyScore[p] == MateScore || PlyScore[p] == -MateScore))
      ++Watch.illegalNodes;
  }
}

TEST_F(SearchTest, CaptureChainsStayWithinTheTablesAndIllegalMovesEndThePath) {
  // Seven attackers and seven defenders on d5: long recapture chains.
  Position("b2q3k/3r2pp/1n1rpn2/3p4/4PN2/1BNR4/3R1PPP/3Q2K1 w - - 0 1", 4);
  Watch = PathWatch{};
  SetStepObserver(WatchPath);
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_EQ(Watch.leafAboveLimit, 0);
  EXPECT_LE(Watch.maxLeaf, 29);
  EXPECT_GE(Watch.maxLeaf, Watch.maxIterDepth + 6) << "the recapture chain was not followed";
  EXPECT_EQ(Watch.movesBelowIllegal, 0);

  // Kings in the open next to a rook's rank: many king moves into check.
  Position("3k4/8/8/8/8/8/r7/4K2R w K - 0 1", 5);
  Watch = PathWatch{};
  SetStepObserver(WatchPath);
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_GT(Watch.illegalNodes, 10) << "too few illegal moves were met";
  EXPECT_EQ(Watch.movesBelowIllegal, 0);
  EXPECT_EQ(Watch.leafAboveLimit, 0);
}

// Plain minimax over side 1's legal root moves, side 2's legal replies and side 1's moves,
// for positions where no capture and no check can occur within the depth.
int Minimax(int ply, int depth) {
  if (ply == depth + 1) return Evaluate(static_cast<uint8_t>(ply));
  const bool side2 = ply & 1;
  InCheck1[ply] = KingAttacked1();
  InCheck2[ply] = KingAttacked2();
  HashMoveFrom = HashMoveTo = 0;
  const uint8_t last = side2 ? GenerateMoves2(static_cast<uint8_t>(ply))
                             : GenerateMoves1(static_cast<uint8_t>(ply));
  if (last == NoMoves) return Evaluate(static_cast<uint8_t>(ply));
  int best = side2 ? 1000000 : -1000000;
  for (int i = 0; i <= last; ++i) {
    const uint8_t p = static_cast<uint8_t>(ply), index = static_cast<uint8_t>(i);
    LastMove[ply] = last;
    side2 ? MakeMove2(p, index) : MakeMove1(p, index);
    const int value = Minimax(ply + 1, depth);
    side2 ? UnmakeMove2(p, index) : UnmakeMove1(p, index);
    best = side2 ? std::min(best, value) : std::max(best, value);
  }
  return best;
}

TEST_F(SearchTest, RootScoreIsTheMinimaxValueWhenNothingCanBeCaptured) {
  // Knights and kings behind locked pawns: no capture or check within four plies.
  const char* quiet = "1n5k/8/8/p1p1p3/P1P1P3/8/8/1N5K w - - 0 1";
  for (int depth : {2, 3}) {
    Position(quiet, depth + 1);
    std::memcpy(Board, GameBoard, sizeof(Board));
    const int expected = Minimax(0, depth);
    Position(quiet, depth + 1);
    ASSERT_GT(SearchToMove(), 0);
    EXPECT_EQ(LastCompletedDepth, depth);
    EXPECT_EQ(RootScore, expected) << "depth " << depth;
  }
}

TEST_F(SearchTest, EngineMovesWithinOneSliceAfterTheBudgetIsSpent) {
  const char* middleGame = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7";
  Position(middleGame, 30, 3);  // stops once ThinkSeconds >= 2
  ResetClocks();
  for (int n = 0; n < 5; ++n) EXPECT_EQ(SearchSlice(), 0) << "no second has passed yet";
  FakeSecond = 1;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(ThinkSeconds, 1);
  EXPECT_EQ(SearchSlice(), 0);
  FakeSecond = 2;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(SearchSlice(), 1);
  EXPECT_EQ(TurnState, 1);
  EXPECT_EQ(SearchSteps, 0);
  EXPECT_EQ(NodeCount, 0);

  // Without a budget the clock never ends the search.
  Position(middleGame, 30, 0);
  ResetClocks();
  for (int n = 0; n < 20; ++n) {
    FakeSecond = static_cast<uint16_t>((n + 1) % 60);
    EXPECT_EQ(SearchSlice(), 0);
    SecondTick();
  }
  EXPECT_GE(ThinkSeconds, 19);
}

TEST_F(SearchTest, SoundMovesInSimplePositions) {
  struct Case {
    const char* fen;
    const char* expected;
  };
  // A hanging knight is taken; a queen up, the engine keeps its queen rather than take a
  // defended pawn.
  Position("4k3/pp3ppp/8/4n3/8/5N2/PP3PPP/4K3 w - - 0 1", 5);
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_EQ(Played(), "f3e5");

  Position("4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1", 5);
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_NE(Played(), "d1d5");
  EXPECT_GT(RootScore, 500);
}

TEST_F(SearchTest, SearchIsRepeatableAndUnchangedByThinkingOutput) {
  const char* fen = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
  Position(fen, 5);
  ThinkingShown = 0;
  ASSERT_GT(SearchToMove(), 0);
  const std::string quietMove = Played();
  const int32_t quietSteps = LastSearchSteps;
  const int16_t quietScore = RootScore;

  // The same search with a variation built after every slice must walk the same tree.
  SeedRandom(12345);
  Position(fen, 5);
  ThinkingShown = 1;
  BestMoveText.clear();
  LastShownScore = 22222;
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_EQ(Played(), quietMove);
  EXPECT_EQ(LastSearchSteps, quietSteps);
  EXPECT_EQ(RootScore, quietScore);
  EXPECT_FALSE(BestMoveText.empty());
}

std::string Printed;
int PrintedLines;
void RecordThinking(uint8_t depth) {
  Printed = ThinkingLineText(depth);
  ++PrintedLines;
}

TEST_F(SearchTest, ThinkingLineGatingAndFormat) {
  Position("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 3);
  SetThinkingOutput(RecordThinking);
  LastShownScore = 22222;
  PrintedLines = 0;
  ASSERT_GT(SearchToMove(), 0);
  ASSERT_GE(PrintedLines, 1);
  // depth 2 is shown as 3; score 9999, 0 seconds; the variation starts with the mate.
  EXPECT_EQ(Printed.substr(0, 14), "3  9999  0    ") << Printed;
  EXPECT_NE(Printed.find("Qh5xf7 "), std::string::npos) << Printed;
  EXPECT_EQ(Printed.back(), ' ');

  // Between searches there is nothing to show, whatever the score.
  TurnState = 0;
  RootScore = 55;
  PrintedLines = 0;
  ThinkingLine(4);
  EXPECT_EQ(PrintedLines, 0);

  // The shared gate during a search: nothing when thinking is off, when the score was shown
  // already, when the score is an open bound or when the human is to move.
  Position("r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7");
  ASSERT_EQ(SearchSlice(), 0);
  CurrentDepth = 4;
  ThinkingShown = 1;
  RootScore = 37;
  LastShownScore = 36;
  PrintedLines = 0;
  ThinkingLine(4);
  EXPECT_EQ(PrintedLines, 1);
  EXPECT_EQ(LastShownScore, 37);
  EXPECT_EQ(ShownThisIteration, 1);
  ThinkingLine(4);
  EXPECT_EQ(PrintedLines, 1) << "same score again";
  RootScore = 25000;
  ThinkingLine(4);
  RootScore = -18000;
  ThinkingLine(4);
  RootScore = 12;
  ThinkingShown = 0;
  ThinkingLine(4);
  ThinkingShown = 1;
  TurnState = 1;
  ThinkingLine(4);
  TurnState = 0;
  CurrentDepth = 1;
  ThinkingLine(4);
  EXPECT_EQ(PrintedLines, 1);
  CurrentDepth = 4;
  ThinkingLine(4);
  EXPECT_EQ(PrintedLines, 2);
}

TEST(SearchTexts, ScoreTextInPawns) {
  EXPECT_EQ(ScoreText(7), "0.07");
  EXPECT_EQ(ScoreText(45), "0.45");
  EXPECT_EQ(ScoreText(105), "1.05");
  EXPECT_EQ(ScoreText(-250), "-2.50");
  EXPECT_EQ(ScoreText(0), "0.00");
  EXPECT_EQ(ScoreText(-9), "-0.09");
  EXPECT_EQ(ScoreText(9999), "99.99");
  EXPECT_EQ(ScoreText(-32768), "-327.68");
}

TEST_F(SearchTest, CurrentMoveTextNamesTheRootMoveUnderSearch) {
  Position("r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7");
  EXPECT_EQ(CurrentMoveText(), "") << "no search has started";
  const int count = LegalRootMoves();
  ASSERT_EQ(SearchSlice(), 0);
  const std::string text = CurrentMoveText();
  const std::string prefix = "-" + std::to_string(count) + " ";
  ASSERT_NE(text.find(prefix), std::string::npos) << text;
  const int number = std::stoi(text.substr(0, text.find('-')));
  EXPECT_GE(number, 1);
  EXPECT_LE(number, count);
  const int index = number - 1;
  const uint8_t to = MoveTo[0][index];
  const std::string move = MoveText(MoveFrom[0][index], to, GameBoard[MoveFrom[0][index]],
                                    to >= 64 && to < 128 ? 1 : 0);
  EXPECT_EQ(text.substr(text.find(' ') + 1), move);
}

std::string RunKvtool(const std::string& arguments, int* status) {
  const std::string command = std::string(KORVANE_BUILD_DIR) + "/kvtool " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  if (pipe == nullptr) return output;
  char buffer[512];
  while (std::fgets(buffer, sizeof(buffer), pipe)) output += buffer;
  const int raw = pclose(pipe);
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

std::string LastLine(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
  return trimmed.substr(trimmed.rfind('\n') == std::string::npos ? 0 : trimmed.rfind('\n') + 1);
}

TEST(KvtoolSearch, PlaysSoundMovesAndRefusesBadInput) {
  int status = -1;
  std::string out = RunKvtool("search \"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\" --depth 3 --seed 1", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(LastLine(out).rfind("bestmove d1d8 score 9999 depth 2 steps ", 0), 0u) << out;

  out = RunKvtool("search \"4k3/pp3ppp/8/4n3/8/5N2/PP3PPP/4K3 w - - 0 1\" --depth 4 --seed 2", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(LastLine(out).rfind("bestmove f3e5 ", 0), 0u) << out;

  out = RunKvtool("search \"4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1\" --depth 4 --seed 3", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(LastLine(out).rfind("bestmove ", 0), 0u) << out;
  EXPECT_EQ(LastLine(out).find("d1d5"), std::string::npos) << out;

  for (const char* bad : {"search", "search \"not a fen\"", "search \"8/8/8/8/8/8/8/8 w - - 0 1\"",
                          "search \"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\" --depth 1",
                          "search \"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\" --depth x",
                          "search \"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\" --seconds",
                          "search \"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\" --bogus 3",
                          "search \"3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1\"",  // mated
                          "search \"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\""}) {     // stalemated
    out = RunKvtool(bad, &status);
    EXPECT_EQ(status, 2) << bad << ": " << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << bad << ": " << out;
  }
}

}  // namespace
