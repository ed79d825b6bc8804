// Whole-second time keeping, the depth limit and the 3D program's playing strength.
#pragma once
#include <cstdint>

struct GameClock {
  int16_t hours, minutes, seconds;
};

extern int32_t SecondsPerMove;  // search stops once ThinkSeconds >= SecondsPerMove - 1; <= 0: none
extern int32_t ThinkSeconds;
extern uint8_t MaxDepth;
extern GameClock EngineClock, HumanClock;
extern uint16_t LastSeenSecond;
extern int32_t NodesPerSecond;
extern int32_t LastNodeCount;
extern uint8_t SearchStrength;  // 3D: 0 full, 1 medium, 2 beginner
extern uint8_t SliceGate;

// The wall clock's seconds field; tests replace it.
using SecondsSource = uint16_t (*)();
void SetSecondsSource(SecondsSource source);
uint16_t WallClockSecond();

// 1 when a new wall-clock second began since the last call (counts it for the side to move).
uint8_t SecondTick();
// One frame's share of search for the 3D main loop, by SearchStrength. 1 when a second passed.
uint8_t RunSearchForFrame();
int32_t ClockTotalSeconds(const GameClock& clock);
void ResetClocks();
