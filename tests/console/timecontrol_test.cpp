// The time commands' arithmetic, driven through the command table on CommandLine.
#include <gtest/gtest.h>

#include <cstring>

#include "console/commands.h"
#include "console/console_state.h"
#include "console/timecontrol.h"
#include "engine/board.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

void Command(const char* line) {
  SetCommandLine(line, static_cast<int>(std::strlen(line)));
  DecodeTypedMove();
  DispatchCommand();
}

// A fresh clock state and the start position (32 pieces) on the game board.
void FreshTimeControl() {
  MovesPerControl = MovesThisControl = IncrementSeconds = RemainingCentis = 0;
  TimeReceived = 0;
  ScoreDrop = 0;
  SecondsPerMove = 10;
  MaxDepth = 30;
  BoardFlipped = 0;
  SetPieceValues();
  SetStartPosition(GameBoard);
}

}  // namespace

TEST(TimeControl, StSetsSecondsPerMoveWithThreeDigitsCountingOneMore) {
  FreshTimeControl();
  Command("st 5");
  EXPECT_EQ(SecondsPerMove, 5);
  Command("st 30");
  EXPECT_EQ(SecondsPerMove, 30);
  Command("st 120");
  EXPECT_EQ(SecondsPerMove, 121);
  MaxDepth = 7;
  Command("st 9");
  EXPECT_EQ(MaxDepth, 30);
  // Not digits count 0.
  Command("st x7");
  EXPECT_EQ(SecondsPerMove, 7);
}

TEST(TimeControl, SdSetsTheDepthClampedAndLiftsTheTimeLimit) {
  FreshTimeControl();
  Command("sd 1");
  EXPECT_EQ(MaxDepth, 3);
  EXPECT_EQ(SecondsPerMove, 2000000000);
  Command("sd 99");
  EXPECT_EQ(MaxDepth, 30);
  Command("sd 7");
  EXPECT_EQ(MaxDepth, 7);
  Command("sd 12");
  EXPECT_EQ(MaxDepth, 12);
}

TEST(TimeControl, LevelGivesTheSecondsOfThePartExamples) {
  FreshTimeControl();
  Command("level 40 5 0");
  EXPECT_EQ(SecondsPerMove, 300 / 40 + 1);
  EXPECT_EQ(MovesPerControl, 40);
  Command("level 0 5 0");
  EXPECT_EQ(SecondsPerMove, (5 + 1) / 2 + 1);
  Command("level 0 2 12");
  EXPECT_EQ(SecondsPerMove, 12 + 1 + 1);
  EXPECT_EQ(IncrementSeconds, 12);
  Command("level 1 5 0");  // one move per control keeps 2 seconds
  EXPECT_EQ(SecondsPerMove, 2);
  Command("level 120 90 0");  // three-digit moves shift the later fields
  EXPECT_EQ(SecondsPerMove, 90 * 60 / 120 + 1);
}

TEST(TimeControl, TimeSharesTheClockOverTheMovesLeft) {
  FreshTimeControl();
  Command("level 40 5 0");
  Command("time 12000");
  EXPECT_EQ(TimeReceived, 1);
  EXPECT_EQ(RemainingCentis, 12000);
  // 12000 div 40 = 300 centiseconds: 3 + 1, and 32 pieces give (300 * 17) div 3000 = 1 more.
  EXPECT_EQ(SecondsPerMove, 5);

  // A material drop of 3 pawns takes 3 per mille of the share off; here it rounds to 0, but a
  // bigger clock shows it: 400000 div 40 = 10000, malus 30, bonus 56.
  ScoreDrop = 300;
  Command("time 400000");
  EXPECT_EQ(SecondsPerMove, 100 + 1 - 30 + 56);

  // The last move before the control uses the whole clock less a second.
  ScoreDrop = 0;
  MovesThisControl = 39;
  Command("time 5000");
  EXPECT_EQ(SecondsPerMove, 49 + 1);
  // Fewer whole seconds than moves left: one second a move.
  MovesThisControl = 0;
  Command("time 3000");
  EXPECT_EQ(SecondsPerMove, 1);
  // A control that is complete starts again.
  MovesThisControl = 40;
  Command("time 12000");
  EXPECT_EQ(MovesThisControl, 0);
  EXPECT_EQ(SecondsPerMove, 5);
}

TEST(TimeControl, TimeWithoutMovesPerControlUsesTheIncrement) {
  FreshTimeControl();
  Command("level 0 2 12");
  Command("time 8000");
  EXPECT_EQ(SecondsPerMove, 8000 / 4000 + 12 + 1);
  Command("level 0 1 0");
  Command("time 100");
  EXPECT_EQ(SecondsPerMove, 2);  // at least 2
}

TEST(TimeControl, OddNumbersStayInRange) {
  FreshTimeControl();
  Command("time 99999999999999");  // seven digits are read
  EXPECT_EQ(RemainingCentis, 9999999);
  EXPECT_EQ(SecondsPerMove, 9999999 / 4000 + 1);
  Command("time -500");  // the sign counts as a 0 digit
  EXPECT_EQ(RemainingCentis, 500);
  Command("time");
  EXPECT_EQ(RemainingCentis, 0);
  EXPECT_EQ(SecondsPerMove, 2);
  Command("level 999 999 999");
  EXPECT_EQ(SecondsPerMove, 999 * 60 / 999 + 1);
  Command("time 9999999");
  EXPECT_GE(SecondsPerMove, 1);
  Command("level abc def ghi");
  EXPECT_EQ(MovesPerControl, 0);
  EXPECT_EQ(SecondsPerMove, 0 + (0 + 1) / 2 + 1);
  Command("levelx");
  Command("st");
  Command("sd");
  EXPECT_GE(MaxDepth, 3);
  EXPECT_LE(MaxDepth, 30);
  // A line at the length limit cannot be padded; its fields end at the limit.
  std::string longTime = "time 1234" + std::string(111, ' ');
  ASSERT_EQ(longTime.size(), 120u);
  Command(longTime.c_str());
  EXPECT_EQ(RemainingCentis, 1234);
}

TEST(TimeControl, RemoveStepsTheControlBackAndWraps) {
  FreshTimeControl();
  Command("level 40 5 0");
  MovesThisControl = 0;
  HalfMoveCount = 0;
  Command("remove");
  EXPECT_EQ(MovesThisControl, 40);
}
