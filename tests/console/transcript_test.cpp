// Transcripts of the real korvanewb: commands in, protocol lines out.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "session.h"

using namespace std::string_literals;

namespace {

struct Transcript {
  std::string input;
  size_t moves;  // "move " lines printed (UCI: "bestmove " lines)
  // The last diagram, written like a FEN board field in the order shown ('*' any square).
  std::string board = "";
  // Lines printed in this order, '|' between; a line listed n times is printed n times. A
  // line ending in '*' stands for every line that begins with what precedes the '*'.
  std::string lines = "";
  std::string lastMove = "";  // what the last move may be, '|' between
  int thinking = -1;          // 1: thinking lines shown, 0: none, -1: not checked
};

const std::string StartBoard = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
const std::string AfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
const std::string e4Book = "e7e5|c7c5|c7c6|e7e6";  // the book's replies to e2e4
const std::regex DiagramRow(R"(([.KQRBNPkqrbnp] ){8})");
const std::regex ThinkingLine(R"(\d+ +-?\d+ +(\d+) +\d+ .*)");
const std::regex UciInfo(
    R"(info depth \d+ score (cp -?\d+|mate -?[1-9]\d*) nodes \d+ nps \d+ time \d+)"
    R"(( pv( [a-h][1-8][a-h][1-8][qrbn]?)+)?)");
const std::regex UciBestMove(
    R"(bestmove (0000|[a-h][1-8][a-h][1-8]q?( ponder [a-h][1-8][a-h][1-8]q?)?))");

bool StartsWith(const std::string& line, const std::string& prefix) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

bool Matches(const std::string& line, const std::string& wanted) {
  if (!wanted.empty() && wanted.back() == '*') {
    return StartsWith(line, wanted.substr(0, wanted.size() - 1));
  }
  return line == wanted;
}

// The 64 squares of a board field, one character each.
std::string Squares(const std::string& fen) {
  std::string squares;
  for (char c : fen) {
    if (c >= '1' && c <= '8') squares.append(static_cast<size_t>(c - '0'), '.');
    if (c != '/' && (c < '1' || c > '8')) squares += c;
  }
  return squares;
}

void Check(const Transcript& t) {
  SCOPED_TRACE(t.input.substr(0, 400));
  const SessionResult result = RunSession(t.input);
  ASSERT_EQ(result.exit, 0) << result.errors << result.output;
  EXPECT_TRUE(EveryLineEndsInCrLf(result.output));
  const std::vector<std::string> out = OutputLines(result.output);
  const std::vector<std::string> expected = Split(t.lines, "|");
  std::vector<std::string> moves;
  std::string diagram;  // the squares of the last diagram
  size_t diagramRows = 0, inOrder = 0;
  int thinking = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    std::smatch fields;
    if (std::regex_match(out[i], DiagramRow)) {
      if (diagramRows++ % 8 == 0) diagram.clear();
      for (size_t c = 0; c < 16; c += 2) diagram += out[i][c];
    }
    if (StartsWith(out[i], "move ")) {
      moves.push_back(out[i].substr(5));
      EXPECT_TRUE(i > 0 && StartsWith(out[i - 1], "Total nodes: ")) << "no summary: " << out[i];
    }
    if (std::regex_match(out[i], fields, ThinkingLine)) {
      ++thinking;  // the time column is in centiseconds of whole seconds
      EXPECT_EQ(std::stol(fields[1]) % 100, 0) << out[i];
    }
    if (StartsWith(out[i], "bestmove")) {
      EXPECT_TRUE(std::regex_match(out[i], UciBestMove)) << out[i];
      moves.push_back(Split(out[i], " ")[1]);
    }
    if (StartsWith(out[i], "info ") && !StartsWith(out[i], "info string ")) {
      EXPECT_TRUE(std::regex_match(out[i], UciInfo)) << out[i];
      ++thinking;
    }
    if (inOrder < expected.size() && Matches(out[i], expected[inOrder])) ++inOrder;
  }
  EXPECT_EQ(moves.size(), t.moves);
  const std::vector<std::string> allowed = Split(t.lastMove, "|");
  if (!allowed.empty() && !moves.empty()) {
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), moves.back()), allowed.end());
  }
  if (t.thinking >= 0) {
    EXPECT_EQ(thinking > 0, t.thinking == 1);
  }
  EXPECT_EQ(inOrder, expected.size()) << "missing or out of order: " << expected[inOrder];
  for (const std::string& line : expected) {
    const auto same = [&](const std::string& other) { return Matches(other, line); };
    EXPECT_EQ(std::count_if(out.begin(), out.end(), same),
              std::count(expected.begin(), expected.end(), line))
        << line;
  }
  // Every line that reports something is one the case expects.
  for (const std::string notable :
       {"Illegal move", "tellusererror", "1-0", "0-1", "1/2", "Hint", "info string"}) {
    const auto starts = [&](const std::string& line) { return StartsWith(line, notable); };
    EXPECT_EQ(std::count_if(out.begin(), out.end(), starts),
              std::count_if(expected.begin(), expected.end(), starts))
        << notable;
  }
  // A diagram answers every "huh" and, at a plain console, every move of the engine.
  const std::vector<std::string> input = Split(t.input, "\r\n");
  const bool uci = !input.empty() && input[0] == "uci";
  const bool console = std::count(input.begin(), input.end(), "xboard") == 0 && !uci;
  EXPECT_EQ(diagramRows,
            8 * (std::count(input.begin(), input.end(), "huh") + (console ? moves.size() : 0)));
  if (!t.board.empty()) {
    const std::string pattern = Squares(t.board);
    bool matches = diagram.size() == 64 && pattern.size() == 64;
    for (size_t s = 0; matches && s < 64; ++s)
      matches = pattern[s] == '*' || pattern[s] == diagram[s];
    EXPECT_TRUE(matches) << "diagram " << diagram << "\nwanted  " << pattern;
  }
}

}  // namespace

TEST(Transcript, BannerThenEightFeatureLinesForEachXboard) {
  const SessionResult empty = RunSession("");
  EXPECT_EQ(empty.exit, 0);
  const std::vector<std::string> banner = OutputLines(empty.output);
  ASSERT_EQ(banner.size(), 9u);
  EXPECT_EQ(std::count(banner.begin(), banner.end(), "Using a hashtable-size of about 16MB. "), 1);
  std::vector<std::string> expected = banner;
  for (int i = 0; i < 2; ++i) {
    for (const char* feature : {"reuse=0", "analyze=0", "colors=1", "setboard=1", "pause=0",
                                "time=1", "myname=\"KorvaneWB v1.42\"", "done=1"}) {
      expected.push_back(std::string("feature ") + feature);
    }
  }
  EXPECT_EQ(OutputLines(RunSession("xboard\nxboard\nquit\n").output), expected);
}

TEST(Transcript, GamesAndTakeBacks) {
  const std::string knight =
      "xboard\nnew\nsd 3\nforce\nsetboard 4k3/8/8/8/8/8/8/4K1N1 w - - 0 1\ngo\n";
  // Not in the book (a set-up position), so the engine searches.
  const std::string open =
      "xboard\nnew\nforce\nsetboard rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2\n"
      "sd 4\ngo\n";
  for (const Transcript& t : std::vector<Transcript>{
           {"xboard\nnew\nsd 3\ne2e4\nquit\n", 1, "", "", e4Book},
           {"sd 3\ne2e4\nquit\n", 1, "rnbqkbnr/pp*p*ppp/********/********/4P3/8/PPPP1PPP/RNBQKBNR",
            "", e4Book},
           {"xboard\nnew\nsd 3\ngo\nquit\n", 1, "", "", "e2e4|d2d4|c2c4|g1f3"},
           {"xboard\nnew\ne2e5\ne7e8q\nfoo bar\nquit\n", 0, "",
            "Illegal move: e2e5|Illegal move: e7e8q"},
           {open + "g1f3\nquit\n", 1, "", "", "", 1},
           // A new game shows thinking again, so "nopost" comes after "go".
           {open + "nopost\ng1f3\nquit\n", 1, "", "", "", 0},
           // The mate is announced after the move, and again for "quit".
           {"xboard\nnew\nsd 3\nforce\nsetboard r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1\ngo\nquit\n", 1,
            "", "move a8a1|0-1 {Black mates}|0-1 {Black mates}"},
           // The knight typed stays on a8 in both diagrams, through the take-back.
           {"xboard\nnew\nsd 3\nforce\nsetboard 8/P7/8/7k/8/8/8/K7 w - - 0 1\ngo\n"
            "a7a8n\nhuh\na1b1\nremove\nhuh\nquit\n",
            2, "N7/8/********/********/********/8/8/K7", "N . . . . . . . |N . . . . . . . "},
           // The book still knows the game after "remove".
           {"xboard\nnew\nsd 3\ne2e4\nremove\nhuh\nd2d4\nquit\n", 2, StartBoard, "",
            "d7d5|g8f6|e7e6|c7c6"},
           {"xboard\nnew\nforce\ne2e4\ne7e5\nundo\nhuh\nquit\n", 0, AfterE4},
           // Nothing to take back: "undo" changes nothing, so White's first move is answered
           // once (an out-of-turn engine move would show as a second "move").
           {"sd 3\nundo\ne2e4\nquit\n", 1,
            "********/********/********/********/4P3/8/PPPP1PPP/RNBQKBNR", "", e4Book},
           {"xboard\nundo\nsd 3\ne2e4\nquit\n", 1, "", "", e4Book},
           {"xboard\nnew\nsd 3\nundo\nundo\ne2e4\nquit\n", 1, "", "", e4Book},
           {knight + "undo\ng1f3\nhuh\nquit\n", 1, "********/********/8/8/8/5N2/8/4K3"},
           // A waiting set-up: the take-back goes to the old game's start with White to move.
           {"sd 3\nsetboard 4k3/8/8/8/8/8/8/4K1N1 w - - 0 1\nundo\ne2e4\nquit\n", 1, "", "",
            e4Book},
           // Taking back the engine's only move as White leaves the engine to move again.
           {"xboard\nnew\nsd 3\ngo\nremove\nquit\n", 2, "", "", "e2e4|d2d4|c2c4|g1f3"},
           {knight + "g1f3\nremove\nhuh\nquit\n", 1, "4k3/8/8/8/8/8/8/4K1N1"},
           // The same moves again after take-backs are no repetition (no draw line).
           {knight + "g1f3\nremove\ng1f3\nremove\ng1f3\nremove\ng1f3\nremove\ng1f3\nquit\n", 5},
           // Once after the mate, then for each line read; "undo" takes the rook back, and the
           // game stays over (a move is neither played nor refused).
           {"xboard\nnew\nforce\nsetboard 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\ngo\na1a8\nundo\nhuh\n"
            "e2e4\nquit\n",
            0, "6k1/5ppp/8/8/8/8/8/R5K1",
            "1-0 {White mates}|1-0 {White mates}|1-0 {White mates}|1-0 {White mates}|"
            "1-0 {White mates}"},
       }) {
    Check(t);
  }
}

TEST(Transcript, ForceSetboardColoursAndLineInput) {
  // Past the 120 characters kept, the line holds another move, which must not be read.
  const std::string kept = "e2e5" + std::string(116, 'z');
  const std::string line = kept + "e2e6" + std::string(76, 'z');
  ASSERT_EQ(line.size(), 200u);
  const std::string castle =
      "xboard\nnew\nsd 3\nforce\nsetboard r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w ";
  const std::string passant = "xboard\nnew\nsd 3\nforce\nsetboard 4k3/8/8/3pP3/8/8/8/4K3 w - ";
  const std::string refused = "xboard\nnew\nforce\nsetboard ";
  const std::string refusal = "tellusererror Illegal position";
  for (const Transcript& t : std::vector<Transcript>{
           // The engine moves for White; the diagram is then seen from Black's side.
           {"xboard\nnew\nsd 3\nforce\ne2e4\ne7e5\nwhite\ngo\nhuh\nquit\n", 1,
            "********/********/********/***P****/***p****/********/ppp1pppp/rnbkqbnr"},
           // "black" after "white" makes the engine Black again: it answers e2e4 from there.
           {"xboard\nnew\nsd 3\nforce\ne2e4\nwhite\nblack\ngo\nhuh\nquit\n", 1,
            "********/********/********/********/4P3/8/PPPP1PPP/RNBQKBNR"},
           {"xboard\nnew\nsd 3\ncomputer\nforce\ne2e4\nquit\n", 1},
           {"xboard\nforce\nnew\ne2e4\nhuh\nquit\n", 0, AfterE4},
           // White to move and the engine Black by default: it waits.
           {"xboard\nforce\nsetboard 8/8/8/8/8/8/8/K6k w - - 0 1\ngo\nhuh\nquit\n", 0,
            "8/8/8/8/8/8/8/K6k"},
           {"xboard\nforce\nsetboard 8/8/8/8/8/8/8/K6k b - - 0 1\nwhite\ngo\nhuh\nquit\n", 0,
            "k6K/8/8/8/8/8/8/8"},
           // Promotions typed in force mode place the piece named, for either side, survive a
           // take-back and are the position "go" plays on; a line that is no pawn's promotion
           // is refused as before.
           {refused + "8/P5k1/8/8/8/8/8/4K3 w - - 0 1\nnew\nsd 3\na7a8q\ngo\nhuh\nquit\n", 1,
            "Q7/********/********/8/8/8/8/4K3"},
           {refused + "8/P5k1/8/8/8/8/7p/4K3 w - - 0 1\nnew\na7a8r\ng7g8q\nh2h1n\ne1e2\ng7g6\n"
                      "remove\nhuh\nquit\n",
            0, "R7/6k1/8/8/8/8/8/4K2n", "Illegal move: g7g8q"},
           {refused + "8/6k1/8/8/8/8/7p/4K3 b - - 0 1\nnew\nsd 3\nh2h1N\nwhite\ngo\nhuh\nquit\n", 1,
            "n*******/********/8/8/8/8/********/8"},
           {castle + "- - 0 1\ngo\ne1g1\nquit\n", 0, "", "Illegal move: e1g1"},
           {castle + "KQkq - 0 1\ngo\ne1g1\nhuh\nquit\n", 1,
            "********/********/********/********/8/8/PPPPPPPP/R4RK1"},
           {passant + "d6 0 1\ngo\ne5d6\nhuh\nquit\n", 1, "********/********/3P4/8/8/8/8/4K3"},
           {passant + "- 0 1\ngo\ne5d6\nquit\n", 0, "", "Illegal move: e5d6"},
           {refused + "8/8/8/8/8/8/8/8 w - - 0 1\nhuh\nquit\n", 0, StartBoard, refusal},
           {refused + "4k3/8/8/8/8/8/8/K3K3 w - - 0 1\nhuh\nquit\n", 0, StartBoard, refusal},
           {refused + "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1\nhuh\nquit\n", 0, StartBoard, refusal},
           {refused + "4k2k/8/8/8/8/8/8/4K3 w - - 0 1\nhuh\nquit\n", 0, StartBoard, refusal},
           // A set-up position without a legal move ends the game at once.
           {refused + "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\nquit\n", 0, "",
            "1/2-1/2 {Stalemate}|1/2-1/2 {Stalemate}"},
           {refused + "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\ngo\nquit\n", 0, "",
            "1-0 {White mates}|1-0 {White mates}"},
           {"xboard\nnew\nsd 3\ne2e4\n", 1},  // the end of the input ends the program
           {"xboard\nnew\n" + line + "\nhuh\nquit\n", 0, StartBoard, "Illegal move: " + kept},
           {"xboard\r\nnew\rhuh\r\nhint\r\rquit\r\n", 0, StartBoard, "feature done=1|Hint: a8a8"},
           // Any byte is kept as it came.
           {"xboard\nnew\ne2e5\0\xff\nquit\n"s, 0, "", "Illegal move: e2e5\0\xff"s},
       }) {
    Check(t);
  }
}

TEST(Transcript, UciSessions) {
  // Not in the book, so the engine searches; White to move.
  const std::string middle =
      "uci\nposition fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4\n";
  const std::string id = "id name KorvaneWB v1.42|id author the Korvane developers|uciok|";
  const std::string refused = "info string position refused*|";
  for (const Transcript& t : std::vector<Transcript>{
           {"uci\nisready\nuci\nquit\n", 0, "", id + "readyok|" + id},
           // The book follows a game from the start position, up to its castling move.
           {"uci\nucinewgame\nposition startpos moves e2e4\ngo depth 3\n", 1, "", "", e4Book, 0},
           {"uci\nposition startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6\ngo movetime "
            "100\n",
            1, "", "", "e1g1"},
           // Castling moves the rook (f1e1, f8e8), en passant takes the pawn (c7d6 recaptures),
           // promotions place the piece named (a8b6 is a knight's move, h1h5 a rook's).
           {"uci\nposition startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 f1e1 e8g8 d2d3 "
            "f8e8 c2c3\ngo depth 3\nposition startpos moves e2e4 a7a6 e4e5 d7d5 e5d6 c7d6\ngo "
            "depth 3\nposition fen 8/P5k1/8/8/8/3K4/7p/8 w - - 0 1 moves a7a8n h2h1r a8b6 h1h5\n"
            "go depth 3\n",
            3, "", "", "", 1},
           // Mates are counted in moves, for and against the side to move; a side without a
           // move is not searched.
           {"uci\nposition fen k7/2Q4p/1K6/8/8/8/8/8 b - - 0 1\ngo depth 4\nposition fen "
            "k7/8/2K5/8/8/8/8/7R w - - 0 1\ngo depth 6\nposition fen 6k1/5ppp/8/8/8/8/8/R5K1 w - - "
            "0 1\ngo depth 5\n",
            3, "",
            "info depth 3 score mate -1 *|info depth 4 score mate 2 *|info depth 3 score mate 1 *",
            "a1a8"},
           {"uci\nposition fen R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\ngo depth 3\n"
            "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo depth 3\n",
            2, "",
            "info string no legal move: checkmate|bestmove 0000|"
            "info string no legal move: stalemate|bestmove 0000"},
           // Refused positions keep the one before: the start position, then a position whose
           // one legal move is h1g2 (a refusal after h1g2 was played must not leave it played).
           {"uci\nposition startpos moves e2e5\nposition fen 8/8/8/8/8/8/8/8 w - - 0 1\n"
            "position fen 4k3/8/8/8/8/8/8/4R1K1 w - - 0 1\nposition startpos moves e2e4 e7e5 xx\n"
            "position startpos moves e2e4q\nposition nonsense\nposition startpos e2e4\nfoo bar\n"
            "setoption name Hash value 32\ngo depth x movetime 100\n",
            1, "",
            refused + refused + refused + refused + refused + refused + refused +
                "info string unknown command*|info string there are no options*|"
                "info string go: depth without a number is ignored",
            "e2e4|d2d4|c2c4|g1f3"},
           {"uci\nposition fen 7k/8/8/8/8/8/6q1/7K w - - 0 1\n"
            "position fen 7k/8/8/8/8/8/6q1/7K w - - 0 1 moves h1g2 a1a2\ngo depth 3\n",
            1, "", "info string position refused: move 2 a1a2 is not legal there*", "h1g2"},
           // Endless searches answer on "stop", "ponderhit" or the end of the input; "isready"
           // is answered during a search, and a new position waits for the search's end.
           {middle + "go infinite\nstop\n", 1},
           {middle + "go infinite\n", 1},
           {middle + "go ponder movetime 500\nponderhit\n", 1},
           {middle + "go depth 5\nisready\n", 1, "", "readyok|bestmove *", "", 1},
           {middle + "go depth 4\nposition startpos moves e2e4\ngo depth 3\nisready\n", 2, "",
            "bestmove *|bestmove *|readyok", e4Book},
       }) {
    Check(t);
  }
}

TEST(UciSession, ThinksOnItsOwnClockAndAnswersWhileThinking) {
  const std::string middle =
      "position fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
  Korvanewb engine;
  engine.Send("uci\n");
  // An overdrawn clock, or a second on the engine's clock against ten minutes on the other:
  // it answers within about a second, whichever colour it plays.
  for (const char* go :
       {"\ngo wtime -1000 btime 600000\n", " moves e1g1\ngo wtime 600000 btime 1000\n"}) {
    const size_t mark = engine.Output().size();
    engine.Send(middle + go);
    ASSERT_TRUE(engine.WaitForOutput("bestmove", 5, mark)) << go;
  }
  const size_t mark = engine.Output().size();
  engine.Send(middle + "\ngo infinite\n");
  ASSERT_TRUE(engine.WaitForOutput("info depth 5 ", 20, mark));
  engine.Send("isready\n");
  ASSERT_TRUE(engine.WaitForOutput("readyok\r\n", 5, mark));
  EXPECT_EQ(engine.Output().find("bestmove", mark), std::string::npos);
  engine.Send("stop\nquit\n");
  EXPECT_TRUE(engine.WaitForOutput("bestmove", 5, mark));
  EXPECT_EQ(engine.WaitForExit(), 0);
}
