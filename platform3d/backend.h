// What a backend supplies under the shared logic of platform.cpp. Each backend (sdl/, mem/)
// implements every function here; the game never calls them directly.
#pragma once
#include <cstdint>

#include "platform3d/platform.h"

// One input or window event, already in the program's terms.
enum class PlatformEventType : uint8_t {
  Created,    // the window exists
  Destroyed,  // the window is gone
  FocusGained,
  FocusLost,
  Minimised,
  Restored,
  KeyPressed,  // code = virtual-key code
  KeyReleased,
  MouseMoved,  // x, y in frame pixels; code = held buttons (1 left, 2 right, 16 middle)
  LeftPressed,
  LeftReleased,
  RightPressed,
  RightReleased,
  Exposed,  // the window's picture was lost (uncovered, resized) and must be shown again
  Quit,     // the system asks the program to close
};

struct PlatformEvent {
  PlatformEventType type;
  int32_t code;
  int32_t x;
  int32_t y;
};

constexpr int32_t MouseLeftHeld = 1;  // the button bits of a MouseMoved event
constexpr int32_t MouseRightHeld = 2;
constexpr int32_t MouseMiddleHeld = 16;

// Applies one event to the input and window state (the window procedure).
void HandlePlatformEvent(const PlatformEvent& event);
// Drops the event waiting for the next pump and the frame timing: a fresh process's state.
void ResetPumpState();

// Each returns nothing on success or the name of the system function that failed.
const char* BackendStartDisplay();
const char* BackendCreateWindow(const char* title, WindowHandle* window);
bool BackendMakeIcon();  // false: no icon, a warning only
void BackendDestroyWindow();
bool BackendNextEvent(PlatformEvent* event);  // false when the queue is empty; never waits
// Sleeps until an event may be there, for at most the milliseconds given; false if none can come.
bool BackendWaitForEvent(uint32_t milliseconds);
bool BackendEventWaiting();  // an event is queued; never waits
void BackendSetCursorVisible(bool visible);
bool BackendSetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel);
void BackendRestoreDisplayMode();
void BackendMinimiseOrRestore(bool restore);
void BackendMessageBox(const char* title, const char* text, bool fatal);
void BackendStop();  // ends the process with status 1 (the memory backend may return)
void BackendDelay(uint32_t milliseconds);
void BackendSleep(uint32_t microseconds);  // the frame pacing's wait

// The display bridge: frames of width x height on the window until closed. Results are not
// examined by the program.
int32_t GetDefaultDirectDraw(WindowHandle window, int32_t width, int32_t height);
int32_t DirectDrawBlit(const uint16_t* pixels);
int32_t CloseDirectDraw();

// True when the processor offers MMX (or is not an x86, where the test does not apply).
bool ProcessorHasMmx();
// The check PlatformStart runs: ProcessorHasMmx, replaceable so the refusal can be tested.
extern bool (*MmxCheck)();
