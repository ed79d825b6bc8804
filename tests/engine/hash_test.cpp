// The hash table: empty pattern, depth rule, index range, and the key's arithmetic.
#include "test_util.h"

// The probe's answer and the fields it left in HashProbed.
std::vector<int> Probe(int32_t index) {
  HashProbed.score = 123;
  const int found = HashProbe(index);
  return {found,           HashProbed.check, HashProbed.score,
          HashProbed.from, HashProbed.to,    HashProbed.depth};
}

TEST(Hash, DepthRuleClearAndIndicesOutsideTheTable) {
  const std::vector<int> empty = {0, 0, -32000, 0, 0, -120};
  HashAllocate();
  HashClear();
  HashStore(500, 11, 30, 12, 28, 5, 0);
  HashStore(500, 22, 99, 1, 18, 3, 0);  // shallower: refused
  EXPECT_EQ(Probe(500), std::vector<int>({1, 11, 30, 12, 28, 5}));
  HashStore(500, 33, -40, 6, 21, 5, 0);  // equal depth, other position: replaces
  EXPECT_EQ(Probe(500), std::vector<int>({1, 33, -40, 6, 21, 5}));
  // The comparison is signed: depth 0 replaces the empty -120, depth -1 does not replace 0.
  HashStore(600, 1, 10, 2, 3, 0, 0);
  HashStore(600, 2, 20, 4, 5, -1, 0);
  EXPECT_EQ(Probe(600), std::vector<int>({1, 1, 10, 2, 3, 0}));
  HashStore(HashLastIndex, 9, 1, 2, 3, 1, 0);
  EXPECT_EQ(Probe(HashLastIndex), std::vector<int>({1, 9, 1, 2, 3, 1}));
  for (int32_t index : {-1, -967296, HashLastIndex + 1, NoHashIndex}) {
    HashStore(index, 9, 1, 2, 3, 1, 0);
    EXPECT_EQ(Probe(index), empty) << index;
  }
  HashClear();
  for (int32_t index : {0, 500, 600, HashLastIndex}) EXPECT_EQ(Probe(index), empty) << index;
}

TEST(Hash, KeyWrapsIn32BitsAndKeepsTheDividendsSign) {
  // Pieces of one code on squares 0 up, each square worth the three randoms; then the three
  // sums, the index and the check. Thirty side-2 pawns (weight 16) on squares worth 625 and
  // 999: K1 = 300000 and 300000 x 10000 = 3e9 wraps to 3e9 - 2^32 = -1294967296, whose
  // remainder by 2000000 is -967296, an index the table ignores; the check is 479520 mod 65500.
  // One side-1 king (weight 1): 7 x 10000 + 3.
  const std::tuple<uint8_t, int, std::vector<int16_t>, std::vector<int32_t>, int32_t, uint32_t>
      cases[] = {{Pawn2, 30, {625, 0, 999}, {300000, 0, 479520}, -967296, 21020},
                 {King1, 1, {7, 3, 5}, {7, 3, 5}, 70003, 5}};
  for (const auto& [code, count, randoms, sums, index, check] : cases) {
    for (int s = 0; s < 64; ++s) {
      Board[s] = s < count ? code : Empty;
      std::tie(HashRandom1[s], HashRandom2[s], HashRandom3[s]) =
          std::tuple(randoms[0], randoms[1], randoms[2]);
    }
    std::vector<int32_t> k(3);
    HashSums(&k[0], &k[1], &k[2]);
    uint32_t keyCheck = 0;
    EXPECT_EQ(HashKey(&keyCheck), index);
    EXPECT_EQ(std::pair(k, keyCheck), std::pair(sums, check));
  }
}
