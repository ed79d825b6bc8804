#include "engine/setup.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/board.h"
#include "engine/makemove.h"
#include "engine/movegen.h"
#include "engine/state.h"

namespace {

const char StartFen[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

int FindEntry(int ply, uint8_t last, int from, int to) {
  if (last == NoMoves) return -1;
  for (int i = 0; i <= last; ++i) {
    if (MoveFrom[ply][i] == from && MoveTo[ply][i] == to) return i;
  }
  return -1;
}

TEST(Setup, StartFenGivesTheStartPositionInEitherOrientation) {
  for (bool asOpponent : {false, true}) {
    std::string error;
    ASSERT_TRUE(SetupFromFen(StartFen, asOpponent, &error)) << error;
    EXPECT_EQ(BoardFlipped, asOpponent ? 0 : 1);
    uint8_t start[64];
    SetStartPosition(start);
    for (int s = 0; s < 64; ++s) {
      EXPECT_EQ(GameBoard[s], start[s]) << s;
      EXPECT_EQ(Board[s], start[s]) << s;
    }
    EXPECT_EQ(GameCastleRights, 33);
    EXPECT_EQ(CastleRights[0], 33);
    EXPECT_EQ(GameEpFile, 0);
    EXPECT_EQ(GameCastled, 0);
    EXPECT_EQ(PieceValue[Queen2], -900);
  }
}

TEST(Setup, ParseFenReadsEveryField) {
  FenPosition position;
  std::string error;
  ASSERT_TRUE(ParseFen("4k3/8/8/3pP3/8/8/8/R3K2R w Kq d6", &position, &error)) << error;
  EXPECT_TRUE(position.whiteToMove);
  EXPECT_TRUE(position.whiteShort);
  EXPECT_FALSE(position.whiteLong);
  EXPECT_FALSE(position.blackShort);
  EXPECT_TRUE(position.blackLong);
  EXPECT_EQ(position.epFile, 4);
  EXPECT_EQ(position.squares[4], King1);   // e8, Black
  EXPECT_EQ(position.squares[27], Pawn1);  // d5
  EXPECT_EQ(position.squares[28], Pawn2);  // e5, White
  EXPECT_EQ(position.squares[56], Rook2);  // a1
  EXPECT_EQ(position.squares[60], King2);  // e1
}

TEST(Setup, CastlingRightsNeedKingAndRookAtHome) {
  std::string error;
  // White's h-rook has left; Black's king is not on e8.
  ASSERT_TRUE(SetupFromFen("3k3r/8/8/8/8/8/8/R3K1R1 w KQkq - 0 1", false, &error)) << error;
  EXPECT_EQ(GameCastleRights, 20);  // engine White: long only; Black none
  ASSERT_TRUE(SetupFromFen("r3k2r/8/8/8/8/8/8/4K3 w KQkq - 0 1", true, &error)) << error;
  EXPECT_EQ(GameCastleRights, 30);  // engine Black: both; White has no rooks
  ASSERT_TRUE(SetupFromFen("r3k2r/8/8/8/8/8/8/R3K2R b Kk - 0 1", false, &error)) << error;
  EXPECT_EQ(GameCastleRights, 11);
}

// After 1.e4 with a black pawn on d4 or f4, Black can take en passant whichever side the
// engine plays.
TEST(Setup, EnPassantAfterADoubleStepInBothOrientations) {
  struct Case {
    const char* fen;
    int pawnFlipped0, pawnFlipped1;  // the black pawn's square in each orientation
  };
  const Case cases[] = {{"rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", 35, 28},
                        {"rnbqkbnr/ppppp1pp/8/8/4Pp2/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", 37, 26}};
  for (const Case& c : cases) {
    const char* fen = c.fen;
    for (bool asOpponent : {false, true}) {
      std::string error;
      ASSERT_TRUE(SetupFromFen(fen, asOpponent, &error)) << error;
      // e3 and e4 in the engine's squares: BoardFlipped 0 maps e3 to 44, 1 maps it to 19.
      const int e3 = BoardFlipped ? 19 : 44, e4 = BoardFlipped ? 27 : 36;
      const int pawn = BoardFlipped ? c.pawnFlipped1 : c.pawnFlipped0;
      uint8_t last;
      if (asOpponent) {
        last = GenerateMoves2(0);
      } else {
        last = GenerateMoves1(0);
      }
      const int i = FindEntry(0, last, pawn, e3 + CaptureFlag);
      ASSERT_GE(i, 0) << fen << (asOpponent ? " as opponent" : "");
      LastMove[0] = last;
      asOpponent ? MakeMove2(0, static_cast<uint8_t>(i)) : MakeMove1(0, static_cast<uint8_t>(i));
      EXPECT_EQ(Board[e4], Empty);
      EXPECT_EQ(Board[e3], asOpponent ? Pawn2 : Pawn1);
      asOpponent ? UnmakeMove2(0, static_cast<uint8_t>(i))
                 : UnmakeMove1(0, static_cast<uint8_t>(i));
    }
  }
}

TEST(Setup, BadInputIsRefusedWithOneLine) {
  const char* bad[] = {
      "",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq",              // 3 fields
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 extra",  // 7 fields
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq - 0 1",        // unknown letter
      "rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",         // 7 squares
      "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",       // 9 squares
      "rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",          // 7 ranks
      "rnbqkbnr/pppppppp/8/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",      // 9 ranks
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",        // side
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx - 0 1",        // castling letter
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KK - 0 1",          // castling twice
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1",       // wrong ep rank
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq z6 0 1",       // ep file
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1",          // no white king
      "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1",          // no black king
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w kq - 0 1",          // two white kings
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - x 1",        // counter
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
