// The backend-independent half of the window layer: input state, the cursor levels, the order
// of the full-screen steps and the message-box protocol. Backends supply the primitives of
// backend.h.
#include "platform3d/platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform3d/backend.h"

WindowHandle MainWindow = nullptr;
uint8_t WindowCreated = 0;
uint8_t WindowActive = 0;
uint8_t KeyDown[KeyCount] = {};
uint16_t MouseX = 0, MouseY = 0;
uint8_t LeftButton = 0, RightButton = 0;
uint8_t CursorShown = 1;
uint8_t FullScreenActive = 0;
uint8_t DisplayModeChanged = 0;
uint8_t QuitRequested = 0;
uint8_t EventsArrived = 0;
int32_t ScreenWidth = 0, ScreenHeight = 0;
uint8_t WindowedDisplay = 0;

namespace {

constexpr int32_t CreatePumpLimit = 255;

// Only minimising pauses the program: a window that merely lost the focus keeps playing, so
// the engine's thinking and the clocks go on while the player looks at another window.
bool WindowMinimised = false;
// A counter like the system cursor's: the cursor shows while it is 0 or more.
int32_t CursorCounter = 0;
bool InFatalError = false;

using Clock = std::chrono::steady_clock;
constexpr auto FramePeriod = std::chrono::microseconds(16667);
// With vsync a present returns at the refresh; the next one may start this much before the
// following refresh, so that it is ready in time rather than waiting a whole refresh.
constexpr auto PresentAllowance = std::chrono::milliseconds(2);
Clock::time_point FrameDue;  // the next frame may be shown from here on

// What the pump under way has changed. A second change of a button or key would hide the
// first from the game, and a press together with a move would be seen where the move ended,
// or (on the board) before the frame that finds the square under the mouse.
struct PumpChanges {
  bool left, right, moved, pressed;
  uint8_t keys[KeyCount];
};
PumpChanges Pumped;
PlatformEvent HeldOver;  // the event that waits for the next pump
bool HaveHeldOver = false;

bool ValidKey(int32_t code) {
  return code > 0 && code < KeyCount;
}

// Notes the event's changes in Pumped; false (and nothing noted) when it must wait.
bool TakeIntoPump(const PlatformEvent& event) {
  using T = PlatformEventType;
  bool press = false;
  switch (event.type) {
    case T::KeyPressed:
    case T::KeyReleased: {
      const uint8_t down = event.type == T::KeyPressed ? 1 : 0;
      if (!ValidKey(event.code) || KeyDown[event.code] == down) return true;
      if (Pumped.keys[event.code] || (down && Pumped.moved)) return false;
      Pumped.keys[event.code] = 1;
      press = down;
      break;
    }
    case T::LeftPressed:
    case T::LeftReleased:
    case T::RightPressed:
    case T::RightReleased: {
      const bool left = event.type == T::LeftPressed || event.type == T::LeftReleased;
      const uint8_t down = event.type == T::LeftPressed || event.type == T::RightPressed;
      bool& changed = left ? Pumped.left : Pumped.right;
      if ((left ? LeftButton : RightButton) == down) return true;
      if (changed || (down && Pumped.moved)) return false;
      changed = true;
      press = down;
      break;
    }
    case T::MouseMoved: {
      // A move may carry a single held button (see HandlePlatformEvent): a press of its own.
      const bool left = event.code == MouseLeftHeld && !LeftButton;
      const bool right = event.code == MouseRightHeld && !RightButton;
      const bool moves = event.x != MouseX || event.y != MouseY;
      if ((moves && Pumped.pressed) || (left && Pumped.left) || (right && Pumped.right))
        return false;
      Pumped.moved |= moves;
      Pumped.left |= left;
      Pumped.right |= right;
      press = left || right;
      break;
    }
    default:
      break;
  }
  Pumped.pressed |= press;
  return true;
}

void UpdateActive() {
  WindowActive = WindowMinimised ? 0 : 1;
}

void SystemShowCursor(bool show) {
  CursorCounter += show ? 1 : -1;
  BackendSetCursorVisible(CursorCounter >= 0);
}

void FailedCall(const char* firstLine, const char* function) {
  char text[256];
  std::snprintf(text, sizeof text,
                "%s\rAn unknown error occured when calling API-Function \"%s\" !", firstLine,
                function);
  FatalError("WINDOWS ERROR", text);
}

// Steps 2 to 5 of both boxes: cursor on, out of the way of the full-screen frame, box, back.
void ShowBox(const char* title, const char* text, bool fatal) {
  ShowMouse(true);
  if (FullScreenActive) {
    MinimiseOrRestore(false);
    PumpMessages();
  }
  BackendMessageBox(title == nullptr ? "" : title, text == nullptr ? "" : text, fatal);
  // Whatever was pressed or released while the box had the input never reached the game: the
  // game starts again from nothing held, so the next press counts.
  ClearKeys();
  LeftButton = RightButton = 0;
  HaveHeldOver = false;
  if (FullScreenActive) {
    MinimiseOrRestore(true);
    PumpMessages();
  }
}

}  // namespace

void HandlePlatformEvent(const PlatformEvent& event) {
  EventsArrived = 1;
  switch (event.type) {
    case PlatformEventType::Created:
      WindowCreated = 1;
      WindowMinimised = false;
      UpdateActive();
      break;
    case PlatformEventType::Destroyed:
      WindowCreated = 0;
      break;
    case PlatformEventType::FocusGained:
    case PlatformEventType::FocusLost:
    case PlatformEventType::Exposed:
      break;
    case PlatformEventType::Minimised:
      WindowMinimised = true;
      UpdateActive();
      break;
    case PlatformEventType::Restored:
      WindowMinimised = false;
      UpdateActive();
      break;
    case PlatformEventType::KeyPressed:
    case PlatformEventType::KeyReleased:
      if (ValidKey(event.code)) {
        KeyDown[event.code] = event.type == PlatformEventType::KeyPressed ? 1 : 0;
      }
      break;
    case PlatformEventType::MouseMoved:
      MouseX = static_cast<uint16_t>(event.x);
      MouseY = static_cast<uint16_t>(event.y);
      // Only a single held button is taken from a move; with both held the flags come from the
      // button events alone.
      if (event.code == MouseLeftHeld) LeftButton = 1;
      if (event.code == MouseRightHeld) RightButton = 1;
      break;
    case PlatformEventType::LeftPressed:
      LeftButton = 1;
      break;
    case PlatformEventType::LeftReleased:
      LeftButton = 0;
      break;
    case PlatformEventType::RightPressed:
      RightButton = 1;
      break;
    case PlatformEventType::RightReleased:
      RightButton = 0;
      break;
    case PlatformEventType::Quit:
      QuitRequested = 1;
      break;
  }
}

void ResetPumpState() {
  HaveHeldOver = false;
  EventsArrived = 0;
  FrameDue = Clock::time_point();
}

void PlatformStart() {
  if (!MmxCheck()) {
    FatalError("HARDWARE ERROR !", "Your CPU does not support the MMX technology !");
  }
  ShowMouse(CursorShown != 0);
}

void RegisterWindowClass() {
  if (!BackendMakeIcon()) {
    WarningBox("INTERNAL ERROR",
               "Loading application icon failed !\r\rNOTE : Nevertheless you can continue with "
               "this application");
  }
  if (const char* failed = BackendStartDisplay())
    FailedCall("Register window class failed !", failed);
}

WindowHandle CreateMainWindow(const char* title) {
  WindowHandle window = nullptr;
  if (const char* failed = BackendCreateWindow(title == nullptr ? "" : title, &window)) {
    FailedCall("Creating new window failed !", failed);
    return nullptr;
  }
  MainWindow = window;
  return MainWindow;
}

void WaitForCreate() {
  int32_t pumps = 0;
  do {
    PumpMessages();
    ++pumps;
  } while (!WindowCreated && pumps < CreatePumpLimit);
  if (pumps >= CreatePumpLimit) {
    FatalError("WINDOWS ERROR",
               "Creating new window failed !\rThe \"WM_Create\" message was not received after "
               "creating a new window !");
  }
  Delay(500);
}

void PumpMessages() {
  std::memset(&Pumped, 0, sizeof Pumped);
  PlatformEvent event;
  while (HaveHeldOver || BackendNextEvent(&event)) {
    if (HaveHeldOver) event = HeldOver;
    HaveHeldOver = !TakeIntoPump(event);
    if (HaveHeldOver) {
      HeldOver = event;
      break;
    }
    HandlePlatformEvent(event);
    if (event.type == PlatformEventType::Quit) break;
  }
}

void WaitForEvents(uint32_t milliseconds) {
  if (!HaveHeldOver) BackendWaitForEvent(milliseconds);
}

bool EventsWaiting() {
  return HaveHeldOver || BackendEventWaiting();
}

void WaitWhileInactive() {
  if (WindowActive) return;
  while (!WindowActive && WindowCreated && !QuitRequested) {
    if (!HaveHeldOver && !BackendWaitForEvent(250)) break;
    PumpMessages();
  }
  // Nothing pressed before the pause may stay held after it.
  ClearKeys();
  LeftButton = 0;
  RightButton = 0;
}

void DestroyMainWindow() {
  if (!WindowCreated) return;
  BackendDestroyWindow();
  HandlePlatformEvent({PlatformEventType::Destroyed, 0, 0, 0});
  MainWindow = nullptr;
  PumpMessages();
}

void ClearKeys() {
  std::memset(KeyDown, 0, sizeof KeyDown);
}

void ShowMouse(bool show) {
  // Keep the counter on one of two levels however often the same state is asked for.
  if (show) {
    if (CursorShown) SystemShowCursor(false);
    SystemShowCursor(true);
    CursorShown = 1;
  } else {
    if (!CursorShown) SystemShowCursor(true);
    SystemShowCursor(false);
    CursorShown = 0;
  }
}

void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) {
  DisplayModeChanged = BackendSetDisplayMode(width, height, bitsPerPixel) ? 1 : 0;
}

void RestoreDisplayMode() {
  if (DisplayModeChanged) BackendRestoreDisplayMode();
}

void EnterFullScreen(int32_t width, int32_t height) {
  if (FullScreenActive) return;
  ShowMouse(false);
  Delay(100);
  SetDisplayMode(width, height, 16);
  Delay(200);
  ScreenWidth = width;
  ScreenHeight = height;
  GetDefaultDirectDraw(MainWindow, width, height);
  Delay(200);
  ShowMouse(false);
  FullScreenActive = 1;
  AllocSurface(&ScreenSurface, width, height, true);
}

void LeaveFullScreen() {
  if (!FullScreenActive) return;
  FreeSurface(&ScreenSurface);
  Delay(100);
  CloseDirectDraw();
  Delay(200);
  RestoreDisplayMode();
  Delay(200);
  FullScreenActive = 0;
  ShowMouse(true);
}

void PresentFrame(const uint16_t* pixels) {
  const auto wait = FrameDue - Clock::now();
  if (wait > Clock::duration::zero()) {
    BackendSleep(
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(wait).count()));
  }
  const auto start = Clock::now();
  DirectDrawBlit(pixels);
  FrameDue = std::max(start + FramePeriod, Clock::now() + FramePeriod - PresentAllowance);
}

int32_t FrameMicrosecondsLeft() {
  const auto left = FrameDue - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::microseconds>(left).count());
}

void MinimiseOrRestore(bool restore) {
  BackendMinimiseOrRestore(restore);
  WindowMinimised = !restore;
  WindowActive = restore ? 1 : 0;
}

void Delay(uint32_t milliseconds) {
  BackendDelay(milliseconds);
}

void FatalError(const char* title, const char* text) {
  // A failure while already stopping (say, in LeaveFullScreen) must not show a second box.
  if (!InFatalError) {
    InFatalError = true;
    ShowBox(title, text, true);
    LeaveFullScreen();
  }
  BackendStop();
  InFatalError = false;
}

void WarningBox(const char* title, const char* text) {
  bool cursorWasShown = CursorShown != 0;
  ShowBox(title, text, false);
  ShowMouse(cursorWasShown);
}
