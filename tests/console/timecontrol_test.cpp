// The time commands' arithmetic, driven through the command table on CommandLine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/commands.h"
#include "console/console_state.h"
#include "engine/board.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

void Command(const std::string& line) {
  SetCommandLine(line.data(), static_cast<int>(line.size()));
  DecodeTypedMove();
  DispatchCommand();
}

struct TimeCase {
  std::string command;
  std::string before = "";  // a command run first
  int32_t movesDone = 0;    // MovesThisControl and ScoreDrop before the command
  int32_t scoreDrop = 0;
  // Expected values afterwards; -1 is not checked.
  int32_t seconds = -1, depth = -1, perControl = -1, increment = -1, centis = -1, movesAfter = -1;
};

}  // namespace

TEST(TimeControl, CommandsGiveTheWorkedOutBudgets) {
  const std::string level40 = "level 40 5 0";
  const std::vector<TimeCase> cases = {
      {.command = "st 5", .seconds = 5, .depth = 30},
      {.command = "st 30", .seconds = 30},
      {.command = "st 120", .seconds = 121},  // three digits count one more
      {.command = "st 9", .before = "sd 7", .seconds = 9, .depth = 30},
      {.command = "st x7", .seconds = 7},  // characters that are not digits count 0
      {.command = "sd 1", .seconds = 2000000000, .depth = 3},
      {.command = "sd 99", .depth = 30},
      {.command = "sd 7", .depth = 7},
      {.command = "sd 12", .depth = 12},
      {.command = level40, .seconds = 300 / 40 + 1, .perControl = 40},
      {.command = "level 0 5 0", .seconds = (5 + 1) / 2 + 1},
      {.command = "level 0 2 12", .seconds = 12 + 1 + 1, .increment = 12},
      {.command = "level 1 5 0", .seconds = 2},  // one move per control keeps 2 seconds
      {.command = "level 120 90 0", .seconds = 90 * 60 / 120 + 1},  // later fields shift
      // 12000 div 40 = 300 centiseconds: 3 + 1, and 32 pieces give (300 * 17) div 3000 = 1 more.
      {.command = "time 12000", .before = level40, .seconds = 5, .centis = 12000},
      // A drop of 3 pawns: share 10000, malus 10000 * 3 div 1000, bonus 10000 * 17 div 3000.
      {.command = "time 400000", .before = level40, .scoreDrop = 300, .seconds = 100 + 1 - 30 + 56},
      // The last move before the control uses the whole clock less a second.
      {.command = "time 5000", .before = level40, .movesDone = 39, .seconds = 49 + 1},
      {.command = "time 3000", .before = level40, .seconds = 1},  // fewer seconds than moves
      {.command = "time 12000", .before = level40, .movesDone = 40, .seconds = 5, .movesAfter = 0},
      {.command = "time 8000", .before = "level 0 2 12", .seconds = 8000 / 4000 + 12 + 1},
      {.command = "time 100", .before = "level 0 1 0", .seconds = 2},  // at least 2
      // Odd numbers: seven digits at most, a sign or letters count 0, fields end at the limit.
      {.command = "time 99999999999999", .seconds = 9999999 / 4000 + 1, .centis = 9999999},
      {.command = "time -500", .centis = 500},
      {.command = "time", .seconds = 2, .centis = 0},
      {.command = "time 1234" + std::string(111, ' '), .centis = 1234},
      {.command = "level 999 999 999", .seconds = 999 * 60 / 999 + 1, .increment = 999},
      // Share 9999999 div 999 = 10010: 100 + 1 and a bonus of 10010 * 17 div 3000 = 56.
      {.command = "time 9999999", .before = "level 999 999 999", .seconds = 157},
      {.command = "level abc def ghi", .seconds = 1, .perControl = 0, .increment = 0},
      {.command = "levelx", .seconds = 1, .perControl = 0},
      {.command = "sd", .seconds = 10, .depth = 30},  // no space after it: no command
      // "remove" steps the control back, wrapping below 0 to a whole control.
      {.command = "remove", .before = level40, .movesAfter = 40},
  };
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(c.before + " | " + c.command);
    MovesPerControl = IncrementSeconds = RemainingCentis = 0;
    TimeReceived = 0;
    SecondsPerMove = 10;
    MaxDepth = 30;
    BoardFlipped = 0;
    HalfMoveCount = 0;
    SetPieceValues();
    SetStartPosition(GameBoard);  // 32 pieces
    if (!c.before.empty()) Command(c.before);
    MovesThisControl = c.movesDone;
    ScoreDrop = c.scoreDrop;
    Command(c.command);
    EXPECT_EQ(TimeReceived, c.command.rfind("time", 0) == 0 ? 1 : 0);
    const int32_t got[] = {SecondsPerMove,   MaxDepth,        MovesPerControl,
                           IncrementSeconds, RemainingCentis, MovesThisControl};
    const int32_t wanted[] = {c.seconds,   c.depth,  c.perControl,
                              c.increment, c.centis, c.movesAfter};
    const char* names[] = {"seconds", "depth", "moves per control", "increment", "clock", "moves"};
    for (int i = 0; i < 6; ++i) {
      if (wanted[i] >= 0) {
        EXPECT_EQ(got[i], wanted[i]) << names[i];
      }
    }
  }
}
