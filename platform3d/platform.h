// The window, input state, full-screen switch, frame presentation and message boxes of the
// 3D program. The operations are the same whichever backend is linked: platform3d_sdl for the
// real program, platform3d_mem for tests and tools.
#pragma once
#include <cstdint>

#include "platform3d/surface.h"

using WindowHandle = void*;

constexpr int32_t KeyCount = 257;  // KeyDown is indexed by Windows virtual-key codes
constexpr uint16_t VkReturn = 13;
constexpr uint16_t VkEscape = 27;
constexpr uint16_t VkSpace = 32;
constexpr uint16_t VkHome = 36;
constexpr uint16_t VkLeft = 37;
constexpr uint16_t VkUp = 38;
constexpr uint16_t VkRight = 39;
constexpr uint16_t VkDown = 40;

extern WindowHandle MainWindow;    // the one window, nothing before CreateMainWindow
extern uint8_t WindowCreated;      // 1 from creation until destruction
extern uint8_t WindowActive;       // 1 while the window is not minimised
extern uint8_t KeyDown[KeyCount];  // 1 while the key is held; letters/digits by upper-case ASCII
extern uint16_t MouseX, MouseY;    // last mouse position in frame pixels
extern uint8_t LeftButton, RightButton;
extern uint8_t CursorShown;         // state last given to ShowMouse; 1 at start
extern uint8_t FullScreenActive;    // full screen entered and the display bridge open
extern uint8_t DisplayModeChanged;  // the last SetDisplayMode switched the display
extern uint8_t QuitRequested;       // the system asked the program to close (window close, signal)
extern uint8_t EventsArrived;  // PumpMessages handled an event since the game last cleared this
extern int32_t ScreenWidth, ScreenHeight;  // frame size given to EnterFullScreen
// Set before the window is made: a framed, resizable window of the frame's size, the frame
// scaled into it, instead of full screen.
extern uint8_t WindowedDisplay;

void PlatformStart();        // MMX check, cursor state
void RegisterWindowClass();  // start the display system
WindowHandle CreateMainWindow(const char* title);
void WaitForCreate();
// Handles the queued events, never waits. A press or release that would be undone within one
// pump, and a press in the same pump as a move of the mouse, wait for the next pump: so every
// press is seen by a frame, where it was made, however short it was.
void PumpMessages();
// Sleeps until an event is queued, for at most the milliseconds given.
void WaitForEvents(uint32_t milliseconds);
// An event is queued for the next PumpMessages.
bool EventsWaiting();
void WaitWhileInactive();  // sleep on events while minimised
void DestroyMainWindow();
void ClearKeys();
void ShowMouse(bool show);
void EnterFullScreen(int32_t width, int32_t height);
void LeaveFullScreen();
void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel);
void RestoreDisplayMode();
// Shows a frame of width x height 5-6-5 pixels (those of EnterFullScreen), at most one per
// display refresh: where the display does not hold it back itself, it waits for its turn at 60
// frames a second.
void PresentFrame(const uint16_t* pixels);
// Microseconds until the next frame is due; 0 once it is.
int32_t FrameMicrosecondsLeft();
void MinimiseOrRestore(bool restore);
void Delay(uint32_t milliseconds);

// Message boxes. A carriage return in a text starts a new line. FatalError leaves full screen
// and stops the program; only a test backend's handler may make it return.
void FatalError(const char* title, const char* text);
void WarningBox(const char* title, const char* text);
