// The pixel font: where each glyph is cut from, the fixed signs, case, gaps, scale 2, edges.
#include "test_util.h"

namespace {

constexpr uint16_t Ink = 0x7BEF;

using MenuText = GameTest;

std::vector<uint16_t> Text(const char* text, int x, int y, int scale) {
  return Drawn([=] { DrawMenuText(int16_t(x), int16_t(y), text, Ink, uint8_t(scale)); });
}

TEST_F(MenuText, EachCharacterIsCutFromItsCellOrDrawnAsItsSign) {
  // Cells at columns 1, 7, 13, 19, 25 of rows 1, 8, 15, 22, read row by row; a single texel
  // at column 2, row 3 of the cell draws a single dot there. Signs are dots on row 53 +- 800.
  const char* cells[2] = {"aeimqbfjnrcgkosdhlpt", "uy37vz48w159x260"};
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; cells[p][i] != '\0'; ++i) {
      FillFont(-1);  // the cell's texel at row 3, column 2, in a sheet of 5 - p cells a row
      uint16_t* const sheet = p ? FontImage2 : FontImage1;
      sheet[(4 + 7 * (i / (5 - p))) * 32 + 3 + 6 * (i % (5 - p))] = 1;
      Text(std::string(1, cells[p][i]).c_str(), 100, 50, 1);
      EXPECT_TRUE(Pixel(102, 53) == Ink && CountPixels(Ink) == 1) << cells[p][i];
    }
  }
  FillFont(0);  // the signs do not read the pictures; other characters draw nothing
  // clang-format off
  const std::pair<const char*, std::vector<int>> signs[] = {
      {"-", {101, 102, 103}}, {".", {102 + 800 * 2}}, {"+", {101, 102, 103, 102 - 800, 102 + 800}},
      {" /:#", {}}};
  // clang-format on
  for (const auto& [text, dots] : signs) {
    Text(text, 100, 50, 1);
    for (int d : dots) EXPECT_EQ(BackBuffer.pixels[53 * 800 + d], Ink) << text;
    EXPECT_EQ(CountPixels(Ink), int(dots.size())) << text;
  }
}

TEST_F(MenuText, CaseGapsScaleAndEdges) {
  FillFont(5);
  EXPECT_TRUE(Text("AbC", 10, 10, 1) == Text("abc", 10, 10, 1));
  EXPECT_TRUE(Text("a/b:c", 10, 10, 1) == Text("a b c", 10, 10, 1));  // a 4-dot gap each
  EXPECT_TRUE(Text("k7", 210, 101, 2) == Text("k7", 211, 100, 2));    // halved to the same dots
  EXPECT_GT(CountPixels(Ink), 0);
  // Full cells of "www": the last dot is 798 / 598 at scale 1 and 397 / 297 at scale 2, cut
  // cells do not wrap, scale 2 halves -3 to -1, other scales draw nothing.
  FillFont(0);
  const int edges[][4] = {{792, 590, 1, 7 * 6},   {780, 596, 1, 12 * 3}, {-6, 0, 1, 6 * 6},
                          {786, 586, 2, 10 * 10}, {-3, -3, 2, 22 * 10},  {10, 10, 3, 0}};
  for (const auto& e : edges) {
    Text("www", e[0], e[1], e[2]);
    EXPECT_EQ(CountPixels(Ink), e[3]) << e[0] << "," << e[1];
  }
}

}  // namespace
