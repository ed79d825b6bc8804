// The time commands' arithmetic, driven through the command table on CommandLine, and the
// columns of the thinking line and the summary after a search.
#include "console/timecontrol.h"

#include "console/commands.h"
#include "console/console_state.h"
#include "console/output.h"
#include "engine/board.h"
#include "engine/state.h"
#include "engine/timectl.h"
#include "session.h"

TEST(TimeControl, CommandsGiveTheWorkedOutBudgets) {
  // Commands ('|' between), what they leave (seconds a move, depth, moves a control, increment,
  // the clock in centiseconds, the moves made in this control, "time" received), and
  // MovesThisControl and ScoreDrop before them.
  for (const auto& [commands, expected, movesDone, scoreDrop] :
       std::vector<std::tuple<std::string, std::string, int32_t, int32_t>>{
           {"sd 7|st 9", "9 30 0 0 0 0 0", 0, 0},
           {"st 3x", "30 30 0 0 0 0 0", 0, 0},    // characters that are not digits count 0
           {"st 120", "121 30 0 0 0 0 0", 0, 0},  // three digits count one more
           {"sd 1", "2000000000 3 0 0 0 0 0", 0, 0},
           {"sd 99", "2000000000 30 0 0 0 0 0", 0, 0},
           {"sd 12", "2000000000 12 0 0 0 0 0", 0, 0},
           {"sd", "10 30 0 0 0 0 0", 0, 0},                // no space after it: no command
           {"level 40 5 0", "8 30 40 0 0 0 0", 0, 0},      // 300 seconds div 40, + 1
           {"level 0 5 12", "16 30 0 12 0 0 0", 0, 0},     // 12 + (5 + 1) div 2 + 1
           {"level 1 5 0", "2 30 1 0 0 0 0", 0, 0},        // one move a control keeps 2 seconds
           {"level 120 90 0", "46 30 120 0 0 0 0", 0, 0},  // later fields shift: 5400 div 120 + 1
           {"level 999 999 999", "61 30 999 999 0 0 0", 0, 0},
           {"level abc def ghi", "1 30 0 0 0 0 0", 0, 0},
           {"levelx", "1 30 0 0 0 0 0", 0, 0},
           // 12000 div 40 = 300 centiseconds: 3 + 1, and 32 pieces give (300 * 17) div 3000 = 1.
           {"level 40 5 0|time 12000", "5 30 40 0 12000 0 1", 0, 0},
           // Share 10000: 100 + 1, less 10000 * 3 div 1000 = 30, and 10000 * 17 div 3000 = 56.
           {"level 40 5 0|time 400000", "127 30 40 0 400000 0 1", 0, 300},
           // The last move before the control uses the whole clock less a second.
           {"level 40 5 0|time 5000", "50 30 40 0 5000 39 1", 39, 0},
           {"level 40 5 0|time 3000", "1 30 40 0 3000 0 1", 0, 0},  // fewer seconds than moves
           {"level 40 5 0|time 12000", "5 30 40 0 12000 0 1", 40, 0},
           {"level 0 2 12|time 8000", "15 30 0 12 8000 0 1", 0, 0},  // 8000 div 4000 + 12 + 1
           // Odd numbers: seven digits at most, a sign counts 0, fields end at the limit; the
           // budget is at least 2 seconds.
           {"time 99999999999999", "2500 30 0 0 9999999 0 1", 0, 0},
           {"time -500", "2 30 0 0 500 0 1", 0, 0},
           {"time", "2 30 0 0 0 0 1", 0, 0},
           {"time 1234" + std::string(111, ' '), "2 30 0 0 1234 0 1", 0, 0},
           // "remove" steps the control back, wrapping below 0 to a whole control.
           {"level 40 5 0|remove", "8 30 40 0 0 40 0", 0, 0},
       }) {
    SCOPED_TRACE(commands);
    std::tie(SecondsPerMove, MaxDepth, MovesPerControl, IncrementSeconds, RemainingCentis,
             TimeReceived, HalfMoveCount, BoardFlipped) = std::tuple(10, 30, 0, 0, 0, 0, 0, 0);
    std::tie(MovesThisControl, ScoreDrop) = std::tuple(movesDone, scoreDrop);
    SetStartPosition(GameBoard);  // 32 pieces
    for (const std::string& line : Split(commands, "|")) {
      SetCommandLine(line.data(), static_cast<int>(line.size()));
      DecodeTypedMove();
      DispatchCommand();
    }
    char state[100];
    std::snprintf(state, sizeof state, "%d %d %d %d %d %d %d", SecondsPerMove, MaxDepth,
                  MovesPerControl, IncrementSeconds, RemainingCentis, MovesThisControl,
                  TimeReceived);
    EXPECT_EQ(state, expected);
  }
}

TEST(TimeControl, UciBudgetsInMilliseconds) {
  SetStartPosition(GameBoard);  // 32 pieces
  // The clock, the increment, the moves to go and ScoreDrop, then the budget: 500 a move (under
  // a second, kept) and 500 * 17 div 30 for the pieces; 100000 less three tenths for the drop,
  // and 56666; the last move before the control, all but a second, and not below 0; a fortieth
  // of the clock and the increment; never more than half the clock.
  const int64_t rows[][5] = {{20000, 0, 40, 0, 783},      {4000000, 0, 40, 300, 126666},
                             {5000, 0, 1, 0, 4000},       {800, 0, 1, 0, 0},
                             {80000, 12000, 0, 0, 14000}, {500, 2000, 0, 0, 250}};
  for (const auto& [clock, increment, movesToGo, drop, budget] : rows) {
    ScoreDrop = static_cast<int32_t>(drop);
    EXPECT_EQ(MoveBudgetMilliseconds(clock, increment, movesToGo), budget) << clock;
  }
}

TEST(Printing, ThinkingLineColumnsAndSummaryRate) {
  // Depth 9 shows 10 and one space, depth 8 shows 9 and two; score -25 in six columns, 7
  // seconds as 700 centiseconds in five, nodes in ten; wider fields are printed whole.
  EXPECT_EQ(FormatThinkingLine(9, 12, 0, 5, "e2-e4 ").substr(0, 3), "10 ");
  EXPECT_EQ(FormatThinkingLine(8, -25, 7, 12345, "Ng1-f3 "), "9  -25   700  12345     Ng1-f3 ");
  EXPECT_EQ(FormatThinkingLine(3, 9999, 1234, 1234567890, ""), "4  9999  1234001234567890");
  // The rate divides by the seconds less one, and by nothing below 2 seconds.
  for (const int32_t seconds : {0, 1, 2}) {
    EXPECT_EQ(SummaryText(5000, seconds), "Total nodes: 5000  (n/sec: 5000)");
  }
  EXPECT_EQ(SummaryText(5000, 3), "Total nodes: 5000  (n/sec: 2500)");
}
