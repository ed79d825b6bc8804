#include "session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string TempPath(const char* tag) {
  char pattern[128];
  std::snprintf(pattern, sizeof pattern, "/tmp/korvanewb-%s-XXXXXX", tag);
  const int fd = mkstemp(pattern);
  if (fd >= 0) close(fd);
  return pattern;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string KorvanewbPath() { return std::string(KORVANE_BUILD_DIR) + "/korvanewb"; }

SessionResult RunSession(const std::string& input, int timeoutSeconds) {
  const std::string inPath = TempPath("in"), outPath = TempPath("out"), errPath = TempPath("err");
  {
    std::ofstream in(inPath, std::ios::binary);
    in << input;
  }
  SessionResult result;
  const pid_t child = fork();
  if (child == 0) {
    const int in = open(inPath.c_str(), O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_TRUNC);
    const int err = open(errPath.c_str(), O_WRONLY | O_TRUNC);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    const std::string path = KorvanewbPath();
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (std::chrono::steady_clock::now() > deadline) {
      result.timedOut = true;
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.output = ReadFile(outPath);
  result.errors = ReadFile(errPath);
  unlink(inPath.c_str());
  unlink(outPath.c_str());
  unlink(errPath.c_str());
  return result;
}

std::vector<std::string> OutputLines(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = output.find("\r\n", start);
    if (end == std::string::npos) break;
    lines.push_back(output.substr(start, end - start));
    start = end + 2;
  }
  if (start < output.size()) lines.push_back(output.substr(start));
  return lines;
}

int CountLines(const std::vector<std::string>& lines, const std::string& text) {
  int count = 0;
  for (const std::string& line : lines) count += line == text ? 1 : 0;
  return count;
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines,
                                           const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

bool EveryLineEndsInCrLf(const std::string& output) {
  for (size_t i = 0; i < output.size(); ++i) {
    if (output[i] == '\n' && (i == 0 || output[i - 1] != '\r')) return false;
    if (output[i] == '\r' && (i + 1 == output.size() || output[i + 1] != '\n')) return false;
  }
  return output.empty() || (output.size() >= 2 && output.compare(output.size() - 2, 2, "\r\n") == 0);
}
