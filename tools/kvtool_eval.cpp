// kvtool eval "<FEN>": the static evaluation of a position with the engine playing the side
// to move. The last line printed is the score alone.
#include <cstdio>
#include <string>

#include "engine/evaluate.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "tools/kvtool.h"

namespace {

int Usage(const char* message) {
  std::fprintf(stderr, "kvtool eval: %s (usage: kvtool eval \"<FEN>\")\n", message);
  return 2;
}

// One castling digit: 1 short only, 2 long only, 3 both, 0 none.
int CastlingDigit(bool shortRight, bool longRight) {
  return (shortRight ? 1 : 0) + (longRight ? 2 : 0);
}

}  // namespace

int EvalCommand(int argc, char** argv) {
  if (argc != 1) return Usage(argc == 0 ? "missing FEN" : "too many arguments");
  FenPosition position;
  std::string error;
  if (!ParseFen(argv[0], &position, &error)) {
    std::fprintf(stderr, "kvtool eval: %s\n", error.c_str());
    return 2;
  }
  const bool white = position.whiteToMove;
  InstallPosition(position, white);  // BoardFlipped = 1 exactly when White is to move

  // The rights as the FEN gives them: tens for the side to move, units for the other side.
  const int mover = white ? CastlingDigit(position.whiteShort, position.whiteLong)
                          : CastlingDigit(position.blackShort, position.blackLong);
  const int other = white ? CastlingDigit(position.blackShort, position.blackLong)
                          : CastlingDigit(position.whiteShort, position.whiteLong);
  CastleRights[0] = static_cast<uint8_t>(10 * mover + other);
  Castled[0] = 0;

  std::printf("engine plays %s (side to move), CastleRights %d, Castled 0\n",
              white ? "White" : "Black", CastleRights[0]);
  std::printf("%d\n", Evaluate(0));
  return 0;
}
