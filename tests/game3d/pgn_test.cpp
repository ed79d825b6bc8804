// The PGN record: the exact text for games of every stage and result, each read back by
// pgn-extract, and a second save replacing the first.
#include "game3d/pgn.h"

#include <fstream>
#include <sstream>

#include "test_util.h"
#include "tests/engine/test_util.h"

namespace {

using Pgn = EngineGameTest;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(Pgn, GamesOfEveryStageAndResultAreWrittenSoThatReadersKeepThem) {
  const std::string tags[2] = {
      "[Event \"Chessgame with Korvane 3D\"]\r\n[Date \"????.??.??\"]\r\n[White \"?\"]\r\n"
      "[Black \"Korvane 3D v1.0\"]\r\n[Result \"",
      "[Event \"Chessgame with Korvane 3D\"]\r\n[Date \"????.??.??\"]\r\n[White \"Korvane 3D "
      "v1.0\"]\r\n[Black \"?\"]\r\n[Result \""};
  const struct {
    bool engineWhite;
    const char *moves, *result, *moveText;
  } games[] = {
      {false, "", "*", "*\r\n"},
      {false, "e2e4 e7e5", "*", "1. e2-e4 e7-e5 *\r\n"},
      {true,
       "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5 c2c3 d7d6 b1d2 a7a6 b2b4 c5a7 a2a4 h7h6 c1b2 c8g4 "
       "h2h3 g4h5",
       "*",
       "1. e2-e4 e7-e5 2. Ng1-f3 Nb8-c6 3. Bf1-c4 Ng8-f6 4. d2-d3 Bf8-c5 5. c2-c3 d7-d6 \r\n"
       "6. Nb1-d2 a7-a6 7. b2-b4 Bc5-a7 8. a2-a4 h7-h6 9. Bc1-b2 Bc8-g4 10. h2-h3 Bg4-h5 "
       "\r\n*\r\n"},
      {false, "e2e4 e7e5 f1c4 b8c6 d1h5 g8f6 h5f7", "1-0",
       "1. e2-e4 e7-e5 2. Bf1-c4 Nb8-c6 3. Qd1-h5 Ng8-f6 4. Qh5xf7+ 1-0\r\n"},
      {true, "f2f3 e7e5 g2g4 d8h4", "0-1", "1. f2-f3 e7-e5 2. g2-g4 Qd8-h4+ 0-1\r\n"},
      {false, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3", "1/2-1/2",  // third repetition
       "1. Ng1-f3 Ng8-f6 2. Nf3-g1 Nf6-g8 3. Ng1-f3 Ng8-f6 4. Nf3-g1 Nf6-g8 5. Ng1-f3 \r\n"
       "1/2-1/2\r\n"},
      {false, "a2a4 b7b5 a4b5 a7a6 b5a6 c8b7 a6b7 b8c6 b7a8Q", "*",  // recorded as b7-a8=q
       "1. a2-a4 b7-b5 2. a4xb5 a7-a6 3. b5xa6 Bc8-b7 4. a6xb7 Nb8-c6 5. b7-a8=Q \r\n*\r\n"}};
  char pattern[] = "/tmp/korvane_pgn_XXXXXX";
  const std::string file = std::string(mkdtemp(pattern)) + "/game1";
  for (const auto& g : games) {
    StartNewGame(g.engineWhite ? 1 : 0, 10);
    std::istringstream in(g.moves);
    for (std::string move; in >> move;) ASSERT_TRUE(Play(move.substr(0, 4))) << move;
    ASSERT_TRUE(WritePgnFile(file, "300"));  // replacing the last game's file
    EXPECT_EQ(ReadFile(file + ".pgn"),
              tags[g.engineWhite] + g.result + "\"]\r\n[Timecontrol \"300\"]\r\n\r\n" + g.moveText);
    // pgn-extract keeps the game: its moves in coordinates and the result, and no complaint.
    std::system(("/usr/games/pgn-extract -s -Wuci -w9999 -o" + file + ".out " + file + ".pgn 2>" +
                 file + ".err")
                    .c_str());
    EXPECT_NE(ReadFile(file + ".out")
                  .find("\n\n" + std::string(g.moves) + (*g.moves ? " " : "") + g.result + "\n"),
              std::string::npos)
        << ReadFile(file + ".out");
    EXPECT_EQ(ReadFile(file + ".err"), "") << g.moves;
  }
  EXPECT_TRUE(MemMessageBoxes.empty());
  EXPECT_NE(PgnText("a\"b\\c\r\n").find("[Timecontrol \"a\\\"b\\\\c\"]\r\n"), std::string::npos);
  std::system(("rm -rf " + file.substr(0, file.size() - 6)).c_str());
}

}  // namespace
