// Trigonometry through tables at 1/16 degree, and the 2D rotation the camera uses.
#pragma once
#include <cmath>
#include <cstdint>

constexpr int TrigFirst = -100;  // lowest table index
constexpr int TrigLast = 8649;   // highest table index
constexpr int TrigSteps = 5760;  // 360 degrees in sixteenths; entries 0..5760 hold the values

// Indexed by sixteenths of a degree through TrigIndex (the tables start at index -100).
extern double CosTable[TrigLast - TrigFirst + 1];
extern double SinTable[TrigLast - TrigFirst + 1];

constexpr int TrigIndex(int sixteenths) {
  return sixteenths - TrigFirst;
}

// Fills CosTable and SinTable; run once at start-up. No entry in -99..5999 is exactly 0.
void BuildTrigTables();

// d x 0.0174532 (this constant, not pi / 180: the tables are built with it).
double DegToRad(double degrees);

// Table look-ups at trunc(16 x degrees); an index outside the table reads as 0.
double CosDeg(double degrees);
double SinDeg(double degrees);

struct Point16 {
  int16_t x;
  int16_t y;
};

// Turns (px, py) about (cx, cy) by index/16 degrees; an index outside 0..5760 leaves the
// point as it was. Results wrap to 16 bits.
Point16 Rotate2D(int16_t cx, int16_t cy, int16_t px, int16_t py, int16_t index);

// Round to nearest, halves to even, for |v| < 2^51: adding 1.5 x 2^52 leaves no fraction bits,
// so the sum itself is rounded that way (nearbyint without the library call; needs plain
// double arithmetic, as SSE2 gives, and no fast-math reassociation).
inline double RoundHalfEven(double v) {
  constexpr double Shift = 6755399441055744.0;  // 1.5 x 2^52
  return (v + Shift) - Shift;
}

// The arithmetic of Rotate2D for a point relative to the centre, with the cosine and sine of
// table entry 5760 - index already looked up; RotateFaces turns thousands of points with one
// pair. Rounds halves to even (the default rounding mode).
inline Point16 RotateOffset(double c, double s, int32_t dx, int32_t dy, int32_t cx, int32_t cy) {
  // |dx|, |dy| < 65536 and |c|, |s| <= 1, so both sums fit an int32 before wrapping.
  const double x = dx, y = dy;
  const int32_t rx = static_cast<int32_t>(RoundHalfEven(c * x + s * y));
  const int32_t ry = static_cast<int32_t>(RoundHalfEven(-x * s + y * c));
  return {static_cast<int16_t>(static_cast<uint16_t>(cx + rx)),
          static_cast<int16_t>(static_cast<uint16_t>(cy + ry))};
}
