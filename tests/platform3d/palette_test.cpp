#include "platform3d/palette.h"

#include <gtest/gtest.h>

namespace {

TEST(Colour, RGB565PacksFieldsAndWrapsWithoutMasking) {
  EXPECT_EQ(RGB565(0, 0, 0), 0);
  EXPECT_EQ(RGB565(31, 63, 31), 0xFFFF);
  EXPECT_EQ(RGB565(1, 0, 0), 0x0800);
  EXPECT_EQ(RGB565(0, 1, 0), 0x0020);
  // Out-of-range levels spill into the next field, and past red out of the word.
  EXPECT_EQ(RGB565(0, 64, 0), RGB565(1, 0, 0));
  EXPECT_EQ(RGB565(0, 0, 32), RGB565(0, 1, 0));
  EXPECT_EQ(RGB565(33, 2, 3), RGB565(1, 2, 3));
  // Adding two light colours: blue carries into green, green into red, red overflows away.
  EXPECT_EQ(static_cast<uint16_t>(RGB565(20, 40, 20) + RGB565(20, 40, 20)), RGB565(9, 17, 8));
}

TEST(Palette, EachRampWithLaterWritesWinningAndRedBlueHalvedToEven) {
  BuildPalette();
  const struct {
    int index, red, green, blue;
  } cases[] = {
      {1, 2, 3, 2},       // grey (3, 3, 3): 1.5 -> 2
      {2, 2, 5, 2},       // (5, 5, 5): 2.5 -> 2
      {3, 4, 7, 4},       // (7, 7, 7): 3.5 -> 4
      {15, 16, 31, 16},   // (31, 31, 31): 15.5 -> 16
      {29, 30, 59, 30},   // (59, 59, 59): 29.5 -> 30
      {30, 5, 2, 1},      // grey until the red ramp at i = 5: (10, round(5/3), round(5/3))
      {55, 30, 10, 5},    // green ramp (5, 10, 5) at i = 5, then red (60, 10, 10) at i = 30
      {60, 5, 20, 5},     // green ramp i = 10: (10, 20, 10)
      {82, 4, 7, 7},      // blue ramp i = 7: (7, 7, 14)
      {105, 0, 0, 0},     // blue ramp's (30, 30, 60), then 105 + 0
      {120, 30, 15, 30},  // 120 + 0, then 105 + 15: (60, 15, 60)
      {134, 7, 56, 28},   // 120 + 14: (14, 56, 56)
      {135, 8, 60, 30},   // 135 + 0, then 120 + 15: (15, 60, 60)
      {152, 4, 8, 2},     // 150 + 2: (8, 8, 4)
      {170, 10, 15, 5},   // 165 + 5: (20, 15, 10)
      {188, 16, 16, 4},   // 180 + 8: (32, 16, 8)
      {200, 10, 10, 5},   // 195 + 5: (20, 10, 10)
      {210, 30, 30, 15},  // 195 + 15: (60, 30, 30)
      {0, 0, 1, 0},       // grey (1, 1, 1)
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Palette[c.index].red, c.red) << c.index;
    EXPECT_EQ(Palette[c.index].green, c.green) << c.index;
    EXPECT_EQ(Palette[c.index].blue, c.blue) << c.index;
  }
  for (int i = 211; i <= 255; ++i) EXPECT_EQ(PaletteColour(static_cast<uint8_t>(i)), 32) << i;
  EXPECT_EQ(PaletteColour(188), 16 * 2048 + 16 * 32 + 4);
  EXPECT_EQ(PaletteColour(0), 0);  // entry 0 is (0, 1, 0), yet index 0 is the transparent texel
}

}  // namespace
