// The engine's one random generator (hash randoms, book choice).
#pragma once
#include <cstdint>

void SeedRandom(uint32_t seed);  // repeatable runs for tests and tools
void SeedRandomFromClock();      // program start
int RandomBelow(int n);          // uniform 0..n-1
