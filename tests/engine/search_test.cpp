// The sliced search: what it plays, how it scores, the bounds of its path and its time budget.
#include "engine/search.h"

#include "test_util.h"

namespace {

const char MiddleGame[] = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7";

// A game set up from a FEN with the engine to move, no book, a fake clock and no time limit.
class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeSecond = 0;
    SetSecondsSource(ReadFakeSecond);
    SearchStrength = 0;
    SliceGate = 0;
  }
  void TearDown() override {
    SetSecondsSource(nullptr);
    SetThinkingOutput(nullptr);
    SetStepObserver(nullptr);
  }

  static void Position(const char* fen, int maxDepth = 30, int seconds = 0) {
    GameFromFen(fen, std::string(fen).find(" w ") != std::string::npos);
    BookAllowed = 0;
    HashMoveFrom = HashMoveTo = 0;  // the root list is ordered by whatever these hold
    // Killers outlive searches by design; clearing them keeps each test independent.
    std::memset(KillerFrom, 0, sizeof(KillerFrom));
    std::memset(KillerTo, 0, sizeof(KillerTo));
    SecondsPerMove = seconds;
    MaxDepth = static_cast<uint8_t>(maxDepth);
  }

  // Runs slices until the move is played; the number of slices it took.
  static int SearchToMove() {
    for (int n = 1; n <= 100000; ++n) {
      if (SearchSlice()) return n;
    }
    return -1;
  }

  static std::string Played() { return CoordinateText(PlayedFrom, PlayedTo); }
  static size_t RootMoves() { return LegalMoves(1, true).size(); }
};

TEST_F(SearchTest, ForcedMoveAndMateInOnePlayAfterTheFirstIteration) {
  struct Case {
    const char* fen;
    const char* move;
    uint8_t status, turn;
  };
  const Case cases[] = {
      {"7k/8/8/8/8/8/6q1/7K w - - 0 1", "h1g2", 0, 1},  // the king can only take the queen
      // Mate in one, with the engine as White (BoardFlipped 1) and as Black: score 9999.
      {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "d1d8", 3, 2},
      {"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", "d8d1", 3, 2},
  };
  for (const Case& c : cases) {
    Position(c.fen);
    EXPECT_GT(SearchToMove(), 0) << c.fen;
    EXPECT_EQ(Played(), c.move) << c.fen;
    EXPECT_EQ(LastCompletedDepth, 2) << c.fen;
    EXPECT_EQ(GameStatus, c.status) << c.fen;
    EXPECT_EQ(TurnState, c.turn) << c.fen;
    EXPECT_TRUE(c.status != 3 || RootScore == MateScore) << c.fen;
  }
}

int StepsSeen;

TEST_F(SearchTest, BookMoveIsPlayedInTheFirstSliceWithoutSearching) {
  GameFromFen(StartFen, true);  // the engine White at the start: the book answers
  StepsSeen = 0;
  SetStepObserver([] { ++StepsSeen; });  // also counts the openings of a step: an upper bound
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
  ASSERT_EQ(RootMoves(), 3u);
  const std::string first = CoordinateText(MoveFrom[0][0], MoveTo[0][0]);
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_EQ(Played(), first);
  EXPECT_EQ(LastCompletedDepth, 2);
}

TEST_F(SearchTest, RepeatingRootMoveIsValuedByPieceCount) {
  // The knight's check leaves only Kh1-g1; White is a queen up, so the move is worth far more
  // than +30 until it repeats a position of the history: then -20 with 20 pieces (score +5)
  // and 0 with 12 (score +40).
  struct Case {
    const char* fen;
    bool repeated;
    int pieces, score;
  };
  const Case cases[] = {
      {"7k/pppp1ppp/4p3/8/Q7/4PP2/PPPP1nPP/7K w - - 0 1", false, 20, 30},
      {"7k/pppp1ppp/4p3/8/Q7/4PP2/PPPP1nPP/7K w - - 0 1", true, 20, -20},
      {"7k/ppp4p/8/8/Q7/4PP2/5nPP/7K w - - 0 1", true, 12, 0},
  };
  for (const Case& c : cases) {
    Position(c.fen, 3);
    ASSERT_EQ(RootMoves(), 1u);
    if (c.repeated) {  // the position after Kh1-g1 goes into the history
      std::memcpy(Board, GameBoard, sizeof(Board));
      std::swap(Board[Sq("h1")], Board[Sq("g1")]);
      RecordPosition();
      std::memcpy(Board, GameBoard, sizeof(Board));
    }
    ASSERT_EQ(SearchToMove(), 1);
    EXPECT_EQ(Played(), "h1g1");
    EXPECT_EQ(PieceCount, c.pieces);
    if (c.repeated) {
      EXPECT_EQ(RootScore, c.score);
    } else {
      EXPECT_GT(RootScore, c.score) << "without a repetition the extra queen counts";
    }
  }
}

// What the step observer saw over a whole search.
struct PathWatch {
  int maxLeaf = 0, maxIterDepth = 0;
  int illegalNodes = 0;       // open nodes without moves below a parent that had moves
  int movesBelowIllegal = 0;  // open nodes with moves below a parent without moves
} Watch;

void WatchPath() {
  Watch.maxLeaf = std::max<int>(Watch.maxLeaf, LeafPly);
  Watch.maxIterDepth = std::max<int>(Watch.maxIterDepth, IterDepth);
  for (int p = 1; p <= std::min<int>(LeafPly, 29); ++p) {
    if (!NodeOpen[p]) break;
    const bool parentHasMoves = LastMove[p - 1] < NoMoves, hasMoves = LastMove[p] < NoMoves;
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
  EXPECT_LE(Watch.maxLeaf, 29);
  EXPECT_GE(Watch.maxLeaf, Watch.maxIterDepth + 6) << "the recapture chain was not followed";
  EXPECT_EQ(Watch.movesBelowIllegal, 0);

  // Kings in the open next to a rook's rank: many king moves into check.
  Position("3k4/8/8/8/8/8/r7/4K2R w K - 0 1", 5);
  Watch = PathWatch{};
  ASSERT_GT(SearchToMove(), 0);
  EXPECT_GT(Watch.illegalNodes, 10) << "too few illegal moves were met";
  EXPECT_EQ(Watch.movesBelowIllegal, 0);
  EXPECT_LE(Watch.maxLeaf, 29);
}

// Plain minimax over side 1's and side 2's pseudo-legal moves, for positions where no capture
// and no check can occur within the depth.
int Minimax(int ply, int depth) {
  const uint8_t p = static_cast<uint8_t>(ply);
  if (ply == depth + 1) return Evaluate(p);
  const bool side2 = ply & 1;
  InCheck1[ply] = KingAttacked1();
  InCheck2[ply] = KingAttacked2();
  HashMoveFrom = HashMoveTo = 0;
  const uint8_t last = side2 ? GenerateMoves2(p) : GenerateMoves1(p);
  if (last == NoMoves) return Evaluate(p);
  int best = side2 ? 1000000 : -1000000;
  for (uint8_t i = 0; i <= last; ++i) {
    LastMove[ply] = last;
    side2 ? MakeMove2(p, i) : MakeMove1(p, i);
    const int value = Minimax(ply + 1, depth);
    side2 ? UnmakeMove2(p, i) : UnmakeMove1(p, i);
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
  Position(MiddleGame, 30, 3);  // stops once ThinkSeconds >= 2
  ResetClocks();
  for (int n = 0; n < 5; ++n) EXPECT_EQ(SearchSlice(), 0) << "no second has passed yet";
  FakeSecond = 1;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(SearchSlice(), 0);
  FakeSecond = 2;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(ThinkSeconds, 2);
  EXPECT_EQ(SearchSlice(), 1);
  EXPECT_EQ(TurnState, 1);
  EXPECT_EQ(SearchSteps, 0);

  // Without a budget the clock never ends the search.
  Position(MiddleGame, 30, 0);
  ResetClocks();
  for (int n = 0; n < 20; ++n) {
    FakeSecond = static_cast<uint16_t>((n + 1) % 60);
    EXPECT_EQ(SearchSlice(), 0);
    SecondTick();
  }
  EXPECT_GE(ThinkSeconds, 19);
}

TEST_F(SearchTest, SearchIsRepeatableAndUnchangedByThinkingOutput) {
  // The same search with a variation built after every slice must walk the same tree.
  auto search = [](uint8_t shown) {
    Position("r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4", 5);
    ThinkingShown = shown;
    BestMoveText.clear();
    LastShownScore = 22222;
    EXPECT_GT(SearchToMove(), 0);
    return Played() + " steps " + std::to_string(LastSearchSteps) + " score " +
           std::to_string(RootScore);
  };
  const std::string quiet = search(0);
  EXPECT_TRUE(BestMoveText.empty());
  EXPECT_EQ(search(1), quiet);
  EXPECT_FALSE(BestMoveText.empty());
}

std::string Printed;
int PrintedLines;

TEST_F(SearchTest, ThinkingLineGatingAndFormat) {
  Position("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 3);
  SetThinkingOutput([](uint8_t depth) {
    Printed = ThinkingLineText(depth);
    ++PrintedLines;
  });
  LastShownScore = 22222;
  PrintedLines = 0;
  ASSERT_GT(SearchToMove(), 0);
  ASSERT_GE(PrintedLines, 1);
  // Depth 2 is shown as 3; score 9999, 0 seconds; the variation starts with the mate.
  EXPECT_EQ(Printed.substr(0, 14), "3  9999  0    ") << Printed;
  EXPECT_NE(Printed.find("Qh5xf7 "), std::string::npos) << Printed;
  EXPECT_EQ(Printed.back(), ' ');
  // Between searches there is nothing to show, whatever the score.
  TurnState = 0;
  RootScore = 55;
  PrintedLines = 0;
  ThinkingLine(4);
  EXPECT_EQ(PrintedLines, 0);

  // During a search: nothing when thinking is off, the score was shown already, the score is
  // an open bound or beyond 18000, the human is to move or the depth is 1.
  struct Gate {
    uint8_t shown, turn, depth;
    int16_t score, lastShown;
    int printed;
  };
  const Gate gates[] = {{1, 0, 4, 37, 36, 1},    {0, 0, 4, 37, 36, 0},     {1, 0, 4, 37, 37, 0},
                        {1, 0, 4, 25000, 36, 0}, {1, 0, 4, -18000, 36, 0}, {1, 1, 4, 37, 36, 0},
                        {1, 0, 1, 37, 36, 0}};
  for (const Gate& g : gates) {
    Position(MiddleGame);
    ASSERT_EQ(SearchSlice(), 0);
    ThinkingShown = g.shown;
    TurnState = g.turn;
    CurrentDepth = g.depth;
    RootScore = g.score;
    LastShownScore = g.lastShown;
    PrintedLines = 0;
    ThinkingLine(4);
    EXPECT_EQ(PrintedLines, g.printed) << &g - gates;
    if (g.printed) {
      EXPECT_EQ(LastShownScore, g.score);
      EXPECT_EQ(ShownThisIteration, 1);
    }
  }
}

TEST(SearchTexts, ScoreTextInPawns) {
  const std::pair<int16_t, const char*> cases[] = {
      {7, "0.07"}, {45, "0.45"},  {105, "1.05"},   {-250, "-2.50"},
      {0, "0.00"}, {-9, "-0.09"}, {9999, "99.99"}, {-32768, "-327.68"}};
  for (auto [score, text] : cases) EXPECT_EQ(ScoreText(score), text) << score;
}

}  // namespace
