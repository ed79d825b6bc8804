#include "engine/perft.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/setup.h"
#include "engine/state.h"

namespace {

struct Reference {
  std::string fen;
  int depth;
  uint64_t leaves;
};

// Depths with more leaves than this run in the Slow tests.
constexpr uint64_t QuickLeafLimit = 250000;

std::vector<Reference> LoadReference() {
  const std::string path = std::string(KORVANE_SOURCE_DIR) + "/../shared/perft-reference.tsv";
  std::ifstream in(path);
  std::vector<Reference> rows;
  if (!in) {
    ADD_FAILURE() << "cannot read the perft reference " << path
                  << " (shared/ must stand beside the clone)";
    return rows;
  }
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Reference row;
    std::string depth, leaves;
    if (!std::getline(fields, row.fen, '\t') || !std::getline(fields, depth, '\t') ||
        !std::getline(fields, leaves, '\t')) {
      ADD_FAILURE() << "bad reference line: " << line;
      continue;
    }
    row.depth = std::stoi(depth);
    row.leaves = std::stoull(leaves);
    rows.push_back(row);
  }
  EXPECT_FALSE(rows.empty()) << path << " holds no positions";
  return rows;
}

void CheckReference(bool slow) {
  int checked = 0;
  for (const Reference& row : LoadReference()) {
    if ((row.leaves > QuickLeafLimit) != slow) continue;
    for (bool asOpponent : {false, true}) {
      std::string error;
      ASSERT_TRUE(SetupFromFen(row.fen, asOpponent, &error)) << row.fen << ": " << error;
      EXPECT_EQ(Perft(row.depth, asOpponent ? 2 : 1), row.leaves)
          << row.fen << " depth " << row.depth << (asOpponent ? " as opponent" : "");
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

TEST(Perft, DivideSumsToTheTotalAndLeavesTheBoardAlone) {
  std::string error;
  ASSERT_TRUE(SetupFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", false, &error)) << error;
  uint8_t before[64];
  for (int s = 0; s < 64; ++s) before[s] = Board[s];
  PerftRootMove moves[MoveListSize];
  int count = 0;
  // 26 moves: 5 king steps, 2 castlings, and 19 rook moves (a-rook 10 + h-rook 9).
  EXPECT_EQ(Perft(1, 1, moves, &count), 26u);
  EXPECT_EQ(count, 26);
  const uint64_t total = Perft(2, 1, moves, &count);
  uint64_t sum = 0;
  for (int i = 0; i < count; ++i) sum += moves[i].leaves;
  EXPECT_EQ(sum, total);
  for (int s = 0; s < 64; ++s) EXPECT_EQ(Board[s], before[s]) << s;
}

// Runs kvtool with the given arguments; returns the exit status and the stderr lines.
int RunKvtool(const std::string& arguments, std::vector<std::string>* errorLines,
              std::string* output) {
  const std::string tool = std::string(KORVANE_BUILD_DIR) + "/kvtool";
  const std::string errPath = ::testing::TempDir() + "kvtool_perft_err.txt";
  const std::string command = tool + " perft " + arguments + " 2>" + errPath;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[256];
  output->clear();
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) *output += buffer;
  const int status = pclose(pipe);
  errorLines->clear();
  std::ifstream err(errPath);
  for (std::string line; std::getline(err, line);) errorLines->push_back(line);
  std::remove(errPath.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KvtoolPerft, CountsAndDivides) {
  std::vector<std::string> errors;
  std::string output;
  const std::string start = "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'";
  ASSERT_EQ(RunKvtool(start + " 3", &errors, &output), 0) << "is kvtool built?";
  EXPECT_EQ(output, "8902\n");
  ASSERT_EQ(RunKvtool(start + " 2 --divide", &errors, &output), 0);
  EXPECT_NE(output.find("e2e4: 20\n"), std::string::npos) << output;
  EXPECT_NE(output.find("g1f3: 20\n"), std::string::npos) << output;
  EXPECT_EQ(output.substr(output.size() - 4), "400\n");
  ASSERT_EQ(RunKvtool("--as-opponent " + start + " 2 --divide", &errors, &output), 0);
  EXPECT_NE(output.find("b1c3: 20\n"), std::string::npos) << output;
  ASSERT_EQ(RunKvtool("'4k3/1P6/8/8/8/8/8/4K3 w - - 0 1' 1 --divide", &errors, &output), 0);
  EXPECT_NE(output.find("b7b8q: 1\n"), std::string::npos) << output;
}

TEST(KvtoolPerft, BadInputExitsWithStatusTwoAndOneLine) {
  const std::string start = "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'";
  const std::string bad[] = {
      "",
      start,
      start + " 0",
      start + " 11",
      start + " 99999999999999999999",
      start + " two",
      start + " -3",
      start + " 3 --fast",
      start + " 3 extra",
      "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1' 2",
      "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNY w KQkq - 0 1' 2",
      "'rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1' 2",
      "'rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1' 2",
      "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w' 2",
  };
  for (const std::string& arguments : bad) {
    std::vector<std::string> errors;
    std::string output;
    EXPECT_EQ(RunKvtool(arguments, &errors, &output), 2) << arguments;
    EXPECT_EQ(errors.size(), 1u) << arguments;
    EXPECT_TRUE(output.empty()) << arguments;
  }
}

}  // namespace
