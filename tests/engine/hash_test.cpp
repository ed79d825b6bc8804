// The hash table: empty pattern, depth rule, index range, and the key's arithmetic.
#include "engine/hash.h"

#include "test_util.h"

namespace {

void ExpectMiss(int32_t index) {
  HashProbed.score = 123;
  EXPECT_EQ(HashProbe(index), 0) << index;
  EXPECT_EQ(HashProbed.score, -32000) << index;
  EXPECT_EQ(HashProbed.depth, -120) << index;
}

TEST(Hash, DepthRuleClearAndIndicesOutsideTheTable) {
  HashAllocate();
  HashClear();
  HashStore(500, 11, 30, 12, 28, 5, 0);
  HashStore(500, 22, 99, 1, 18, 3, 0);  // shallower: refused
  ASSERT_EQ(HashProbe(500), 1);
  EXPECT_EQ(std::vector<int>({HashProbed.check, HashProbed.score, HashProbed.from, HashProbed.to,
                              HashProbed.depth}),
            std::vector<int>({11, 30, 12, 28, 5}));
  HashStore(500, 33, -40, 6, 21, 5, 0);  // equal depth, other position: replaces
  ASSERT_EQ(HashProbe(500), 1);
  EXPECT_EQ(HashProbed.check, 33);
  EXPECT_EQ(HashProbed.score, -40);
  // The comparison is signed: depth 0 replaces the empty -120, depth -1 does not replace 0.
  HashStore(600, 1, 10, 2, 3, 0, 0);
  HashStore(600, 2, 20, 4, 5, -1, 0);
  ASSERT_EQ(HashProbe(600), 1);
  EXPECT_EQ(HashProbed.check, 1);

  HashStore(HashLastIndex, 9, 1, 2, 3, 1, 0);
  EXPECT_EQ(HashProbe(HashLastIndex), 1);
  for (int32_t index : {-1, -967296, HashLastIndex + 1, NoHashIndex}) {
    HashStore(index, 9, 1, 2, 3, 1, 0);
    ExpectMiss(index);
  }
  HashClear();
  for (int32_t index : {0, 500, 600, HashLastIndex}) ExpectMiss(index);
}

TEST(Hash, KeyWrapsIn32BitsAndKeepsTheDividendsSign) {
  HashAllocate();
  HashClear();
  std::memset(Board, 0, sizeof Board);
  std::memset(HashRandom1, 0, sizeof HashRandom1);
  std::memset(HashRandom2, 0, sizeof HashRandom2);
  std::memset(HashRandom3, 0, sizeof HashRandom3);
  // Thirty side-2 pawns (weight 16) on squares worth 625: K1 = 300000, K2 = 0,
  // K3 = 30 x 16 x 999 = 479520.
  for (int s = 0; s < 30; ++s) {
    Board[s] = Pawn2;
    HashRandom1[s] = 625;
    HashRandom3[s] = 999;
  }
  // 300000 x 10000 = 3e9 wraps to 3e9 - 2^32 = -1294967296; its remainder by 2000000 is
  // -967296, an index the table ignores. The check is 479520 mod 65500 = 21020.
  uint32_t check = 0;
  const int32_t index = HashKey(&check);
  EXPECT_EQ(index, -967296);
  EXPECT_EQ(check, 21020u);

  // A small key: one side-1 king (weight 1) on a square worth 7 / 3 / 5.
  std::memset(Board, 0, sizeof Board);
  Board[40] = King1;
  HashRandom1[40] = 7;
  HashRandom2[40] = 3;
  HashRandom3[40] = 5;
  EXPECT_EQ(HashKey(&check), 70003);
  EXPECT_EQ(check, 5u);
  int32_t k1, k2, k3;
  HashSums(&k1, &k2, &k3);
  EXPECT_EQ(std::vector<int32_t>({k1, k2, k3}), std::vector<int32_t>({7, 3, 5}));
}

}  // namespace
