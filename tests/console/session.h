// Runs the real korvanewb for the transcript, fuzz and signal tests.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

constexpr int TimedOut = -1000;

// korvanewb reading standard input from a file, or from a pipe fed by Send when no file is
// named; its output and errors go to temporary files.
struct Korvanewb {
  pid_t pid = -1;
  int pipeEnds[2] = {-1, -1};
  std::string outPath, errPath;

  explicit Korvanewb(const std::string& inputFile = "");
  ~Korvanewb();  // kills it if it still runs
  void Send(const std::string& text) const;
  std::string Output() const;
  // Waits until text appears in the output after its first `from` bytes.
  bool WaitForOutput(const std::string& text, int seconds = 20, size_t from = 0) const;
  // The exit code, -1 - the signal that ended it, or TimedOut (it is then killed).
  int WaitForExit(int seconds = 20);
};

struct SessionResult {
  int exit;  // as WaitForExit
  std::string output, errors;
};
// Feeds input on standard input (then its end) and waits at most timeoutSeconds.
SessionResult RunSession(const std::string& input, int timeoutSeconds = 60);

// Output lines split at CR LF; a line end without CR stays inside the line, so tests see it.
std::vector<std::string> OutputLines(const std::string& output);
// The pieces of text between any of the separators, empty ones left out.
std::vector<std::string> Split(const std::string& text, const char* separators);
// Every LF is preceded by CR and the output ends with a complete line.
bool EveryLineEndsInCrLf(const std::string& output);
