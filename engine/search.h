// The resumable, sliced iterative-deepening search.
#pragma once
#include <cstdint>
#include <string>

// Runs up to 1000 steps; 1 when the engine's move was played during this call.
uint8_t SearchSlice();

// The thinking output is the one thing the front ends do differently: the 3D program keeps
// the text in BestMoveText (the default), the console program prints a thinking line.
using ThinkingOutput = void (*)(uint8_t depth);
void SetThinkingOutput(ThinkingOutput output);
void ThinkingLine(uint8_t depth);

// Principal variation of the best root move, rebuilt from the hash table (ends in a space).
std::string PrincipalVariationText();

extern std::string BestMoveText;  // 3D program's last thinking text
// 3D status texts.
std::string CurrentMoveText();         // "3-20 Ng1-f3"
std::string ScoreText(int16_t score);  // 105 -> "1.05"
