// Perft against reference counts from an independent generator, in both orientations: the
// proof that generation, make/unmake and the legality tests agree with the rules.
#include "test_util.h"

// Depths with more leaves than this run in the Slow test.
constexpr uint64_t QuickLeafLimit = 250000;

void CheckReference(bool slow) {
  std::ifstream in(std::string(KORVANE_SOURCE_DIR) + "/tests/data/perft-reference.tsv");
  ASSERT_TRUE(in) << "cannot read tests/data/perft-reference.tsv";
  int checked = 0;
  for (std::string line, fen; std::getline(in, line);) {
    std::istringstream fields(line);
    int depth = 0;
    uint64_t leaves = 0;
    if (line.empty() || line[0] == '#') continue;
    ASSERT_TRUE(std::getline(fields, fen, '\t') && fields >> depth >> leaves) << line;
    if ((leaves > QuickLeafLimit) != slow) continue;
    for (bool asOpponent : {false, true}) {
      ASSERT_TRUE(SetupFromFen(fen, asOpponent, nullptr)) << fen;
      EXPECT_EQ(Perft(depth, asOpponent ? 2 : 1), leaves)
          << fen << " depth " << depth << " " << asOpponent;
    }
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

TEST(Perft, ReferenceCountsInBothOrientations) {
  CheckReference(false);
}

TEST(PerftSlow, DeepReferenceCountsInBothOrientations) {
  CheckReference(true);
}
