// Tables built at start-up and the arithmetic on them: key translation, colours and the
// palette, trigonometry. SDL key codes are written from SDL's published values (characters,
// or USB scancode | 1 << 30); the expected codes are the Windows VK_ values.
#include <gtest/gtest.h>

#include <cmath>

#include "platform3d/keys.h"
#include "platform3d/palette.h"
#include "platform3d/platform.h"
#include "platform3d/trig.h"

namespace {

TEST(KeyTranslation, SdlKeysBecomeVirtualKeys) {
  const int32_t s = SdlScancodeMask;
  // Letters, digits and the game keys; arrows; F1, F12, F13; keypad 0, 1, 9 and enter; shift,
  // control and alt; backspace, tab, delete, page up and down. Then keys without a code:
  // nothing, upper case (SDL never sends it), a layout's a-umlaut, unknown and negative codes.
  const int32_t cases[][2] = {{'a', 'A'},           {'q', 'Q'},        {'z', 'Z'},
                              {'0', '0'},           {'9', '9'},        {' ', 32},
                              {'\r', 13},           {27, 27},          {s | 80, 37},
                              {s | 82, 38},         {s | 79, 39},      {s | 81, 40},
                              {s | 58, 0x70},       {s | 69, 0x7B},    {s | 104, 0x7C},
                              {s | 98, 0x60},       {s | 89, 0x61},    {s | 97, 0x69},
                              {s | 88, 13},         {s | 225, 0x10},   {s | 229, 0x10},
                              {s | 224, 0x11},      {s | 226, 0x12},   {'\b', 0x08},
                              {'\t', 0x09},         {127, 0x2E},       {s | 75, 0x21},
                              {s | 78, 0x22},       {0, NoVirtualKey}, {'A', NoVirtualKey},
                              {0xE4, NoVirtualKey}, {s, NoVirtualKey}, {s | 500, NoVirtualKey},
                              {-1, NoVirtualKey}};
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromSdl(c[0]), c[1]) << c[0];
  for (int32_t code = -300; code < 70000; ++code) {  // every code fits KeyDown
    ASSERT_LT(VirtualKeyFromSdl(code), KeyCount) << code;
    ASSERT_LT(VirtualKeyFromSdl(SdlKeyFromScancode(code & 0xFFFF)), KeyCount) << code;
  }
}

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
