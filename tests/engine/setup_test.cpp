// Setting up from a FEN: the start position, castling rights and refusals. The other boards it
// installs in both orientations are proven by the perft runs and the scripted games.
#include "test_util.h"

TEST(Setup, StartPositionCastlingRightsNeedKingAndRookAtHomeAndBadInputIsRefusedWithOneLine) {
  // The FEN, whether the engine plays the side not to move, and the castling rights set up; -1:
  // refused.
  const std::tuple<const char*, bool, int> cases[] = {
      {StartFen, false, 33},
      {StartFen, true, 33},
      {"3k3r/8/8/8/8/8/8/R3K1R1 w KQkq - 0 1", false, 20},  // engine White: long only
      {"r3k2r/8/8/8/8/8/8/4K3 w KQkq - 0 1", true, 30},     // engine Black: both; White none
      {"r3k2r/8/8/8/8/8/8/R3K2R b Kk - 0 1", false, 11},
      {"", false, -1},
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq", false, -1},         // 3 fields
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq - 0 1", false, -1},   // unknown letter
      {"rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", false, -1},     // 7 ranks
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1", false, -1},   // side
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx - 0 1", false, -1},   // castling letter
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1", false, -1},  // wrong ep rank
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w kq - 0 1", false, -1},     // two white kings
      {"pnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", false, -1},   // pawn on rank 8
  };
  for (auto [fen, asOpponent, rights] : cases) {
    std::string error;
    ASSERT_EQ(SetupFromFen(fen, asOpponent, &error), rights >= 0) << fen;
    EXPECT_TRUE(rights >= 0 || (!error.empty() && error.find('\n') == std::string::npos)) << error;
    if (rights < 0) continue;
    EXPECT_EQ(GameCastleRights, rights) << fen;
    uint8_t start[64];  // in the orientation the set-up chose
    SetStartPosition(start);
    EXPECT_EQ(std::memcmp(GameBoard, start, 64) == 0, std::string(fen) == StartFen) << fen;
  }
}
