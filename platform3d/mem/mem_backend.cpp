#include "platform3d/mem/mem_backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

std::vector<MemMessageBox> MemMessageBoxes;
std::vector<uint16_t> MemFrame;
int32_t MemFrameWidth = 0, MemFrameHeight = 0;
uint32_t MemFramesPresented = 0;
bool MemBridgeOpen = false;
bool MemFullScreen = false;
bool MemCursorVisible = true;
bool MemDeliverCreate = true;
const char* MemFailingCall = nullptr;
bool MemIconFails = false;
uint32_t MemPumpCalls = 0;
uint64_t MemDelayTotal = 0;
uint32_t MemDelayCalls = 0;
uint32_t MemStopCalls = 0;

namespace {

// A program on this backend (kvtool without SDL) still says why it stops.
void ExitProcess() {
  if (!MemMessageBoxes.empty()) {
    std::string text = MemMessageBoxes.back().text;
    for (char& c : text) {
      if (c == '\r') c = '\n';
    }
    std::fprintf(stderr, "%s\n%s\n", MemMessageBoxes.back().title.c_str(), text.c_str());
  }
  std::exit(1);
}

std::deque<PlatformEvent> EventQueue;
int MemWindowToken = 0;  // MainWindow points here while the window exists

bool Fails(const char* function) {
  return MemFailingCall != nullptr && std::strcmp(MemFailingCall, function) == 0;
}

}  // namespace

void (*MemFatalHandler)() = ExitProcess;

void MemQueueEvent(const PlatformEvent& event) {
  EventQueue.push_back(event);
}

void MemQueueKey(uint16_t virtualKey, bool pressed) {
  MemQueueEvent(
      {pressed ? PlatformEventType::KeyPressed : PlatformEventType::KeyReleased, virtualKey, 0, 0});
}

void MemQueueMouse(int32_t x, int32_t y, int32_t heldButtons) {
  MemQueueEvent({PlatformEventType::MouseMoved, heldButtons, x, y});
}

void MemReset() {
  // Leave full screen first, so ScreenSurface goes back through the counted allocator.
  LeaveFullScreen();
  MemMessageBoxes.clear();
  MemFrame.clear();
  MemFrameWidth = MemFrameHeight = 0;
  MemFramesPresented = 0;
  MemBridgeOpen = false;
  MemFullScreen = false;
  MemDeliverCreate = true;
  MemFailingCall = nullptr;
  MemIconFails = false;
  MemPumpCalls = 0;
  MemDelayTotal = 0;
  MemDelayCalls = 0;
  MemStopCalls = 0;
  EventQueue.clear();
  ResetPumpState();
  MainWindow = nullptr;
  WindowCreated = 0;
  WindowActive = 0;
  ClearKeys();
  MouseX = MouseY = 0;
  LeftButton = RightButton = 0;
  ShowMouse(true);
  MemCursorVisible = true;
  FullScreenActive = 0;
  DisplayModeChanged = 0;
  QuitRequested = 0;
  ScreenWidth = ScreenHeight = 0;
}

const char* BackendStartDisplay() {
  return Fails("SDL_Init") ? "SDL_Init" : nullptr;
}

bool BackendMakeIcon() {
  return !MemIconFails;
}

const char* BackendCreateWindow(const char*, WindowHandle* window) {
  if (Fails("SDL_CreateWindow")) return "SDL_CreateWindow";
  *window = &MemWindowToken;
  if (MemDeliverCreate) MemQueueEvent({PlatformEventType::Created, 0, 0, 0});
  return nullptr;
}

void BackendDestroyWindow() {}

bool BackendNextEvent(PlatformEvent* event) {
  ++MemPumpCalls;
  if (EventQueue.empty()) return false;
  *event = EventQueue.front();
  EventQueue.pop_front();
  return true;
}

// Nothing outside the test can send an event, so an empty queue means none will ever come.
bool BackendWaitForEvent(uint32_t) {
  return !EventQueue.empty();
}

bool BackendEventWaiting() {
  return !EventQueue.empty();
}

void BackendSetCursorVisible(bool visible) {
  MemCursorVisible = visible;
}

bool BackendSetDisplayMode(int32_t, int32_t, int32_t) {
  if (Fails("SDL_SetWindowFullscreen")) return false;
  MemFullScreen = true;
  return true;
}

void BackendRestoreDisplayMode() {
  MemFullScreen = false;
}

void BackendMinimiseOrRestore(bool) {}

void BackendMessageBox(const char* title, const char* text, bool fatal) {
  MemMessageBoxes.push_back({title, text, fatal});
}

void BackendStop() {
  ++MemStopCalls;
  MemFatalHandler();
}

void BackendDelay(uint32_t milliseconds) {
  MemDelayTotal += milliseconds;
  ++MemDelayCalls;
}

// Frames are not held back here: tests and tools run at full speed.
void BackendSleep(uint32_t) {}

int32_t GetDefaultDirectDraw(WindowHandle, int32_t width, int32_t height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  MemFrameWidth = width;
  MemFrameHeight = height;
  MemBridgeOpen = true;
  return 0;
}

int32_t DirectDrawBlit(const uint16_t* pixels) {
  if (!MemBridgeOpen || pixels == nullptr) return 0;
  ++MemFramesPresented;
  MemFrame.assign(pixels, pixels + static_cast<std::size_t>(MemFrameWidth) * MemFrameHeight);
  return 0;
}

int32_t CloseDirectDraw() {
  MemBridgeOpen = false;
  return 0;
}
