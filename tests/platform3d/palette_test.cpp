#include "platform3d/palette.h"

#include <gtest/gtest.h>

namespace {

void ExpectEntry(int index, int red, int green, int blue) {
  SCOPED_TRACE(index);
  EXPECT_EQ(Palette[index].red, red);
  EXPECT_EQ(Palette[index].green, green);
  EXPECT_EQ(Palette[index].blue, blue);
}

TEST(Colour, RGB565PacksFieldsAndWrapsWithoutMasking) {
  EXPECT_EQ(RGB565(0, 0, 0), 0);
  EXPECT_EQ(RGB565(31, 63, 31), 0xFFFF);
  EXPECT_EQ(RGB565(1, 0, 0), 0x0800);
  EXPECT_EQ(RGB565(0, 1, 0), 0x0020);
  // Out-of-range levels spill into the next field, and past red out of the word.
  EXPECT_EQ(RGB565(0, 64, 0), RGB565(1, 0, 0));
  EXPECT_EQ(RGB565(0, 0, 32), RGB565(0, 1, 0));
  EXPECT_EQ(RGB565(32, 0, 0), 0);
  EXPECT_EQ(RGB565(33, 2, 3), RGB565(1, 2, 3));
  // Adding two light colours: blue carries into green, green into red, red overflows away.
  const uint16_t sum = static_cast<uint16_t>(RGB565(20, 40, 20) + RGB565(20, 40, 20));
  EXPECT_EQ(sum, RGB565(9, 17, 8));
}

TEST(Palette, GreyRampIsHalvedWithTiesToEven) {
  BuildPalette();
  ExpectEntry(1, 2, 3, 2);      // (3, 3, 3): 1.5 -> 2
  ExpectEntry(2, 2, 5, 2);      // (5, 5, 5): 2.5 -> 2
  ExpectEntry(3, 4, 7, 4);      // (7, 7, 7): 3.5 -> 4
  ExpectEntry(15, 16, 31, 16);  // (31, 31, 31): 15.5 -> 16
  ExpectEntry(29, 30, 59, 30);  // (59, 59, 59): 29.5 -> 30
  EXPECT_EQ(PaletteColour(2), 2 * 2048 + 5 * 32 + 2);
  EXPECT_EQ(PaletteColour(15), 16 * 2048 + 31 * 32 + 16);
}

TEST(Palette, LaterRampsOverwriteEarlierEntries) {
  BuildPalette();
  // Entry 30 was grey (61, 61, 61) until the red ramp at i = 5: (10, round(5/3), round(5/3)).
  ExpectEntry(30, 5, 2, 1);
  // Entry 55: green ramp at i = 5 gave (5, 10, 5); red ramp at i = 30 wrote (60, 10, 10) later.
  ExpectEntry(55, 30, 10, 5);
  // Blue ramp at i = 7: (7, 7, 14).
  ExpectEntry(82, 4, 7, 7);
  // 105 ends the blue ramp (30, 30, 60) but step 3 starts there with i = 0.
  ExpectEntry(105, 0, 0, 0);
  // 120 is written as 120 + 0 at i = 0, then as 105 + 15 (60, 15, 60) at i = 15.
  ExpectEntry(120, 30, 15, 30);
  ExpectEntry(135, 8, 60, 30);   // likewise 120 + 15 (15, 60, 60) after 135 + 0
  ExpectEntry(134, 7, 56, 28);   // (14, 56, 56)
  ExpectEntry(188, 16, 16, 4);   // 180 + 8: (32, 16, 8)
  ExpectEntry(210, 30, 30, 15);  // 195 + 15: (60, 30, 30)
  EXPECT_EQ(PaletteColour(188), 16 * 2048 + 16 * 32 + 4);
}

TEST(Palette, TailAndIndexZero) {
  BuildPalette();
  for (int i = 211; i <= 255; ++i) ExpectEntry(i, 0, 1, 0);  // (1, 1, 1) halved
  // Entry 0 is (0, 1, 0), yet its colour is 0: index 0 is the transparent texel.
  ExpectEntry(0, 0, 1, 0);
  EXPECT_EQ(PaletteColour(0), 0);
  EXPECT_EQ(PaletteColour(255), RGB565(0, 1, 0));
}

}  // namespace
