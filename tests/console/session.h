// Shared by the console tests: runs the real korvanewb for the transcript, fuzz and signal tests,
// and brings in the standard headers the tests use and the test library.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Polls done() every 5 ms until it holds, for at least the seconds given.
template <typename Done>
bool PollFor(int seconds, Done done) {
  for (int polls = 0; !done(); ++polls) {
    if (polls == seconds * 200) return false;
    usleep(5000);
  }
  return true;
}

// korvanewb reading standard input from a pipe fed by Send; its output goes to a temporary
// file, its errors (sanitizer reports) to the test's.
struct Korvanewb {
  pid_t pid = -1;
  // Its standard input. The read end stays open here too, so writing after the program has
  // ended raises no SIGPIPE.
  int pipeEnds[2] = {-1, -1};
  std::string outPath = "/tmp/korvanewb-out-XXXXXX";

  Korvanewb() {
    close(mkstemp(outPath.data()));
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    fcntl(pipeEnds[1], F_SETPIPE_SZ, 1 << 20);  // room for a whole session: Send never waits
    pid = fork();
    if (pid == 0) {
      dup2(pipeEnds[0], 0);
      dup2(open(outPath.c_str(), O_WRONLY), 1);
      execl(KORVANE_BUILD_DIR "/korvanewb", "korvanewb", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Korvanewb() {  // kills it if it still runs
    if (pid > 0 && kill(pid, SIGKILL) == 0) waitpid(pid, nullptr, 0);
    for (int end : pipeEnds) close(end);
    unlink(outPath.c_str());
  }
  void Send(const std::string& text) const {
    ASSERT_EQ(write(pipeEnds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void EndInput() { close(std::exchange(pipeEnds[1], -1)); }
  std::string Output() const {
    std::ifstream in(outPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  bool WaitForOutput(const std::string& text, int seconds = 20) const {
    return PollFor(seconds, [&] { return Output().find(text) != std::string::npos; });
  }
  // The exit code, -1 - the signal that ended it, or -1000 when it still runs after the seconds.
  int WaitForExit(int seconds = 20) {
    int status = 0;
    if (pid <= 0 || !PollFor(seconds, [&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
      return -1000;
    }
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1 - WTERMSIG(status);
  }
};

struct SessionResult {
  int exit;  // as WaitForExit
  std::string output;
  std::vector<std::string> lines;  // split at CR LF: a lone CR or LF stays inside a line
  bool crlf;                       // every line, the last one too, ends in CR LF
};

// Feeds input on standard input (then its end) and waits at most timeoutSeconds.
inline SessionResult RunSession(const std::string& input, int timeoutSeconds = 60) {
  Korvanewb engine;
  engine.Send(input);
  engine.EndInput();
  SessionResult run = {engine.WaitForExit(timeoutSeconds), engine.Output(), {}, true};
  size_t start = 0;
  for (size_t end; (end = run.output.find("\r\n", start)) != std::string::npos; start = end + 2) {
    run.lines.push_back(run.output.substr(start, end - start));
    run.crlf = run.crlf && run.lines.back().find_first_of("\r\n") == std::string::npos;
  }
  if (start < run.output.size()) run.lines.push_back(run.output.substr(start));
  run.crlf = run.crlf && start == run.output.size();
  return run;
}

// The pieces of text between any of the separators, empty ones left out.
inline std::vector<std::string> Split(const std::string& text, const char* separators) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t end = 0; end != std::string::npos; start = end + 1) {
    end = text.find_first_of(separators, start);
    if (end != start && start < text.size()) pieces.push_back(text.substr(start, end - start));
  }
  return pieces;
}
