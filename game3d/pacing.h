// How often the main loop draws: only when the picture can have changed, at most once a
// display refresh, with the engine's slices filling the rest of a frame at full strength; and
// the camera's time step.
#pragma once
#include <cstdint>

// True when this pass must run: the view or the menu page is new, an event arrived or waits,
// or (in the game view) the engine searches, a key or button that acts while held is down, or
// a new wall-clock second began. Otherwise nothing on the screen can change.
bool PassMustRun();
// In a game frame, after the engine and the player have had their turn: true when the picture
// would differ from the last one shown. Otherwise (the engine thinking, nothing shown changing)
// the frame is not drawn and the engine keeps the time.
bool GameFrameMustDraw();
// A pass that draws nothing: sleeps until an event or the next wall-clock second. The events
// are taken in by the next frame's own pump, after its drawing, as always: so the frame's last
// step (Escape) and the next frame's steps see a press that was over before the pump.
void WaitForChange();
// At full strength, after the frame's designed slices: more slices while the frame's time
// lasts, keeping back what drawing the frame takes. *enginePlayed is set when one played.
void SearchRestOfFrame(uint8_t* enginePlayed);
// Around the drawing of a game frame, which SearchRestOfFrame keeps time for.
void DrawStarted();
void DrawFinished();
// The camera's step for this frame: time since the last game frame in 60ths of a second, 1
// after a pause in the drawing.
double CameraStepFrames();
