// The engine's random generator: repeatable from a seed, in range, evenly spread.
#include "engine/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Draws(uint32_t seed) {
  SeedRandom(seed);
  std::vector<int> draws;
  for (int i = 0; i < 100; ++i) draws.push_back(RandomBelow(1000));
  return draws;
}

TEST(Random, RepeatableInRangeAndEvenlySpread) {
  EXPECT_EQ(Draws(42), Draws(42));
  EXPECT_NE(Draws(42), Draws(43));
  SeedRandom(2024);
  int counts[10] = {};
  const int draws = 100000;
  for (int i = 0; i < draws; ++i) {
    const int r = RandomBelow(10);
    ASSERT_TRUE(r >= 0 && r < 10) << r;
    ++counts[r];
  }
  // Chi-square with 9 degrees of freedom; 27.9 is the 0.1% point.
  double chi = 0;
  for (int c : counts) chi += (c - draws / 10.0) * (c - draws / 10.0) / (draws / 10.0);
  EXPECT_LT(chi, 27.9);
  for (int n : {1, 0, -5}) EXPECT_EQ(RandomBelow(n), 0) << n;
}

}  // namespace
