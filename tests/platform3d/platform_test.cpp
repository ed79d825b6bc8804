// The window layer's shared logic, driven through the in-memory backend.
#include "platform3d/platform.h"

#include <algorithm>
#include <string>
#include <vector>

#include "tests/platform3d/test_util.h"

namespace {

using E = PlatformEventType;

class Platform : public MemTest {
 protected:
  static void OpenWindow() {
    PlatformStart();
    RegisterWindowClass();
    CreateMainWindow("Korvane 3D v1.0");
    WaitForCreate();
    ASSERT_EQ(WindowCreated, 1);
    ASSERT_TRUE(MemMessageBoxes.empty());  // this processor passes the MMX check too
  }
  static void Queue(E type, int32_t code = 0) { MemQueueEvent({type, code, 0, 0}); }
};

TEST_F(Platform, FullScreenOnceCarriesFramesAndTwiceDoesNothing) {
  OpenWindow();
  const uint16_t pixel = 0x1234;
  PresentFrame(&pixel);          // no bridge yet: nothing is read
  LeaveFullScreen();             // not full screen: nothing happens, not even a delay
  EXPECT_EQ(MemDelayCalls, 1u);  // only WaitForCreate's
  EnterFullScreen(800, 600);
  EXPECT_FALSE(MemCursorVisible);
  EXPECT_EQ(MemDelayTotal, 500u + 100u + 200u + 200u);
  const int32_t held = TrackedBytes;
  const uint16_t* pixels = ScreenSurface.pixels;
  EnterFullScreen(800, 600);
  EXPECT_EQ(TrackedBytes, held);  // no second ScreenSurface
  EXPECT_EQ(ScreenSurface.pixels, pixels);
  EXPECT_EQ(MemDelayTotal, 1000u);
  EXPECT_EQ(MemFrameWidth, 800);
  EXPECT_EQ(MemFrameHeight, 600);
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, false);
  FillSurface(&BackBuffer, 0x07E0);
  BackBuffer.pixels[799] = 0xF800;  // top right corner
  PresentFrame(BackBuffer.pixels);
  PresentFrame(nullptr);
  EXPECT_EQ(MemFramesPresented, 1u);
  ASSERT_EQ(MemFrame.size(), 800u * 600u);
  EXPECT_EQ(MemFrame[799], 0xF800);
  EXPECT_EQ(MemFrame[800 * 599], 0x07E0);
  LeaveFullScreen();
  EXPECT_FALSE(MemBridgeOpen || MemFullScreen);
  EXPECT_TRUE(MemCursorVisible);                 // leaving full screen shows the cursor
  EXPECT_EQ(TrackedBytes - startBytes, 960000);  // only BackBuffer is left
  LeaveFullScreen();
  EXPECT_EQ(MemDelayTotal, 1000u + 100u + 200u + 200u);  // from the first leave only
  // A display without the mode keeps its own, and frames still go to the bridge.
  MemFailingCall = "SDL_SetWindowFullscreen";
  EnterFullScreen(800, 600);
  EXPECT_FALSE(MemFullScreen);
  PresentFrame(ScreenSurface.pixels);
  EXPECT_EQ(MemFramesPresented, 2u);
  DestroyMainWindow();
  DestroyMainWindow();  // twice is harmless
  EXPECT_EQ(WindowCreated, 0);
  EXPECT_TRUE(MemMessageBoxes.empty());
}

TEST_F(Platform, ShowMouseKeepsTheCursorOnTwoLevels) {
  ShowMouse(false);
  ShowMouse(false);
  ShowMouse(true);  // one show after two hides makes it visible
  EXPECT_TRUE(MemCursorVisible);
  ShowMouse(true);
  ShowMouse(true);
  ShowMouse(false);  // one hide after three shows hides it
  EXPECT_FALSE(MemCursorVisible);
  EXPECT_EQ(CursorShown, 0);
}

TEST_F(Platform, WaitWhileInactiveHoldsUntilActiveThenClearsHeldInput) {
  // Events of the pause, then of the wake; keys pressed during the pause or in the same pump
  // as the restore are cleared too; focus does not end a minimise; a quit ends the wait.
  const struct {
    std::vector<E> pause, wake;
    uint8_t activeAfter, quit;
  } cases[] = {{{E::Minimised}, {E::KeyPressed, E::Restored, E::KeyPressed}, 1, 0},
               {{E::Minimised, E::FocusGained}, {E::Restored}, 1, 0},
               {{E::Minimised, E::Quit}, {}, 0, 1}};
  for (const auto& c : cases) {
    MemReset();
    OpenWindow();
    for (E type : c.pause) Queue(type);
    PumpMessages();
    EXPECT_EQ(WindowActive, 0);
    KeyDown[VkUp] = LeftButton = RightButton = 1;
    for (E type : c.wake) Queue(type, 'Q');
    WaitWhileInactive();
    EXPECT_EQ(WindowActive, c.activeAfter);
    EXPECT_EQ(QuitRequested, c.quit);
    EXPECT_EQ(std::count(KeyDown, KeyDown + KeyCount, 0), KeyCount);
    EXPECT_EQ(LeftButton + RightButton, 0);
  }
  MemReset();
  OpenWindow();
  Queue(E::FocusLost);  // another window has the focus: the game goes on
  PumpMessages();
  EXPECT_EQ(WindowActive, 1);
  KeyDown[VkUp] = LeftButton = 1;
  Queue(E::KeyPressed, 'A');
  WaitWhileInactive();  // active: returns at once, keeps input, pumps nothing
  EXPECT_EQ(KeyDown[VkUp] + LeftButton, 2);
  EXPECT_EQ(KeyDown['A'], 0);
}

TEST_F(Platform, EventsSetKeysButtonsAndMouse) {
  OpenWindow();
  MemQueueKey('7', true);
  MemQueueKey('7', false);
  for (int32_t code : {-1, 0, 257, INT32_MIN, INT32_MAX}) Queue(E::KeyPressed, code);
  Queue(E::KeyPressed, 256);  // the last entry is still inside
  Queue(E::Quit);             // stops the pump; what follows waits for the next one
  MemQueueKey(VkReturn, true);
  PumpMessages();
  EXPECT_EQ(KeyDown[256] + QuitRequested, 2);
  EXPECT_EQ(std::count(KeyDown, KeyDown + KeyCount, 1), 1);
  PumpMessages();
  EXPECT_EQ(KeyDown[VkReturn], 1);
  // Event, held buttons, then LeftButton and RightButton: a move takes a single held button
  // only, and never releases one.
  const struct {
    E type;
    int32_t held;
    uint8_t left, right;
  } steps[] = {{E::MouseMoved, 3, 0, 0},  {E::MouseMoved, 2, 0, 1},   {E::MouseMoved, 1, 1, 1},
               {E::MouseMoved, 0, 1, 1},  {E::LeftReleased, 0, 0, 1}, {E::RightReleased, 0, 0, 0},
               {E::LeftPressed, 0, 1, 0}, {E::RightPressed, 0, 1, 1}};
  for (int i = 0; i < 8; ++i) {
    MemQueueEvent({steps[i].type, steps[i].held, 100 + i, 200 + i});
    PumpMessages();
    EXPECT_EQ(LeftButton * 2 + RightButton, steps[i].left * 2 + steps[i].right) << i;
  }
  EXPECT_EQ(MouseX, 103);  // from the last move
  EXPECT_EQ(MouseY, 203);
}

TEST_F(Platform, StartUpFailuresShowTheirBoxes) {
  const std::string unknown = "\rAn unknown error occured when calling API-Function \"";
  const struct {
    void (*arrange)();
    const char* title;
    std::string text;
    bool fatal;
  } cases[] = {
      {[] { MemFailingCall = "SDL_Init"; }, "WINDOWS ERROR",
       "Register window class failed !" + unknown + "SDL_Init\" !", true},
      {[] { MemFailingCall = "SDL_CreateWindow"; }, "WINDOWS ERROR",
       "Creating new window failed !" + unknown + "SDL_CreateWindow\" !", true},
      {[] { MemDeliverCreate = false; }, "WINDOWS ERROR",
       "Creating new window failed !\rThe \"WM_Create\" message was not received after creating "
       "a new window !",
       true},
      {[] { MmxCheck = [] { return false; }; }, "HARDWARE ERROR !",
       "Your CPU does not support the MMX technology !", true},
      {[] { MemIconFails = true; }, "INTERNAL ERROR",
       "Loading application icon failed !\r\rNOTE : Nevertheless you can continue with this "
       "application",
       false}};
  for (const auto& c : cases) {
    MemReset();
    c.arrange();
    // Each step runs unless an earlier one stopped the program.
    for (auto step : {+[] { PlatformStart(); }, +[] { RegisterWindowClass(); },
                      +[] { CreateMainWindow("Korvane 3D v1.0"); }, +[] { WaitForCreate(); }}) {
      if (MemStopCalls == 0) step();
    }
    MmxCheck = ProcessorHasMmx;
    SCOPED_TRACE(c.title);
    ExpectOnlyBox(c.title, c.text, c.fatal);
    EXPECT_EQ(WindowCreated, c.fatal ? 0 : 1);  // a missing icon is only a warning
    EXPECT_TRUE(MemCursorVisible);
    EXPECT_EQ(MemPumpCalls == 255u, !MemDeliverCreate);  // WaitForCreate gives up after 255
  }
}

TEST_F(Platform, BoxesInFullScreen) {
  OpenWindow();
  EnterFullScreen(800, 600);  // hides the cursor
  WarningBox("TITLE", "text");
  EXPECT_FALSE(MemCursorVisible);                 // carries on with the cursor as it was
  EXPECT_EQ(FullScreenActive + WindowActive, 2);  // restored after the box
  WarningBox(nullptr, nullptr);                   // never crashes on missing texts
  EXPECT_EQ(MemMessageBoxes.back().text, "");
  MemMessageBoxes.clear();
  FatalError("HARDWARE ERROR !", "line one\rline two");
  ExpectOnlyBox("HARDWARE ERROR !", "line one\rline two", true);
  EXPECT_EQ(FullScreenActive, 0);  // full screen left, the cursor shown
  EXPECT_FALSE(MemFullScreen || MemBridgeOpen);
  EXPECT_TRUE(MemCursorVisible);
  EXPECT_EQ(TrackedBytes, startBytes);
}

}  // namespace
