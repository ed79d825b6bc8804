// Set-up shared by the engine tests: hand-built boards, legal lists, games played move by
// move from a FEN and a fake wall clock. It brings in the engine, the standard headers the tests
// use and the test library.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/board.h"
#include "engine/book.h"
#include "engine/evaluate.h"
#include "engine/game.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/makemove.h"
#include "engine/movegen.h"
#include "engine/notation.h"
#include "engine/perft.h"
#include "engine/random.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/terms.h"
#include "engine/timectl.h"

constexpr char StartFen[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr char MiddleGame[] =
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2PP1N2/PP3PPP/RNBQ1RK1 w - - 0 7";

using Entry = std::pair<int, int>;                       // from-square, encoded MoveTo
using Placement = std::vector<std::pair<int, uint8_t>>;  // square, piece code

// Board empty but for the pieces, every per-ply table cleared, no killer and no hash move.
inline void ClearPosition(uint8_t flipped, const Placement& pieces = {}) {
  BoardFlipped = flipped;
  SetPieceValues();
  std::memset(Board, 0, sizeof Board);
  for (auto [square, code] : pieces) Board[square] = code;
  for (uint8_t* table : {EpFile, CastleRights, Castled, UndoCaptured, UndoMover, InCheck1, InCheck2,
                         KillerFrom, KillerTo, LastMove})
    std::memset(table, 0, PlySlots);
  HashMoveFrom = HashMoveTo = 0;
}

inline std::vector<Entry> Row(int ply, int last) {
  std::vector<Entry> row;
  for (int i = 0; last != NoMoves && i <= last; ++i)
    row.emplace_back(MoveFrom[ply][i], MoveTo[ply][i]);
  return row;
}

// The side's legal ply-0 list on Board with the ply-0 state, both first taken from the game
// when fromGame; RootLast is left set.
inline std::vector<Entry> LegalMoves(int side, bool fromGame = false) {
  if (fromGame) {
    std::memcpy(Board, GameBoard, sizeof Board);
    std::tie(EpFile[0], CastleRights[0], Castled[0]) =
        std::tuple(GameEpFile, GameCastleRights, GameCastled);
  }
  InCheck1[0] = KingAttacked1();
  InCheck2[0] = KingAttacked2();
  const uint8_t last = side == 1 ? GenerateMoves1(0) : GenerateMoves2(0);
  RootLast = last == NoMoves ? -1 : last;
  if (last != NoMoves) side == 1 ? FilterLegal1() : FilterLegal2();
  return Row(0, RootLast < 0 ? NoMoves : RootLast);
}

// Internal square of a real square name ("e4") in the current orientation.
inline uint8_t Sq(const char* name) {
  const int file = name[0] - 'a', rank = name[1] - '1';
  return static_cast<uint8_t>(BoardFlipped ? rank * 8 + (7 - file) : (7 - rank) * 8 + file);
}

// A new game from the FEN with the engine playing White when engineWhite.
inline void GameFromFen(const std::string& fen, bool engineWhite) {
  FenPosition position;
  std::string error;
  ASSERT_TRUE(ParseFen(fen, &position, &error)) << error;
  HashAllocate();
  SeedRandom(7);
  StartNewGame(engineWhite ? 1 : 0, 0);
  InstallPosition(position, engineWhite);
  TurnState = position.whiteToMove == engineWhite ? 0 : 1;
}

// Plays "e2e4": a move of an engine piece through the engine's legal list and PlayGameMove,
// as the search plays it, and only on the engine's turn; any other through HumanMove.
// False when refused.
inline bool Play(const std::string& move) {
  if (move.size() != 4) return false;
  const uint8_t from = Sq(move.c_str()), to = Sq(move.c_str() + 2);
  if (GameBoard[from] < King1 || GameBoard[from] > Pawn1) return HumanMove(from, to) == 1;
  if (TurnState != 0) return false;
  const std::vector<Entry> legal = LegalMoves(1, true);
  for (size_t i = 0; i < legal.size(); ++i) {
    if (legal[i].first == from && TargetOf(legal[i].second) == to) {
      LastMove[0] = static_cast<uint8_t>(RootLast);
      PlayGameMove(1, static_cast<uint8_t>(i));
      return true;
    }
  }
  return false;
}

// Plays space-separated moves; the number played before one was refused.
inline int PlayLine(const std::string& moves) {
  std::istringstream in(moves);
  int played = 0;
  for (std::string move; in >> move && Play(move);) ++played;
  return played;
}

// A wall clock the tests move by hand.
inline uint16_t FakeSecond = 0;
inline constexpr SecondsSource ReadFakeSecond = [] { return FakeSecond; };

// A game set up from a FEN with the engine to move, a fake clock and no time limit. The book
// answers only the start position.
class SearchTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetSecondsSource(nullptr);
    SetThinkingOutput(nullptr);
    SetStepObserver(nullptr);
    SearchStrength = SliceGate = 0;
  }

  static void Position(const char* fen, int maxDepth = 30, int seconds = 0) {
    GameFromFen(fen, std::string(fen).find(" w ") != std::string::npos);
    BookAllowed = std::string(fen) == StartFen;
    HashMoveFrom = HashMoveTo = 0;  // the root list is ordered by whatever these hold
    // Killers outlive searches by design; clearing them keeps each search independent.
    std::memset(KillerFrom, 0, sizeof KillerFrom);
    std::memset(KillerTo, 0, sizeof KillerTo);
    std::tie(SecondsPerMove, MaxDepth, FakeSecond) = std::tuple(seconds, maxDepth, 0);
    SetSecondsSource(ReadFakeSecond);
  }

  // Runs slices until the move is played; the number of slices it took, -1 when it never is.
  static int SearchToMove() {
    int n = 1;
    while (!SearchSlice() && n < 100000) ++n;
    return n < 100000 ? n : -1;
  }

  static std::string Played() { return CoordinateText(PlayedFrom, PlayedTo); }
};
