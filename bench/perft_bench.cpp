// Perft 5 from the start position: how fast generation, make/unmake and the attack test run.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/perft.h"
#include "engine/setup.h"

namespace {

void BM_PerftStartDepth5(benchmark::State& state) {
  std::string error;
  if (!SetupFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", false, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  uint64_t leaves = 0;
  for (auto _ : state) {
    const uint64_t count = Perft(5, 1);
    benchmark::DoNotOptimize(count);
    leaves += count;
  }
  state.counters["leaves/s"] =
      benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_PerftStartDepth5)->Unit(benchmark::kMillisecond);

}  // namespace
