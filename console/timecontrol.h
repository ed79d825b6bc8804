// The time commands "st", "sd", "level" and "time", and the per-move budget they lead to.
// Numbers are read from fixed positions of CommandLine; characters that are not digits count 0.
#pragma once

void SetFixedSeconds();  // "st N"
void SetFixedDepth();    // "sd N"
void SetLevel();         // "level MPS BASE INC"
void SetEngineClock();   // "time N", N in centiseconds

// SecondsPerMove from RemainingCentis, MovesPerControl, MovesThisControl and ScoreDrop.
void ComputeMoveTime();
