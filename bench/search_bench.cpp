// A depth-4 search of a busy middle game: search steps per second (kvtool bench is the
// broader figure; this one runs under the benchmark library with the others).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "engine/game.h"
#include "engine/hash.h"
#include "engine/random.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

bool SetUpSearch(const char* fen, std::string* error) {
  FenPosition position;
  if (!ParseFen(fen, &position, error)) return false;
  SeedRandom(7);
  StartNewGame(position.whiteToMove ? 1 : 0, 0);
  InstallSetupPosition(position);  // the engine is the side to move, without the book
  ThinkingShown = 0;
  MaxDepth = 5;
  HashMoveFrom = HashMoveTo = 0;
  std::memset(KillerFrom, 0, sizeof(KillerFrom));
  std::memset(KillerTo, 0, sizeof(KillerTo));
  return true;
}

void BM_SearchMiddleGameDepth4(benchmark::State& state) {
  HashAllocate();
  const char* fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
  int64_t steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string error;
    if (!SetUpSearch(fen, &error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    state.ResumeTiming();
    while (SearchSlice() == 0) {
    }
    steps += LastSearchSteps;
  }
  state.counters["steps/s"] =
      benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_SearchMiddleGameDepth4)->Unit(benchmark::kMillisecond);

}  // namespace
