// xboard interrupts its engines before every "time": korvanewb ignores SIGINT once it has seen
// "xboard", while at a terminal Ctrl-C still ends it.
#include "session.h"

TEST(ConsoleSignals, InterruptsAreIgnoredAfterXboardAndEndAConsoleSession) {
  for (const bool xboard : {true, false}) {
    Korvanewb engine;
    // "hint" is answered once "xboard" has been handled whole.
    engine.Send(xboard ? "xboard\nhint\n" : "");
    ASSERT_TRUE(engine.WaitForOutput(xboard ? "Hint: " : "16MB"));
    kill(engine.pid, SIGINT);
    engine.Send("new\nsd 3\ne2e4\n");
    EXPECT_TRUE(!xboard || engine.WaitForOutput("move "));
    kill(engine.pid, SIGINT);
    engine.Send("quit\n");
    EXPECT_EQ(engine.WaitForExit(), xboard ? 0 : -1 - SIGINT);
  }
}
