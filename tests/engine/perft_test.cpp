// Perft against reference counts from an independent generator, in both orientations: the proof
// that generation, make/unmake and the legality tests agree with the rules.
#include "engine/perft.h"

#include <fstream>

#include "test_util.h"

namespace {

// Depths with more leaves than this run in the Slow test.
constexpr uint64_t QuickLeafLimit = 250000;

void CheckReference(bool slow) {
  const std::string path = std::string(KORVANE_SOURCE_DIR) + "/tests/data/perft-reference.tsv";
  std::ifstream in(path);
  ASSERT_TRUE(in) << "cannot read " << path;
  int checked = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string fen, depth, leaves;
    ASSERT_TRUE(std::getline(fields, fen, '\t') && std::getline(fields, depth, '\t') &&
                std::getline(fields, leaves, '\t'))
        << "bad reference line: " << line;
    if ((std::stoull(leaves) > QuickLeafLimit) != slow) continue;
    for (bool asOpponent : {false, true}) {
      std::string error;
      ASSERT_TRUE(SetupFromFen(fen, asOpponent, &error)) << fen << ": " << error;
      EXPECT_EQ(Perft(std::stoi(depth), asOpponent ? 2 : 1), std::stoull(leaves))
          << fen << " depth " << depth << (asOpponent ? " as opponent" : "");
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

}  // namespace
