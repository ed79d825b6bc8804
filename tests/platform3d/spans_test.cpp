#include "platform3d/spans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "platform3d/textures.h"
#include "tests/platform3d/raster_fixture.h"

namespace {

constexpr uint16_t Ink = 0x1234;
constexpr uint16_t Base = 0x0F0F;

using Spans = RasterTest;

TEST_F(Spans, HLineDrawsInclusiveRangeInEitherOrderAndNothingForEqualEnds) {
  HLine(&BackBuffer, 20, 10, 5, Ink);
  EXPECT_EQ(RowExtent(5, Ink), std::make_pair(10, 20));
  EXPECT_EQ(CountPixels(Ink), 11);
  HLine(&BackBuffer, 30, 30, 6, Ink);
  EXPECT_EQ(CountPixels(Ink), 11);
}

TEST_F(Spans, PixelWritesOutsideTheSurfaceAreIgnored) {
  HLine(&BackBuffer, -100, 5, 0, Ink);      // clipped to 0..5
  HLine(&BackBuffer, 795, 5000, 599, Ink);  // clipped to 795..799
  HLine(&BackBuffer, -1000, -5, 10, Ink);   // wholly left
  HLine(&BackBuffer, 0, 799, 600, Ink);     // below
  HLine(&BackBuffer, 0, 799, -1, Ink);      // above
  PutPixel(&BackBuffer, 800, 0, Ink);
  PutPixel(&BackBuffer, 0, -1, Ink);
  PutPixel(&BackBuffer, 799, 599, Base);
  HLine(&BackBuffer, 0, -7, 20, Ink);  // only pixel 0 of the span is on the frame
  EXPECT_EQ(RowExtent(0, Ink), std::make_pair(0, 5));
  EXPECT_EQ(RowExtent(599, Ink), std::make_pair(795, 798));
  EXPECT_EQ(Pixel(799, 599), Base);
  EXPECT_EQ(RowExtent(20, Ink), std::make_pair(0, 0));
  EXPECT_EQ(CountPixels(Ink), 6 + 4 + 1);
  Surface none = {};
  HLine(&none, 0, 10, 0, Ink);
  PutPixel(&none, 0, 0, Ink);
  PutPixel(nullptr, 0, 0, Ink);
}

TEST_F(Spans, ClearBackBufferFillsEveryPixel) {
  PutPixel(&BackBuffer, 3, 3, Ink);
  ClearBackBuffer(Base);
  EXPECT_EQ(CountPixels(Base), 800 * 600);
}

TEST_F(Spans, SquareCoversOneExtraColumnAndNoExtraRow) {
  FillQuad(10, 10, 20, 10, 20, 20, 10, 20, Ink);
  // Rows 10..20 from x 10 to the right edge plus one.
  for (int y = 10; y <= 20; ++y) EXPECT_EQ(RowExtent(y, Ink), std::make_pair(10, 21)) << y;
  EXPECT_EQ(CountPixels(Ink), 11 * 12);
}

TEST_F(Spans, SlopedEdgesTruncateTowardZero) {
  // Edge (10, 0) -> (0, 3): x = 10 + y(-10) div 3 gives 10, 7 (not 6), 4 (not 3), 0.
  FillQuad(0, 0, 10, 0, 0, 3, 0, 3, Ink);
  EXPECT_EQ(RowExtent(0, Ink), std::make_pair(0, 11));
  EXPECT_EQ(RowExtent(1, Ink), std::make_pair(0, 8));
  EXPECT_EQ(RowExtent(2, Ink), std::make_pair(0, 5));
  EXPECT_EQ(RowExtent(3, Ink), std::make_pair(0, 1));
  EXPECT_EQ(RowExtent(4, Ink), std::make_pair(-1, -1));
}

TEST_F(Spans, ASpanIsAtLeastTwoPixels) {
  // A triangle (the last two corners equal) whose tip row is a single point: drawn 2 wide.
  FillQuad(100, 100, 108, 100, 100, 108, 100, 108, Ink);
  EXPECT_EQ(RowExtent(108, Ink), std::make_pair(100, 101));
  EXPECT_EQ(RowExtent(104, Ink), std::make_pair(100, 105));
  // A quad whose span is clamped to a single pixel at the right border draws nothing there.
  FillQuad(799, 300, 900, 300, 900, 310, 799, 310, Base);
  EXPECT_EQ(CountPixels(Base), 0);
}

TEST_F(Spans, TrivialRejectUsesStrictComparisons) {
  // Without the reject each row would show the 2-pixel span x 0..1.
  FillQuad(-10, 5, 0, 5, 0, 15, -10, 15, Ink);
  // Bottom edge at y = 0 exactly; right edge at x = 800; top at y = 600.
  FillQuad(5, -10, 15, -10, 15, 0, 5, 0, Ink);
  FillQuad(800, 5, 810, 5, 810, 15, 800, 15, Ink);
  FillQuad(5, 600, 15, 600, 15, 610, 5, 610, Ink);
  EXPECT_EQ(CountPixels(Ink), 0);
  FillQuad(-10, 5, 1, 5, 1, 15, -10, 15, Ink);  // one corner past x = 0: drawn
  EXPECT_EQ(RowExtent(10, Ink), std::make_pair(0, 2));
}

TEST_F(Spans, PickingMarksARowSpanHoldingTheMouse) {
  MouseY = 15;
  PickArmed = 1;
  const struct {
    uint16_t x;
    bool marked;
  } cases[] = {{10, false}, {11, true}, {20, true}, {21, false}};
  for (const auto& c : cases) {
    HoverSquare = NoHoverSquare;
    MouseX = c.x;
    FillQuad(10, 10, 20, 10, 20, 20, 10, 20, Ink);
    EXPECT_EQ(HoverSquare, c.marked ? PickMarker : NoHoverSquare) << c.x;
  }
  // The extra row below the quad has no span; unarmed, nothing is marked.
  HoverSquare = NoHoverSquare;
  MouseX = 15;
  MouseY = 21;
  FillQuad(10, 10, 20, 10, 20, 20, 10, 20, Ink);
  EXPECT_EQ(HoverSquare, NoHoverSquare);
  PickArmed = 0;
  MouseY = 15;
  FillQuad(10, 10, 20, 10, 20, 20, 10, 20, Ink);
  EXPECT_EQ(HoverSquare, NoHoverSquare);
}

TEST_F(Spans, PickingLooksAtTheSpanBeforeClamping) {
  PickArmed = 1;
  MouseX = 810;  // the window can report positions past the frame
  MouseY = 50;
  FillQuad(700, 40, 900, 40, 900, 60, 700, 60, Ink);
  EXPECT_EQ(HoverSquare, PickMarker);
}

// FillQuad as its steps are written: per row and edge, x = xa + (y - ya)(xb - xa) div (yb - ya).
bool ReferenceFillQuad(std::vector<uint16_t>& frame, const int32_t (&x)[4], const int32_t (&y)[4],
                       uint16_t colour, int32_t mouseX, int32_t mouseY) {
  bool anyRight = false, anyLeft = false, anyBelow = false, anyAbove = false;
  for (int k = 0; k < 4; ++k) {
    anyRight |= x[k] > 0;
    anyLeft |= x[k] < 800;
    anyBelow |= y[k] > 0;
    anyAbove |= y[k] < 600;
  }
  if (!(anyRight && anyLeft && anyBelow && anyAbove)) return false;
  const int64_t yTop = std::clamp<int64_t>(std::min({y[0], y[1], y[2], y[3]}), 0, 599);
  const int64_t yBottom =
      std::clamp<int64_t>(int64_t{std::max({y[0], y[1], y[2], y[3]})} + 1, 0, 599);
  const int edges[4][2] = {{3, 0}, {0, 1}, {1, 2}, {2, 3}};
  bool marked = false;
  for (int64_t row = yTop; row <= yBottom; ++row) {
    int64_t left = 801, right = -2;
    for (const auto& e : edges) {
      const int64_t xa = x[e[0]], ya = y[e[0]], xb = x[e[1]], yb = y[e[1]];
      if (ya == yb || row < std::min(ya, yb) || row > std::max(ya, yb)) continue;
      const int64_t at = xa + (row - ya) * (xb - xa) / (yb - ya);
      left = std::min(left, at);
      right = std::max(right, at);
    }
    right += 1;
    if ((left < 0 && right < 0) || (left > 799 && right > 799)) continue;
    if (row == mouseY && left < mouseX && mouseX < right) marked = true;
    left = std::max<int64_t>(left, 0);
    right = std::min<int64_t>(right, 799);
    if (left < right) std::fill(&frame[row * 800 + left], &frame[row * 800 + right] + 1, colour);
  }
  return marked;
}

TEST_F(Spans, FillQuadMatchesItsWrittenStepsOnRandomQuads) {
  std::vector<uint16_t> expected(800 * 600, 0);
  std::mt19937 random(2024);
  std::uniform_int_distribution<int> cellCorner(0, 20), cellAt(0, 799), rowAt(0, 599);
  std::uniform_int_distribution<int> screen(-200, 1000), wide(-32768, 32767);
  // Small cells on the frame (half of them at the right border, where spans end one past the
  // corners), then quads around the frame, then anything at all; compared after each kind.
  for (int kind = 0; kind < 3; ++kind) {
    for (int i = 0; i < 1500; ++i) {
      int32_t x[4], y[4];
      const int cx = i % 2 ? 779 + cellAt(random) % 21 : cellAt(random), cy = rowAt(random);
      for (int k = 0; k < 4; ++k) {
        x[k] = kind == 0 ? cx + cellCorner(random) : kind == 1 ? screen(random) : wide(random);
        y[k] = kind == 0 ? cy + cellCorner(random) : kind == 1 ? screen(random) : wide(random);
      }
      const uint16_t colour = static_cast<uint16_t>(kind * 1500 + i + 1);
      MouseX = static_cast<uint16_t>(x[0] & 1023);
      MouseY = static_cast<uint16_t>(y[1] & 1023);
      const bool marked = ReferenceFillQuad(expected, x, y, colour, MouseX, MouseY);
      PickArmed = 1;
      HoverSquare = NoHoverSquare;
      FillQuad(static_cast<int16_t>(x[0]), static_cast<int16_t>(y[0]), static_cast<int16_t>(x[1]),
               static_cast<int16_t>(y[1]), static_cast<int16_t>(x[2]), static_cast<int16_t>(y[2]),
               static_cast<int16_t>(x[3]), static_cast<int16_t>(y[3]), colour);
      ASSERT_EQ(HoverSquare == PickMarker, marked) << kind << " " << i;
    }
    for (int p = 0; p < 800 * 600; ++p) {
      ASSERT_EQ(BackBuffer.pixels[p], expected[p]) << kind << ": " << p % 800 << "," << p / 800;
    }
  }
}

void FillTexture(uint8_t slot, uint16_t first) {
  for (int i = 0; i < TextureWords; ++i) TextureSlots[slot][i] = static_cast<uint16_t>(first + i);
}

TEST_F(Spans, SmallTexturedQuadDrawsTexelsAsPoints) {
  FillTexture(4, 1000);
  TextureSlots[4][5 * 32 + 7] = 0;                           // transparent texel (7, 5)
  TexQuad(100, 200, 131, 200, 131, 231, 100, 231, Base, 4);  // largest side 31: point mode
  // Grid point c lands at 100 + 31c div 32: c and c - 1 share nothing except c = 0 and 1.
  for (int r = 1; r < 32; ++r) {
    for (int c = 1; c < 32; ++c) {
      if (r == 5 && c == 7) continue;
      ASSERT_EQ(Pixel(100 + c - 1, 200 + r - 1), 1000 + r * 32 + c) << c << "," << r;
    }
  }
  EXPECT_EQ(Pixel(106, 204), Base);  // the transparent texel shows the face colour
  EXPECT_EQ(Pixel(131, 210), Base);  // the base fill reaches past the last texel column
  EXPECT_EQ(Pixel(132, 210), Base);
  EXPECT_EQ(Pixel(133, 210), 0);
}

TEST_F(Spans, LargeTexturedQuadDrawsCellsWithoutRowAndColumn31) {
  for (int r = 0; r < 32; ++r) {
    for (int c = 0; c < 32; ++c) {
      TextureSlots[6][r * 32 + c] =
          (r == 31 || c == 31) ? 0xBEEF : static_cast<uint16_t>(1 + r * 32 + c);
    }
  }
  TexQuad(0, 0, 64, 0, 64, 64, 0, 64, Base, 6);  // grid point (r, c) at (2c, 2r)
  // Cell (r, c) spans x 2c..2c+3 and y 2r..2r+2; the last cell drawn over (2c+1, 2r+1) is its own.
  for (int r = 0; r <= 30; ++r) {
    for (int c = 0; c <= 30; ++c) ASSERT_EQ(Pixel(2 * c + 1, 2 * r + 1), 1 + r * 32 + c);
  }
  EXPECT_EQ(Pixel(64, 63), Base);
  EXPECT_EQ(Pixel(63, 64), Base);
  EXPECT_EQ(CountPixels(0xBEEF), 0);
}

TEST_F(Spans, CellModeStartsAbove31Pixels) {
  for (int i = 0; i < TextureWords; ++i) TextureSlots[8][i] = i >= 31 * 32 ? 0xBEEF : 0x0101;
  TexQuad(100, 200, 132, 200, 132, 232, 100, 232, Base, 8);  // 32 wide: cells, no row 31
  EXPECT_EQ(CountPixels(0xBEEF), 0);
  EXPECT_GT(CountPixels(0x0101), 0);
  TexQuad(300, 200, 331, 200, 331, 231, 300, 231, Base, 8);  // 31 wide: points, row 31 too
  EXPECT_EQ(RowExtent(230, 0xBEEF), std::make_pair(300, 330));
}

TEST_F(Spans, TexturedQuadOutsideScreenOrSlotsDrawsOnlyWhatIsValid) {
  FillTexture(3, 1);
  TexQuad(-100, -100, -50, -100, -50, -50, -100, -50, Ink, 3);  // rejected
  EXPECT_EQ(CountPixels(Ink), 0);
  TexQuad(10, 10, 50, 10, 50, 50, 10, 50, Ink, 200);  // no such slot: the face colour only
  EXPECT_EQ(RowExtent(30, Ink), std::make_pair(10, 51));
  // Point mode close to the borders: texels off the frame are skipped.
  TexQuad(790, 590, 810, 590, 810, 610, 790, 610, Ink, 3);
}

TEST_F(Spans, ExtremeAndDegenerateQuadsStayInsideTheFrame) {
  FillQuad(-32768, -32768, 32767, -32768, 32767, 32767, -32768, 32767, Ink);
  EXPECT_EQ(CountPixels(Ink), 800 * 600);
  ClearBackBuffer(0);
  FillQuad(300, 300, 300, 300, 300, 300, 300, 300, Ink);  // a point
  FillQuad(10, 50, 700, 50, 700, 50, 10, 50, Ink);        // a flat line: no sloped edge
  EXPECT_EQ(CountPixels(Ink), 0);
  FillScreenQuad(
      {{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}},
      Ink);
  EXPECT_EQ(CountPixels(Ink), 800 * 600);
  TexScreenQuad({{-2000000000, 2000000000, 5, 0}, {7, -2000000000, 2000000000, 3}}, Base, 5);

  std::mt19937 random(12345);
  std::uniform_int_distribution<int> any(-32768, 32767);
  std::uniform_int_distribution<int> near(-900, 1700);
  for (int i = 0; i < 3000; ++i) {
    auto pick = [&] { return static_cast<int16_t>(i % 2 ? any(random) : near(random)); };
    int16_t v[8];
    for (int16_t& c : v) c = pick();
    FillQuad(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], Ink);
    if (i % 10 == 0) TexQuad(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], Base, 5);
  }
}

TEST_F(Spans, QuadsIntoASmallerOrMissingBackBufferAreClipped) {
  FreeSurface(&BackBuffer);
  AllocSurface(&BackBuffer, 100, 50, true);
  FillQuad(-10, -10, 500, -10, 500, 500, -10, 500, Ink);
  EXPECT_EQ(CountPixels(Ink), 100 * 50);
  FillTexture(2, 7);
  TexQuad(0, 0, 400, 0, 400, 400, 0, 400, Ink, 2);
  TexQuad(0, 0, 20, 0, 20, 20, 0, 20, Ink, 2);
  ClearBackBuffer(Base);
  EXPECT_EQ(CountPixels(Base), 100 * 50);
  FreeSurface(&BackBuffer);
  FillQuad(0, 0, 100, 0, 100, 100, 0, 100, Ink);
  ClearBackBuffer(Ink);
}

}  // namespace
