#include "game3d/camera.h"

#include <algorithm>

#include "platform3d/faces.h"
#include "platform3d/platform.h"
#include "platform3d/transform.h"
#include "platform3d/trig.h"

double CameraX, CameraY, CameraZ;

namespace {

constexpr double LastAngle = 359.9;
constexpr double StepAcross = 4;  // world units per frame
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

// A step across the floor in direction `heading`, shortened as the camera looks up or down.
void StepAlong(double heading, double sign) {
  const double across = StepAcross * CosDeg(CameraPitch);
  CameraX += sign * across * SinDeg(heading);
  CameraZ += sign * across * CosDeg(heading);
}

}  // namespace

void PlaceStartCamera() {
  Place({812, -190, 782, 245, 330});
}

void PlaceNewGameCamera(uint8_t playerSide) {
  Place(playerSide == 1 ? CameraPlace{450, -550, -300, 5, 320}
                        : CameraPlace{450, -550, 1300, 175, 320});
}

void MoveCamera() {
  if (KeyDown[VkSpace] || RightButton) {
    // The pointer's distance from the screen centre sets the turning speed.
    CameraYaw = WrapAngle(CameraYaw - (400.0 - MouseX) / 300.0);
    CameraPitch = WrapAngle(CameraPitch + (300.0 - MouseY) / 320.0);
  }
  CameraX = std::clamp(CameraX, -1480.0, 2130.0);
  CameraZ = std::clamp(CameraZ, -1480.0, 2130.0);
  CameraY = std::clamp(CameraY, -1180.0, 230.0);
  // Each key on its own: Up and Down together cancel out.
  if (KeyDown[VkUp]) {
    StepAlong(CameraYaw, 1);
    CameraY -= StepUpDown * SinDeg(CameraPitch);
  }
  if (KeyDown[VkDown]) {
    StepAlong(CameraYaw, -1);
    CameraY += StepUpDown * SinDeg(CameraPitch);
  }
  if (KeyDown[VkLeft]) {
    double heading = CameraYaw - 90;
    if (heading < 0) heading += 360;
    StepAlong(heading, 1);
  }
  if (KeyDown[VkRight]) {
    double heading = CameraYaw + 90;
    if (heading > 360) heading -= 360;
    StepAlong(heading, 1);
  }
}

void TakeCameraCell() {
  SetCameraCell(CameraX, CameraY, CameraZ);
}
