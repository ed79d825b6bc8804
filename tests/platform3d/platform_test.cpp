// The window layer's shared logic, driven through the in-memory backend.
#include "platform3d/platform.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform3d/mem/mem_backend.h"
#include "platform3d/memory.h"

namespace {

void KeepRunning() {}

const char* const StandardLine = "An unknown error occured when calling API-Function ";

class Platform : public ::testing::Test {
 protected:
  void SetUp() override {
    MemReset();
    MemFatalHandler = KeepRunning;
    startBytes = TrackedBytes;
  }
  void TearDown() override {
    FreeSurface(&BackBuffer);
    MemReset();
    EXPECT_EQ(TrackedBytes, startBytes);
  }
  void OpenWindow() {
    PlatformStart();
    RegisterWindowClass();
    CreateMainWindow("Korvane 3D v1.0");
    WaitForCreate();
    ASSERT_EQ(WindowCreated, 1);
    ASSERT_TRUE(MemMessageBoxes.empty());
  }
  void Queue(PlatformEventType type, int32_t code = 0, int32_t x = 0, int32_t y = 0) {
    MemQueueEvent({type, code, x, y});
  }
  int32_t startBytes = 0;
};

TEST_F(Platform, GameLifecycleShowsFramesAndEndsSilently) {
  OpenWindow();
  EXPECT_EQ(WindowActive, 1);
  EXPECT_NE(MainWindow, nullptr);

  EnterFullScreen(FrameWidth, FrameHeight);
  EXPECT_EQ(FullScreenActive, 1);
  EXPECT_TRUE(MemFullScreen);
  EXPECT_EQ(DisplayModeChanged, 1);
  ASSERT_TRUE(MemBridgeOpen);
  EXPECT_EQ(MemFrameWidth, 800);
  EXPECT_EQ(MemFrameHeight, 600);
  ASSERT_EQ(ScreenSurface.allocated, 1);
  EXPECT_EQ(ScreenSurface.width, 800);

  PresentFrame(ScreenSurface.pixels);  // the black first frame
  ASSERT_EQ(MemFrame.size(), 800u * 600u);
  EXPECT_TRUE(std::all_of(MemFrame.begin(), MemFrame.end(), [](uint16_t p) { return p == 0; }));

  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
  ShowMouse(true);
  EXPECT_TRUE(MemCursorVisible);
  FillSurface(&BackBuffer, 0x07E0);
  BackBuffer.pixels[799 * 1 + 600 * 0] = 0xF800;  // top right corner
  BackBuffer.pixels[800 * 599] = 0x001F;          // bottom left corner
  PresentFrame(BackBuffer.pixels);
  PumpMessages();
  WaitWhileInactive();
  EXPECT_EQ(MemFramesPresented, 2u);
  EXPECT_EQ(MemFrame[400 + 800 * 300], 0x07E0);
  EXPECT_EQ(MemFrame[799], 0xF800);
  EXPECT_EQ(MemFrame[800 * 599], 0x001F);

  FreeSurface(&BackBuffer);
  LeaveFullScreen();
  EXPECT_FALSE(MemBridgeOpen);
  EXPECT_FALSE(MemFullScreen);
  LeakReport();
  DestroyMainWindow();
  EXPECT_EQ(WindowCreated, 0);
  EXPECT_TRUE(MemMessageBoxes.empty());
  EXPECT_EQ(TrackedBytes, startBytes);
  EXPECT_EQ(MemStopCalls, 0u);
}

TEST_F(Platform, FullScreenTwiceDoesNothingTheSecondTime) {
  OpenWindow();
  LeaveFullScreen();             // not full screen: nothing happens, not even a delay
  EXPECT_EQ(MemDelayCalls, 1u);  // only WaitForCreate's
  EnterFullScreen(800, 600);
  int32_t heldAfterFirst = TrackedBytes;
  uint64_t delayAfterFirst = MemDelayTotal;
  EXPECT_EQ(delayAfterFirst, 500u + 100u + 200u + 200u);
  uint16_t* firstPixels = ScreenSurface.pixels;
  EnterFullScreen(800, 600);
  EXPECT_EQ(TrackedBytes, heldAfterFirst);  // no second ScreenSurface
  EXPECT_EQ(ScreenSurface.pixels, firstPixels);
  EXPECT_EQ(MemDelayTotal, delayAfterFirst);

  LeaveFullScreen();
  EXPECT_EQ(FullScreenActive, 0);
  EXPECT_EQ(ScreenSurface.allocated, 0);
  EXPECT_EQ(TrackedBytes, startBytes);
  EXPECT_TRUE(MemCursorVisible);  // leaving full screen shows the cursor
  uint64_t delayAfterLeave = MemDelayTotal;
  LeaveFullScreen();
  EXPECT_EQ(MemDelayTotal, delayAfterLeave);
  EXPECT_EQ(TrackedBytes, startBytes);
}

TEST_F(Platform, FullScreenHidesTheCursorAndPresentingWithoutBridgeKeepsNothing) {
  OpenWindow();
  uint16_t pixel = 0x1234;
  PresentFrame(&pixel);  // no bridge yet: nothing is read
  EXPECT_EQ(MemFramesPresented, 0u);
  EnterFullScreen(800, 600);
  EXPECT_FALSE(MemCursorVisible);
  EXPECT_EQ(CursorShown, 0);
  PresentFrame(nullptr);
  EXPECT_EQ(MemFramesPresented, 0u);
}

TEST_F(Platform, ShowMouseKeepsTheCursorOnTwoLevels) {
  ShowMouse(false);
  ShowMouse(false);
  EXPECT_FALSE(MemCursorVisible);
  ShowMouse(true);  // one show after two hides makes it visible
  EXPECT_TRUE(MemCursorVisible);
  EXPECT_EQ(CursorShown, 1);
  ShowMouse(true);
  ShowMouse(true);
  ShowMouse(false);  // one hide after three shows hides it
  EXPECT_FALSE(MemCursorVisible);
  EXPECT_EQ(CursorShown, 0);
}

TEST_F(Platform, WaitWhileInactiveReturnsAtOnceWhenActive) {
  OpenWindow();
  KeyDown[VkUp] = 1;
  LeftButton = 1;
  Queue(PlatformEventType::KeyPressed, 'A');
  WaitWhileInactive();
  EXPECT_EQ(KeyDown[VkUp], 1);  // an active window keeps its input
  EXPECT_EQ(LeftButton, 1);
  EXPECT_EQ(KeyDown['A'], 0);  // and nothing was pumped
}

TEST_F(Platform, WaitWhileInactiveHoldsUntilFocusReturnsThenClearsInput) {
  OpenWindow();
  Queue(PlatformEventType::FocusLost);
  PumpMessages();
  EXPECT_EQ(WindowActive, 0);
  KeyDown[VkUp] = 1;
  KeyDown[VkSpace] = 1;
  LeftButton = 1;
  RightButton = 1;
  Queue(PlatformEventType::KeyPressed, VkLeft);  // pressed during the pause
  Queue(PlatformEventType::FocusGained);
  Queue(PlatformEventType::KeyPressed, 'Q');  // in the same pump as the focus: cleared too
  WaitWhileInactive();
  EXPECT_EQ(WindowActive, 1);
  EXPECT_TRUE(std::all_of(KeyDown, KeyDown + KeyCount, [](uint8_t k) { return k == 0; }));
  EXPECT_EQ(LeftButton, 0);
  EXPECT_EQ(RightButton, 0);
  MemQueueKey('Q', true);  // input after the pause counts again
  PumpMessages();
  EXPECT_EQ(KeyDown['Q'], 1);
}

TEST_F(Platform, MinimisedWindowWaitsForRestoreNotJustFocus) {
  OpenWindow();
  Queue(PlatformEventType::Minimised);
  PumpMessages();
  EXPECT_EQ(WindowActive, 0);
  Queue(PlatformEventType::FocusGained);
  PumpMessages();
  EXPECT_EQ(WindowActive, 0);  // still minimised
  Queue(PlatformEventType::Restored);
  KeyDown[VkDown] = 1;
  WaitWhileInactive();
  EXPECT_EQ(WindowActive, 1);
  EXPECT_EQ(KeyDown[VkDown], 0);
}

TEST_F(Platform, WaitWhileInactiveEndsWhenTheWindowGoesOrQuitIsAsked) {
  OpenWindow();
  Queue(PlatformEventType::FocusLost);
  Queue(PlatformEventType::Quit);
  PumpMessages();
  RightButton = 1;
  WaitWhileInactive();  // would hold for ever if the quit request were ignored
  EXPECT_EQ(QuitRequested, 1);
  EXPECT_EQ(RightButton, 0);
  EXPECT_EQ(WindowActive, 0);
}

TEST_F(Platform, QuitStopsThePumpAndLeavesLaterEventsQueued) {
  OpenWindow();
  Queue(PlatformEventType::KeyPressed, VkEscape);
  Queue(PlatformEventType::Quit);
  Queue(PlatformEventType::KeyPressed, VkReturn);
  PumpMessages();
  EXPECT_EQ(KeyDown[VkEscape], 1);
  EXPECT_EQ(QuitRequested, 1);
  EXPECT_EQ(KeyDown[VkReturn], 0);
  PumpMessages();
  EXPECT_EQ(KeyDown[VkReturn], 1);
}

TEST_F(Platform, KeysAndButtonsFollowTheirEvents) {
  OpenWindow();
  MemQueueKey(VkSpace, true);
  MemQueueKey('7', true);
  MemQueueKey('7', false);
  Queue(PlatformEventType::LeftPressed);
  Queue(PlatformEventType::RightPressed);
  Queue(PlatformEventType::RightReleased);
  PumpMessages();
  EXPECT_EQ(KeyDown[VkSpace], 1);
  EXPECT_EQ(KeyDown['7'], 0);
  EXPECT_EQ(LeftButton, 1);
  EXPECT_EQ(RightButton, 0);
  Queue(PlatformEventType::LeftReleased);
  PumpMessages();
  EXPECT_EQ(LeftButton, 0);
}

TEST_F(Platform, KeyCodesOutsideTheTableAreIgnored) {
  OpenWindow();
  uint8_t before[KeyCount];
  std::copy(KeyDown, KeyDown + KeyCount, before);
  for (int32_t code : {-1, 0, 257, 1000, INT32_MIN, INT32_MAX}) {
    Queue(PlatformEventType::KeyPressed, code);
  }
  Queue(PlatformEventType::KeyPressed, 256);  // the last entry is still inside
  PumpMessages();
  EXPECT_EQ(KeyDown[256], 1);
  EXPECT_TRUE(std::equal(KeyDown, KeyDown + 256, before));
}

TEST_F(Platform, MouseMoveTakesASingleHeldButtonOnly) {
  OpenWindow();
  MemQueueMouse(123, 456, 0);
  PumpMessages();
  EXPECT_EQ(MouseX, 123);
  EXPECT_EQ(MouseY, 456);
  EXPECT_EQ(LeftButton, 0);
  EXPECT_EQ(RightButton, 0);
  MemQueueMouse(10, 20, MouseLeftHeld | MouseRightHeld);  // both held: no change
  PumpMessages();
  EXPECT_EQ(LeftButton, 0);
  EXPECT_EQ(RightButton, 0);
  MemQueueMouse(11, 21, MouseRightHeld);
  PumpMessages();
  EXPECT_EQ(RightButton, 1);
  EXPECT_EQ(LeftButton, 0);
  MemQueueMouse(12, 22, MouseLeftHeld);
  PumpMessages();
  EXPECT_EQ(LeftButton, 1);
  MemQueueMouse(13, 23, 0);  // a move never releases a button
  PumpMessages();
  EXPECT_EQ(LeftButton, 1);
  EXPECT_EQ(RightButton, 1);
}

TEST_F(Platform, WaitForCreateGivesUpAfter255Pumps) {
  MemDeliverCreate = false;
  RegisterWindowClass();
  CreateMainWindow("Korvane 3D v1.0");
  MemPumpCalls = 0;
  WaitForCreate();
  EXPECT_EQ(MemPumpCalls, 255u);  // each empty pump polls once
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].title, "WINDOWS ERROR");
  EXPECT_EQ(MemMessageBoxes[0].text,
            "Creating new window failed !\rThe \"WM_Create\" message was not received after "
            "creating a new window !");
  EXPECT_TRUE(MemMessageBoxes[0].fatal);
  EXPECT_EQ(MemStopCalls, 1u);
}

TEST_F(Platform, FailedSystemCallsNameTheFunction) {
  MemFailingCall = "SDL_Init";
  RegisterWindowClass();
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].title, "WINDOWS ERROR");
  EXPECT_EQ(MemMessageBoxes[0].text,
            std::string("Register window class failed !\r") + StandardLine + "\"SDL_Init\" !");
  MemFailingCall = "SDL_CreateWindow";
  EXPECT_EQ(CreateMainWindow("Korvane 3D v1.0"), nullptr);
  ASSERT_EQ(MemMessageBoxes.size(), 2u);
  EXPECT_EQ(MemMessageBoxes[1].text, std::string("Creating new window failed !\r") + StandardLine +
                                         "\"SDL_CreateWindow\" !");
  EXPECT_EQ(MemStopCalls, 2u);
  EXPECT_EQ(WindowCreated, 0);
}

TEST_F(Platform, MissingIconWarnsAndRegistrationGoesOn) {
  MemIconFails = true;
  RegisterWindowClass();
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].title, "INTERNAL ERROR");
  EXPECT_EQ(MemMessageBoxes[0].text,
            "Loading application icon failed !\r\rNOTE : Nevertheless you can continue with this "
            "application");
  EXPECT_FALSE(MemMessageBoxes[0].fatal);
  EXPECT_EQ(MemStopCalls, 0u);
  CreateMainWindow("Korvane 3D v1.0");
  WaitForCreate();
  EXPECT_EQ(WindowCreated, 1);
}

TEST_F(Platform, FatalErrorLeavesFullScreenShowsTheCursorAndStops) {
  OpenWindow();
  EnterFullScreen(800, 600);
  FatalError("HARDWARE ERROR !", "line one\rline two");
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].title, "HARDWARE ERROR !");
  EXPECT_EQ(MemMessageBoxes[0].text, "line one\rline two");
  EXPECT_EQ(FullScreenActive, 0);
  EXPECT_FALSE(MemFullScreen);
  EXPECT_FALSE(MemBridgeOpen);
  EXPECT_EQ(ScreenSurface.allocated, 0);
  EXPECT_TRUE(MemCursorVisible);
  EXPECT_EQ(MemStopCalls, 1u);
  EXPECT_EQ(TrackedBytes, startBytes);
}

TEST_F(Platform, WarningBoxCarriesOnWithTheCursorAsItWas) {
  OpenWindow();
  EnterFullScreen(800, 600);  // hides the cursor
  WarningBox("TITLE", "text");
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_FALSE(MemMessageBoxes[0].fatal);
  EXPECT_FALSE(MemCursorVisible);
  EXPECT_EQ(FullScreenActive, 1);
  EXPECT_EQ(WindowActive, 1);  // restored after the box
  EXPECT_EQ(MemStopCalls, 0u);
  WarningBox(nullptr, nullptr);  // never crashes on missing texts
  EXPECT_EQ(MemMessageBoxes.back().text, "");
}

TEST_F(Platform, StartOnThisProcessorPassesAndShowsTheCursor) {
  PlatformStart();
  EXPECT_TRUE(MemMessageBoxes.empty());  // every x86-64 processor has MMX
  EXPECT_TRUE(MemCursorVisible);
  EXPECT_EQ(CursorShown, 1);
}

bool NoMmx() {
  return false;
}

TEST_F(Platform, ProcessorWithoutMmxIsRefused) {
  MmxCheck = NoMmx;
  PlatformStart();
  MmxCheck = ProcessorHasMmx;
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].title, "HARDWARE ERROR !");
  EXPECT_EQ(MemMessageBoxes[0].text, "Your CPU does not support the MMX technology !");
  EXPECT_TRUE(MemMessageBoxes[0].fatal);
  EXPECT_EQ(MemStopCalls, 1u);
  EXPECT_TRUE(MemCursorVisible);
}

#if defined(__x86_64__)
TEST(Processor, EveryX8664ProcessorHasMmx) {
  EXPECT_TRUE(ProcessorHasMmx());
}
#endif

TEST_F(Platform, MinimiseOrRestoreSetsActivity) {
  OpenWindow();
  MinimiseOrRestore(false);
  EXPECT_EQ(WindowActive, 0);
  MinimiseOrRestore(true);
  EXPECT_EQ(WindowActive, 1);
}

TEST_F(Platform, DelayIsRecordedNotSlept) {
  Delay(250);
  Delay(1000000);
  EXPECT_EQ(MemDelayTotal, 1000250u);
  EXPECT_EQ(MemDelayCalls, 2u);
}

TEST_F(Platform, DestroyingTwiceIsHarmless) {
  OpenWindow();
  DestroyMainWindow();
  DestroyMainWindow();
  EXPECT_EQ(WindowCreated, 0);
  EXPECT_EQ(MainWindow, nullptr);
}

}  // namespace
