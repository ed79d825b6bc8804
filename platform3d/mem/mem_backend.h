// The in-memory backend: no display, frames kept in memory, input given by the caller, message
// boxes recorded. For tests and kvtool; the game code runs on it unchanged.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform3d/backend.h"

struct MemMessageBox {
  std::string title;
  std::string text;
  bool fatal;
};

extern std::vector<MemMessageBox> MemMessageBoxes;  // every box shown, oldest first
extern std::vector<uint16_t>
    MemFrame;  // copy of the last frame presented while the bridge was open
extern int32_t MemFrameWidth, MemFrameHeight;  // size the bridge was opened with
extern uint32_t MemFramesPresented;            // PresentFrame calls with the bridge open
extern bool MemBridgeOpen;
extern bool MemFullScreen;          // the display is switched
extern bool MemCursorVisible;       // what the system cursor shows
extern bool MemDeliverCreate;       // false: creating the window never reports it (default true)
extern const char* MemFailingCall;  // a system function to fail ("SDL_Init", "SDL_CreateWindow")
extern bool MemIconFails;
extern uint32_t MemPumpCalls;   // events polled for: one per PumpMessages plus one per event
extern uint64_t MemDelayTotal;  // milliseconds asked of Delay (it never sleeps here)
extern uint32_t MemDelayCalls;
extern uint32_t MemStopCalls;  // times the program would have stopped
// Called where the process would stop; the default puts the last box on stderr and exits with
// status 1. Tests install one that returns, and FatalError then returns to its caller.
extern void (*MemFatalHandler)();

// Queues an event for the next PumpMessages, as if the system had sent it.
void MemQueueEvent(const PlatformEvent& event);
void MemQueueKey(uint16_t virtualKey, bool pressed);
void MemQueueMouse(int32_t x, int32_t y, int32_t heldButtons);
// Back to the state of a fresh process: backend records, window layer globals and the cursor.
void MemReset();
