// Seeded random and mutated xboard and UCI sessions piped into the real korvanewb: it must never
// crash, hang or trip a sanitizer, whatever it is fed.
#include "session.h"

// The standard fixes this generator's output, so every seed gives the same session everywhere.
struct Random {
  std::mt19937_64 engine;
  int Below(size_t n) { return static_cast<int>(engine() % n); }
};

// Commands, odd numbers, and moves from the start so that games get somewhere.
const std::vector<std::string> Words = Split(
    "xboard|new|white|black|hint|huh|computer|force|remove|undo|go|post|nopost|protover 2|"
    "accepted done|random|otim 500|result 1-0 {x}|?|level 40 5 0|level 0 2 12|level 40 0:05 0|"
    "st 1|st 120|sd 2|sd 7|time 500|time -1|time 99999999999|time 0|e2e4|d2d4|g1f3|b1c3|e7e5|"
    "d7d5|g8f6|b8c6|f1c4|f8c5|e1g1|e8g8|a2a4|h7h5",
    "|");
const std::vector<std::string> Fens = Split(
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1|"
    "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1|4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1|"
    "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1|R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1|"
    "6k1/P7/8/8/8/8/7p/K7 w - - 0 1|4k3/8/8/8/8/8/8/4R1K1 w - - 0 1|8/8/8/8/8/8/8/8 w - - 0 1|"
    "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/8/8/8/K6k w - - 0 1|"
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
    "|");
// UCI lines. Every "go" carries a small limit and is never mutated, since a changed number could
// think for hours; an endless search ends with the next line that is not "isready".
const std::vector<std::string> UciWords = Split(
    "isready|ucinewgame|uci|stop|ponderhit|debug on|setoption name Hash value 1|position startpos|"
    "position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6|go depth 2|go movetime 30|"
    "go wtime 200 btime 200 movestogo 1|go infinite|go ponder movetime 30|go depth x movetime 30|"
    "go searchmoves e2e4 depth 2|go movetime -5|go depth 3 nodes 5",
    "|");

// Any two squares, sometimes with a promotion letter.
std::string RandomMove(Random& r) {
  std::string move = {char('a' + r.Below(8)), char('1' + r.Below(8)), char('a' + r.Below(8)),
                      char('1' + r.Below(8))};
  return r.Below(6) == 0 ? move + "qrbnxQ"[r.Below(6)] : move;
}

// Random bytes, now and then past the console's line limit.
std::string RandomBytes(Random& r) {
  std::string line;
  for (int i = r.Below(r.Below(4) == 0 ? 220 : 12); i > 0; --i) line += char(r.Below(256));
  return line;
}

// A known line with bytes changed, inserted or cut.
std::string Mutated(std::string line, Random& r) {
  for (int edits = 1 + r.Below(3); edits > 0 && !line.empty(); --edits) {
    const size_t at = static_cast<size_t>(r.Below(line.size()));
    const int how = r.Below(3);
    if (how == 0) line[at] = char(r.Below(256));
    if (how == 1) line.insert(at, 1, "0123456789 /-:kKqQ\r"[r.Below(19)]);
    if (how == 2) line.erase(at, 1 + static_cast<size_t>(r.Below(4)));
  }
  return line;
}

std::string RandomLine(Random& r) {
  const std::string line =
      r.Below(3) == 0 ? "setboard " + Fens[r.Below(Fens.size())] : Words[r.Below(Words.size())];
  const int kind = r.Below(5);
  return kind == 2   ? RandomMove(r)
         : kind == 3 ? RandomBytes(r)
         : kind == 4 ? Mutated(line, r)
                     : line;
}

std::string RandomUciLine(Random& r) {
  const int kind = r.Below(6);
  if (kind == 0) {  // moves from the start or a set-up, legal or not
    std::string line = r.Below(2) == 0 ? "position startpos moves"
                                       : "position fen " + Fens[r.Below(Fens.size())] + " moves";
    for (int n = r.Below(8); n > 0; --n) {
      line += " " + (r.Below(2) == 0 ? RandomMove(r) : Words[r.Below(Words.size())]);
    }
    return line;
  }
  const std::string line = UciWords[r.Below(UciWords.size())];
  if (kind == 1) return RandomBytes(r);
  return kind == 2 && !line.starts_with("go") ? Mutated(line, r) : line;
}

std::string RandomSession(uint64_t seed, bool uci) {
  Random r{std::mt19937_64(seed)};
  std::string session = uci ? "uci\n" : r.Below(3) == 0 ? "sd 2\n" : "xboard\nsd 2\n";
  for (int lines = 20 + r.Below(60); lines > 0; --lines) {
    std::string line = uci ? RandomUciLine(r) : RandomLine(r);
    std::replace(line.begin(), line.end(), '\n', ' ');
    session += line + (r.Below(5) == 0 ? "\r\n" : "\n");
    // Whatever may have set a long time or a deep search is followed by a small depth limit.
    if (line.starts_with("st ") || line.starts_with("sd ") || line.starts_with("lev")) {
      session += "sd 2\n";
    }
  }
  // "quit" ends a search without an answer, so a UCI session stops its search first.
  return r.Below(2) == 0 ? session + (uci ? "stop\nquit\n" : "quit\n") : session;
}

// Lines whose first word, split as korvanewb splits it, is the one given.
size_t LinesStarting(const std::vector<std::string>& lines, const std::string& word) {
  return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    const std::vector<std::string> words = Split(line, " \t");
    return !words.empty() && words[0] == word;
  });
}

TEST(ConsoleFuzz, RandomMutatedAndLongSessionsNeverCrash) {
  std::vector<std::string> sessions;  // 2s - 2 and 2s - 1: the xboard and UCI sessions of seed s
  for (int s = 2; s <= 33; ++s) sessions.push_back(RandomSession(s / 2, s % 2 == 1));
  // Knights back and forth for both sides, untested, far past the record's length; then
  // take-backs, a game from the result and more moves.
  std::string knights;
  for (int i = 0; i < 12100; ++i)
    knights += std::string(" ") + std::array{"g1f3", "g8f6", "f3g1", "f6g8"}[i % 4];
  std::string force = "xboard\nforce" + knights + "\n";
  std::replace(force.begin(), force.end(), ' ', '\n');
  for (int i = 0; i < 12; ++i) force += i % 3 == 0 ? "undo\n" : "remove\n";
  sessions.push_back(force + "sd 2\nwhite\ngo\ng8f6\nhuh\nquit\n");
  // More take-backs than moves, from the start on, in a normal game.
  std::string takeBacks = "xboard\nnew\nsd 2\n";
  for (int i = 0; i < 40; ++i) takeBacks += "remove\nundo\n";
  sessions.push_back(takeBacks + "e2e4\nundo\nundo\nundo\nremove\nremove\nd2d4\nquit\n");
  // A game drawn by repetition long ago is still answered; more moves than the record holds
  // and a line past the line limit are refused.
  const std::string position = "\ngo depth 2\nposition startpos moves";
  sessions.push_back("uci" + position + knights.substr(0, 2000) + position + knights + position +
                     knights + knights + knights + "\ngo depth 2\n");

  for (size_t i = 0; i < sessions.size(); ++i) {
    SCOPED_TRACE("session " + std::to_string(i));
    const SessionResult run = RunSession(sessions[i]);
    EXPECT_EQ(run.exit, 0);  // sanitizers end it otherwise
    EXPECT_TRUE(run.crlf);
    // Every UCI "go" is answered once, whatever came between.
    if (sessions[i].starts_with("uci\n")) {
      EXPECT_EQ(LinesStarting(run.lines, "bestmove"),
                LinesStarting(Split(sessions[i], "\r\n"), "go"));
    }
    if (HasFailure()) break;
  }
}
