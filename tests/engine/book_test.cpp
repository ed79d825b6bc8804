// The opening book: the reply by random number in the engine's orientation, the capture and
// castling replies, exact matching, and a walk checking every reply is legal.
#include "test_util.h"

// A book move as "e2e4"; "d5xc4" with the capture flag, and a trailing "?" for any other flag.
std::string BookText() {
  std::string text = CoordinateText(BookFrom, BookTo);
  if (BookTo >= CaptureFlag && BookTo < DoubleStepFlag) text.insert(2, "x");
  return BookTo >= DoubleStepFlag ? text + "?" : text;
}

TEST(Book, ReplyByRandomNumberOnlyForTheExactRecordAndCount) {
  // The engine playing White, the record, HalfMoveCount (-1 for the record's length) and the
  // replies by BookRandom 0..9, empty when the book has none.
  // clang-format off
  const std::tuple<bool, std::vector<const char*>, int, const char*> cases[] = {
      {true, {}, -1, "e2e4 e2e4 e2e4 e2e4 d2d4 d2d4 d2d4 d2d4 c2c4 g1f3"},
      {false, {"e2-e4"}, -1, "e7e5 e7e5 e7e5 c7c5 c7c5 c7c5 c7c6 c7c6 e7e6 e7e6"},
      {false, {"d2-d4", "d7-d5", "c2-c4"}, -1,
       "c7c6 c7c6 c7c6 e7e6 e7e6 e7e6 d5xc4 d5xc4 g8f6 g8f6"},
      {true, {"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6", "Bf1-b5", "a7-a6", "Bb5-a4", "Ng8-f6"}, -1,
       "e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1 e1g1"},
      {false, {"Ng1-f3", "d7-d5", "d2-d4"}, -1, ""},  // a book position by another order
      {false, {"e2-e4", "e7-e5"}, 1, "e7e5 e7e5 e7e5 c7c5 c7c5 c7c5 c7c6 c7c6 e7e6 e7e6"},
      {false, {"e2-e4", "e7-e5"}, -1, ""},  // the count decides
  };
  // clang-format on
  for (const auto& [engineWhite, record, count, expected] : cases) {
    GameFromFen(StartFen, engineWhite);
    for (size_t k = 0; k < record.size(); ++k) std::strcpy(GameRecord[k], record[k]);
    HalfMoveCount = static_cast<int16_t>(count < 0 ? record.size() : count);
    std::string byRandom[10], replies;
    for (int i = 0; i < 400; ++i) {
      const std::string reply = BookLookup() ? BookText() : "";
      ASSERT_LE(BookRandom, 9);
      EXPECT_TRUE(!reply.empty() || BookFrom + BookTo == 0);
      if (byRandom[BookRandom].empty()) byRandom[BookRandom] = reply;
      EXPECT_EQ(byRandom[BookRandom], reply) << "one BookRandom value gave two replies";
    }
    for (const std::string& reply : byRandom) replies += (replies.empty() ? "" : " ") + reply;
    EXPECT_EQ(replies, expected) << record.size();
  }
  GameFromFen(StartFen, true);
  BookAllowed = 0;  // a set-up game
  EXPECT_EQ(BookLookup(), 0);
}

// Walks every line the book can reach from the line played so far: at the human's turn every
// legal move is tried, at the engine's turn every reply the book gives, which must be legal and
// carry the capture flag exactly when it captures (capture: 1 or 0 for a book reply, -1 for a
// human move). Returns the number of book positions met.
int WalkBook(bool engineWhite, const std::string& line = "", int capture = -1) {
  // A light reset: a new game would clear the hash table.
  SetStartPosition(GameBoard);
  GameCastleRights = 33;
  GameEpFile = GameCastled = GameStatus = 0;
  HalfMoveCount = FiftyMoveCounter = 0;
  ClearHistory();
  TurnState = engineWhite ? 0 : 1;
  const bool played = PlayLine(line) == static_cast<int>(line.size() + 1) / 5;
  EXPECT_TRUE(played) << line << " is illegal";
  if (!played) return 0;
  EXPECT_TRUE(capture < 0 ||
              (std::strchr(GameRecord[HalfMoveCount - 1], 'x') != nullptr) == capture)
      << line << ": capture flag";
  std::set<std::string> moves;
  for (int i = 0; TurnState == 0 && i < 200; ++i) {
    if (BookLookup()) moves.insert(BookText());
  }
  for (Entry move : TurnState == 0 ? std::vector<Entry>() : LegalMoves(2, true))
    moves.insert(CoordinateText(move.first, move.second));
  int positions = TurnState == 0 && !moves.empty() ? 1 : 0;
  const int flag = TurnState == 0 ? 0 : -1;
  for (std::string move : moves) {
    const bool flagged = move.size() == 5 && move[2] == 'x';
    if (flagged) move.erase(2, 1);
    positions += WalkBook(engineWhite, line.empty() ? move : line + " " + move, flag + flagged);
  }
  return positions;
}

TEST(Book, EveryLineIsReachableAndEveryReplyLegal) {
  // Engine as Black: 15 lines; as White: 14 (the three-way rows count once per answer).
  for (bool engineWhite : {false, true}) {
    GameFromFen(StartFen, engineWhite);
    EXPECT_EQ(WalkBook(engineWhite), engineWhite ? 14 : 15);
  }
}
