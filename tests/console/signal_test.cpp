// xboard interrupts its engines before every "time": korvanewb ignores SIGINT once it has seen
// "xboard", while at a terminal Ctrl-C still ends it.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "session.h"

TEST(ConsoleSignals, InterruptsAreIgnoredAfterXboard) {
  Korvanewb engine;
  engine.Send("xboard\n");
  ASSERT_TRUE(engine.WaitForOutput("feature done=1\r\n"));
  for (int i = 0; i < 3; ++i) {
    kill(engine.pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  engine.Send("new\nsd 3\ne2e4\n");
  EXPECT_TRUE(engine.WaitForOutput("move "));
  kill(engine.pid, SIGINT);
  engine.Send("quit\n");
  EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST(ConsoleSignals, InterruptEndsAConsoleSession) {
  Korvanewb engine;
  ASSERT_TRUE(engine.WaitForOutput("16MB"));
  kill(engine.pid, SIGINT);
  EXPECT_EQ(engine.WaitForExit(), -1 - SIGINT);
}
