// Whole-second clocks on a fake wall clock, and the slices each playing strength may run.
#include "engine/timectl.h"

#include "test_util.h"

namespace {

class ClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeSecond = 30;
    SetSecondsSource(ReadFakeSecond);
    ResetClocks();
    TurnState = GameStatus = 0;
    ThinkSeconds = NodeCount = LastNodeCount = NodesPerSecond = 0;
  }
  void TearDown() override {
    SetSecondsSource(nullptr);
    SearchStrength = SliceGate = 0;
  }
};

int32_t Hms(const GameClock& clock) {
  return clock.hours * 10000 + clock.minutes * 100 + clock.seconds;
}

TEST_F(ClockTest, ANewSecondCountsOnceForTheSideToMoveAndCarries) {
  EngineClock = {0, 59, 59};
  HumanClock = {0, 0, 59};
  FakeSecond = 17;
  ResetClocks();
  EXPECT_EQ(Hms(EngineClock) + Hms(HumanClock), 0);
  EXPECT_EQ(SecondTick(), 0) << "the second of the reset is not counted";
  EXPECT_EQ(SecondTick(), 0);
  EXPECT_EQ(ThinkSeconds, 0);

  EngineClock = {0, 59, 59};
  HumanClock = {0, 58, 59};
  FakeSecond = 18;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(SecondTick(), 0);
  EXPECT_EQ(Hms(EngineClock), 10000);
  EXPECT_EQ(Hms(HumanClock), 5859);
  EXPECT_EQ(ThinkSeconds, 1);
  TurnState = 1;
  FakeSecond = 19;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(Hms(HumanClock), 5900);  // 0:58:59 -> 0:59:00, no carry into the hour
  EXPECT_EQ(Hms(EngineClock), 10000);
  EXPECT_EQ(ThinkSeconds, 1) << "the human's seconds are not thinking time";
  TurnState = 2;
  FakeSecond = 20;
  EXPECT_EQ(SecondTick(), 1);
  EXPECT_EQ(ClockTotalSeconds(HumanClock) + ClockTotalSeconds(EngineClock), 59 * 60 + 3600);
  // A finished game's turn ends at the next tick.
  TurnState = 0;
  GameStatus = 4;
  FakeSecond = 21;
  SecondTick();
  EXPECT_EQ(TurnState, 2);
}

// A search that never ends by itself, for counting slices per fake second.
class StrengthTest : public ClockTest {
 protected:
  void SetUp() override {
    GameFromFen("r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7", true);
    BookAllowed = 0;
    ClockTest::SetUp();
  }
};

TEST_F(StrengthTest, TenSlicesPerFrameOrFiveOrOnePerSecond) {
  const std::pair<uint8_t, int> perSecond[] = {{0, 2 * 10}, {1, 5}, {2, 1}};  // 2 or 50 frames
  for (auto [strength, slices] : perSecond) {
    SearchStrength = strength;
    SecondTick();  // the main loop ticks every frame, so the last seen second is current
    SliceGate = 0;
    for (int second = 0; second < 3; ++second) {
      const int32_t before = SlicesRun, thought = ThinkSeconds;
      for (int frame = 0; frame < (strength == 0 ? 2 : 50); ++frame) {
        uint8_t played = 1;
        // A frame reports the first sight of a new second.
        EXPECT_EQ(RunSearchForFrame(&played), frame == 0 && second > 0 ? 1 : 0);
        EXPECT_EQ(played, 0);
      }
      EXPECT_EQ(SlicesRun - before, slices) << int{strength};
      EXPECT_EQ(ThinkSeconds - thought, second > 0 ? 1 : 0);
      FakeSecond = static_cast<uint16_t>((FakeSecond + 1) % 60);
    }
  }
  // Nothing runs while the human is to move.
  TurnState = 1;
  const int32_t before = SlicesRun;
  EXPECT_EQ(RunSearchForFrame(), 0);
  EXPECT_EQ(SlicesRun, before);
}

}  // namespace
