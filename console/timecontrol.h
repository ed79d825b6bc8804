// The time commands "st", "sd", "level" and "time", and the per-move budget they lead to.
// Numbers are read from fixed positions of CommandLine; characters that are not digits count 0.
#pragma once
#include <cstdint>

void SetFixedSeconds();  // "st N"
void SetFixedDepth();    // "sd N"
void SetLevel();         // "level MPS BASE INC"
void SetEngineClock();   // "time N", N in centiseconds

// SecondsPerMove from RemainingCentis, MovesPerControl, MovesThisControl and ScoreDrop.
void ComputeMoveTime();
// UCI's budget in milliseconds, shaped as ComputeMoveTime's: the engine's clock shared over the
// moves to go (all but a second on the last) with ScoreDrop's malus and the piece-count bonus;
// with no moves to go, a fortieth of the clock and the increment, never more than half the
// clock. Shares under a second are kept: milliseconds need no rounding to one slice.
int64_t MoveBudgetMilliseconds(int64_t clock, int64_t increment, int64_t movesToGo);
