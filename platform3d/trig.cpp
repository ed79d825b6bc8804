#include "platform3d/trig.h"

#include <cmath>

double CosTable[TrigLast - TrigFirst + 1];
double SinTable[TrigLast - TrigFirst + 1];

namespace {

// Reads a table at trunc(16 x degrees), guarding the index.
double LookUp(const double* table, double degrees) {
  const double sixteenths = std::trunc(16.0 * degrees);
  if (!(sixteenths >= TrigFirst && sixteenths <= TrigLast)) return 0.0;  // also NaN
  return table[TrigIndex(static_cast<int>(sixteenths))];
}

}  // namespace

double DegToRad(double degrees) {
  return degrees * 0.0174532;
}

void BuildTrigTables() {
  for (int i = TrigFirst; i <= TrigLast; ++i) {
    CosTable[TrigIndex(i)] = 0.0;
    SinTable[TrigIndex(i)] = 0.0;
  }
  for (int i = 0; i <= TrigSteps; ++i) {
    const double radians = DegToRad(i / 16.0);
    CosTable[TrigIndex(i)] = std::cos(radians);
    SinTable[TrigIndex(i)] = std::sin(radians);
  }
  // Callers divide by table values; keep them away from zero.
  for (int i = -99; i <= 5999; ++i) {
    if (CosTable[TrigIndex(i)] == 0.0) CosTable[TrigIndex(i)] = 0.001;
    if (SinTable[TrigIndex(i)] == 0.0) SinTable[TrigIndex(i)] = 0.001;
  }
}

double CosDeg(double degrees) {
  return LookUp(CosTable, degrees);
}
double SinDeg(double degrees) {
  return LookUp(SinTable, degrees);
}

Point16 Rotate2D(int16_t cx, int16_t cy, int16_t px, int16_t py, int16_t index) {
  const int j = TrigSteps - index;
  if (j < 0 || j > TrigSteps) return {px, py};
  return RotateOffset(CosTable[TrigIndex(j)], SinTable[TrigIndex(j)], px - cx, py - cy, cx, cy);
}
