// The SDL backend end to end on SDL's dummy video driver: open, go full screen, present,
// close, and open again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform3d/memory.h"
#include "platform3d/platform.h"

void RunGameLifecycle() {
  const int32_t startBytes = TrackedBytes;
  PlatformStart();
  RegisterWindowClass();
  ASSERT_NE(CreateMainWindow("Korvane 3D v1.0"), nullptr);
  WaitForCreate();
  EXPECT_EQ(WindowCreated, 1);
  EnterFullScreen(FrameWidth, FrameHeight);
  ASSERT_EQ(ScreenSurface.allocated, 1);
  PresentFrame(ScreenSurface.pixels);
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
  for (uint16_t frame = 0; frame < 5; ++frame) {
    FillSurface(&BackBuffer, static_cast<uint16_t>(frame * 0x0841));
    PresentFrame(BackBuffer.pixels);
    PumpMessages();
    WaitWhileInactive();
  }
  EXPECT_EQ(WindowActive, 1);  // the headless window never loses focus
  FreeSurface(&BackBuffer);
  LeaveFullScreen();
  EXPECT_EQ(TrackedBytes, startBytes);
  DestroyMainWindow();
  EXPECT_EQ(WindowCreated, 0);
}

TEST(SdlSmoke, OpensPresentsClosesAndOpensAgain) {
  // Set before SDL starts. The dummy driver keeps a framebuffer for the software renderer and,
  // unlike offscreen, loads no GL library that would leave allocations behind at exit.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  RunGameLifecycle();
  RunGameLifecycle();
  PumpMessages();  // with the window gone the layer stays safe to call
  PresentFrame(nullptr);
  ShowMouse(false);
}
