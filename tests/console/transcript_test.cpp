// Transcripts of the real korvanewb: commands in, protocol lines out.
#include "session.h"

using namespace std::string_literals;

struct Transcript {
  std::string input;  // ';' ends a line
  size_t moves;       // "move " lines printed (UCI: "bestmove " lines)
  // The last diagram, written like a FEN board field in the order shown ('*' any square).
  std::string board = "";
  // Every line printed that matches one of these or reports something (Notable), in the
  // order printed, '|' between. A line ending in '*' stands for every line that begins with
  // what precedes the '*'.
  std::string lines = "";
  std::string lastMove = "";  // what the last move may be, '|' between
  int thinking = -1;          // 1: thinking lines shown, 0: none, -1: not checked
  int seconds = 60;           // the program ends within this time
  double atLeast = 0;         // and not before this time (printed)
  std::string legalIn = "";   // a FEN: the last move must be legal there (korvanewb's UCI judges)
};

const std::string StartBoard = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
const std::string AfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
const std::string e4Book = "e7e5|c7c5|c7c6|e7e6";  // the book's replies to e2e4
const std::string WhiteBook = "e2e4|d2d4|c2c4|g1f3";
const std::string Xboard = "xboard;new;sd 3;";
const std::string Setboard = Xboard + "force;setboard ";  // a FEN follows
const std::regex DiagramRow(R"(([.KQRBNPkqrbnp] ){8})");
const std::regex ThinkingLine(R"(\d+ +-?\d+ +\d+ +\d+ .*)");
// The UCI lines about a search: its progress and its answer.
const std::regex UciSearchLine(
    R"(info depth \d+ score (cp -?\d+|mate -?[1-9]\d*) nodes \d+ nps \d+ time \d+)"
    R"(( pv( [a-h][1-8][a-h][1-8][qrbn]?)+)?|)"
    R"(bestmove (0000|[a-h][1-8][a-h][1-8]q?( ponder [a-h][1-8][a-h][1-8]q?)?))");
// Lines that report something: every one printed must be one the case expects.
const std::string Notable = "Illegal move*|tellusererror*|1-0*|0-1*|1/2*|Hint*|info string*";

// Not in the book, so the engine searches; White to move.
const std::string Middle =
    "uci;position fen r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";

bool Matches(const std::string& line, const std::string& wanted) {
  return wanted.ends_with('*') ? line.starts_with(wanted.substr(0, wanted.size() - 1))
                               : line == wanted;
}

void Check(const Transcript& t) {
  std::string text = t.input + ";";
  std::replace(text.begin(), text.end(), ';', '\n');
  SCOPED_TRACE(text.substr(0, 400));
  const auto start = std::chrono::steady_clock::now();
  const SessionResult run = RunSession(text, t.seconds);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (t.atLeast > 0) std::printf("%s: ended after %.2f s\n", t.input.c_str(), took.count());
  EXPECT_GE(took.count(), t.atLeast);
  ASSERT_EQ(run.exit, 0) << run.output;
  EXPECT_TRUE(run.crlf);
  const std::vector<std::string> expected = Split(t.lines, "|"), input = Split(text, "\r\n");
  std::vector<std::string> moves, rows, named;  // moves, diagram rows, lines the case names
  const std::vector<std::string> patterns = Split(t.lines + "|" + Notable, "|");
  int thinking = 0;
  for (size_t i = 0; i < run.lines.size(); ++i) {
    const std::string& line = run.lines[i];
    if (std::ranges::any_of(patterns, [&](auto& p) { return Matches(line, p); }))
      named.push_back(line);
    if (std::regex_match(line, DiagramRow)) rows.push_back(line);
    if (line.starts_with("move ")) {
      moves.push_back(line.substr(5));
      EXPECT_TRUE(i > 0 && run.lines[i - 1].starts_with("Total nodes: ")) << "no summary: " << line;
    }
    const bool info = line.starts_with("info ") && !line.starts_with("info string ");
    const bool answer = line.starts_with("bestmove");
    if (answer) moves.push_back(Split(line, " ")[1]);
    EXPECT_TRUE(!(info || answer) || std::regex_match(line, UciSearchLine)) << line;
    thinking += info || std::regex_match(line, ThinkingLine) ? 1 : 0;
  }
  EXPECT_TRUE(std::ranges::equal(named, expected, Matches)) << testing::PrintToString(named);
  EXPECT_EQ(moves.size(), t.moves);
  EXPECT_TRUE(t.lastMove.empty() || moves.empty() ||
              ("|" + t.lastMove + "|").find("|" + moves.back() + "|") != std::string::npos)
      << moves.back();
  if (!t.legalIn.empty() && !moves.empty()) {
    const std::string check = "uci\nposition fen " + t.legalIn + " moves " + moves.back() + "\n";
    EXPECT_EQ(RunSession(check).output.find("refused"), std::string::npos) << moves.back();
  }
  EXPECT_TRUE(t.thinking < 0 || (thinking > 0) == (t.thinking == 1)) << thinking << " thinking";
  // A diagram answers every "huh" and, at a plain console, every move of the engine.
  const bool console = std::ranges::count(input, "xboard") == 0 && input.front() != "uci";
  ASSERT_EQ(rows.size(), 8 * (std::ranges::count(input, "huh") + (console ? moves.size() : 0)));
  if (t.board.empty()) return;
  ASSERT_GE(rows.size(), 8u);
  std::string wanted, shown;  // one character a square
  for (char c : t.board) {
    if (c != '/') wanted += c >= '1' && c <= '8' ? std::string(c - '0', '.') : std::string(1, c);
  }
  for (size_t s = 0; s < 64; ++s) shown += rows[rows.size() - 8 + s / 8][s % 8 * 2];
  EXPECT_TRUE(std::ranges::equal(wanted, shown, [](char w, char c) { return w == '*' || w == c; }))
      << shown;
}

TEST(Transcript, BannerThenEightFeatureLinesForEachXboard) {
  const SessionResult banner = RunSession("");
  ASSERT_EQ(banner.lines.size(), 9u);
  EXPECT_EQ(banner.lines[3], "Using a hashtable-size of about 16MB. ");
  const std::string features =
      "feature reuse=0\r\nfeature analyze=0\r\nfeature colors=1\r\nfeature setboard=1\r\n"
      "feature pause=0\r\nfeature time=1\r\nfeature myname=\"KorvaneWB v1.42\"\r\nfeature "
      "done=1\r\n";
  // Nothing is read after "quit".
  EXPECT_EQ(RunSession("xboard\nxboard\nquit\nxboard\n").output,
            banner.output + features + features);
}

TEST(Transcript, GamesAndTakeBacks) {
  const std::string knight = Setboard + "4k3/8/8/8/8/8/8/4K1N1 w;go;";
  // Not in the book (a set-up position), so the engine searches.
  const std::string open = Setboard + "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w;sd 4;go;";
  for (const Transcript& t : std::vector<Transcript>{
           // Nothing to take back: "undo" changes nothing, so White's first move is answered
           // once (an out-of-turn engine move would show as a second "move").
           {"sd 3;undo;e2e4", 1, "rnbqkbnr/pp*p*ppp/********/********/4P3/8/PPPP1PPP/RNBQKBNR", "",
            e4Book},
           {knight + "undo;g1f3;huh", 1, "********/********/8/8/8/5N2/8/4K3"},
           // A waiting set-up: the take-back goes to the old game's start with White to move.
           {"sd 3;setboard 4k3/8/8/8/8/8/8/4K1N1 w;undo;e2e4", 1, "", "", e4Book},
           // Taking back the engine's only move as White leaves the engine to move again.
           {Xboard + "go;remove", 2, "", "", WhiteBook},
           // The book still knows the game after "remove".
           {Xboard + "e2e4;remove;huh;d2d4", 2, StartBoard, "", "d7d5|g8f6|e7e6|c7c6"},
           {Xboard + "force;e2e4;e7e5;undo;huh", 0, AfterE4},
           // The same moves again after take-backs are no repetition (no draw line).
           {knight + "g1f3;remove;huh;g1f3;remove;g1f3;remove;g1f3;remove;g1f3", 5,
            "4k3/8/8/8/8/8/8/4K1N1"},
           // The knight typed stays on a8 in both diagrams, through the take-back.
           {Setboard + "8/P7/8/7k/8/8/8/K7 w;go;a7a8n;huh;a1b1;remove;huh", 2,
            "N7/8/********/********/********/8/8/K7", "N . . . . . . . |N . . . . . . . "},
           {open + "g1f3", 1, "", "", "", 1},
           // A new game shows thinking again, so "nopost" comes after "go".
           {open + "nopost;g1f3", 1, "", "", "", 0},
           // The mate is announced after the move, and again for "quit".
           {Setboard + "r5k1/8/8/8/8/8/5PPP/6K1 b;go;quit", 1, "",
            "move a8a1|0-1 {Black mates}|0-1 {Black mates}"},
           // Once after the mate, then for each line read; "undo" takes the rook back, and the
           // game stays over (a move is neither played nor refused).
           {Setboard + "6k1/5ppp/8/8/8/8/8/R5K1 w;go;a1a8;undo;huh;e2e4;quit", 0,
            "6k1/5ppp/8/8/8/8/8/R5K1",
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
  const std::string refusal = "tellusererror Illegal position";
  // Loaded positions and opening lines as xboard hands them over (xboard -lpf, -lgf, -debug):
  // one move, legal in xboard's game. The positions: a set-up, then after d2d3 and c6a5; after
  // the line e2e4 e7e5 g1f3 b8c6, then f1b5; after e2e4 c7c5.
  const std::string set = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQ";
  const std::string d3 = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQK2R b KQ";
  const std::string na5 = "r1bq1rk1/ppp2ppp/3p1n2/n1b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQK2R w KQ";
  const std::string nc6 = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq";
  const std::string bb5 = "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq";
  const std::string c5 = "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq";
  const std::string lpf = "xboard;protover 2;new;level 40 0:30 0;post;hard;force;setboard ";
  const std::string lgf = "xboard;new;st 1;force;e2e4;", tc = ";time 300;otim 300;";
  const std::string line4 = lgf + "e7e5;g1f3;b8c6;computer";
  for (const Transcript& t : std::vector<Transcript>{
           {.input = lpf + set + ";computer;black" + tc + "white;go", .moves = 1, .legalIn = set},
           {.input = lpf + set + ";computer" + tc + "d2d3;black;go", .moves = 1, .legalIn = d3},
           {.input = lpf + d3 + ";computer" + tc + "c6a5;white;go", .moves = 1, .legalIn = na5},
           {.input = line4 + ";black;white;go", .moves = 1, .legalIn = nc6},
           {.input = line4 + tc + "f1b5;black;go", .moves = 1, .legalIn = bb5},
           // An opening line of odd length: the engine waits for White's answer, then plays White.
           {.input = lgf + "computer" + tc + "c7c5;white;go", .moves = 1, .legalIn = c5},
           // The engine moves for White; the diagram is then seen from Black's side.
           {Xboard + "force;e2e4;e7e5;white;go;huh", 1,
            "********/********/********/***P****/***p****/********/ppp1pppp/rnbkqbnr"},
           // "black" after "white" makes the engine Black again: it answers e2e4 from there.
           {Xboard + "force;e2e4;white;black;go;huh", 1,
            "********/********/********/********/4P3/8/PPPP1PPP/RNBQKBNR"},
           // "force" lasts its line after "computer"; the engine answers a move, and a new game
           // in which it is to move.
           {Xboard + "computer;force;e2e4;force;setboard 4k3/8/8/8/8/8/8/4K1N1 b;new", 2},
           // The engine as White waits while Black is to move.
           {"xboard;force;setboard 8/8/8/8/8/8/8/K6k b;white;go;huh", 0, "k6K/8/8/8/8/8/8/8"},
           // Promotions typed in force mode place the piece named, for either side, survive a
           // take-back and are the position "go" plays on; a line that is no pawn's promotion
           // is refused as before.
           {Setboard + "8/P5k1/8/8/8/8/8/4K3 w;new;a7a8q;go;huh", 1,
            "Q7/********/********/8/8/8/8/4K3"},
           {Setboard + "8/P5k1/8/8/8/8/7p/4K3 w;new;a7a8r;g7g8q;h2h1n;e1e2;g7g6;remove;huh", 0,
            "R7/6k1/8/8/8/8/8/4K2n", "Illegal move: g7g8q"},
           {Setboard + "8/6k1/8/8/8/8/7p/4K3 b;new;h2h1N;white;go;huh", 1,
            "n*******/********/8/8/8/8/********/8"},
           // Castling and en passant as the fields allow; missing fields allow every castling
           // the pieces' places allow, and no en passant.
           {Setboard + "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w - -;go;e1g1", 0, "",
            "Illegal move: e1g1"},
           {Setboard + "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w;go;e1g1;huh", 1,
            "********/********/********/********/8/8/PPPPPPPP/R4RK1"},
           {Setboard + "4k3/8/8/3pP3/8/8/8/4K3 w - d6;go;e5d6;huh", 1,
            "********/********/3P4/8/8/8/8/4K3"},
           {Setboard + "4k3/8/8/3pP3/8/8/8/4K3 w;go;e5d6", 0, "", "Illegal move: e5d6"},
           // Refused: no pieces, two white kings, Black in check with White to move, two black
           // kings.
           {Setboard +
                "8/8/8/8/8/8/8/8 w;setboard 4k3/8/8/8/8/8/8/K3K3 w;setboard 4k3/8/8/8/8/8/8/4R1K1 "
                "w;setboard 4k2k/8/8/8/8/8/8/4K3 w;huh",
            0, StartBoard, refusal + "|" + refusal + "|" + refusal + "|" + refusal},
           // A set-up position without a legal move ends the game at once, on the engine's side
           // or the opponent's.
           {Setboard + "7k/5Q2/6K1/8/8/8/8/8 b;go;quit", 0, "",
            "1/2-1/2 {Stalemate}|1/2-1/2 {Stalemate}"},
           {Setboard + "6k1/8/8/8/8/8/5PPP/r5K1 w;go;quit", 0, "",
            "0-1 {Black mates}|0-1 {Black mates}"},
           // CR, LF or CR LF end a line; any byte is kept as it came; words are no moves.
           {"xboard\r\nnew\re2e5\0\xff\r\ne7e8q\r\rfoo bar\n"s + line + "\nhuh\r\nhint;quit\r\n", 0,
            StartBoard,
            "feature done=1|Illegal move: e2e5\0\xff|Illegal move: e7e8q|Illegal move: "s + kept +
                "|Hint: a8a8"},
       }) {
    Check(t);
  }
}

TEST(Transcript, UciSessions) {
  const std::string id = "id name KorvaneWB v1.42|id author the Korvane developers|uciok|";
  const std::string refused = "info string position refused*|";
  for (const Transcript& t : std::vector<Transcript>{
           {"uci;isready;uci;quit", 0, "", id + "readyok|" + id},
           // The book follows a game from the start position, up to its castling move.
           {"uci;ucinewgame;position startpos moves e2e4;go depth 3", 1, "", "", e4Book, 0},
           {"uci;position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6;go movetime 100",
            1, "", "", "e1g1"},
           // Castling moves the rook (f1e1, f8e8), en passant takes the pawn (c7d6 recaptures),
           // promotions place the piece named (a8b6 is a knight's move, h1h5 a rook's).
           {"uci;position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6 f1e1 e8g8 d2d3 "
            "f8e8 c2c3;go depth 3;position startpos moves e2e4 a7a6 e4e5 d7d5 e5d6 c7d6;go depth 3;"
            "position fen 8/P5k1/8/8/8/3K4/7p/8 w moves a7a8n h2h1r a8b6 h1h5;go depth 3",
            3, "", "", "", 1},
           // Mates are counted in moves, for and against the side to move; a side without a
           // move is not searched.
           {"uci;position fen k7/2Q4p/1K6/8/8/8/8/8 b;go depth 4;position fen "
            "k7/8/2K5/8/8/8/8/7R w;go depth 6;position fen 6k1/5ppp/8/8/8/8/8/R5K1 w;go depth 5",
            3, "",
            "info depth 3 score mate -1 *|info depth 4 score mate 2 *|info depth 3 score mate 1 *",
            "a1a8"},
           {"uci;position fen R5k1/5ppp/8/8/8/8/8/6K1 b;go depth 3;"
            "position fen 7k/5Q2/6K1/8/8/8/8/8 b;go depth 3",
            2, "",
            "info string no legal move: checkmate|bestmove 0000|"
            "info string no legal move: stalemate|bestmove 0000"},
           // Refused positions keep the one before: the start position, then a position whose
           // one legal move is h1g2 (a refusal after h1g2 was played must not leave it played).
           {"uci;position startpos moves e2e5;position fen 8/8/8/8/8/8/8/8 w;"
            "position fen 4k3/8/8/8/8/8/8/4R1K1 w;position startpos moves e2e4 e7e5 xx;"
            "position startpos moves e2e4q;position nonsense;position startpos e2e4;foo bar;"
            "setoption name Hash value 32;go depth x movetime 100",
            1, "",
            refused + refused + refused + refused + refused + refused + refused +
                "info string unknown command*|info string there are no options*|"
                "info string go: depth without a number is ignored",
            WhiteBook},
           {"uci;position fen 7k/8/8/8/8/8/6q1/7K w;"
            "position fen 7k/8/8/8/8/8/6q1/7K w moves h1g2 a1a2;go depth 3",
            1, "", "info string position refused: move 2 a1a2 is not legal there*", "h1g2"},
           // Endless searches answer on "stop", "ponderhit" or the end of the input ("quit"
           // gives no answer); "isready" is answered during a search, and a new position waits
           // for the search's end.
           {Middle + ";go infinite;isready;stop;quit", 1, "", "readyok|bestmove *"},
           {Middle + ";go infinite", 1},
           {.input = Middle + ";go ponder movetime 500;ponderhit", .moves = 1, .seconds = 5},
           // Budgets are in milliseconds: 1.5 seconds and a slice.
           {.input = Middle + ";go movetime 1500", .moves = 1, .seconds = 10, .atLeast = 1.5},
           {Middle + ";go depth 4;position startpos moves e2e4;go depth 3;isready", 2, "",
            "bestmove *|bestmove *|readyok", e4Book},
           // On its own clock: overdrawn, or a second against ten minutes on the other's, it
           // answers at once whichever colour it plays.
           {.input = Middle + ";go wtime -1000 btime 600000", .moves = 1, .seconds = 5},
           {.input = Middle + " moves e1g1;go wtime 600000 btime 1000", .moves = 1, .seconds = 5},
       }) {
    Check(t);
  }
}
