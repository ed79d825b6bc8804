// Runs the real korvanewb over pipes for transcript, fuzz and signal tests.
#pragma once
#include <string>
#include <vector>

struct SessionResult {
  int exitStatus = -1;  // the exit code, or -1 when the program did not exit normally
  int signal = 0;       // the signal that ended it, 0 for none
  bool timedOut = false;
  std::string output;  // standard output as written
  std::string errors;  // standard error
};

std::string KorvanewbPath();
// Feeds input on standard input (then its end) and waits at most timeoutSeconds.
SessionResult RunSession(const std::string& input, int timeoutSeconds = 60);
// Output lines split at CR LF; a line end without CR is kept inside the line, so tests see it.
std::vector<std::string> OutputLines(const std::string& output);
// Number of lines equal to text, and the lines that start with prefix.
int CountLines(const std::vector<std::string>& lines, const std::string& text);
std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines,
                                           const std::string& prefix);
// Every LF is preceded by CR and the output ends with a complete line.
bool EveryLineEndsInCrLf(const std::string& output);
