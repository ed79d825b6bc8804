// Shared set-up for the platform and rasteriser tests; it brings in the platform layer, the
// standard headers the tests use and the test library.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform3d/clip.h"
#include "platform3d/depth.h"
#include "platform3d/faces.h"
#include "platform3d/keys.h"
#include "platform3d/mem/mem_backend.h"
#include "platform3d/memory.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/render.h"
#include "platform3d/spans.h"
#include "platform3d/surface.h"
#include "platform3d/textures.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"

// A fresh in-memory window layer whose stops return; every test must give back what it took.
class MemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MemReset();
    MemFatalHandler = [] {};
    startBytes = TrackedBytes;
  }
  void TearDown() override {
    TrackedRealloc = std::realloc;
    FreeSurface(&BackBuffer);
    MemReset();
    EXPECT_EQ(TrackedBytes, startBytes) << "a test left counted memory behind";
  }
  static void ExpectOnlyBox(const char* title, const std::string& text, bool fatal) {
    ASSERT_EQ(MemMessageBoxes.size(), 1u);
    EXPECT_EQ(MemMessageBoxes[0].title, title);
    EXPECT_EQ(MemMessageBoxes[0].text, text);
    EXPECT_EQ(MemMessageBoxes[0].fatal, fatal);
    EXPECT_EQ(MemStopCalls, fatal ? 1u : 0u);
  }
  int32_t startBytes = 0;
};

// Built tables and a cleared 800x600 BackBuffer.
class RasterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildTrigTables();
    BuildPalette();
    AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
    ASSERT_NE(BackBuffer.pixels, nullptr);
    Aim(0, 0, false);
  }
  void TearDown() override {
    FreeSurface(&BackBuffer);
    PickArmed = 0;
  }
  // The mouse at (x, y), picking armed or not, and no square marked yet.
  static void Aim(int x, int y, bool armed) {
    MouseX = static_cast<uint16_t>(x);
    MouseY = static_cast<uint16_t>(y);
    PickArmed = armed ? 1 : 0;
    HoverSquare = NoHoverSquare;
  }
  static uint16_t Pixel(int x, int y) { return BackBuffer.pixels[y * BackBuffer.width + x]; }
  static int CountPixels(uint16_t colour) {
    return static_cast<int>(std::count(
        BackBuffer.pixels, BackBuffer.pixels + BackBuffer.width * BackBuffer.height, colour));
  }
  // First and last x of colour in row y, or {-1, -1} when the row has none.
  static std::pair<int, int> RowExtent(int y, uint16_t colour) {
    int first = -1, last = -1;
    for (int x = 0; x < BackBuffer.width; ++x) {
      if (Pixel(x, y) != colour) continue;
      if (first < 0) first = x;
      last = x;
    }
    return {first, last};
  }
};

// A level w x d world face at height y with its first corner at (x, z).
inline FaceCorners FlatFace(int x, int y, int z, int w, int d) {
  const int v[12] = {x, y, z, x + w, y, z, x + w, y, z + d, x, y, z + d};
  FaceCorners c;
  for (int k = 0; k < 12; ++k) c.v[k] = static_cast<int16_t>(v[k]);
  return c;
}

// Coordinate column c (x1, y1, z1, x2, ... z4) of a face table.
inline int16_t* Column(FaceArrays& t, int c) {
  int16_t* const columns[12] = {t.X1, t.Y1, t.Z1, t.X2, t.Y2, t.Z2,
                                t.X3, t.Y3, t.Z3, t.X4, t.Y4, t.Z4};
  return columns[c];
}
