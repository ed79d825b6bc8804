// xboard interrupts its engines before every "time": korvanewb ignores SIGINT once it has seen
// "xboard", while at a terminal Ctrl-C still ends it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "session.h"

namespace {

// korvanewb with a pipe on its standard input and its output in a file.
struct LiveEngine {
  pid_t pid = -1;
  int input = -1;
  std::string outPath;

  LiveEngine() {
    char pattern[] = "/tmp/korvanewb-live-XXXXXX";
    const int fd = mkstemp(pattern);
    close(fd);
    outPath = pattern;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(pipeEnds[0], 0);
      close(pipeEnds[1]);
      const int out = open(outPath.c_str(), O_WRONLY | O_TRUNC);
      dup2(out, 1);
      const std::string path = KorvanewbPath();
      execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeEnds[0]);
    input = pipeEnds[1];
  }
  ~LiveEngine() {
    if (input >= 0) close(input);
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    unlink(outPath.c_str());
  }
  void Send(const std::string& text) const {
    ASSERT_EQ(write(input, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  std::string Output() const {
    std::ifstream in(outPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Waits until the output holds text; false after the timeout.
  bool WaitFor(const std::string& text, int seconds = 20) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
      if (Output().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  // Exit status, or -1 - signal number when a signal ended it, or -1000 after the timeout.
  int WaitForExit(int seconds = 20) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1 - WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1000;
  }
};

}  // namespace

TEST(ConsoleSignals, InterruptsAreIgnoredAfterXboard) {
  LiveEngine engine;
  ASSERT_GT(engine.pid, 0);
  engine.Send("xboard\n");
  ASSERT_TRUE(engine.WaitFor("feature done=1\r\n"));
  for (int i = 0; i < 3; ++i) {
    kill(engine.pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  engine.Send("new\nsd 3\ne2e4\n");
  EXPECT_TRUE(engine.WaitFor("move "));
  kill(engine.pid, SIGINT);
  engine.Send("quit\n");
  EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST(ConsoleSignals, InterruptEndsAConsoleSession) {
  LiveEngine engine;
  ASSERT_GT(engine.pid, 0);
  ASSERT_TRUE(engine.WaitFor("16MB"));
  kill(engine.pid, SIGINT);
  EXPECT_EQ(engine.WaitForExit(), -1 - SIGINT);
}
