// For the menu, panel and text tests: made-up font pictures, whole frames drawn from scratch,
// and a fixture with the engine's hash table for games played through the engine.
#pragma once
#include <functional>
#include <random>
#include <vector>

#include "engine/hash.h"
#include "game3d/menutext.h"
#include "game3d/modelfile.h"
#include "test_util.h"

inline void FillFont(int seed) {  // 0: every texel set, -1: none, else set at random
  std::mt19937 random(seed);
  for (uint16_t* t : {FontImage1, FontImage2}) {
    for (int i = 0; i < ImageTexels; ++i) t[i] = seed == 0 || (seed > 0 && random() & 1);
  }
}

inline std::vector<uint16_t> Drawn(const std::function<void()>& draw) {
  ClearBackBuffer(0);
  draw();
  return {BackBuffer.pixels, BackBuffer.pixels + 800 * 600};
}

struct EngineGameTest : GameTest {
  static void SetUpTestSuite() { HashAllocate(); }
  static void TearDownTestSuite() { HashRelease(); }
};
