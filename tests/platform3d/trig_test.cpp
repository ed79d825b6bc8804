#include "platform3d/trig.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Trig : public ::testing::Test {
 protected:
  void SetUp() override { BuildTrigTables(); }
};

TEST_F(Trig, TablesUseTheBuiltInConstant) {
  EXPECT_DOUBLE_EQ(DegToRad(180.0), 3.141576);
  EXPECT_DOUBLE_EQ(CosTable[TrigIndex(2880)], std::cos(3.141576));
  EXPECT_DOUBLE_EQ(SinTable[TrigIndex(5760)], std::sin(360 * 0.0174532));
  // 90 degrees is not quite pi/2 with this constant: the cosine there is small but not zero.
  EXPECT_NE(CosTable[TrigIndex(1440)], 0.001);
  EXPECT_NEAR(CosTable[TrigIndex(1440)], 0.0, 1e-4);
}

TEST_F(Trig, ExactZerosBecomeOneThousandth) {
  EXPECT_EQ(CosTable[TrigIndex(0)], 1.0);
  EXPECT_EQ(SinTable[TrigIndex(0)], 0.001);  // sin 0
  // Unfilled entries inside -99..5999 are replaced too, those outside stay 0.
  EXPECT_EQ(CosTable[TrigIndex(-99)], 0.001);
  EXPECT_EQ(SinTable[TrigIndex(-1)], 0.001);
  EXPECT_EQ(CosTable[TrigIndex(5761)], 0.001);
  EXPECT_EQ(SinTable[TrigIndex(5999)], 0.001);
  EXPECT_EQ(CosTable[TrigIndex(-100)], 0.0);
  EXPECT_EQ(SinTable[TrigIndex(6000)], 0.0);
  for (int i = -99; i <= 5999; ++i) {
    ASSERT_NE(CosTable[TrigIndex(i)], 0.0) << i;
    ASSERT_NE(SinTable[TrigIndex(i)], 0.0) << i;
  }
}

TEST_F(Trig, DegreeLookUpsTruncateToSixteenths) {
  EXPECT_EQ(CosDeg(90.03), CosTable[TrigIndex(1440)]);  // 1440.48 -> 1440
  EXPECT_EQ(SinDeg(-0.01), SinTable[TrigIndex(0)]);     // -0.16 -> 0
  EXPECT_EQ(CosDeg(-1.0), 0.001);                       // index -16, unfilled
  EXPECT_EQ(SinDeg(1000.0), 0.0);                       // past the table
  EXPECT_EQ(CosDeg(-1e9), 0.0);
  EXPECT_EQ(SinDeg(std::nan("")), 0.0);
}

TEST_F(Trig, Rotate2DQuarterAndHalfTurns) {
  const Point16 a = Rotate2D(0, 0, 100, 0, 1440);
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(a.y, 100);
  const Point16 b = Rotate2D(10, 20, 110, 20, 1440);  // same turn about (10, 20)
  EXPECT_EQ(b.x, 10);
  EXPECT_EQ(b.y, 120);
  const Point16 c = Rotate2D(0, 0, 100, 50, 2880);
  EXPECT_EQ(c.x, -100);
  EXPECT_EQ(c.y, -50);
  const Point16 d = Rotate2D(0, 0, 100, 0, 720);  // 45 degrees: 70.71 both ways
  EXPECT_EQ(d.x, 71);
  EXPECT_EQ(d.y, 71);
}

TEST_F(Trig, Rotate2DFullTurnSeesTheReplacedZero) {
  // Index 5760 reads entry 0, where sin 0 was replaced by 0.001: y moves by -x / 1000.
  const Point16 p = Rotate2D(0, 0, 1000, 0, 5760);
  EXPECT_EQ(p.x, 1000);
  EXPECT_EQ(p.y, -1);
  // x = dx + 0.001 dy is exactly 2.5 and 3.5 here: halves go to the even neighbour.
  EXPECT_EQ(Rotate2D(0, 0, 2, 500, 5760).x, 2);
  EXPECT_EQ(Rotate2D(0, 0, 3, 500, 5760).x, 4);
}

TEST_F(Trig, Rotate2DLeavesPointForIndexOutsideTheCircleAndWraps) {
  const Point16 p = Rotate2D(0, 0, 123, -456, -1);
  EXPECT_EQ(p.x, 123);
  EXPECT_EQ(p.y, -456);
  const Point16 q = Rotate2D(0, 0, 123, -456, 5761);
  EXPECT_EQ(q.x, 123);
  EXPECT_EQ(q.y, -456);
  // Half a turn of a point 60000 away from the centre leaves 16 bits: 90000 wraps.
  const Point16 w = Rotate2D(30000, 0, -30000, 0, 2880);
  EXPECT_EQ(w.x, static_cast<int16_t>(90000 - 65536));
  EXPECT_EQ(w.y, 1);
}

}  // namespace
