// kvtool perft and search run from the outside: their output and their refusals.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Runs kvtool with the arguments (shell-quoted); its exit status, stdout and stderr lines.
// ctest runs test processes side by side: each call needs a file of its own.
int RunKvtool(const std::string& arguments, std::string* out,
              std::vector<std::string>* errorLines) {
  static int calls = 0;
  const std::string errPath = ::testing::TempDir() + "kvtool_err_" + std::to_string(getpid()) +
                              "_" + std::to_string(++calls) + ".txt";
  const std::string command =
      std::string(KORVANE_BUILD_DIR) + "/kvtool " + arguments + " 2>" + errPath;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  out->clear();
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) *out += buffer;
  const int status = pclose(pipe);
  errorLines->clear();
  std::ifstream err(errPath);
  for (std::string line; std::getline(err, line);) errorLines->push_back(line);
  std::remove(errPath.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string Start = "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'";

TEST(KvtoolPerft, CountsAndDivides) {
  std::string out;
  std::vector<std::string> errors;
  ASSERT_EQ(RunKvtool("perft " + Start + " 3", &out, &errors), 0) << "is kvtool built?";
  EXPECT_EQ(out, "8902\n");
  ASSERT_EQ(RunKvtool("perft " + Start + " 2 --divide", &out, &errors), 0);
  EXPECT_NE(out.find("e2e4: 20\n"), std::string::npos) << out;
  EXPECT_NE(out.find("g1f3: 20\n"), std::string::npos) << out;
  EXPECT_EQ(out.substr(out.size() - 4), "400\n");
  ASSERT_EQ(RunKvtool("perft --as-opponent " + Start + " 2 --divide", &out, &errors), 0);
  EXPECT_NE(out.find("b1c3: 20\n"), std::string::npos) << out;
  ASSERT_EQ(RunKvtool("perft '4k3/1P6/8/8/8/8/8/4K3 w - - 0 1' 1 --divide", &out, &errors), 0);
  EXPECT_NE(out.find("b7b8q: 1\n"), std::string::npos) << out;
}

TEST(KvtoolSearch, MatesWinsAHangingPieceAndKeepsItsQueen) {
  // The last line starts with the first text and not with the second ("-" for none).
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"'6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1' --depth 3 --seed 1",
       "bestmove d1d8 score 9999 depth 2 steps ", "-"},
      {"'4k3/pp3ppp/8/4n3/8/5N2/PP3PPP/4K3 w - - 0 1' --depth 4 --seed 2", "bestmove f3e5 ", "-"},
      {"'4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1' --depth 4 --seed 3", "bestmove ", "bestmove d1d5"},
  };
  for (auto [arguments, expected, refused] : cases) {
    std::string out;
    std::vector<std::string> errors;
    ASSERT_EQ(RunKvtool(std::string("search ") + arguments, &out, &errors), 0) << out;
    out.erase(out.find_last_not_of('\n') + 1);
    const std::string last = out.substr(out.find_last_of('\n') + 1);  // npos + 1 is 0
    EXPECT_EQ(last.rfind(expected, 0), 0u) << out;
    EXPECT_NE(last.rfind(refused, 0), 0u) << out;
  }
}

TEST(Kvtool, BadInputExitsWithStatusTwoAndOneErrorLine) {
  const std::string mate = "search '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1'";
  const std::string bad[] = {
      "perft",
      "perft " + Start,
      "perft " + Start + " 0",
      "perft " + Start + " 99999999999999999999",
      "perft 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1' 2",
      "perft 'rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1' 2",
      "search",
      "search '8/8/8/8/8/8/8/8 w - - 0 1'",
      mate + " --depth 1",
      mate + " --bogus 3",
      "search '3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1'",  // mated
      "search '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1'",         // stalemated
  };
  for (const std::string& arguments : bad) {
    std::string out;
    std::vector<std::string> errors;
    EXPECT_EQ(RunKvtool(arguments, &out, &errors), 2) << arguments;
    EXPECT_EQ(errors.size(), 1u) << arguments;
    EXPECT_EQ(out, "") << arguments;
  }
}

}  // namespace
