// The engine's random generator: repeatable from a seed and in range.
#include "engine/random.h"

#include "test_util.h"

namespace {

std::vector<int> Draws(uint32_t seed) {
  SeedRandom(seed);
  std::vector<int> draws;
  for (int i = 0; i < 100; ++i) draws.push_back(RandomBelow(1000));
  return draws;
}

// How evenly it spreads shows in the book's proportions over many draws.
TEST(Random, RepeatableFromASeedAndInRange) {
  EXPECT_EQ(Draws(42), Draws(42));
  EXPECT_NE(Draws(42), Draws(43));
  for (int r : Draws(7)) ASSERT_TRUE(r >= 0 && r < 1000) << r;
  for (int n : {1, 0, -5}) EXPECT_EQ(RandomBelow(n), 0) << n;
}

}  // namespace
