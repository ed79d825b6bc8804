// The resumable, sliced iterative-deepening search.
#pragma once
#include <cstdint>
#include <string>

// Runs up to 1000 steps; 1 when the engine's move was played during this call. Does nothing
// unless TurnState is 0 and the game is not over. A root without a legal move is never
// searched: the game is then marked over (GameStatus 3 or 4, TurnState 2) and 0 is returned.
uint8_t SearchSlice();

// The thinking output is the one thing the front ends do differently: the 3D program keeps
// the variation in BestMoveText (the default), the console program prints a thinking line.
// ThinkingLine does the shared gating (a search is running, ThinkingShown, CurrentDepth > 1,
// |RootScore| < 18000, TurnState 0, RootScore != LastShownScore), calls the output with its
// depth argument, then sets LastShownScore and ShownThisIteration. Passing nullptr to
// SetThinkingOutput restores the default.
using ThinkingOutput = void (*)(uint8_t depth);
void SetThinkingOutput(ThinkingOutput output);
void ThinkingLine(uint8_t depth);

// Principal variation of the best root move, rebuilt from the hash table (ends in a space).
// Leaves every search table as it found it. Moves are in long notation, or named by namer
// (from-square and encoded to-square, before the move is made on Board).
using MoveNamer = std::string (*)(uint8_t from, uint8_t to);
std::string PrincipalVariationText(MoveNamer namer = nullptr);
// The console's thinking line without its line end: depth + 1, RootScore, ThinkSeconds,
// NodeCount in their columns, then the variation.
std::string ThinkingLineText(uint8_t depth);

extern std::string BestMoveText;  // 3D program's last thinking text
// 3D status texts.
std::string CurrentMoveText();         // "3-20 Ng1-f3"; empty while no search runs
std::string ScoreText(int16_t score);  // 105 -> "1.05"

// What the last finished search did; SearchSlice resets NodeCount and SearchSteps when it
// plays, so the front ends read the figures for their summaries here.
extern uint8_t PlayedFrom, PlayedTo;  // the move played (encoded to-square)
extern int32_t LastSearchSteps;       // SearchSteps when the move was played
extern int32_t LastSearchNodes;       // NodeCount when the move was played
extern uint8_t LastCompletedDepth;    // depth of the last iteration that ran to its end, 0 none
extern int32_t SlicesRun;             // slices that did work since program start

// Test seam: called whenever a step has opened the nodes of its path, and after every step
// (nullptr for none).
using StepObserver = void (*)();
void SetStepObserver(StepObserver observer);
