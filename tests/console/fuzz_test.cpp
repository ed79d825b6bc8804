// Seeded random and mutated xboard sessions piped into the real korvanewb: it must never crash,
// hang or trip a sanitizer, whatever it is fed.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "session.h"

namespace {

// A small generator of our own, so every seed gives the same session everywhere.
struct Random {
  uint64_t state;
  explicit Random(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<uint32_t>(state >> 11);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
};

const std::vector<std::string> Words = {
    "xboard", "new", "white", "black", "hint", "huh", "computer", "force", "remove", "undo",
    "go", "post", "nopost", "protover 2", "accepted done", "random", "hard", "easy", "otim 500",
    "result 1-0 {x}", "ping 3", "?", "bk", "level 40 5 0", "level 0 2 12", "level 40 0:05 0",
    "st 1", "st 120", "sd 2", "sd 7", "time 500", "time -1", "time 99999999999", "time 0"};

const std::vector<std::string> Fens = {
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
    "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1",
    "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1",
    "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",
    "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1",
    "6k1/P7/8/8/8/8/7p/K7 w - - 0 1",
    "8/8/8/8/8/8/8/K6k w - - 0 1",
    "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1",
    "8/8/8/8/8/8/8/8 w - - 0 1",
    "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/8/8/8/K6k w - - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"};

std::string RandomSquare(Random& r) {
  std::string s;
  s += static_cast<char>('a' + r.Below(8));
  s += static_cast<char>('1' + r.Below(8));
  return s;
}

std::string RandomLine(Random& r) {
  switch (r.Below(10)) {
    case 0:
    case 1:
    case 2:
      return Words[static_cast<size_t>(r.Below(static_cast<int>(Words.size())))];
    case 3:
      return "setboard " + Fens[static_cast<size_t>(r.Below(static_cast<int>(Fens.size())))];
    case 4:
    case 5: {
      std::string move = RandomSquare(r) + RandomSquare(r);
      if (r.Below(6) == 0) move += "qrbnxQ"[r.Below(6)];
      return move;
    }
    case 6: {
      // Plausible pawn and piece moves from the start, so games get somewhere.
      static const char* opening[] = {"e2e4", "d2d4", "g1f3", "b1c3", "e7e5", "d7d5", "g8f6",
                                      "b8c6", "f1c4", "f8c5", "e1g1", "e8g8", "a2a4", "h7h5"};
      return opening[r.Below(14)];
    }
    case 7: {
      std::string bytes;
      const int length = r.Below(r.Below(4) == 0 ? 220 : 12);
      for (int i = 0; i < length; ++i) {
        char c = static_cast<char>(r.Below(256));
        if (c == '\n') c = ' ';
        bytes += c;
      }
      return bytes;
    }
    default: {
      // A known line, mutated: bytes changed, inserted or cut.
      std::string line = r.Below(2) == 0
                             ? Words[static_cast<size_t>(r.Below(static_cast<int>(Words.size())))]
                             : "setboard " + Fens[static_cast<size_t>(r.Below(static_cast<int>(Fens.size())))];
      const int edits = 1 + r.Below(3);
      for (int e = 0; e < edits && !line.empty(); ++e) {
        const size_t at = static_cast<size_t>(r.Below(static_cast<int>(line.size())));
        switch (r.Below(3)) {
          case 0: line[at] = static_cast<char>(r.Below(256)); break;
          case 1: line.insert(at, 1, "0123456789 /-:kKqQ\r"[r.Below(19)]); break;
          default: line.erase(at, 1 + static_cast<size_t>(r.Below(4))); break;
        }
      }
      for (char& c : line) {
        if (c == '\n') c = ' ';
      }
      return line;
    }
  }
}

// A line that may set a long time budget or a deep search is followed by a small depth limit,
// so no session thinks long.
bool MaySetLongTime(const std::string& line) {
  return line.compare(0, 3, "st ") == 0 || line.compare(0, 3, "sd ") == 0 ||
         line.compare(0, 3, "lev") == 0;
}

std::string RandomSession(uint64_t seed) {
  Random r(seed);
  std::string session = r.Below(3) == 0 ? "" : "xboard\n";
  session += "sd 2\n";
  const int lines = 20 + r.Below(60);
  for (int i = 0; i < lines; ++i) {
    const std::string line = RandomLine(r);
    session += line;
    session += r.Below(5) == 0 ? "\r\n" : "\n";
    if (MaySetLongTime(line)) session += "sd 2\n";
  }
  if (r.Below(2) == 0) session += "quit\n";
  return session;
}

void ExpectCleanRun(const std::string& input, const std::string& what) {
  const SessionResult result = RunSession(input, 60);
  EXPECT_FALSE(result.timedOut) << what;
  EXPECT_EQ(result.signal, 0) << what;
  EXPECT_EQ(result.exitStatus, 0) << what << "\n" << result.errors;
  EXPECT_EQ(result.errors.find("runtime error"), std::string::npos) << what << result.errors;
  EXPECT_EQ(result.errors.find("Sanitizer"), std::string::npos) << what << result.errors;
  EXPECT_TRUE(EveryLineEndsInCrLf(result.output)) << what;
}

}  // namespace

TEST(ConsoleFuzz, RandomAndMutatedSessionsNeverCrash) {
  for (uint64_t seed = 1; seed <= 16; ++seed) {
    ExpectCleanRun(RandomSession(seed), "seed " + std::to_string(seed));
    if (HasFailure()) break;
  }
}

TEST(ConsoleFuzz, EndlessForceModeMovesAndTakeBacksStayInRange) {
  // Knights back and forth for both sides, untested, far past the record's length; then
  // take-backs, a game from the result and more moves.
  std::string session = "xboard\nforce\n";
  const char* cycle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (int i = 0; i < 12100; ++i) session += std::string(cycle[i % 4]) + "\n";
  for (int i = 0; i < 12; ++i) session += i % 3 == 0 ? "undo\n" : "remove\n";
  session += "sd 2\nwhite\ngo\ng8f6\nhuh\nquit\n";
  ExpectCleanRun(session, "long force-mode game");
}

TEST(ConsoleFuzz, ManyTakeBacksInANormalGame) {
  std::string session = "xboard\nnew\nsd 2\n";
  for (int i = 0; i < 40; ++i) session += "remove\nundo\n";
  session += "e2e4\nundo\nundo\nundo\nremove\nremove\nd2d4\nquit\n";
  ExpectCleanRun(session, "take-backs");
}
