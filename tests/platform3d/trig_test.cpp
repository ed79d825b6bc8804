#include "platform3d/trig.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Trig, TablesUseTheBuiltInConstantAndHaveNoZeros) {
  BuildTrigTables();
  EXPECT_DOUBLE_EQ(CosTable[TrigIndex(2880)], std::cos(3.141576));
  EXPECT_DOUBLE_EQ(SinTable[TrigIndex(5760)], std::sin(360 * 0.0174532));
  // 90 degrees is not quite pi/2 with this constant: the cosine there is small but not zero.
  EXPECT_NEAR(CosTable[TrigIndex(1440)], 0.0, 1e-4);
  EXPECT_NE(CosTable[TrigIndex(1440)], 0.001);
  // Exact zeros (sin 0) and unfilled entries inside -99..5999 become 0.001; outside stay 0.
  const struct {
    const double* table;
    int index;
    double value;
  } cases[] = {{CosTable, 0, 1.0},    {SinTable, 0, 0.001},    {CosTable, -99, 0.001},
               {SinTable, -1, 0.001}, {CosTable, 5761, 0.001}, {SinTable, 5999, 0.001},
               {CosTable, -100, 0.0}, {SinTable, 6000, 0.0}};
  for (const auto& c : cases) EXPECT_EQ(c.table[TrigIndex(c.index)], c.value) << c.index;
  for (int i = -99; i <= 5999; ++i) {
    ASSERT_NE(CosTable[TrigIndex(i)], 0.0) << i;
    ASSERT_NE(SinTable[TrigIndex(i)], 0.0) << i;
  }
  // Degree look-ups truncate to sixteenths; outside the table they read 0.
  EXPECT_EQ(CosDeg(90.03), CosTable[TrigIndex(1440)]);  // 1440.48 -> 1440
  EXPECT_EQ(SinDeg(-0.01), 0.001);                      // -0.16 -> 0
  EXPECT_EQ(CosDeg(-1.0), 0.001);                       // index -16, unfilled
  EXPECT_EQ(SinDeg(1000.0), 0.0);
  EXPECT_EQ(SinDeg(std::nan("")), 0.0);
}

TEST(Trig, Rotate2DExactValues) {
  BuildTrigTables();
  const struct {
    int16_t cx, cy, px, py, index, x, y;
  } cases[] = {
      {0, 0, 100, 0, 1440, 0, 100},      // quarter turn
      {10, 20, 110, 20, 1440, 10, 120},  // the same about (10, 20)
      {0, 0, 100, 50, 2880, -100, -50},  // half turn
      {0, 0, 100, 0, 720, 71, 71},       // 45 degrees: 70.71 both ways
      // Index 5760 reads entry 0, where sin 0 became 0.001: y moves by -x / 1000, and
      // x = dx + 0.001 dy of exactly 2.5 and 3.5 goes to the even neighbour.
      {0, 0, 1000, 0, 5760, 1000, -1},
      {0, 0, 2, 500, 5760, 2, 500},
      {0, 0, 3, 500, 5760, 4, 500},
      {0, 0, 123, -456, -1, 123, -456},  // outside the circle: left as it was
      {0, 0, 123, -456, 5761, 123, -456},
      {30000, 0, -30000, 0, 2880, static_cast<int16_t>(90000 - 65536), 1},  // wraps at 16 bits
  };
  for (const auto& c : cases) {
    const Point16 p = Rotate2D(c.cx, c.cy, c.px, c.py, c.index);
    EXPECT_EQ(p.x, c.x) << c.px << "," << c.py << " by " << c.index;
    EXPECT_EQ(p.y, c.y) << c.px << "," << c.py << " by " << c.index;
  }
}

}  // namespace
