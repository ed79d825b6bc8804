// Shared set-up for the rasteriser tests: built tables and a cleared 800x600 BackBuffer.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/surface.h"
#include "platform3d/trig.h"

class RasterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildTrigTables();
    BuildPalette();
    AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
    ASSERT_NE(BackBuffer.pixels, nullptr);
    PickArmed = 0;
    HoverSquare = NoHoverSquare;
    MouseX = 0;
    MouseY = 0;
  }
  void TearDown() override {
    FreeSurface(&BackBuffer);
    PickArmed = 0;
  }

  static uint16_t Pixel(int x, int y) { return BackBuffer.pixels[y * BackBuffer.width + x]; }

  static int CountPixels(uint16_t colour) {
    int n = 0;
    for (int i = 0; i < BackBuffer.width * BackBuffer.height; ++i)
      n += BackBuffer.pixels[i] == colour;
    return n;
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
