// The PGN record: the exact text for games of every stage and result, each read back by
// pgn-extract; games loaded from our own files and other programs' as if played here; faulty
// files refused by name and move, the game on the board left as it was.

#include "test_util.h"

namespace {

struct Pgn : EngineGameTest {
  void SetUp() override {
    EngineGameTest::SetUp();
    folder = home.path + "/";
  }
  // The game state a load must reproduce, or leave alone when it fails.
  static std::string GameBytes() {
    std::string bytes = std::to_string(HalfMoveCount) + BestMoveText + GameDate + GameSetUp;
    const auto add = [&](const void* at, size_t size) {
      bytes.append(static_cast<const char*>(at), size);
    };
    for (const uint8_t* byte : {&BoardFlipped, &TurnState, &GameStatus, &FiftyMoveCounter,
                                &GameEpFile, &GameCastleRights, &GameCastled, &BookAllowed})
      add(byte, 1);
    add(GameBoard, sizeof GameBoard), add(GameRecord, sizeof GameRecord);
    add(HistKey1, sizeof HistKey1), add(HistKey2, sizeof HistKey2), add(HistKey3, sizeof HistKey3);
    add(HistSide, sizeof HistSide), add(HistRepeats, sizeof HistRepeats);
    add(&SecondsPerMove, sizeof SecondsPerMove), add(&EngineClock, sizeof EngineClock);
    add(HashRandom1, sizeof HashRandom1);  // the history's keys are made of these
    return bytes;
  }
  std::string File(const std::string& name, const std::string& text) {
    EXPECT_EQ(WriteTextFile(folder + name, text), 0);
    return folder + name;
  }
  std::string folder;
};

TEST_F(Pgn, GamesOfEveryStageAndResultAreWrittenSoThatReadersKeepThem) {
  const std::string tags[2] = {
      "[Event \"Chessgame with Korvane 3D\"]\r\n[Site \"?\"]\r\n[Date \"2024.03.09\"]\r\n"
      "[Round \"?\"]\r\n[White \"?\"]\r\n[Black \"Korvane 3D v1.0\"]\r\n[Result \"",
      "[Event \"Chessgame with Korvane 3D\"]\r\n[Site \"?\"]\r\n[Date \"2024.03.09\"]\r\n"
      "[Round \"?\"]\r\n[White \"Korvane 3D v1.0\"]\r\n[Black \"?\"]\r\n[Result \""};
  // clang-format off
  const struct { bool engineWhite; const char *fen, *moves, *result, *moveText; } games[] = {
      {false, "", "", "*", "*\r\n"},
      {true, "", "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5 c2c3 d7d6 b1d2 a7a6 b2b4 c5a7 a2a4 h7h6 "
       "c1b2 c8g4 h2h3 g4h5", "*",
       "1. e2-e4 e7-e5 2. Ng1-f3 Nb8-c6 3. Bf1-c4 Ng8-f6 4. d2-d3 Bf8-c5 5. c2-c3 d7-d6 \r\n"
       "6. Nb1-d2 a7-a6 7. b2-b4 Bc5-a7 8. a2-a4 h7-h6 9. Bc1-b2 Bc8-g4 10. h2-h3 Bg4-h5 \r\n"
       "*\r\n"},
      {false, "", "e2e4 e7e5 f1c4 b8c6 d1h5 g8f6 h5f7", "1-0",
       "1. e2-e4 e7-e5 2. Bf1-c4 Nb8-c6 3. Qd1-h5 Ng8-f6 4. Qh5xf7# 1-0\r\n"},
      {true, "", "f2f3 e7e5 g2g4 d8h4", "0-1", "1. f2-f3 e7-e5 2. g2-g4 Qd8-h4# 0-1\r\n"},
      {false, "", "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3", "1/2-1/2",  // third repetition
       "1. Ng1-f3 Ng8-f6 2. Nf3-g1 Nf6-g8 3. Ng1-f3 Ng8-f6 4. Nf3-g1 Nf6-g8 5. Ng1-f3 1/2-1/2\r\n"},
      {false, "", "a2a4 b7b5 a4b5 a7a6 b5a6 c8b7 a6b7 b8c6 b7a8Q", "*",  // recorded as b7-a8=q
       "1. a2-a4 b7-b5 2. a4xb5 a7-a6 3. b5xa6 Bc8-b7 4. a6xb7 Nb8-c6 5. b7-a8=Q *\r\n"},
      {false, "k7/8/1K6/8/8/8/8/7R b - - 3 41", "a8b8 h1h7 b8a8 h7h8", "1-0",  // Black first
       "41... Ka8-b8 42. Rh1-h7 Kb8-a8 43. Rh7-h8# 1-0\r\n"}};
  // clang-format on
  const std::string file = folder + "game1";
  for (const auto& g : games) {
    *g.fen ? GameFromFen(g.fen, g.engineWhite) : StartNewGame(g.engineWhite ? 1 : 0, 10);
    GameDate = "2024.03.09", GameTimeControl = "300", GameSetUp = g.fen;
    std::istringstream in(g.moves);
    for (std::string move; in >> move;) ASSERT_TRUE(Play(move.substr(0, 4))) << move;
    ASSERT_TRUE(WritePgnFile(file));  // replacing the last game's file
    const std::string setUp =
        *g.fen ? "[SetUp \"1\"]\r\n[FEN \"" + std::string(g.fen) + "\"]\r\n" : "";
    EXPECT_EQ(ReadFile(file + ".pgn"), tags[g.engineWhite] + g.result +
                                           "\"]\r\n[TimeControl \"300\"]\r\n" + setUp + "\r\n" +
                                           g.moveText);
    // pgn-extract keeps the game: its moves in coordinates and the result, and no complaint.
    const std::string out = file + ".out", err = file + ".err";
    std::system(
        ("/usr/games/pgn-extract -s -Wuci -w9999 -o" + out + " " + file + ".pgn 2>" + err).c_str());
    const std::string line = "\n\n" + std::string(g.moves) + (*g.moves ? " " : "") + g.result;
    EXPECT_NE(ReadFile(out).find(line + "\n"), std::string::npos) << ReadFile(out);
    EXPECT_EQ(ReadFile(err), "") << g.moves;
  }
  EXPECT_TRUE(MemMessageBoxes.empty());
  GameTimeControl = "a\"b\\c\r\n";
  EXPECT_NE(PgnText().find("[TimeControl \"a\\\"b\\\\c\"]\r\n"), std::string::npos);
  NoteNewGame();  // the day the game starts, as the system's date command tells it
  std::system(("date +%Y.%m.%d >" + file).c_str());
  EXPECT_EQ(GameDate + "\n", ReadFile(file));
}

TEST_F(Pgn, GamesLoadAsIfPlayedHereFromOurFilesAndOtherPrograms) {
  // Each file's game against the same moves played here in coordinates (same hash keys).
  // Each file: its text (empty: ours, written here), its set-up, the engine's side (named in
  // our files, else the one PlayerSide is not) and the moves.
  // clang-format off
  const struct { std::string text; const char* fen; bool engineWhite; const char* moves; }
      files[] = {
      {"", "", true, "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 f6e4 a2a4 d7d5"},  // ours, written here
      {"", "", false, "d2d4 d7d5 c2c4 d5c4 g1f3 g8f6 e2e3 e7e6 f1c4 c7c5 e1g1"},
      {"[Event \"x\"]\n[Date \"2024.03.09\"]\n[White \"Someone\"]\n[Black \"Else\"]\n"
       "[SetUp \"1\"]\n[FEN \"r3k2r/1P6/8/3pP3/8/8/8/R3K2R w KQkq d6 12 40\"]\n\n"
       "% an escaped line\n"
       "40. exd6 e.p. {en passant} (40. b8=Q+ Rxb8 (40... Kd7) 41. e6) 40... O-O $2 "
       "41. bxa8=Q!? Rxa8 ; the rook\n42. Rxa8+ Kg7 *",
       "r3k2r/1P6/8/3pP3/8/8/8/R3K2R w KQkq d6 12 40", true, "e5d6 e8g8 b7a8 f8a8 a1a8 g8g7"}};
  // clang-format on
  std::string error;
  for (const auto& f : files) {
    PlayerSide = f.text.empty() == f.engineWhite ? 0 : 1;  // our files are not led by it
    SeedRandom(7);
    *f.fen ? GameFromFen(f.fen, f.engineWhite) : StartNewGame(f.engineWhite ? 1 : 0, 21);
    GameDate = "2024.03.09", GameTimeControl = "60/1200", GameSetUp = f.fen;
    if (*f.fen) FiftyMoveCounter = 12, BookAllowed = 0, SecondsPerMove = 21;  // as a set-up has
    ASSERT_EQ(PlayLine(f.moves), int(std::count(f.moves, f.moves + strlen(f.moves), ' ') + 1));
    const std::string played = GameBytes(),
                      path = File("f.pgn", f.text.empty() ? PgnText() : f.text);
    StartNewGame(1, 5), GameDate.clear();
    SeedRandom(7);
    ASSERT_TRUE(LoadGame(path, false, &error)) << error;
    EXPECT_TRUE(GameBytes() == played) << f.moves;
  }
  // A whole game saved by xboard between two fairymax engines (tests/data), drawn by the third
  // repetition after White's 102nd move.
  ASSERT_TRUE(LoadGame(KORVANE_SOURCE_DIR "/tests/data/xboard-fairymax.pgn", false, &error));
  EXPECT_TRUE(HalfMoveCount == 203 && TurnState == 2 && GameStatus == 4 && BoardFlipped == 1);
  EXPECT_STREQ(GameRecord[202], "Rg4-g5+");
  EXPECT_EQ(GameTimeControl, "60/1200");  // its "40/10" is not one of the menus'
}

TEST_F(Pgn, FaultyFilesAreRefusedByNameAndMoveAndTheGameGoesOnAsItWas) {
  // clang-format off
  const struct { const char *text, *message; } files[] = {
      {"PK\x03\x04 binary", "it is not a PGN file (it holds binary data)"},
      {"hello world\n", "it is not a PGN file (no tags and no numbered moves)"},
      {"[Event \"x]\n1. e4 *", "it is not a PGN file (a tag is damaged)"},
      {"[Event \"x\"]\n\n1. e4 e5 2. Ke3 *", "move 2. Ke3 is not a legal move"},
      {"[FEN \"4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1\"]\n\n1. Nd2 *", "move 1. Nd2 fits more than one"},
      {"[FEN \"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1\"]\n\n1. b8=N *", 
       "move 1. b8=N promotes to another"},
      {"[FEN \"4k3/8/8/8/8/8/8/4K2R b K - 0 7\"]\n\n7... Kd7 8. O-O-O *", 
       "move 8. O-O-O is not a legal move"},
      {"1. f3 e5 2. g4 Qh4# 3. a3 0-1", "move 3. a3 comes after the end of the game"},
      {"1. e4 e5 2. Nf3", "it is cut short after move 2. Nf3 (the game's result is missing)"},
      {"[Event \"x\"]\n\n1. e4 e5 {a long",
       "it is cut short after move 1... e5 (it ends inside a comment)"},
      {"1. e4 (1. d4 d5", "it is cut short after move 1. e4 (it ends inside a variation)"},
      {"[Event \"x\"]\n[Site \"y", "it is cut short before its first move (it ends inside a tag)"},
      {"[FEN \"8/8/8 w - -\"]\n\n*", "its set-up position is not valid (bad FEN"},
      {"[FEN \"k7/8/8/8/8/8/8/K6r b - - 0 1\"]\n\n*",
       "its set-up position is not valid (the side not"},
      {nullptr, "No such file or directory"}};
  // clang-format on
  // Each load fails while the engine is thinking in a game of its own.
  StartNewGame(0, 30);
  ASSERT_EQ(PlayLine("d2d4 g8f6 c2c4"), 3);
  BookAllowed = 0, GameDate = "2024.03.09";
  ASSERT_EQ(SearchSlice(), 0);
  const std::string before = GameBytes();
  for (const auto& f : files) {
    const std::string path = f.text ? File("bad.pgn", f.text) : folder + "none.pgn";
    EXPECT_FALSE(LoadGameFile(path));
    ASSERT_FALSE(MemMessageBoxes.empty());
    EXPECT_EQ(MemMessageBoxes.back().title, "LOAD ERROR");
    EXPECT_NE(MemMessageBoxes.back().text.find(path + ":\r" + f.message), std::string::npos)
        << MemMessageBoxes.back().text;
    EXPECT_TRUE(GameBytes() == before) << f.message;
  }
}

}  // namespace
