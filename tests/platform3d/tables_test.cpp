// Tables built at start-up and the arithmetic on them: key translation, colours and the
// palette, trigonometry. SDL key codes are written from SDL's published values (characters,
// or USB scancode | 1 << 30); the expected codes are the Windows VK_ values.
#include "tests/platform3d/test_util.h"

TEST(KeyTranslation, SdlKeysBecomeVirtualKeys) {
  constexpr int32_t s = SdlScancodeMask, none = NoVirtualKey;
  // Letters, digits and the game keys; arrows; F1, F12, F13; keypad 0, 1, 9 and enter; shift,
  // control and alt; backspace, tab, delete, page up and down. Then keys without a code:
  // nothing, upper case (SDL never sends it), a layout's a-umlaut, unknown and negative codes.
  const int32_t cases[][2] = {
      {'a', 'A'},      {'q', 'Q'},      {'z', 'Z'},      {'0', '0'},     {'9', '9'},
      {' ', 32},       {'\r', 13},      {27, 27},        {s | 80, 37},   {s | 82, 38},
      {s | 79, 39},    {s | 81, 40},    {s | 58, 0x70},  {s | 69, 0x7B}, {s | 104, 0x7C},
      {s | 98, 0x60},  {s | 89, 0x61},  {s | 97, 0x69},  {s | 88, 13},   {s | 225, 0x10},
      {s | 229, 0x10}, {s | 224, 0x11}, {s | 226, 0x12}, {'\b', 0x08},   {'\t', 0x09},
      {127, 0x2E},     {s | 75, 0x21},  {s | 78, 0x22},  {0, none},      {'A', none},
      {0xE4, none},    {s, none},       {s | 500, none}, {-1, none}};
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromSdl(c[0]), c[1]) << c[0];
  for (int32_t code = -300; code < 70000; ++code) {  // every code fits KeyDown
    ASSERT_LT(VirtualKeyFromSdl(code), KeyCount) << code;
    ASSERT_LT(VirtualKeyFromSdl(SdlKeyFromScancode(code & 0xFFFF)), KeyCount) << code;
  }
}

TEST(Colour, RGB565PacksFieldsAndWrapsWithoutMasking) {
  // Out-of-range levels spill into the next field, and past red out of the word.
  const int cases[][4] = {{0, 0, 0, 0},      {31, 63, 31, 0xFFFF}, {1, 0, 0, 0x0800},
                          {0, 1, 0, 0x0020}, {0, 64, 0, 0x0800},   {0, 0, 32, 0x0020},
                          {33, 2, 3, 0x0843}};
  for (const auto& c : cases) EXPECT_EQ(RGB565(c[0], c[1], c[2]), c[3]) << c[0] << "," << c[1];
  // Adding two light colours: blue carries into green, green into red, red overflows away.
  EXPECT_EQ(static_cast<uint16_t>(RGB565(20, 40, 20) + RGB565(20, 40, 20)), RGB565(9, 17, 8));
}

TEST(Palette, EachRampWithLaterWritesWinningAndRedBlueHalvedToEven) {
  BuildPalette();
  // Index, red, green, blue. Grey (3, 3, 3), (5, 5, 5), (7, 7, 7), (31, 31, 31) and (59, 59, 59)
  // halve red and blue to 2, 2, 4, 16 and 30. 30: grey until the red ramp at i = 5 (10,
  // round(5/3), round(5/3)). 55: green (5, 10, 5) at i = 5, then red (60, 10, 10) at i = 30.
  // 60: green i = 10. 82: blue i = 7. 105: blue's (30, 30, 60), then 105 + 0. 120: 120 + 0,
  // then 105 + 15. 134: 120 + 14. 135: 135 + 0, then 120 + 15. 152: 150 + 2. 170: 165 + 5.
  // 188: 180 + 8. 200: 195 + 5. 210: 195 + 15. 0: grey (1, 1, 1).
  const int cases[][4] = {{1, 2, 3, 2},     {2, 2, 5, 2},      {3, 4, 7, 4},      {15, 16, 31, 16},
                          {29, 30, 59, 30}, {30, 5, 2, 1},     {55, 30, 10, 5},   {60, 5, 20, 5},
                          {82, 4, 7, 7},    {105, 0, 0, 0},    {120, 30, 15, 30}, {134, 7, 56, 28},
                          {135, 8, 60, 30}, {152, 4, 8, 2},    {170, 10, 15, 5},  {188, 16, 16, 4},
                          {200, 10, 10, 5}, {210, 30, 30, 15}, {0, 0, 1, 0}};
  for (const auto& c : cases) {
    const PaletteEntry& e = Palette[c[0]];
    EXPECT_EQ((std::array<int, 3>{e.red, e.green, e.blue}), (std::array{c[1], c[2], c[3]})) << c[0];
  }
  for (int i = 211; i <= 255; ++i) EXPECT_EQ(PaletteColour(static_cast<uint8_t>(i)), 32) << i;
  EXPECT_EQ(PaletteColour(188), 16 * 2048 + 16 * 32 + 4);
  EXPECT_EQ(PaletteColour(0), 0);  // entry 0 is (0, 1, 0), yet index 0 is the transparent texel
}

TEST(Trig, TablesUseTheBuiltInConstantHaveNoZerosAndRotate2DGivesExactValues) {
  BuildTrigTables();
  EXPECT_DOUBLE_EQ(CosTable[TrigIndex(2880)], std::cos(3.141576));
  EXPECT_DOUBLE_EQ(SinTable[TrigIndex(5760)], std::sin(360 * 0.0174532));
  EXPECT_EQ(CosDeg(90.03), CosTable[TrigIndex(1440)]);  // 1440.48 -> 1440
  // Look-ups truncate to sixteenths. Exact zeros (sin 0) and unfilled entries inside
  // -99..5999 read 0.001 (-0.01 degrees is entry 0, -1 degree entry -16); outside they read 0.
  const struct {
    double (*lookUp)(double);
    double degrees, value;
  } cases[] = {
      {CosDeg, 0, 1.0},           {SinDeg, 0, 0.001},           {CosDeg, -99 / 16.0, 0.001},
      {SinDeg, -1 / 16.0, 0.001}, {CosDeg, 5761 / 16.0, 0.001}, {SinDeg, 5999 / 16.0, 0.001},
      {CosDeg, -100 / 16.0, 0.0}, {SinDeg, 375, 0.0},           {SinDeg, -0.01, 0.001},
      {CosDeg, -1.0, 0.001},      {SinDeg, 1000.0, 0.0},        {SinDeg, std::nan(""), 0.0}};
  for (const auto& c : cases) EXPECT_EQ(c.lookUp(c.degrees), c.value) << c.degrees;
  for (int i = -99; i <= 5999; ++i) {
    ASSERT_TRUE(CosTable[TrigIndex(i)] != 0.0 && SinTable[TrigIndex(i)] != 0.0) << i;
  }
  // Rotate2D's centre, point, index and result: quarter turns about the origin and about
  // (10, 20), a half turn, 45 degrees (70.71 both ways). Index 5760 reads entry 0, where sin 0
  // became 0.001: y moves by -x / 1000, and x = dx + 0.001 dy of exactly 2.5 and 3.5 goes to
  // the even neighbour. Outside the circle the point is left as it was. Results wrap at 16 bits.
  const int turns[][7] = {
      {0, 0, 100, 0, 1440, 0, 100},       {10, 20, 110, 20, 1440, 10, 120},
      {0, 0, 100, 50, 2880, -100, -50},   {0, 0, 100, 0, 720, 71, 71},
      {0, 0, 1000, 0, 5760, 1000, -1},    {0, 0, 2, 500, 5760, 2, 500},
      {0, 0, 3, 500, 5760, 4, 500},       {0, 0, 123, -456, -1, 123, -456},
      {0, 0, 123, -456, 5761, 123, -456}, {30000, 0, -30000, 0, 2880, 90000 - 65536, 1}};
  for (const auto& c : turns) {
    const auto v = [&](int k) { return static_cast<int16_t>(c[k]); };
    const Point16 p = Rotate2D(v(0), v(1), v(2), v(3), v(4));
    EXPECT_EQ((std::array<int, 2>{p.x, p.y}), (std::array{c[5], c[6]}))
        << c[2] << "," << c[3] << " by " << c[4];
  }
}
