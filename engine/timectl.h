// Whole-second time keeping, the depth limit and the 3D program's playing strength.
#pragma once
#include <cstdint>

struct GameClock {
  int16_t hours, minutes, seconds;
};

extern int32_t SecondsPerMove;  // search stops once ThinkSeconds >= SecondsPerMove - 1; <= 0: none
extern int32_t ThinkSeconds;    // whole seconds counted while the engine is to move
extern uint8_t MaxDepth;        // the search ends after the iteration of depth MaxDepth - 1
extern GameClock EngineClock, HumanClock;
extern uint16_t LastSeenSecond;
extern int32_t NodesPerSecond;
extern int32_t LastNodeCount;
extern uint8_t SearchStrength;  // 3D: 0 full, 1 medium (5 slices/s), 2 beginner (1 slice/s)
extern uint8_t SliceGate;       // 3D: this second's slices have been run

// The wall clock's seconds field (0..59); tests replace it. nullptr restores the real clock.
using SecondsSource = uint16_t (*)();
void SetSecondsSource(SecondsSource source);
uint16_t WallClockSecond();

// Whether the move's budget is spent, asked by the search after every slice: by default
// SecondsPerMove > 0 and ThinkSeconds >= SecondsPerMove - 1. A front end that keeps finer time
// installs its own test; nullptr restores the default.
using BudgetTest = bool (*)();
void SetBudgetTest(BudgetTest test);
bool BudgetSpent();

// The console's clock step: 1 when a new wall-clock second began since the last call; it then
// counts one second for the side to move, refreshes the node rate and ends a finished game's
// turn (TurnState 2).
uint8_t SecondTick();
// The 3D program's clock step: SecondTick, then a thinking refresh on every call.
uint8_t SecondTickWithThinking();
// One frame's share of search for the 3D main loop, by SearchStrength, ticking the clock as
// it goes (SecondTickWithThinking). Returns 1 when a new second was seen; *movePlayed (when
// given) says whether the engine's move was played.
uint8_t RunSearchForFrame(uint8_t* movePlayed = nullptr);
int32_t ClockTotalSeconds(const GameClock& clock);
// Both clocks to 0:00:00 and the last seen second from the clock (new game).
void ResetClocks();
