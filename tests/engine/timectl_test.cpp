#include <gtest/gtest.h>

#include <string>

#include "engine/book.h"
#include "engine/game.h"
#include "engine/hash.h"
#include "engine/random.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

uint16_t FakeSecond;
uint16_t ReadFakeSecond() { return FakeSecond; }

class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeSecond = 30;
    SetSecondsSource(ReadFakeSecond);
    ResetClocks();
    TurnState = 0;
    GameStatus = 0;
    ThinkSeconds = 0;
    NodeCount = 0;
    LastNodeCount = 0;
    NodesPerSecond = 0;
  }
  void TearDown() override { SetSecondsSource(nullptr); }
};

TEST_F(ClockTest, ResetTakesTheCurrentSecondAndZeroesBothClocks) {
  EngineClock = {1, 2, 3};
  HumanClock = {4, 5, 6};
  FakeSecond = 17;
  ResetClocks();
  EXPECT_EQ(LastSeenSecond, 17);
  EXPECT_EQ(ClockTotalSeconds(EngineClock), 0);
  EXPECT_EQ(ClockTotalSeconds(HumanClock), 0);
  EXPECT_EQ(SecondTick(), 0) << "the second of the reset is not counted";
}

TEST_F(ClockTest, CallsWithinOneSecondCountNothing) {
  EXPECT_EQ(SecondTick(), 0);
  EXPECT_EQ(SecondTick(), 0);
  EXPECT_EQ(ThinkSeconds, 0);
  EXPECT_EQ(ClockTotalSeconds(EngineClock), 0);
  FakeSecond = 31;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(SecondTick(), 0);
  EXPECT_EQ(ThinkSeconds, 1);
  EXPECT_EQ(ClockTotalSeconds(EngineClock), 1);
}

TEST_F(ClockTest, SecondsGoToTheSideToMoveAndCarryIntoHours) {
  EngineClock = {0, 59, 59};
  FakeSecond = 31;
  SecondTick();
  EXPECT_EQ(EngineClock.hours, 1);
  EXPECT_EQ(EngineClock.minutes, 0);
  EXPECT_EQ(EngineClock.seconds, 0);
  EXPECT_EQ(ClockTotalSeconds(HumanClock), 0);
  EXPECT_EQ(ThinkSeconds, 1);

  TurnState = 1;
  HumanClock = {2, 59, 59};
  FakeSecond = 32;
  SecondTick();
  EXPECT_EQ(ClockTotalSeconds(HumanClock), 3 * 3600);
  EXPECT_EQ(ClockTotalSeconds(EngineClock), 3600);
  EXPECT_EQ(ThinkSeconds, 1) << "the human's seconds are not thinking time";

  TurnState = 2;
  FakeSecond = 33;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(ClockTotalSeconds(HumanClock), 3 * 3600);
  EXPECT_EQ(ClockTotalSeconds(EngineClock), 3600);

  // A minute boundary without an hour: 0:00:59 -> 0:01:00.
  TurnState = 0;
  EngineClock = {0, 0, 59};
  FakeSecond = 34;
  SecondTick();
  EXPECT_EQ(EngineClock.minutes, 1);
  EXPECT_EQ(EngineClock.seconds, 0);
}

TEST_F(ClockTest, NodeRateAndGameEnd) {
  NodeCount = 5000;
  FakeSecond = 31;
  SecondTick();
  EXPECT_EQ(NodesPerSecond, 5000);
  NodeCount = 7000;
  FakeSecond = 32;
  SecondTick();
  EXPECT_EQ(NodesPerSecond, 2000);
  // A count that did not grow (a new search started) leaves the last rate.
  NodeCount = 10;
  FakeSecond = 33;
  SecondTick();
  EXPECT_EQ(NodesPerSecond, 2000);

  GameStatus = 4;
  FakeSecond = 34;
  SecondTick();
  EXPECT_EQ(TurnState, 2);
}

// Slices per wall-clock second at each strength, on a search that never ends by itself.
class StrengthTest : public ClockTest {
 protected:
  void SetUp() override {
    ClockTest::SetUp();
    HashAllocate();
    SeedRandom(99);
    FenPosition position;
    std::string error;
    ASSERT_TRUE(ParseFen("r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7",
                         &position, &error))
        << error;
    StartNewGame(1, 0);
    InstallPosition(position, true);
    TurnState = 0;
    BookAllowed = 0;
    SecondsPerMove = 0;
    MaxDepth = 30;
    ResetClocks();
    SliceGate = 0;
  }
  void TearDown() override {
    SearchStrength = 0;
    SliceGate = 0;
    ClockTest::TearDown();
  }

  // Frames within one fake second; the slices they ran.
  static int SlicesInOneSecond(int frames) {
    const int32_t before = SlicesRun;
    for (int f = 0; f < frames; ++f) {
      uint8_t played = 0;
      RunSearchForFrame(&played);
      EXPECT_EQ(played, 0);
    }
    return SlicesRun - before;
  }
};

TEST_F(StrengthTest, FullStrengthRunsTenSlicesPerFrame) {
  SearchStrength = 0;
  EXPECT_EQ(SlicesInOneSecond(1), 10);
  EXPECT_EQ(SlicesInOneSecond(2), 20);
}

TEST_F(StrengthTest, MediumAndBeginnerStrengthRationSlicesPerSecond) {
  for (uint8_t strength : {1, 2}) {
    SearchStrength = strength;
    SecondTick();  // the main loop ticks every frame, so the last seen second is current
    SliceGate = 0;
    const int allowed = strength == 1 ? 5 : 1;
    for (int second = 0; second < 3; ++second) {
      EXPECT_EQ(SlicesInOneSecond(50), allowed) << "strength " << int{strength};
      FakeSecond = static_cast<uint16_t>((FakeSecond + 1) % 60);
    }
  }
}

TEST_F(StrengthTest, FrameReportsANewSecond) {
  SearchStrength = 2;
  uint8_t played = 1;
  EXPECT_EQ(RunSearchForFrame(&played), 0);
  EXPECT_EQ(played, 0);
  FakeSecond = 31;
  EXPECT_EQ(RunSearchForFrame(), 1);
  EXPECT_EQ(ThinkSeconds, 1);
  // Nothing runs while the human is to move, but no slice is owed either.
  TurnState = 1;
  const int32_t before = SlicesRun;
  FakeSecond = 32;
  EXPECT_EQ(RunSearchForFrame(), 0);
  EXPECT_EQ(SlicesRun, before);
}

}  // namespace
