// kvtool perft "<FEN>" <depth> [--divide] [--as-opponent]: counts the leaves of the legal move
// tree with the engine's own generators, make/unmake and attack tests.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/perft.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "tools/kvtool.h"

namespace {

constexpr int MaxPerftDepth = 10;

int Usage(const char* message) {
  std::fprintf(
      stderr,
      "kvtool perft: %s (usage: kvtool perft \"<FEN>\" <depth> [--divide] [--as-opponent])\n",
      message);
  return 2;
}

// Real square name of an internal square in the current orientation.
std::string SquareText(int square) {
  const int row = RowOf(square), column = ColumnOf(square);
  char name[3];
  name[0] = static_cast<char>(BoardFlipped ? 'h' - column : 'a' + column);
  name[1] = static_cast<char>(BoardFlipped ? '1' + row : '8' - row);
  name[2] = '\0';
  return name;
}

std::string MoveText(uint8_t from, uint8_t to) {
  std::string text = SquareText(from) + SquareText(TargetOf(to));
  if (to >= PromotionFlag) text += 'q';
  return text;
}

bool ParseDepth(const char* text, int* depth) {
  const size_t length = std::strlen(text);
  if (length == 0 || length > 2) return false;
  int value = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  if (value < 1 || value > MaxPerftDepth) return false;
  *depth = value;
  return true;
}

}  // namespace

int PerftCommand(int argc, char** argv) {
  bool divide = false, asOpponent = false;
  const char* positional[2] = {nullptr, nullptr};
  int positionalCount = 0;
  for (int i = 0; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--divide") == 0) {
      divide = true;
    } else if (std::strcmp(arg, "--as-opponent") == 0) {
      asOpponent = true;
    } else if (std::strncmp(arg, "--", 2) == 0) {
      return Usage((std::string("unknown option '") + arg + "'").c_str());
    } else if (positionalCount < 2) {
      positional[positionalCount++] = arg;
    } else {
      return Usage((std::string("unexpected argument '") + arg + "'").c_str());
    }
  }
  if (positionalCount < 2) return Usage("missing FEN or depth");
  int depth = 0;
  if (!ParseDepth(positional[1], &depth)) {
    return Usage(
        (std::string("depth '") + positional[1] + "' is not a number from 1 to 10").c_str());
  }
  std::string error;
  if (!SetupFromFen(positional[0], asOpponent, &error)) return Usage(error.c_str());

  const int sideToMove = asOpponent ? 2 : 1;
  static PerftRootMove rootMoves[MoveListSize];
  int rootCount = 0;
  const uint64_t leaves = Perft(depth, sideToMove, rootMoves, &rootCount);
  if (divide) {
    for (int i = 0; i < rootCount; ++i) {
      std::printf("%s: %" PRIu64 "\n", MoveText(rootMoves[i].from, rootMoves[i].to).c_str(),
                  rootMoves[i].leaves);
    }
  }
  std::printf("%" PRIu64 "\n", leaves);
  return 0;
}
