// Set-up shared by the engine tests: hand-built boards, legal lists, games played move by
// move from a FEN, a fake wall clock and running kvtool.
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/board.h"
#include "engine/game.h"
#include "engine/hash.h"
#include "engine/legal.h"
#include "engine/movegen.h"
#include "engine/random.h"
#include "engine/setup.h"
#include "engine/state.h"

namespace testutil {

constexpr char StartFen[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

using Entry = std::pair<int, int>;                       // from-square, encoded MoveTo
using Placement = std::vector<std::pair<int, uint8_t>>;  // square, piece code

// Board empty but for the pieces, every per-ply table cleared, no killer and no hash move.
inline void ClearPosition(uint8_t flipped, const Placement& pieces = {}) {
  BoardFlipped = flipped;
  SetPieceValues();
  std::memset(Board, 0, sizeof Board);
  for (auto [square, code] : pieces) Board[square] = code;
  for (int p = 0; p < PlySlots; ++p) {
    EpFile[p] = CastleRights[p] = Castled[p] = 0;
    UndoCaptured[p] = UndoMover[p] = 0;
    InCheck1[p] = InCheck2[p] = 0;
    KillerFrom[p] = KillerTo[p] = 0;
    LastMove[p] = 0;
  }
  HashMoveFrom = HashMoveTo = 0;
}

inline std::vector<Entry> Row(int ply, int last) {
  std::vector<Entry> row;
  for (int i = 0; last != NoMoves && i <= last; ++i)
    row.emplace_back(MoveFrom[ply][i], MoveTo[ply][i]);
  return row;
}

// The side's legal ply-0 list on Board with the ply-0 state, leaving RootLast set.
inline std::vector<Entry> LegalMoves(int side) {
  InCheck1[0] = KingAttacked1();
  InCheck2[0] = KingAttacked2();
  const uint8_t last = side == 1 ? GenerateMoves1(0) : GenerateMoves2(0);
  RootLast = last == NoMoves ? -1 : last;
  if (last != NoMoves) side == 1 ? FilterLegal1() : FilterLegal2();
  return Row(0, RootLast < 0 ? NoMoves : RootLast);
}

// The same on the game position.
inline std::vector<Entry> GameLegalMoves(int side) {
  std::memcpy(Board, GameBoard, sizeof Board);
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
  HashMoveFrom = HashMoveTo = 0;
  return LegalMoves(side);
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

// Plays "e2e4" for the side to move: HumanMove for the human, the matching entry of the
// engine's legal list through PlayGameMove as the search plays it. False when refused.
inline bool Play(const std::string& move) {
  if (move.size() != 4) return false;
  const uint8_t from = Sq(move.c_str()), to = Sq(move.c_str() + 2);
  if (TurnState == 1) return HumanMove(from, to) == 1;
  if (TurnState != 0) return false;
  const std::vector<Entry> legal = GameLegalMoves(1);
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
inline uint16_t ReadFakeSecond() {
  return FakeSecond;
}

// Runs kvtool with the arguments (shell-quoted); its exit status, stdout and stderr lines.
inline int RunKvtool(const std::string& arguments, std::string* out,
                     std::vector<std::string>* errorLines) {
  // ctest runs test processes side by side: each call needs a file of its own.
  static int calls = 0;
  const std::string errPath = ::testing::TempDir() + "kvtool_err_" + std::to_string(getpid()) +
                              "_" + std::to_string(++calls) + ".txt";
  const std::string command =
      std::string(KORVANE_BUILD_DIR) + "/kvtool " + arguments + " 2>" + errPath;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  out->clear();
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) *out += buffer;
  const int status = pclose(pipe);
  errorLines->clear();
  std::ifstream err(errPath);
  for (std::string line; std::getline(err, line);) errorLines->push_back(line);
  std::remove(errPath.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testutil
