// The engine's random generator: repeatable from a seed, in range and evenly spread.
#include "test_util.h"

std::vector<int> Draws(uint32_t seed, int n, int count) {
  SeedRandom(seed);
  std::vector<int> draws;
  for (int i = 0; i < count; ++i) draws.push_back(RandomBelow(n));
  return draws;
}

TEST(Random, RepeatableFromASeedInRangeAndEven) {
  EXPECT_EQ(Draws(42, 1000, 100), Draws(42, 1000, 100));
  EXPECT_NE(Draws(42, 1000, 100), Draws(43, 1000, 100));
  for (int r : Draws(7, 1000, 100)) ASSERT_TRUE(r >= 0 && r < 1000) << r;
  for (int n : {1, 0, -5}) EXPECT_EQ(RandomBelow(n), 0) << n;
  // The book draws 0..9: each value within two percentage points of a tenth.
  std::vector<int> counts(10);
  for (int r : Draws(12345, 10, 20000)) ++counts.at(r);
  for (int count : counts) EXPECT_NEAR(count, 2000, 400);
}
