// The window layer's shared logic, driven through the in-memory backend.
#include "tests/platform3d/test_util.h"

using E = PlatformEventType;

class Platform : public MemTest {
 protected:
  // The game's start-up: each step runs unless an earlier one stopped the program.
  static void StartUp() {
    for (auto step : {+[] { PlatformStart(); }, +[] { RegisterWindowClass(); },
                      +[] { CreateMainWindow("Korvane 3D v1.0"); }, +[] { WaitForCreate(); }}) {
      if (MemStopCalls == 0) step();
    }
  }
  static void OpenWindow() {
    StartUp();
    ASSERT_EQ(WindowCreated, 1);
    ASSERT_TRUE(MemMessageBoxes.empty());  // this processor passes the MMX check too
  }
  static PlatformEvent Ev(E type, int32_t code = 0, int32_t x = 0) { return {type, code, x, 0}; }
  static void Queue(E type, int32_t code = 0) { MemQueueEvent(Ev(type, code)); }
};

TEST_F(Platform, FullScreenOnceCarriesFramesBoxesStepAsideAndFatalErrorsLeaveIt) {
  OpenWindow();
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, false);
  FillSurface(&BackBuffer, 0x07E0);
  BackBuffer.pixels[799] = 0xF800;  // top right corner
  // After each step: cursor shown, display switched, bridge open, window active, milliseconds
  // of delay (500 from WaitForCreate), frames presented, counted bytes (BackBuffer's first).
  // Entering hides the cursor twice, yet one show brings it back: the cursor counter keeps to
  // two levels however often one state is asked for.
  using Shown = std::tuple<bool, bool, bool, uint8_t, uint64_t, uint32_t, int32_t>;
  const struct {
    void (*step)();
    Shown after;
  } steps[] = {
      // No bridge yet: nothing presented; not full screen: nothing left, not even a delay.
      {[] { PresentFrame(BackBuffer.pixels); }, {true, false, false, 1, 500, 0, 960000}},
      {[] { LeaveFullScreen(); }, {true, false, false, 1, 500, 0, 960000}},
      {[] { EnterFullScreen(800, 600); }, {false, true, true, 1, 1000, 0, 1920000}},
      {[] { EnterFullScreen(800, 600); }, {false, true, true, 1, 1000, 0, 1920000}},
      // A box steps out of the way and back, the cursor as it was; missing texts are empty.
      {[] { WarningBox("TITLE", "text"); }, {false, true, true, 1, 1000, 0, 1920000}},
      {[] { WarningBox(nullptr, nullptr); }, {false, true, true, 1, 1000, 0, 1920000}},
      {[] { PresentFrame(nullptr); }, {false, true, true, 1, 1000, 0, 1920000}},
      {[] { PresentFrame(BackBuffer.pixels); }, {false, true, true, 1, 1000, 1, 1920000}},
      {[] { LeaveFullScreen(); }, {true, false, false, 1, 1500, 1, 960000}},
      {[] { LeaveFullScreen(); }, {true, false, false, 1, 1500, 1, 960000}},
      // A display without the mode keeps its own, and frames still go to the bridge.
      {[] { MemFailingCall = "SDL_SetWindowFullscreen"; },
       {true, false, false, 1, 1500, 1, 960000}},
      {[] { EnterFullScreen(800, 600); }, {false, false, true, 1, 2000, 1, 1920000}},
      {[] { PresentFrame(BackBuffer.pixels); }, {false, false, true, 1, 2000, 2, 1920000}},
      // A fatal error leaves full screen and shows the cursor.
      {[] { FatalError("FATAL", "one\rtwo"); }, {true, false, false, 1, 2500, 2, 960000}}};
  for (const auto& s : steps) {
    s.step();
    EXPECT_EQ(Shown(MemCursorVisible, MemFullScreen, MemBridgeOpen, WindowActive, MemDelayTotal,
                    MemFramesPresented, TrackedBytes - startBytes),
              s.after)
        << "step " << &s - steps;
  }
  EXPECT_EQ(std::make_pair(MemFrameWidth, MemFrameHeight), std::make_pair(800, 600));
  EXPECT_TRUE(MemFrame == std::vector<uint16_t>(BackBuffer.pixels, BackBuffer.pixels + 480000));
  ASSERT_EQ(MemMessageBoxes.size(), 3u);
  EXPECT_EQ(MemMessageBoxes[1].title + MemMessageBoxes[1].text, "");
  MemMessageBoxes.erase(MemMessageBoxes.begin(), MemMessageBoxes.begin() + 2);
  ExpectOnlyBox("FATAL", "one\rtwo", true);
  DestroyMainWindow();
  DestroyMainWindow();  // twice is harmless
  EXPECT_EQ(WindowCreated, 0);
}

TEST_F(Platform, WaitWhileInactiveHoldsUntilActiveThenClearsHeldInput) {
  // Events of the pause, then of the wake: keys pressed during the pause or in the same pump as
  // the restore are cleared too; focus does not end a minimise; a quit ends the wait. Only
  // minimising pauses: with the focus elsewhere the wait returns at once, keeps the held input
  // and pumps nothing.
  const struct {
    std::vector<E> pause, wake;
    uint8_t activeInPause, activeAfter, quit;
    int held;
  } cases[] = {{{E::Minimised}, {E::KeyPressed, E::Restored, E::KeyPressed}, 0, 1, 0, 0},
               {{E::Minimised, E::FocusGained}, {E::Restored}, 0, 1, 0, 0},
               {{E::Minimised, E::Quit}, {}, 0, 0, 1, 0},
               {{E::FocusLost}, {E::KeyPressed}, 1, 1, 0, 3}};
  for (const auto& c : cases) {
    MemReset();
    OpenWindow();
    for (E type : c.pause) Queue(type);
    PumpMessages();
    EXPECT_EQ(WindowActive, c.activeInPause);
    KeyDown[VkUp] = LeftButton = RightButton = 1;
    for (E type : c.wake) Queue(type, 'Q');
    WaitWhileInactive();
    EXPECT_EQ(WindowActive, c.activeAfter);
    EXPECT_EQ(QuitRequested, c.quit);
    EXPECT_EQ(std::count(KeyDown, KeyDown + KeyCount, 1) + LeftButton + RightButton, c.held);
  }
}

TEST_F(Platform, EachPumpShowsEveryPressAndReleaseWhereItWasMadeAndBoxesLeaveNothingHeld) {
  OpenWindow();
  // Events queued before a pump, then what the game sees after it: the left and right
  // buttons, keys '7' and 256, mouse x, a quit. A press or release undone in the same pump, and
  // a press and a move together, wait for the next pump; a move takes a single held button
  // only and never releases one; bad key codes are ignored.
  const struct {
    std::vector<PlatformEvent> queued;
    std::vector<int> seen;
  } pumps[] = {
      {{Ev(E::KeyPressed, '7'), Ev(E::KeyReleased, '7'), Ev(E::LeftPressed), Ev(E::LeftReleased)},
       {0, 0, 1, 0, 0, 0}},
      {{}, {1, 0, 0, 0, 0, 0}},
      {{Ev(E::KeyPressed, 256)}, {0, 0, 0, 1, 0, 0}},
      {{Ev(E::MouseMoved, 0, 10), Ev(E::LeftPressed), Ev(E::LeftReleased)}, {0, 0, 0, 1, 10, 0}},
      {{}, {1, 0, 0, 1, 10, 0}},
      {{Ev(E::MouseMoved, 3, 20)}, {0, 0, 0, 1, 20, 0}},
      {{Ev(E::RightPressed), Ev(E::MouseMoved, 3, 30), Ev(E::RightReleased)}, {0, 1, 0, 1, 20, 0}},
      {{}, {0, 0, 0, 1, 30, 0}},
      {{Ev(E::MouseMoved, 2, 30), Ev(E::MouseMoved, 1, 40), Ev(E::MouseMoved, 0, 50)},
       {0, 1, 0, 1, 30, 0}},
      {{}, {1, 1, 0, 1, 40, 0}},
      {{}, {1, 1, 0, 1, 50, 0}},
      {{Ev(E::Quit), Ev(E::KeyReleased, 256)}, {1, 1, 0, 1, 50, 1}},
      {{}, {1, 1, 0, 0, 50, 1}}};
  for (int32_t code : {-1, 0, 257, INT32_MIN, INT32_MAX}) Queue(E::KeyPressed, code);
  for (const auto& p : pumps) {
    for (const PlatformEvent& event : p.queued) MemQueueEvent(event);
    PumpMessages();
    EXPECT_EQ(std::count(KeyDown, KeyDown + KeyCount, 1), KeyDown['7'] + KeyDown[256]);
    EXPECT_EQ(std::vector<int>(
                  {LeftButton, RightButton, KeyDown['7'], KeyDown[256], MouseX, QuitRequested}),
              p.seen)
        << &p - pumps;
  }
  WarningBox("TITLE", "text");  // what the box took from the game is not held after it
  EXPECT_EQ(std::count(KeyDown, KeyDown + KeyCount, 1) + LeftButton + RightButton, 0);
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
    StartUp();
    MmxCheck = ProcessorHasMmx;
    SCOPED_TRACE(c.title);
    ExpectOnlyBox(c.title, c.text, c.fatal);
    EXPECT_EQ(WindowCreated, c.fatal ? 0 : 1);  // a missing icon is only a warning
    EXPECT_TRUE(MemCursorVisible);
    EXPECT_EQ(MemPumpCalls == 255u, !MemDeliverCreate);  // WaitForCreate gives up after 255
  }
}
