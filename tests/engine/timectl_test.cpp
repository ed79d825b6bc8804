// Whole-second clocks on a fake wall clock, and the slices each playing strength may run.
#include "test_util.h"

// The middle game with the engine to move, whose search never ends by itself, its clocks reset
// at second 30.
class ClockTest : public SearchTest {
 protected:
  void SetUp() override {
    Position(MiddleGame);
    FakeSecond = 30;
    ResetClocks();
    ThinkSeconds = 0;
  }
};

int32_t Hms(const GameClock& clock) {
  return clock.hours * 10000 + clock.minutes * 100 + clock.seconds;
}

TEST_F(ClockTest, ANewSecondCountsOnceForTheSideToMoveAndCarries) {
  EngineClock = HumanClock = {0, 59, 59};
  FakeSecond = 17;
  ResetClocks();
  EXPECT_EQ(Hms(EngineClock) + Hms(HumanClock), 0);
  EngineClock = {0, 59, 59};
  HumanClock = {0, 58, 59};
  // Turn, status and wall-clock second before the tick; then its answer, both clocks as
  // h:mm:ss, the thinking seconds and the turn after it.
  const std::vector<int> ticks[] = {
      {0, 0, 17, 0, 5959, 5859, 0, 0},  // the second of the reset is not counted
      {0, 0, 18, 1, 10000, 5859, 1, 0},
      {0, 0, 18, 0, 10000, 5859, 1, 0},
      {1, 0, 19, 1, 10000, 5900, 1, 1},  // the human's seconds are not thinking time
      {2, 0, 20, 1, 10000, 5900, 1, 2},
      {0, 4, 21, 1, 10001, 5900, 2, 2},  // a finished game's turn ends at the tick
  };
  for (const std::vector<int>& t : ticks) {
    std::tie(TurnState, GameStatus, FakeSecond) = std::tuple(t[0], t[1], t[2]);
    const int answer = SecondTick();
    EXPECT_EQ(
        std::vector<int>({answer, Hms(EngineClock), Hms(HumanClock), ThinkSeconds, TurnState}),
        std::vector<int>(t.begin() + 3, t.end()))
        << t[2];
  }
  EXPECT_EQ(ClockTotalSeconds(EngineClock) + ClockTotalSeconds(HumanClock), 3601 + 59 * 60);
}

TEST_F(ClockTest, TenSlicesPerFrameOrFiveOrOnePerSecond) {
  const std::pair<uint8_t, int> perSecond[] = {{0, 2 * 10}, {1, 5}, {2, 1}};  // 2 or 50 frames
  for (auto [strength, slices] : perSecond) {
    SearchStrength = strength;
    SecondTick();  // the main loop ticks every frame, so the last seen second is current
    SliceGate = 0;
    for (int second = 0; second < 3; ++second) {
      const int32_t before = SlicesRun, thought = ThinkSeconds;
      int newSeconds = 0;
      uint8_t played = 0;
      for (int frame = 0; frame < (strength == 0 ? 2 : 50) && !played; ++frame)
        newSeconds += RunSearchForFrame(&played) * (frame == 0 ? 1 : 10);
      // Only the first frame of a second sees it begin.
      EXPECT_EQ(std::vector<int>({SlicesRun - before, ThinkSeconds - thought, newSeconds, played}),
                std::vector<int>({slices, second > 0, second > 0, 0}))
          << int{strength} << " " << second;
      FakeSecond = static_cast<uint16_t>((FakeSecond + 1) % 60);
    }
  }
  // Nothing runs, and no second is seen, while the human is to move.
  TurnState = 1;
  EXPECT_EQ(RunSearchForFrame(), 0);
}
