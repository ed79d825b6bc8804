// kvtool perft and search run from the outside: their output and their refusals.
#include <sys/wait.h>
#include <unistd.h>

#include "test_util.h"

namespace {

// Exit status, stdout and stderr of kvtool run with the arguments. The outputs go through
// files in the build folder; ctest runs test processes side by side, so each run has its own.
std::tuple<int, std::string, std::string> Kvtool(const std::string& arguments) {
  static int calls = 0;
  const std::string base =
      KORVANE_BUILD_DIR "/kvtool_test_" + std::to_string(getpid()) + "_" + std::to_string(++calls);
  const int status = std::system(
      (KORVANE_BUILD_DIR "/kvtool " + arguments + " >" + base + ".out 2>" + base + ".err").c_str());
  auto read = [](const std::string& path) {
    std::stringstream content;
    content << std::ifstream(path).rdbuf();
    std::remove(path.c_str());
    return content.str();
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(base + ".out"), read(base + ".err")};
}

TEST(Kvtool, PerftAndSearchOutputAndBadInputExitsWithStatusTwoAndOneErrorLine) {
  const std::string start = "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'";
  const std::string mate = "search '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1'";
  // The output: the whole of it, then texts that start a line of it, and one that must not
  // ("-" for none). No output at all: the input is refused.
  struct Case {
    std::string arguments;
    std::vector<const char*> lines;
    const char* refused = "-";
  };
  const Case cases[] = {
      {"perft " + start + " 3", {"8902\n"}},
      {"perft " + start + " 2 --divide", {"", "e2e4: 20\n", "g1f3: 20\n", "400\n"}},
      {"perft --as-opponent " + start + " 2 --divide", {"", "b1c3: 20\n"}},
      {"perft '4k3/1P6/8/8/8/8/8/4K3 w - - 0 1' 1 --divide", {"", "b7b8q: 1\n"}},
      // Mates, wins a hanging piece and keeps its queen.
      {mate + " --depth 3 --seed 1", {"", "bestmove d1d8 score 9999 depth 2 steps "}},
      {"search '4k3/pp3ppp/8/4n3/8/5N2/PP3PPP/4K3 w - - 0 1' --depth 4 --seed 2",
       {"", "bestmove f3e5 "}},
      {"search '4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1' --depth 4 --seed 3",
       {"", "bestmove "},
       "bestmove d1d5"},
      {"perft", {}},
      {"perft " + start, {}},
      {"perft " + start + " 0", {}},
      {"perft " + start + " 99999999999999999999", {}},
      {"perft 'rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1' 2", {}},
      {"search", {}},
      {"search '8/8/8/8/8/8/8/8 w - - 0 1'", {}},
      {mate + " --depth 1", {}},
      {mate + " --bogus 3", {}},
      {"search '3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1'", {}},  // mated
      {"search '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1'", {}},         // stalemated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const auto [status, stdOut, stdErr] = Kvtool(c.arguments);
    ASSERT_EQ(status, c.lines.empty() ? 2 : 0) << "is kvtool built?";
    const bool oneErrorLine = std::count(stdErr.begin(), stdErr.end(), '\n') == 1;
    EXPECT_TRUE(!c.lines.empty() || (stdOut.empty() && oneErrorLine)) << stdOut << stdErr;
    EXPECT_TRUE(c.lines.empty() || !*c.lines[0] || stdOut == c.lines[0]) << stdOut;
    const std::string out = "\n" + stdOut;
    for (const char* line : c.lines)
      EXPECT_NE(out.find("\n" + std::string(line)), std::string::npos) << stdOut;
    EXPECT_EQ(out.find("\n" + std::string(c.refused)), std::string::npos) << stdOut;
  }
}

}  // namespace
