// The second pipeline stage: turning view faces by the camera's yaw and pitch.
#pragma once

// Camera angles in degrees, 0..359.9, moved by the game's camera control. Yaw 0 looks along
// +z; a pitch near 330 looks down.
extern double CameraYaw;
extern double CameraPitch;

// Turns ViewFaces 0..ViewCount (only when ViewCount > 0): (x, z) by the yaw, then (z, y) by the
// pitch, both through Rotate2D about the origin. Afterwards z is the depth in front of the
// camera, x grows to the right and y downwards on the screen.
void RotateFaces();
