// Time is kept in whole wall-clock seconds, polled by the callers many times a second; the
// search itself only looks at ThinkSeconds between slices.
#include "engine/timectl.h"

#include <ctime>

#include "engine/search.h"
#include "engine/state.h"

int32_t SecondsPerMove = 10;
int32_t ThinkSeconds;
uint8_t MaxDepth = 30;
GameClock EngineClock, HumanClock;
uint16_t LastSeenSecond;
int32_t NodesPerSecond;
int32_t LastNodeCount;
uint8_t SearchStrength;
uint8_t SliceGate;

namespace {

constexpr int FullStrengthSlices = 10;
constexpr int MediumStrengthSlices = 5;

uint16_t LocalTimeSecond() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<uint16_t>(local.tm_sec);
}

SecondsSource Source = LocalTimeSecond;

bool WholeSecondsSpent() {
  return SecondsPerMove > 0 && ThinkSeconds >= SecondsPerMove - 1;
}

BudgetTest Budget = WholeSecondsSpent;

void AddSecond(GameClock& clock) {
  if (++clock.seconds < 60) return;
  clock.seconds = 0;
  if (++clock.minutes < 60) return;
  clock.minutes = 0;
  ++clock.hours;
}

}  // namespace

void SetSecondsSource(SecondsSource source) { Source = source ? source : LocalTimeSecond; }

uint16_t WallClockSecond() { return Source(); }

void SetBudgetTest(BudgetTest test) {
  Budget = test ? test : WholeSecondsSpent;
}

bool BudgetSpent() {
  return Budget();
}

uint8_t SecondTick() {
  const uint16_t now = Source();
  if (now == LastSeenSecond) return 0;
  LastSeenSecond = now;
  if (TurnState == 1) AddSecond(HumanClock);
  if (TurnState == 0) {
    AddSecond(EngineClock);
    ++ThinkSeconds;
  }
  if (LastNodeCount < NodeCount) {
    NodesPerSecond = NodeCount - LastNodeCount;
    LastNodeCount = NodeCount;
  }
  if (GameStatus == 3 || GameStatus == 4) TurnState = 2;
  return 1;
}

uint8_t SecondTickWithThinking() {
  const uint8_t newSecond = SecondTick();
  ThinkingLine(CurrentDepth);
  return newSecond;
}

uint8_t RunSearchForFrame(uint8_t* movePlayed) {
  uint8_t secondPassed = 0;
  uint8_t played = 0;
  auto runSlices = [&](int limit) {
    for (int n = 0; n < limit && !played; ++n) {
      played = SearchSlice();
      secondPassed |= SecondTickWithThinking();
    }
  };
  if (TurnState == 0) {
    if (SearchStrength == 0) {
      runSlices(FullStrengthSlices);
    } else {
      if (!SliceGate) {
        if (SearchStrength == 1) {
          runSlices(MediumStrengthSlices);
        } else {
          played = SearchSlice();
        }
        SliceGate = 1;
      }
      if (SecondTickWithThinking()) {
        secondPassed = 1;
        SliceGate = 0;
      }
    }
  }
  if (movePlayed) *movePlayed = played;
  return secondPassed;
}

int32_t ClockTotalSeconds(const GameClock& clock) {
  return clock.hours * 3600 + clock.minutes * 60 + clock.seconds;
}

void ResetClocks() {
  EngineClock = {0, 0, 0};
  HumanClock = {0, 0, 0};
  LastSeenSecond = Source();
}
