// Setting up from a FEN, the start position and turning the board between orientations.
#include "engine/setup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/makemove.h"
#include "test_util.h"

namespace {

using namespace testutil;

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

TEST(Setup, ParseFenReadsEveryField) {
  FenPosition position;
  std::string error;
  ASSERT_TRUE(ParseFen("4k3/8/8/3pP3/8/8/8/R3K2R w Kq d6", &position, &error)) << error;
  EXPECT_TRUE(position.whiteToMove);
  EXPECT_EQ(std::vector<bool>(
                {position.whiteShort, position.whiteLong, position.blackShort, position.blackLong}),
            std::vector<bool>({true, false, false, true}));
  EXPECT_EQ(position.epFile, 4);
  EXPECT_EQ(position.squares[4], King1);   // e8, Black
  EXPECT_EQ(position.squares[27], Pawn1);  // d5
  EXPECT_EQ(position.squares[28], Pawn2);  // e5, White
  EXPECT_EQ(position.squares[56], Rook2);  // a1
  EXPECT_EQ(position.squares[60], King2);  // e1
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

TEST(Setup, EnPassantAfterADoubleStepInBothOrientations) {
  // After 1. e4 a black pawn on d4 or f4 takes en passant, whichever side the engine plays.
  const std::pair<const char*, const char*> cases[] = {
      {"rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", "d4"},
      {"rnbqkbnr/ppppp1pp/8/8/4Pp2/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", "f4"}};
  for (auto [fen, pawnSquare] : cases) {
    for (bool asOpponent : {false, true}) {
      std::string error;
      ASSERT_TRUE(SetupFromFen(fen, asOpponent, &error)) << error;
      const int side = asOpponent ? 2 : 1;
      const uint8_t e3 = Sq("e3"), e4 = Sq("e4"), pawn = Sq(pawnSquare);
      const std::vector<Entry> legal = LegalMoves(side);
      const auto at = std::find(legal.begin(), legal.end(), Entry(pawn, e3 + CaptureFlag));
      ASSERT_NE(at, legal.end()) << fen << " side " << side;
      const uint8_t index = static_cast<uint8_t>(at - legal.begin());
      LastMove[0] = static_cast<uint8_t>(RootLast);
      side == 1 ? MakeMove1(0, index) : MakeMove2(0, index);
      EXPECT_EQ(Board[e4], Empty);
      EXPECT_EQ(Board[e3], side == 1 ? Pawn1 : Pawn2);
    }
  }
}

TEST(Setup, BadInputIsRefusedWithOneLine) {
  const char* bad[] = {
      "",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq",              // 3 fields
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 extra",  // 7 fields
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq - 0 1",        // unknown letter
      "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",       // 9 squares
      "rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",          // 7 ranks
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",        // side
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx - 0 1",        // castling letter
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1",       // wrong ep rank
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1",          // no white king
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w kq - 0 1",          // two white kings
      "pnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",        // pawn on rank 8
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
