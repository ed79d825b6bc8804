// The SDL backend end to end on SDL's dummy video driver: open, go full screen, present,
// close, and open again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform3d/memory.h"
#include "platform3d/platform.h"

namespace {

void UseHeadlessVideo() {
  // Set before SDL starts. The dummy driver keeps a framebuffer for the software renderer and,
  // unlike offscreen, loads no GL library that would leave allocations behind at exit.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
}

void RunGameLifecycle() {
  int32_t startBytes = TrackedBytes;
  PlatformStart();
  RegisterWindowClass();
  ASSERT_NE(CreateMainWindow("Korvane 3D v1.0"), nullptr);
  WaitForCreate();
  EXPECT_EQ(WindowCreated, 1);

  EnterFullScreen(FrameWidth, FrameHeight);
  EXPECT_EQ(FullScreenActive, 1);
  ASSERT_EQ(ScreenSurface.allocated, 1);
  PresentFrame(ScreenSurface.pixels);
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
  ShowMouse(true);
  for (uint16_t frame = 0; frame < 5; ++frame) {
    FillSurface(&BackBuffer, static_cast<uint16_t>(frame * 0x0841));
    PresentFrame(BackBuffer.pixels);
    PumpMessages();
    WaitWhileInactive();
  }
  EXPECT_EQ(WindowActive, 1);  // the headless window never loses focus

  FreeSurface(&BackBuffer);
  LeaveFullScreen();
  EXPECT_EQ(FullScreenActive, 0);
  EXPECT_EQ(TrackedBytes, startBytes);
  LeakReport();
  DestroyMainWindow();
  EXPECT_EQ(WindowCreated, 0);
  EXPECT_EQ(MainWindow, nullptr);
}

TEST(SdlSmoke, OpensPresentsClosesAndOpensAgain) {
  UseHeadlessVideo();
  RunGameLifecycle();
  RunGameLifecycle();
  // After the window is gone the layer stays safe to call.
  PumpMessages();
  PresentFrame(nullptr);
  ShowMouse(false);
  ShowMouse(true);
}

}  // namespace
