// Shared set-up for the 3D game's tests: the in-memory platform with tables built, a cleared
// 800x600 BackBuffer and the start settings.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game3d/settings.h"
#include "platform3d/faces.h"
#include "platform3d/mem/mem_backend.h"
#include "platform3d/memory.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/surface.h"
#include "platform3d/trig.h"

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MemReset();
    MemFatalHandler = [] {};  // FatalError returns, so the error paths can be inspected
    BuildTrigTables();
    BuildPalette();
    ResetFaces(0, FaceTableSize - 1);
    AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
    SetStartSettings();
    HoverSquare = NoHoverSquare;
  }
  void TearDown() override {
    FreeSurface(&BackBuffer);
    MemReset();
  }
  static uint16_t Pixel(int x, int y) { return BackBuffer.pixels[y * BackBuffer.width + x]; }
  static int CountPixels(uint16_t colour) {
    return static_cast<int>(std::count(
        BackBuffer.pixels, BackBuffer.pixels + BackBuffer.width * BackBuffer.height, colour));
  }
};
