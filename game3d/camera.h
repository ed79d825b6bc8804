// The camera the player flies: position in world units, angles in transform.h.
#pragma once
#include <cstdint>

extern double CameraX, CameraY, CameraZ;

// Behind the first menu, looking across the board from a corner.
void PlaceStartCamera();
// Where the player of the side (0 White, 1 Black) sits at a new game.
void PlaceNewGameCamera(uint8_t playerSide);
// Every game frame: turn while Space or the right button is held, stay inside the room,
// fly with the arrow keys, back to the player's seat with Home. `frames` is the time since the
// last step in 60ths of a second: the designed steps are those of a frame at 60 a second.
void MoveCamera(double frames = 1);
// CameraCell := the camera position rounded, for this frame's render.
void TakeCameraCell();
