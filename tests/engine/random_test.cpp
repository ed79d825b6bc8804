// The engine's random generator: repeatable from a seed, in range, evenly spread.
#include "engine/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Random, SameSeedSameSequenceOtherSeedOtherSequence) {
  std::vector<int> first, again, other;
  SeedRandom(42);
  for (int i = 0; i < 100; ++i) first.push_back(RandomBelow(1000));
  SeedRandom(42);
  for (int i = 0; i < 100; ++i) again.push_back(RandomBelow(1000));
  SeedRandom(43);
  for (int i = 0; i < 100; ++i) other.push_back(RandomBelow(1000));
  EXPECT_EQ(first, again);
  EXPECT_NE(first, other);
}

TEST(Random, StaysInRangeAndSpreadsEvenly) {
  SeedRandom(2024);
  int counts[10] = {};
  const int draws = 100000;
  for (int i = 0; i < draws; ++i) {
    int r = RandomBelow(10);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 10);
    ++counts[r];
  }
  // Chi-square with 9 degrees of freedom; 27.9 is the 0.1% point.
  double chi = 0;
  for (int c : counts) chi += (c - draws / 10.0) * (c - draws / 10.0) / (draws / 10.0);
  EXPECT_LT(chi, 27.9);
  EXPECT_EQ(RandomBelow(1), 0);
  EXPECT_EQ(RandomBelow(0), 0);
  EXPECT_EQ(RandomBelow(-5), 0);
}

}  // namespace
