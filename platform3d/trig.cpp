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

int16_t Wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

}  // namespace

double DegToRad(double degrees) { return degrees * 0.0174532; }

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

double CosDeg(double degrees) { return LookUp(CosTable, degrees); }
double SinDeg(double degrees) { return LookUp(SinTable, degrees); }

Point16 Rotate2D(int16_t cx, int16_t cy, int16_t px, int16_t py, int16_t index) {
  const int j = TrigSteps - index;
  if (j < 0 || j > TrigSteps) return {px, py};
  const double c = CosTable[TrigIndex(j)];
  const double s = SinTable[TrigIndex(j)];
  const double dx = px - cx;
  const double dy = py - cy;
  // |dx|, |dy| < 65536 and |c|, |s| <= 1, so both sums fit an int32 before wrapping.
  const int32_t rx = static_cast<int32_t>(std::nearbyint(c * dx + s * dy));
  const int32_t ry = static_cast<int32_t>(std::nearbyint(-dx * s + dy * c));
  return {Wrap16(cx + rx), Wrap16(cy + ry)};
}
