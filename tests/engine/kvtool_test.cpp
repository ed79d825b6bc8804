// kvtool perft and search run from the outside: perft's output and the refusals of both. What
// search prints is compared with a recording by search_identity.sh.
#include <sys/wait.h>
#include <unistd.h>

#include "test_util.h"

// Exit status, stdout and stderr of kvtool run with the arguments. The outputs go through
// files in the build folder, named after the process: ctest runs test processes side by side.
std::tuple<int, std::string, std::string> Kvtool(const std::string& arguments) {
  const std::string base = KORVANE_BUILD_DIR "/kvtool_test_" + std::to_string(getpid());
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

TEST(Kvtool, PerftOutputAndBadPerftOrSearchInputExitsWithStatusTwoAndOneErrorLine) {
  const std::string start = "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'";
  const std::string mate = "search '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1'";
  // The arguments and the output: the whole of it, then texts that start a line of it. No output
  // at all: the input is refused.
  const std::pair<std::string, std::vector<const char*>> cases[] = {
      {"perft " + start + " 3", {"8902\n"}},
      {"perft " + start + " 2 --divide", {"", "e2e4: 20\n", "g1f3: 20\n", "400\n"}},
      {"perft --as-opponent " + start + " 2 --divide", {"", "b1c3: 20\n"}},
      {"perft '4k3/1P6/8/8/8/8/8/4K3 w - - 0 1' 1 --divide", {"", "b7b8q: 1\n"}},
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
  for (const auto& [arguments, lines] : cases) {
    SCOPED_TRACE(arguments);
    const auto [status, stdOut, stdErr] = Kvtool(arguments);
    ASSERT_EQ(status, lines.empty() ? 2 : 0) << "is kvtool built?";
    const bool oneErrorLine = std::count(stdErr.begin(), stdErr.end(), '\n') == 1;
    EXPECT_TRUE(!lines.empty() || (stdOut.empty() && oneErrorLine)) << stdOut << stdErr;
    EXPECT_TRUE(lines.empty() || !*lines[0] || stdOut == lines[0]) << stdOut;
    for (const char* line : lines)
      EXPECT_NE(("\n" + stdOut).find("\n" + std::string(line)), std::string::npos) << stdOut;
  }
}
