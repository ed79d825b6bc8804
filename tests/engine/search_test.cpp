// The sliced search: what it plays, how it scores, the bounds of its path and its time budget.
#include "test_util.h"

TEST_F(SearchTest, ForcedBookMatingTiedAndRepeatingMovesPlayAfterTheFirstIteration) {
  constexpr int16_t Lo = INT16_MIN, Hi = INT16_MAX;
  struct Case {
    const char* fen;
    int maxDepth;
    const char* repeat;  // a move whose position goes into the history first, or ""
    const char* moves;   // the move played is one of these
    uint8_t completed, status, turn;
    int16_t low, high;  // range of RootScore
  };
  const char* queenUp = "7k/pppp1ppp/4p3/8/Q7/4PP2/PPPP1nPP/7K w - - 0 1";
  const Case cases[] = {
      {"7k/8/8/8/8/8/6q1/7K w - - 0 1", 30, "", "h1g2", 2, 0, 1, Lo, Hi},  // the only move
      {StartFen, 30, "", "e2e4 d2d4 c2c4 g1f3", 0, 0, 1, Lo, Hi},  // from the book, unsearched
      // Mate in one, with the engine as White (BoardFlipped 1) and as Black.
      {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", 30, "", "d1d8", 2, 3, 2, MateScore, MateScore},
      {"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", 30, "", "d8d1", 2, 3, 2, MateScore, MateScore},
      // Kings far from locked pawns, no queens: every line evaluates alike, so no root move
      // scores strictly higher than the first one generated (quiet moves come reversed).
      {"7k/8/8/p1p1p3/P1P1P3/8/8/7K w - - 0 1", 3, "", "h1h2", 2, 0, 1, Lo, Hi},
      // The knight's check leaves only Kh1-g1; White is a queen up, so the move is worth far
      // more than +30 until it repeats a position of the history: then -20 with 20 pieces
      // (score +5) and 0 with 12 (score +40).
      {queenUp, 3, "", "h1g1", 2, 0, 1, 31, Hi},
      {queenUp, 3, "h1g1", "h1g1", 2, 0, 1, -20, -20},
      {"7k/ppp4p/8/8/Q7/4PP2/5nPP/7K w - - 0 1", 3, "h1g1", "h1g1", 2, 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    Position(c.fen, c.maxDepth);
    if (*c.repeat) {
      std::swap(Board[Sq(c.repeat)], Board[Sq(c.repeat + 2)]);
      RecordPosition();
    }
    ASSERT_GT(SearchToMove(), 0);
    EXPECT_NE(std::string(c.moves).find(Played()), std::string::npos) << Played();
    EXPECT_EQ(std::vector<int>({LastCompletedDepth, GameStatus, TurnState}),
              std::vector<int>({c.completed, c.status, c.turn}));
    EXPECT_TRUE(RootScore >= c.low && RootScore <= c.high) << RootScore;
  }
}

// What the step observer saw over a whole search: the deepest leaf, open nodes without moves
// below a parent that had moves (illegal moves), and open nodes with moves below a parent
// without moves.
int MaxLeaf, IllegalNodes, MovesBelowIllegal;

void WatchPath() {
  MaxLeaf = std::max<int>(MaxLeaf, LeafPly);
  for (int p = 1; p <= std::min<int>(LeafPly, 29) && NodeOpen[p]; ++p) {
    const bool parentHasMoves = LastMove[p - 1] < NoMoves, hasMoves = LastMove[p] < NoMoves;
    MovesBelowIllegal += !parentHasMoves && hasMoves;
    IllegalNodes += parentHasMoves && !hasMoves && std::abs(PlyScore[p]) == MateScore;
  }
}

TEST_F(SearchTest, CaptureChainsStayWithinTheTablesAndIllegalMovesEndThePath) {
  SetStepObserver(WatchPath);
  // Seven attackers and seven defenders on d5: long recapture chains beyond the last
  // iteration's depth, 3. Then kings in the open next to a rook's rank: many king moves into
  // check.
  const std::tuple<const char*, int, int, int> cases[] = {
      {"b2q3k/3r2pp/1n1rpn2/3p4/4PN2/1BNR4/3R1PPP/3Q2K1 w - - 0 1", 4, 3 + 6, 0},
      {"3k4/8/8/8/8/8/r7/4K2R w K - 0 1", 5, 0, 11},
  };
  for (auto [fen, maxDepth, leastLeaf, leastIllegal] : cases) {
    Position(fen, maxDepth);
    MaxLeaf = IllegalNodes = MovesBelowIllegal = 0;
    ASSERT_GT(SearchToMove(), 0);
    EXPECT_TRUE(MaxLeaf >= leastLeaf && MaxLeaf <= 29) << MaxLeaf;
    EXPECT_GE(IllegalNodes, leastIllegal);
    EXPECT_EQ(MovesBelowIllegal, 0);
  }
}

// Plain minimax over side 1's and side 2's pseudo-legal moves, for positions where no capture
// and no check can occur within the depth.
int Minimax(uint8_t ply, int depth) {
  if (ply == depth + 1) return Evaluate(ply);
  const bool side2 = ply & 1;
  InCheck1[ply] = KingAttacked1();
  InCheck2[ply] = KingAttacked2();
  HashMoveFrom = HashMoveTo = 0;
  const uint8_t last = LastMove[ply] = side2 ? GenerateMoves2(ply) : GenerateMoves1(ply);
  int best = last == NoMoves ? Evaluate(ply) : side2 ? 1000000 : -1000000;
  for (uint8_t i = 0; last != NoMoves && i <= last; ++i) {
    side2 ? MakeMove2(ply, i) : MakeMove1(ply, i);
    const int value = Minimax(static_cast<uint8_t>(ply + 1), depth);
    side2 ? UnmakeMove2(ply, i) : UnmakeMove1(ply, i);
    best = side2 ? std::min(best, value) : std::max(best, value);
  }
  return best;
}

TEST_F(SearchTest, RootScoreIsTheMinimaxValueWhenNothingCanBeCaptured) {
  // Knights and kings behind locked pawns: no capture or check within four plies.
  const char* quiet = "1n5k/8/8/p1p1p3/P1P1P3/8/8/1N5K w - - 0 1";
  for (int depth : {2, 3}) {
    Position(quiet, depth + 1);
    const int expected = Minimax(0, depth);
    Position(quiet, depth + 1);
    ASSERT_GT(SearchToMove(), 0);
    EXPECT_EQ(LastCompletedDepth, depth);
    EXPECT_EQ(RootScore, expected) << "depth " << depth;
  }
}

TEST_F(SearchTest, EngineMovesWithinOneSliceAfterTheBudgetIsSpent) {
  // One slice a second: with a budget of 3 seconds the search stops once ThinkSeconds is 2;
  // without one the clock never ends it.
  for (int seconds : {3, 0}) {
    Position(MiddleGame, 30, seconds);
    ResetClocks();
    std::string played;
    for (uint16_t second : {0, 0, 1, 2, 3, 4, 5}) {
      FakeSecond = second;
      SecondTick();
      played += std::to_string(SearchSlice());
      if (TurnState != 0) break;
    }
    EXPECT_EQ(played, seconds ? "0001" : "0000000") << seconds;
    EXPECT_EQ(ThinkSeconds, seconds ? 2 : 5);
    EXPECT_EQ(SearchSteps == 0, seconds != 0);
  }
}

std::string Printed;
int PrintedLines;

TEST_F(SearchTest, ThinkingLineGatingAndFormatAndTheSearchUnchangedByIt) {
  auto print = [](uint8_t depth) {
    Printed = ThinkingLineText(depth);
    ++PrintedLines;
  };
  // The same search without thinking output, with the console's line and with the 3D
  // program's text after every slice walks the same tree.
  std::string searches[3];
  for (int run : {0, 1, 2}) {
    Position("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 3);
    SetThinkingOutput(run == 2 ? nullptr : +print);
    ThinkingShown = run > 0;
    LastShownScore = 22222;
    PrintedLines = 0;
    ASSERT_GT(SearchToMove(), 0);
    EXPECT_EQ(std::vector<int>({PrintedLines > 0, !BestMoveText.empty()}),
              std::vector<int>({run == 1, run == 2}));
    searches[run] = Played() + " steps " + std::to_string(LastSearchSteps) + " score " +
                    std::to_string(RootScore);
  }
  EXPECT_EQ(searches[0], searches[1]);
  EXPECT_EQ(searches[0], searches[2]);
  SetThinkingOutput(print);
  // Depth 2 is shown as 3; score 9999, 0 seconds; the variation starts with the mate.
  EXPECT_EQ(Printed.substr(0, 14), "3  9999  0    ") << Printed;
  // The variation ends with the mate: the table's reply for the mated side is no move.
  EXPECT_TRUE(Printed.ends_with(" Qh5xf7 ")) << Printed;

  // Between searches nothing is shown, whatever the score. During one: nothing when thinking
  // is off, the score was shown already, the score is an open bound or beyond 18000, the
  // human is to move or the depth is 1.
  // Whether a search is running, ThinkingShown, TurnState, CurrentDepth, RootScore and
  // LastShownScore; then the lines printed.
  const std::vector<int> gates[] = {{0, 1, 0, 4, 55, 36, 0},    {1, 1, 0, 4, 37, 36, 1},
                                    {1, 0, 0, 4, 37, 36, 0},    {1, 1, 0, 4, 37, 37, 0},
                                    {1, 1, 0, 4, 25000, 36, 0}, {1, 1, 0, 4, -18000, 36, 0},
                                    {1, 1, 1, 4, 37, 36, 0},    {1, 1, 0, 1, 37, 36, 0}};
  for (const std::vector<int>& g : gates) {
    Position(MiddleGame);
    if (g[0]) SearchSlice();
    std::tie(ThinkingShown, TurnState, CurrentDepth, RootScore, LastShownScore) =
        std::tuple(g[1], g[2], g[3], g[4], g[5]);
    PrintedLines = ShownThisIteration = 0;
    ThinkingLine(4);
    EXPECT_EQ(std::vector<int>({PrintedLines, LastShownScore, ShownThisIteration}),
              std::vector<int>({g[6], g[6] ? g[4] : g[5], g[6]}))
        << g[4];
  }
}

TEST(SearchTexts, ScoreTextInPawns) {
  const std::pair<int16_t, const char*> cases[] = {
      {7, "0.07"}, {45, "0.45"},  {105, "1.05"},   {-250, "-2.50"},
      {0, "0.00"}, {-9, "-0.09"}, {9999, "99.99"}, {-32768, "-327.68"}};
  for (auto [score, text] : cases) EXPECT_EQ(ScoreText(score), text) << score;
}
