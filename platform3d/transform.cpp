#include "platform3d/transform.h"

#include <algorithm>
#include <cmath>

#include "platform3d/faces.h"
#include "platform3d/trig.h"

double CameraYaw = 0.0;
double CameraPitch = 0.0;

namespace {

// trunc(16 x degrees) as a Rotate2D index; a value that does not fit 16 bits becomes -1,
// which Rotate2D treats as "leave the point".
int16_t AngleIndex(double degrees) {
  const double sixteenths = std::trunc(16.0 * degrees);
  if (!(sixteenths >= -32768.0 && sixteenths <= 32767.0)) return -1;
  return static_cast<int16_t>(sixteenths);
}

// Rotate2D about the origin for a whole column pair, with the table look-up done once.
void RotatePairs(int16_t* first, int16_t* second, int count, int16_t index) {
  const int j = TrigSteps - index;
  if (j < 0 || j > TrigSteps) return;
  const double c = CosTable[TrigIndex(j)];
  const double s = SinTable[TrigIndex(j)];
  for (int f = 0; f < count; ++f) {
    const Point16 p = RotateOffset(c, s, first[f], second[f], 0, 0);
    first[f] = p.x;
    second[f] = p.y;
  }
}

}  // namespace

void RotateFaces() {
  if (ViewCount <= 0) return;
  const int count = std::min<int>(ViewCount, PipelineFaces - 1) + 1;
  const int16_t yaw = AngleIndex(CameraYaw);
  const int16_t pitch = AngleIndex(CameraPitch);
  ViewArrays& v = ViewFaces;
  RotatePairs(v.X1, v.Z1, count, yaw);
  RotatePairs(v.X2, v.Z2, count, yaw);
  RotatePairs(v.X3, v.Z3, count, yaw);
  RotatePairs(v.X4, v.Z4, count, yaw);
  RotatePairs(v.Z1, v.Y1, count, pitch);
  RotatePairs(v.Z2, v.Y2, count, pitch);
  RotatePairs(v.Z3, v.Y3, count, pitch);
  RotatePairs(v.Z4, v.Y4, count, pitch);
}
