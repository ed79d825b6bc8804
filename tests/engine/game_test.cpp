// Playing moves into the game: record, check, mate, stalemate, repetition and fifty-move draws.
#include "test_util.h"

// Status, turn and half-move count, the record's last three entries up to the count, and the
// result text.
std::string GameSummary() {
  std::string text = std::to_string(GameStatus) + " " + std::to_string(TurnState) + " " +
                     std::to_string(HalfMoveCount) + ":";
  for (int i = std::max(0, HalfMoveCount - 2); i <= HalfMoveCount && i < GameRecordSize; ++i)
    text += *GameRecord[i] ? " " + std::string(GameRecord[i]) : "";
  return text + " | " + ResultText;
}

TEST(Game, ScriptedGamesEndAsTheRulesSay) {
  const char* backRankWhite = "7k/6pp/8/8/8/8/8/R3K3 w - - 0 1";  // Ra1-a8 mates
  const char* backRankBlack = "r3k3/8/8/8/8/8/6PP/7K b - - 0 1";  // Ra8-a1 mates
  // After 1. e4 with a black pawn on d4 or f4.
  const char* epD4 = "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3";
  const char* epF4 = "rnbqkbnr/ppppp1pp/8/8/4Pp2/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3";
  // The FEN, the engine playing White, FiftyMoveCounter before the first move, the moves and
  // the summary after them.
  // clang-format off
  const std::tuple<const char*, bool, uint8_t, const char*, const char*> scripts[] = {
      // Moves refused: illegal, the engine's pawn, the human's move on the engine's turn.
      {StartFen, false, 0, "e2e5", "0 1 0: | "},
      {StartFen, false, 0, "e7e5", "0 1 0: | "},
      {StartFen, false, 0, "e2e4 d2d4", "0 0 1: e2-e4 | "},
      // The position after Nf3 comes a third time, each time with the human having moved.
      {StartFen, false, 0, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3",
       "4 2 9: Nf6-g8 Ng1-f3 1/2-1/2 | 1/2-1/2 {Draw}"},
      // After 1. e4 e5 the start of the queen's round and the knight's trip comes back once
      // with the human having moved and once with the engine having moved: no draw.
      {StartFen, false, 0, "e2e4 e7e5 d1f3 b8c6 f3e2 c6b8 e2d1 b8c6 d1f3 c6b8 f3e2 b8c6 e2d1 c6b8",
       "0 1 14: Qe2-d1 Nc6-b8 | "},
      // The pawn move clears the history: the repeat counted before it (Nf3 after Ng1-f3) does
      // not add to the repeat of the position at the same index after it (Ng1 after Nf3-g1).
      {StartFen, false, 0, "g1f3 g8f6 f3g1 f6g8 g1f3 e7e5 f3g1 b8c6 g1f3 c6b8 f3g1",
       "0 0 11: Nc6-b8 Nf3-g1 | "},
      // Fifty moves: the hundredth half-move draws unless a pawn move or a capture reset the
      // count, or it mates; the count stops at 255.
      {StartFen, false, 98, "g1f3 g8f6", "4 2 2: Ng1-f3 Ng8-f6 1/2-1/2 | 1/2-1/2 {Draw}"},
      {StartFen, false, 98, "e2e4 g8f6", "0 1 2: e2-e4 Ng8-f6 | "},
      {"rnbqkbnr/ppp1pppp/8/3p4/8/2N5/PPPPPPPP/R1BQKBNR w KQkq - 0 2", false, 98, "c3d5 g8f6",
       "0 1 2: Nc3xd5 Ng8-f6 | "},
      {backRankWhite, false, 99, "a1a8", "3 2 1: Ra1-a8+ 1 - 0  | 1-0 {White mates}"},
      {StartFen, false, 255, "g1f3", "4 2 1: Ng1-f3 1/2-1/2 | 1/2-1/2 {Draw}"},
      // Mates by either colour, played by the human or by the engine.
      {backRankWhite, true, 0, "a1a8", "3 2 1: Ra1-a8+ 1 - 0  | 1-0 {White mates}"},
      {backRankBlack, false, 0, "a8a1", "3 2 1: Ra8-a1+ 0 - 1  | 0-1 {Black mates}"},
      {backRankBlack, true, 0, "a8a1", "3 2 1: Ra8-a1+ 0 - 1  | 0-1 {Black mates}"},
      // Check without mate only sets the status; stalemate draws.
      {"7k/6p1/8/8/8/8/8/R3K3 w - - 0 1", false, 0, "a1a8", "1 0 1: Ra1-a8+ | "},
      {"k7/3Q4/1K6/8/8/8/8/8 w - - 0 1", false, 0, "d7c7",
       "4 2 1: Qd7-c7 1/2-1/2 | 1/2-1/2 {Stalemate}"},
      // Castling that gives check, by the human and by the engine.
      {"5k2/8/8/8/8/8/8/R3K2R w KQ - 0 1", false, 0, "e1g1", "1 0 1: O-O+ | "},
      {"3k4/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, 0, "e1c1", "2 1 1: O-O-O+ | "},
      // The FEN's en-passant square can be taken, whichever side the engine plays.
      {epD4, false, 0, "d4e3", "0 1 1: d4xe3 | "},
      {epD4, true, 0, "d4e3", "0 0 1: d4xe3 | "},
      {epF4, false, 0, "f4e3", "0 1 1: f4xe3 | "},
      {epF4, true, 0, "f4e3", "0 0 1: f4xe3 | "},
      // Promotion letters tell the movers apart.
      {"8/4P3/8/k7/8/8/1p6/7K w - - 0 1", false, 0, "e7e8 b2b1", "2 1 2: e7-e8=q b2-b1=Q+ | "},
  };
  // clang-format on
  for (auto [fen, engineWhite, fifty, moves, summary] : scripts) {
    GameFromFen(fen, engineWhite);
    FiftyMoveCounter = fifty;
    PlayLine(moves);
    EXPECT_EQ(GameSummary(), summary) << fen << " " << moves;
  }
}

TEST(Game, RecordAndHistoryStayInBoundsInAVeryLongGame) {
  // Knights back and forth with the repetition and fifty-move memory wiped before every move,
  // so only the record's size can end the game: drawn, with the result in its last entry.
  GameFromFen(StartFen, false);
  const char* legs[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (int moves = 0; TurnState != 2 && moves < GameRecordSize + 10; ++moves) {
    ClearHistory();
    FiftyMoveCounter = 0;
    if (!Play(legs[moves % 4])) break;
  }
  EXPECT_EQ(GameSummary(), "4 2 11999: Ng8-f6 Nf3-g1 1/2-1/2 | 1/2-1/2 {Draw}");
  // Take-backs can leave the counters far out of range: nothing is written outside the
  // history or the record, and no repeat is found outside the history.
  GameFromFen(StartFen, false);
  FiftyMoveCounter = 200;
  HalfMoveCount = -3;
  EXPECT_EQ(RepeatsHistory(), 0);
  EXPECT_TRUE(Play("g1f3"));
  EXPECT_EQ(HalfMoveCount, -2);
}
