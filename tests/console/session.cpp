#include "session.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string TempPath(const char* tag) {
  std::string path = std::string("/tmp/korvanewb-") + tag + "-XXXXXX";
  close(mkstemp(path.data()));
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Polls done() every 5 ms until it holds or the seconds have passed.
template <typename Done>
bool PollFor(int seconds, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace

Korvanewb::Korvanewb(const std::string& inputFile)
    : outPath(TempPath("out")), errPath(TempPath("err")) {
  if (inputFile.empty() && pipe2(pipeEnds, O_CLOEXEC) != 0) return;
  pid = fork();
  if (pid == 0) {
    dup2(inputFile.empty() ? pipeEnds[0] : open(inputFile.c_str(), O_RDONLY), 0);
    dup2(open(outPath.c_str(), O_WRONLY | O_TRUNC), 1);
    dup2(open(errPath.c_str(), O_WRONLY | O_TRUNC), 2);
    const std::string path = std::string(KORVANE_BUILD_DIR) + "/korvanewb";
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

Korvanewb::~Korvanewb() {
  if (pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  for (int end : pipeEnds) {
    if (end >= 0) close(end);
  }
  unlink(outPath.c_str());
  unlink(errPath.c_str());
}

// The read end stays open here too, so writing after the program has ended raises no SIGPIPE.
void Korvanewb::Send(const std::string& text) const {
  ASSERT_EQ(write(pipeEnds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

std::string Korvanewb::Output() const {
  return ReadFile(outPath);
}

bool Korvanewb::WaitForOutput(const std::string& text, int seconds, size_t from) const {
  return PollFor(seconds, [&] { return Output().find(text, from) != std::string::npos; });
}

int Korvanewb::WaitForExit(int seconds) {
  int status = 0;
  if (pid <= 0 || !PollFor(seconds, [&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
    return TimedOut;
  }
  pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1 - WTERMSIG(status);
}

SessionResult RunSession(const std::string& input, int timeoutSeconds) {
  const std::string inPath = TempPath("in");
  std::ofstream(inPath, std::ios::binary) << input;
  Korvanewb engine(inPath);
  const int exit = engine.WaitForExit(timeoutSeconds);
  unlink(inPath.c_str());
  return {exit, engine.Output(), ReadFile(engine.errPath)};
}

std::vector<std::string> OutputLines(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = output.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(output.substr(start, end - start));
  }
  if (start < output.size()) lines.push_back(output.substr(start));
  return lines;
}

std::vector<std::string> Split(const std::string& text, const char* separators) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t end = 0; end != std::string::npos; start = end + 1) {
    end = text.find_first_of(separators, start);
    if (end != start && start < text.size()) pieces.push_back(text.substr(start, end - start));
  }
  return pieces;
}

bool EveryLineEndsInCrLf(const std::string& output) {
  for (const std::string& line : OutputLines(output)) {
    if (line.find_first_of("\r\n") != std::string::npos) return false;
  }
  return output.empty() || output.ends_with("\r\n");
}
