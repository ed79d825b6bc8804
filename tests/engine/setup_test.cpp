// Setting up from a FEN, the start position and turning the board between orientations.
#include "engine/setup.h"

#include "test_util.h"

namespace {

TEST(Setup, StartFenGivesTheStartPositionAndTurningSwapsOrientations) {
  for (bool asOpponent : {false, true}) {
    std::string error;
    ASSERT_TRUE(SetupFromFen(StartFen, asOpponent, &error)) << error;
    EXPECT_EQ(BoardFlipped, asOpponent ? 0 : 1);
    uint8_t start[64];
    SetStartPosition(start);
    EXPECT_EQ(0, std::memcmp(GameBoard, start, 64)) << asOpponent;
    EXPECT_EQ(0, std::memcmp(Board, start, 64)) << asOpponent;
    EXPECT_EQ(start[asOpponent ? 60 : 59], King2);  // the human's king on e1 or e8
    EXPECT_EQ(start[asOpponent ? 4 : 3], King1);
    EXPECT_EQ(GameCastleRights, 33);
    EXPECT_EQ(CastleRights[0], 33);
    EXPECT_EQ(GameEpFile + GameCastled, 0);
    EXPECT_EQ(PieceValue[Queen2], -900);
    // Turning one orientation's start position gives the other's.
    TurnBoard(start);
    uint8_t other[64];
    BoardFlipped = asOpponent ? 1 : 0;
    SetStartPosition(other);
    EXPECT_EQ(0, std::memcmp(start, other, 64)) << asOpponent;
  }
}

TEST(Setup, CastlingRightsNeedKingAndRookAtHome) {
  struct Case {
    const char* fen;
    bool asOpponent;
    uint8_t rights;
  };
  const Case cases[] = {
      {"3k3r/8/8/8/8/8/8/R3K1R1 w KQkq - 0 1", false, 20},  // engine White: long only
      {"r3k2r/8/8/8/8/8/8/4K3 w KQkq - 0 1", true, 30},     // engine Black: both; White none
      {"r3k2r/8/8/8/8/8/8/R3K2R b Kk - 0 1", false, 11},
  };
  for (const Case& c : cases) {
    std::string error;
    ASSERT_TRUE(SetupFromFen(c.fen, c.asOpponent, &error)) << error;
    EXPECT_EQ(GameCastleRights, c.rights) << c.fen;
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
    FenPosition position;
    std::string error;
    EXPECT_FALSE(ParseFen(fen, &position, &error)) << fen;
    EXPECT_FALSE(error.empty()) << fen;
    EXPECT_EQ(error.find('\n'), std::string::npos) << fen;
    EXPECT_FALSE(SetupFromFen(fen, false, &error)) << fen;
  }
}

}  // namespace
