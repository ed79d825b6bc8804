#include "engine/random.h"

#include <chrono>

namespace {

// SplitMix64: tiny, fast and the same sequence on every machine for a given seed.
uint64_t RandomState = 0x9E3779B97F4A7C15ull;

uint32_t NextRandom32() {
  RandomState += 0x9E3779B97F4A7C15ull;
  uint64_t z = RandomState;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<uint32_t>(z >> 32);
}

}  // namespace

void SeedRandom(uint32_t seed) {
  RandomState = seed;
}

void SeedRandomFromClock() {
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  RandomState = static_cast<uint64_t>(ticks);
}

int RandomBelow(int n) {
  if (n <= 1) return 0;
  // Multiply-shift maps 32 random bits onto 0..n-1; the bias is negligible for the small
  // ranges we draw (0..9, 0..999).
  return static_cast<int>((static_cast<uint64_t>(NextRandom32()) * static_cast<uint32_t>(n)) >> 32);
}
