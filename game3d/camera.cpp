#include "game3d/camera.h"

#include <algorithm>

#include "game3d/settings.h"
#include "platform3d/clip.h"
#include "platform3d/faces.h"
#include "platform3d/platform.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"

double CameraX, CameraY, CameraZ;

namespace {

constexpr double LastAngle = 359.9;
constexpr double StepAcross = 4;  // world units per frame at 60 frames a second
constexpr double StepUpDown = 6;

struct CameraPlace {
  double x, y, z, yaw, pitch;
};

void Place(const CameraPlace& place) {
  CameraX = place.x;
  CameraY = place.y;
  CameraZ = place.z;
  CameraYaw = place.yaw;
  CameraPitch = place.pitch;
}

// Past the top the angle starts again at 0, below 0 at the top: turning never stops.
double WrapAngle(double angle) {
  if (angle > LastAngle) return 0;
  if (angle < 0) return LastAngle;
  return angle;
}

// Where the camera may be: inside the room's walls, floor and ceiling with the room shown,
// far enough from them that the nearest face is not clipped away; otherwise a box around the
// board as large as the field of dots.
struct Box {
  double low, high, top, bottom;  // x and z from low to high, y from top to bottom
};
constexpr Box RoomBox = {-1500 + NearPlane, 2100 - NearPlane, -1200 + NearPlane, 200 - NearPlane};
constexpr Box OpenBox = {-1480, 2130, -1180, 230};

void KeepInside() {
  const Box& box = BuiltSurroundings == 1 ? RoomBox : OpenBox;
  CameraX = std::clamp(CameraX, box.low, box.high);
  CameraZ = std::clamp(CameraZ, box.low, box.high);
  CameraY = std::clamp(CameraY, box.top, box.bottom);
}

// `steps` steps across the floor in direction `heading`, shortened as the camera looks up or
// down.
void StepAlong(double heading, double steps) {
  const double across = steps * StepAcross * CosDeg(CameraPitch);
  CameraX += across * SinDeg(heading);
  CameraZ += across * CosDeg(heading);
}

}  // namespace

void PlaceStartCamera() {
  Place({812, -190, 782, 245, 330});
}

void PlaceNewGameCamera(uint8_t playerSide) {
  Place(playerSide == 1 ? CameraPlace{450, -550, -300, 5, 320}
                        : CameraPlace{450, -550, 1300, 175, 320});
}

void MoveCamera(double frames) {
  if (KeyDown[VkSpace] || RightButton) {
    // The pointer's distance from the screen centre sets the turning speed.
    CameraYaw = WrapAngle(CameraYaw - frames * (400.0 - MouseX) / 300.0);
    CameraPitch = WrapAngle(CameraPitch + frames * (300.0 - MouseY) / 320.0);
  }
  KeepInside();
  // Each key on its own: Up and Down together cancel out.
  if (KeyDown[VkUp]) {
    StepAlong(CameraYaw, frames);
    CameraY -= frames * StepUpDown * SinDeg(CameraPitch);
  }
  if (KeyDown[VkDown]) {
    StepAlong(CameraYaw, -frames);
    CameraY += frames * StepUpDown * SinDeg(CameraPitch);
  }
  if (KeyDown[VkLeft]) {
    double heading = CameraYaw - 90;
    if (heading < 0) heading += 360;
    StepAlong(heading, frames);
  }
  if (KeyDown[VkRight]) {
    double heading = CameraYaw + 90;
    if (heading > 360) heading -= 360;
    StepAlong(heading, frames);
  }
  KeepInside();  // a step never ends outside
  if (KeyDown[VkHome]) PlaceNewGameCamera(PlayerSideInGame());
}

void TakeCameraCell() {
  SetCameraCell(CameraX, CameraY, CameraZ);
}
