// Transcripts of the real korvanewb: commands in, protocol lines out.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "session.h"

namespace {

const std::vector<std::string> FeatureLines = {
    "feature reuse=0", "feature analyze=0", "feature colors=1",
    "feature setboard=1", "feature pause=0", "feature time=1",
    "feature myname=\"KorvaneWB v1.42\"", "feature done=1"};

const std::vector<std::string> StartBoard = {
    "r n b q k b n r ", "p p p p p p p p ", ". . . . . . . . ", ". . . . . . . . ",
    ". . . . . . . . ", ". . . . . . . . ", "P P P P P P P P ", "R N B Q K B N R "};

struct Transcript {
  SessionResult result;
  std::vector<std::string> lines;
};

Transcript Converse(const std::string& input) {
  Transcript t;
  t.result = RunSession(input);
  t.lines = OutputLines(t.result.output);
  EXPECT_FALSE(t.result.timedOut) << "input:\n" << input << "\noutput:\n" << t.result.output;
  EXPECT_EQ(t.result.exitStatus, 0) << t.result.errors;
  EXPECT_TRUE(EveryLineEndsInCrLf(t.result.output));
  return t;
}

std::vector<std::string> Moves(const Transcript& t) { return LinesStartingWith(t.lines, "move "); }

// The last board diagram printed: the eight lines after the last "-Quit ..." help line's blank.
std::vector<std::string> LastBoard(const Transcript& t) {
  for (size_t i = t.lines.size(); i-- > 0;) {
    if (t.lines[i].rfind("-Quit by typing", 0) == 0 && i + 10 <= t.lines.size()) {
      return std::vector<std::string>(t.lines.begin() + static_cast<long>(i) + 2,
                                      t.lines.begin() + static_cast<long>(i) + 10);
    }
  }
  return {};
}

bool IsThinkingLine(const std::string& line) {
  static const std::regex shape(R"(^\d+ +-?\d+ +\d+ +\d+ +.*$)");
  return std::regex_match(line, shape);
}

}  // namespace

TEST(TranscriptStartup, BannerThenEightFeatureLines) {
  Transcript t = Converse("xboard\nquit\n");
  ASSERT_EQ(t.lines.size(), 9u + 8u);
  EXPECT_EQ(std::count(t.lines.begin(), t.lines.begin() + 9,
                       "Using a hashtable-size of about 16MB. "), 1);
  EXPECT_EQ(std::vector<std::string>(t.lines.begin() + 9, t.lines.end()), FeatureLines);

  Transcript twice = Converse("xboard\nxboard\nquit\n");
  EXPECT_EQ(twice.lines.size(), 9u + 16u);
  EXPECT_EQ(CountLines(twice.lines, "feature done=1"), 2);
}

TEST(TranscriptGame, EngineAsBlackAnswersE4FromTheBook) {
  Transcript t = Converse("xboard\nnew\nsd 3\ne2e4\nquit\n");
  const std::vector<std::string> moves = Moves(t);
  ASSERT_EQ(moves.size(), 1u);
  const std::set<std::string> book = {"move e7e5", "move c7c5", "move c7c6", "move e7e6"};
  EXPECT_TRUE(book.count(moves[0])) << moves[0];
  // The summary comes right before the move; xboard mode prints no board.
  auto at = std::find(t.lines.begin(), t.lines.end(), moves[0]);
  ASSERT_NE(at, t.lines.begin());
  EXPECT_EQ((at - 1)->rfind("Total nodes: ", 0), 0u);
  EXPECT_EQ(CountLines(t.lines, "r n b q k b n r "), 0);
}

TEST(TranscriptGame, GoMakesTheEngineWhite) {
  Transcript t = Converse("xboard\nnew\nsd 3\ngo\nquit\n");
  const std::vector<std::string> moves = Moves(t);
  ASSERT_EQ(moves.size(), 1u);
  const std::set<std::string> book = {"move e2e4", "move d2d4", "move c2c4", "move g1f3"};
  EXPECT_TRUE(book.count(moves[0])) << moves[0];
}

TEST(TranscriptGame, ConsoleModePrintsTheBoardAfterTheEngineMoves) {
  Transcript t = Converse("sd 3\ne2e4\nquit\n");
  ASSERT_EQ(Moves(t).size(), 1u);
  auto at = std::find(t.lines.begin(), t.lines.end(), Moves(t)[0]);
  ASSERT_GE(t.lines.end() - at, 11);
  EXPECT_EQ(*(at + 1), "");
  EXPECT_EQ(*(at + 6), ". . . . P . . . ");  // rank 4, seen from White's side
  EXPECT_EQ(*(at + 9), "R N B Q K B N R ");
  EXPECT_EQ(*(at + 10), "");
}

TEST(TranscriptGame, IllegalMovesAreAnsweredWithTheWholeLine) {
  Transcript t = Converse("xboard\nnew\ne2e5\ne7e8q\nfoo bar\nquit\n");
  EXPECT_EQ(LinesStartingWith(t.lines, "Illegal move: "),
            (std::vector<std::string>{"Illegal move: e2e5", "Illegal move: e7e8q"}));
  EXPECT_TRUE(Moves(t).empty());
}

TEST(TranscriptGame, HintBeforeAnySearchNamesSquareZeroToSquareZero) {
  Transcript t = Converse("xboard\nhint\nquit\n");
  EXPECT_EQ(CountLines(t.lines, "Hint: a8a8"), 1);
}

TEST(TranscriptGame, NopostHidesThinkingButNotTheMove) {
  const std::string setup =
      "xboard\nnew\nforce\nsetboard r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq "
      "- 2 3\nsd 4\nwhite\ngo\n";
  Transcript shown = Converse(setup + "quit\n");
  ASSERT_EQ(Moves(shown).size(), 1u);
  int thinking = 0;
  for (const std::string& line : shown.lines) {
    if (!IsThinkingLine(line)) continue;
    ++thinking;
    // The time column counts centiseconds of whole seconds.
    std::smatch fields;
    std::regex_search(line, fields, std::regex(R"(^\d+ +-?\d+ +(\d+))"));
    EXPECT_EQ(std::stol(fields[1]) % 100, 0) << line;
  }
  EXPECT_GT(thinking, 0);

  // A new game switches thinking on again, so "nopost" comes after "go" has started it; the
  // opponent's move then starts a search that shows nothing.
  Transcript hidden = Converse(setup + "nopost\nd7d6\nquit\n");
  ASSERT_EQ(Moves(hidden).size(), 2u);
  auto after = std::find(hidden.lines.begin(), hidden.lines.end(), Moves(hidden)[0]);
  EXPECT_TRUE(std::none_of(after, hidden.lines.end(), IsThinkingLine));
  EXPECT_EQ(LinesStartingWith(std::vector<std::string>(after, hidden.lines.end()),
                              "Total nodes: ").size(), 1u);
}

TEST(TranscriptTakeBack, RemoveTakesBackTwoHalfMovesAndTheBookStillKnowsTheGame) {
  Transcript t = Converse("xboard\nnew\nsd 3\ne2e4\nremove\nhuh\nd2d4\nquit\n");
  EXPECT_EQ(LastBoard(t), StartBoard);
  const std::vector<std::string> moves = Moves(t);
  ASSERT_EQ(moves.size(), 2u);
  const std::set<std::string> d4Book = {"move d7d5", "move g8f6", "move e7e6", "move c7c6"};
  EXPECT_TRUE(d4Book.count(moves[1])) << moves[1];
}

TEST(TranscriptTakeBack, UndoInForceModeTakesBackOneHalfMove) {
  Transcript t = Converse("xboard\nnew\nforce\ne2e4\ne7e5\nundo\nhuh\nquit\n");
  const std::vector<std::string> board = LastBoard(t);
  ASSERT_EQ(board.size(), 8u);
  EXPECT_EQ(board[1], "p p p p p p p p ");
  EXPECT_EQ(board[4], ". . . . P . . . ");
  EXPECT_EQ(board[6], "P P P P . P P P ");
  EXPECT_TRUE(Moves(t).empty());
}

TEST(TranscriptTakeBack, RemoveInASetUpGameReplaysFromTheSetUpPosition) {
  Transcript t = Converse(
      "xboard\nnew\nsd 3\nforce\nsetboard 4k3/8/8/8/8/8/8/4K1N1 w - - 0 1\ngo\ng1f3\nremove\n"
      "huh\nquit\n");
  ASSERT_EQ(Moves(t).size(), 1u);
  const std::vector<std::string> board = LastBoard(t);
  ASSERT_EQ(board.size(), 8u);
  EXPECT_EQ(board[0], ". . . . k . . . ");
  EXPECT_EQ(board[7], ". . . . K . N . ");
  for (int rank = 1; rank < 7; ++rank) EXPECT_EQ(board[rank], ". . . . . . . . ");
}

TEST(TranscriptTakeBack, ReplayingTheSameMovesAfterTakeBacksIsNoDraw) {
  std::string input = "xboard\nnew\nsd 3\nforce\nsetboard 4k3/8/8/8/8/8/8/4K1N1 w - - 0 1\ngo\n";
  for (int round = 0; round < 4; ++round) input += "g1f3\nremove\n";
  Transcript t = Converse(input + "g1f3\nquit\n");
  EXPECT_EQ(Moves(t).size(), 5u);
  EXPECT_TRUE(LinesStartingWith(t.lines, "1/2-1/2").empty());
}

TEST(TranscriptTakeBack, UndoAfterMateKeepsReadingCommands) {
  Transcript t = Converse(
      "xboard\nnew\nforce\nsetboard 6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\ngo\na1a8\nundo\nhuh\n"
      "e2e4\nquit\n");
  // Once after the mate, then once for every line read: undo, huh, e2e4, quit.
  EXPECT_EQ(CountLines(t.lines, "1-0 {White mates}"), 5);
  const std::vector<std::string> board = LastBoard(t);
  ASSERT_EQ(board.size(), 8u);
  EXPECT_EQ(board[7], "R . . . . . K . ");
  EXPECT_TRUE(Moves(t).empty());
}

TEST(TranscriptResult, EngineMatingAsBlackPrintsSummaryMoveAndResult) {
  Transcript t = Converse(
      "xboard\nnew\nsd 3\nforce\nsetboard r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1\ngo\nquit\n");
  auto at = std::find(t.lines.begin(), t.lines.end(), "move a8a1");
  ASSERT_NE(at, t.lines.end());
  ASSERT_NE(at, t.lines.begin());
  EXPECT_EQ((at - 1)->rfind("Total nodes: ", 0), 0u);
  ASSERT_NE(at + 1, t.lines.end());
  EXPECT_EQ(*(at + 1), "0-1 {Black mates}");
  // "quit" is answered by the result again before the program ends.
  EXPECT_EQ(CountLines(t.lines, "0-1 {Black mates}"), 2);
}

TEST(TranscriptSetup, ForceMovesThenWhiteGoLetsTheEngineMoveForWhite) {
  Transcript t = Converse("xboard\nnew\nsd 3\nforce\ne2e4\ne7e5\nwhite\ngo\nhuh\nquit\n");
  ASSERT_EQ(Moves(t).size(), 1u);
  const std::vector<std::string> board = LastBoard(t);
  ASSERT_EQ(board.size(), 8u);
  // Seen from Black's side now: rank 1 first, files h to a, so the e-file is the fourth.
  EXPECT_EQ(board[3][6], 'P');
  EXPECT_EQ(board[4][6], 'p');
}

TEST(TranscriptSetup, ComputerCancelsForceAndNewKeepsIt) {
  Transcript cancelled = Converse("xboard\nnew\nsd 3\ncomputer\nforce\ne2e4\nquit\n");
  EXPECT_EQ(Moves(cancelled).size(), 1u);

  Transcript kept = Converse("xboard\nforce\nnew\ne2e4\nhuh\nquit\n");
  EXPECT_TRUE(Moves(kept).empty());
  const std::vector<std::string> board = LastBoard(kept);
  ASSERT_EQ(board.size(), 8u);
  EXPECT_EQ(board[4], ". . . . P . . . ");
}

TEST(TranscriptSetup, SetboardWaitsForWhitesMoveWhenTheEnginePlaysBlack) {
  Transcript t = Converse("xboard\nforce\nsetboard 8/8/8/8/8/8/8/K6k w - - 0 1\ngo\nhuh\nquit\n");
  EXPECT_TRUE(Moves(t).empty());
  const std::vector<std::string> board = LastBoard(t);
  ASSERT_EQ(board.size(), 8u);
  EXPECT_EQ(board[7], "K . . . . . . k ");
}

TEST(TranscriptSetup, SetboardHonoursTheCastlingField) {
  const std::string prefix = "xboard\nnew\nsd 3\nforce\nsetboard r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w ";
  Transcript none = Converse(prefix + "- - 0 1\ngo\ne1g1\nquit\n");
  EXPECT_EQ(CountLines(none.lines, "Illegal move: e1g1"), 1);
  EXPECT_TRUE(Moves(none).empty());

  Transcript rights = Converse(prefix + "KQkq - 0 1\ngo\ne1g1\nquit\n");
  EXPECT_TRUE(LinesStartingWith(rights.lines, "Illegal move").empty());
  EXPECT_EQ(Moves(rights).size(), 1u);
}

TEST(TranscriptSetup, SetboardHonoursTheEnPassantField) {
  const std::string prefix = "xboard\nnew\nsd 3\nforce\nsetboard 4k3/8/8/3pP3/8/8/8/4K3 w - ";
  Transcript allowed = Converse(prefix + "d6 0 1\ngo\ne5d6\nquit\n");
  EXPECT_TRUE(LinesStartingWith(allowed.lines, "Illegal move").empty());
  EXPECT_EQ(Moves(allowed).size(), 1u);

  Transcript refused = Converse(prefix + "- 0 1\ngo\ne5d6\nquit\n");
  EXPECT_EQ(CountLines(refused.lines, "Illegal move: e5d6"), 1);
}

TEST(TranscriptSetup, IllegalPositionsAreRefusedAndTheGameStays) {
  const char* bad[] = {"8/8/8/8/8/8/8/8 w - - 0 1", "4k3/8/8/8/8/8/8/K3K3 w - - 0 1",
                       "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "4k2k/8/8/8/8/8/8/4K3 w - - 0 1"};
  for (const char* fen : bad) {
    Transcript t = Converse(std::string("xboard\nnew\nforce\nsetboard ") + fen + "\nhuh\nquit\n");
    EXPECT_EQ(CountLines(t.lines, "tellusererror Illegal position"), 1) << fen;
    EXPECT_EQ(LastBoard(t), StartBoard) << fen;
  }
}

TEST(TranscriptSetup, SetUpPositionWithoutLegalMoveEndsAtOnce) {
  Transcript stalemate =
      Converse("xboard\nnew\nforce\nsetboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\nquit\n");
  EXPECT_EQ(CountLines(stalemate.lines, "1/2-1/2 {Stalemate}"), 2);  // at once, then for "quit"
  EXPECT_TRUE(Moves(stalemate).empty());

  Transcript mate = Converse("xboard\nnew\nforce\nsetboard R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\ngo\nquit\n");
  EXPECT_EQ(CountLines(mate.lines, "1-0 {White mates}"), 2);
  EXPECT_TRUE(Moves(mate).empty());
}

TEST(TranscriptInput, EndOfInputEndsLikeQuit) {
  Transcript t = Converse("xboard\nnew\nsd 3\ne2e4\n");
  EXPECT_EQ(Moves(t).size(), 1u);
  Transcript empty = Converse("");
  EXPECT_EQ(empty.lines.size(), 9u);
}

TEST(TranscriptInput, LongLineIsCutTo120CharactersAndItsRestSkipped) {
  // Past the 120 kept characters the line holds another move, which must not be read.
  const std::string kept = "e2e5" + std::string(116, 'z');
  const std::string line = kept + "e2e6" + std::string(76, 'z');
  ASSERT_EQ(line.size(), 200u);
  Transcript t = Converse("xboard\nnew\n" + line + "\nhuh\nquit\n");
  EXPECT_EQ(LinesStartingWith(t.lines, "Illegal move: "),
            std::vector<std::string>{"Illegal move: " + kept});
  EXPECT_EQ(LastBoard(t), StartBoard);
}

TEST(TranscriptInput, CarriageReturnsEndLines) {
  Transcript t = Converse("xboard\r\nnew\rhuh\r\nhint\r\rquit\r\n");
  EXPECT_EQ(CountLines(t.lines, "feature done=1"), 1);
  EXPECT_EQ(LastBoard(t), StartBoard);
  EXPECT_EQ(CountLines(t.lines, "Hint: a8a8"), 1);
}

TEST(TranscriptGame, UnderpromotionPlacesThePieceTypedAndSurvivesATakeBack) {
  Transcript t = Converse(
      "xboard\nnew\nsd 3\nforce\nsetboard 8/P7/8/7k/8/8/8/K7 w - - 0 1\ngo\na7a8n\nhuh\na1b1\n"
      "remove\nhuh\nquit\n");
  EXPECT_TRUE(LinesStartingWith(t.lines, "Illegal move").empty());
  EXPECT_EQ(Moves(t).size(), 2u);
  // Both diagrams (after the promotion, and after taking back the king move) hold the knight.
  int knightsOnA8 = 0;
  for (const std::string& line : t.lines) knightsOnA8 += line.rfind("N . . . . . . ", 0) == 0;
  EXPECT_EQ(knightsOnA8, 2);
  const std::vector<std::string> board = LastBoard(t);
  ASSERT_EQ(board.size(), 8u);
  EXPECT_EQ(board[0], "N . . . . . . . ");
  EXPECT_EQ(board[7], "K . . . . . . . ");
}
