// The opening book: proportions, the reply by random number in the engine's orientation, the
// capture and castling replies, exact matching, and a walk checking every reply is legal.
#include "engine/book.h"

#include "test_util.h"

namespace {

// A book move as "e2e4"; "d5xc4" with the capture flag, and a trailing "?" for any other flag.
std::string BookText() {
  std::string text = CoordinateText(BookFrom, BookTo);
  if (BookTo >= CaptureFlag && BookTo < DoubleStepFlag) text.insert(2, "x");
  if (BookTo >= DoubleStepFlag) text += "?";
  return text;
}

TEST(Book, WhiteFirstMoveProportions) {
  GameFromFen(StartFen, true);
  SeedRandom(12345);
  std::map<std::string, int> counts;
  const int draws = 20000;
  for (int i = 0; i < draws; ++i) {
    ASSERT_EQ(BookLookup(), 1);
    ++counts[BookText()];
  }
  ASSERT_EQ(counts.size(), 4u);
  // 4:4:1:1, within two percentage points.
  EXPECT_NEAR(counts["e2e4"], draws * 0.4, draws * 0.02);
  EXPECT_NEAR(counts["d2d4"], draws * 0.4, draws * 0.02);
  EXPECT_NEAR(counts["c2c4"], draws * 0.1, draws * 0.02);
  EXPECT_NEAR(counts["g1f3"], draws * 0.1, draws * 0.02);
}

TEST(Book, ReplyByRandomNumberOnlyForTheExactRecordAndCount) {
  struct Case {
    bool engineWhite;
    std::vector<std::string> record;
    int count;            // HalfMoveCount, -1 for the record's length
    const char* replies;  // by BookRandom 0..9; empty when the book has none
  };
  const Case cases[] = {
      {true, {}, -1, "e2e4 e2e4 e2e4 e2e4 d2d4 d2d4 d2d4 d2d4 c2c4 g1f3"},
      {false, {"e2-e4"}, -1, "e7e5 e7e5 e7e5 c7c5 c7c5 c7c5 c7c6 c7c6 e7e6 e7e6"},
      {false,
       {"d2-d4", "d7-d5", "c2-c4"},
       -1,
       "c7c6 c7c6 c7c6 e7e6 e7e6 e7e6 d5xc4 d5xc4 g8f6 g8f6"},
      {true,
       {"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6", "Bf1-b5", "a7-a6", "Bb5-a4", "Ng8-f6"},
       -1,
       "e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1"},
      {false, {"Ng1-f3", "d7-d5", "d2-d4"}, -1, ""},  // a book position by another order
      {false, {"e2-e4", "e7-e5"}, 1, "e7e5 e7e5 e7e5 c7c5 c7c5 c7c5 c7c6 c7c6 e7e6 e7e6"},
      {false, {"e2-e4", "e7-e5"}, -1, ""},  // the count decides
  };
  for (const Case& c : cases) {
    GameFromFen(StartFen, c.engineWhite);
    SeedRandom(3);
    for (size_t k = 0; k < c.record.size(); ++k) std::strcpy(GameRecord[k], c.record[k].c_str());
    HalfMoveCount = static_cast<int16_t>(c.count < 0 ? c.record.size() : c.count);
    std::string byRandom[10];
    for (int i = 0; i < 400; ++i) {
      const bool found = BookLookup();
      ASSERT_LE(BookRandom, 9);
      if (!found) {
        EXPECT_EQ(BookFrom + BookTo, 0);
        continue;
      }
      if (byRandom[BookRandom].empty()) byRandom[BookRandom] = BookText();
      EXPECT_EQ(byRandom[BookRandom], BookText()) << "one BookRandom value gave two replies";
    }
    std::string replies;
    for (const std::string& reply : byRandom) replies += (replies.empty() ? "" : " ") + reply;
    EXPECT_EQ(replies, c.replies) << c.record.size();
  }
  GameFromFen(StartFen, true);
  BookAllowed = 0;  // a set-up game
  EXPECT_EQ(BookLookup(), 0);
}

// Walks every line the book can reach: at the human's turn every legal move is tried, at the
// engine's turn every reply the book gives. Each reply must be legal and carry the capture flag
// exactly when it captures (the record then shows an "x"). Returns the number of book positions.
int WalkBook(bool engineWhite) {
  GameFromFen(StartFen, engineWhite);
  // Replays a line from the start with a light reset (a new game would clear the hash table).
  auto replay = [engineWhite](const std::string& line) {
    SetStartPosition(GameBoard);
    GameCastleRights = 33;
    GameEpFile = GameCastled = GameStatus = 0;
    HalfMoveCount = FiftyMoveCounter = 0;
    ClearHistory();
    TurnState = engineWhite ? 0 : 1;
    return PlayLine(line) == static_cast<int>((line.size() + 1) / 5);
  };
  int positions = 0;
  std::vector<std::string> pending = {""};
  while (!pending.empty()) {
    const std::string line = pending.back();
    pending.pop_back();
    EXPECT_TRUE(replay(line)) << line;
    const bool engineToMove = TurnState == 0;
    std::set<std::string> moves;
    for (int i = 0; engineToMove && i < 200; ++i) {
      if (BookLookup()) moves.insert(BookText());
    }
    for (Entry move : engineToMove ? std::vector<Entry>() : LegalMoves(2, true)) {
      moves.insert(CoordinateText(move.first, move.second));
    }
    positions += engineToMove && !moves.empty() ? 1 : 0;
    for (std::string move : moves) {
      const bool flagged = move.size() == 5 && move[2] == 'x';
      if (flagged) move.erase(2, 1);
      const std::string next = line.empty() ? move : line + " " + move;
      if (!replay(next)) {
        ADD_FAILURE() << "book reply " << next << " is illegal";
        continue;
      }
      const bool captures = std::strchr(GameRecord[HalfMoveCount - 1], 'x') != nullptr;
      EXPECT_TRUE(!engineToMove || flagged == captures) << next << ": capture flag";
      // Every line has a reply for every BookRandom, so one lookup tells a match.
      if (engineToMove || BookLookup()) pending.push_back(next);
    }
  }
  return positions;
}

TEST(Book, EveryLineIsReachableAndEveryReplyLegal) {
  // Engine as Black: 15 lines; as White: 14 (the three-way rows count once per answer).
  EXPECT_EQ(WalkBook(false), 15);
  EXPECT_EQ(WalkBook(true), 14);
}

}  // namespace
