// Setting up from a FEN: the start position, castling rights and refusals. The other boards it
// installs in both orientations are proven by the perft runs and the scripted games.
#include "test_util.h"

TEST(Setup, StartPositionInBothOrientationsAndCastlingRightsNeedKingAndRookAtHome) {
  const std::tuple<const char*, bool, uint8_t> cases[] = {
      {StartFen, false, 33},
      {StartFen, true, 33},
      {"3k3r/8/8/8/8/8/8/R3K1R1 w KQkq - 0 1", false, 20},  // engine White: long only
      {"r3k2r/8/8/8/8/8/8/4K3 w KQkq - 0 1", true, 30},     // engine Black: both; White none
      {"r3k2r/8/8/8/8/8/8/R3K2R b Kk - 0 1", false, 11},
  };
  for (auto [fen, asOpponent, rights] : cases) {
    ASSERT_TRUE(SetupFromFen(fen, asOpponent, nullptr)) << fen;
    EXPECT_EQ(GameCastleRights, rights) << fen;
    uint8_t start[64];
    SetStartPosition(start);
    EXPECT_EQ(std::memcmp(GameBoard, start, 64) == 0, std::string(fen) == StartFen) << fen;
  }
}

TEST(Setup, BadInputIsRefusedWithOneLine) {
  const char* bad[] = {
      "",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq",         // 3 fields
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq - 0 1",   // unknown letter
      "rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",     // 7 ranks
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",   // side
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx - 0 1",   // castling letter
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1",  // wrong ep rank
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w kq - 0 1",     // two white kings
      "pnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",   // pawn on rank 8
  };
  for (const char* fen : bad) {
    std::string error;
    EXPECT_FALSE(SetupFromFen(fen, false, &error)) << fen;
    EXPECT_TRUE(!error.empty() && error.find('\n') == std::string::npos) << fen << error;
  }
}
