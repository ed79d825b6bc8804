#include "platform3d/spans.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "platform3d/textures.h"
#include "tests/platform3d/test_util.h"

namespace {

constexpr uint16_t Ink = 0x1234;
constexpr uint16_t Base = 0x0F0F;

using Quad = int16_t[8];                 // x1, y1, ... x4, y4
using Corners = std::array<int32_t, 8>;  // the same in 32 bits, as the pipeline hands them over

void Fill(const Quad& q, uint16_t colour) {
  FillQuad(q[0], q[1], q[2], q[3], q[4], q[5], q[6], q[7], colour);
}
void Tex(const Quad& q, uint16_t colour, uint8_t slot) {
  TexQuad(q[0], q[1], q[2], q[3], q[4], q[5], q[6], q[7], colour, slot);
}

using Spans = RasterTest;

TEST_F(Spans, PixelsAndLinesAreClippedToTheSurface) {
  // x1, x2, y: either order, inclusive; equal ends draw nothing; clipped to 0..5 and 795..799;
  // wholly left, below or above; only pixel 0 on the frame.
  const int lines[][3] = {{20, 10, 5},     {30, 30, 6},   {-100, 5, 0}, {795, 5000, 599},
                          {-1000, -5, 10}, {0, 799, 600}, {0, 799, -1}, {0, -7, 20}};
  for (const auto& l : lines) HLine(&BackBuffer, l[0], l[1], l[2], Ink);
  PutPixel(&BackBuffer, 800, 0, Ink);
  PutPixel(&BackBuffer, 0, -1, Ink);
  PutPixel(&BackBuffer, 799, 599, Base);
  EXPECT_EQ(RowExtent(5, Ink), std::make_pair(10, 20));
  EXPECT_EQ(RowExtent(0, Ink), std::make_pair(0, 5));
  EXPECT_EQ(RowExtent(599, Ink), std::make_pair(795, 798));
  EXPECT_EQ(RowExtent(20, Ink), std::make_pair(0, 0));
  EXPECT_EQ(CountPixels(Ink), 11 + 6 + 4 + 1);
  Surface none = {};
  HLine(&none, 0, 10, 0, Ink);
  PutPixel(nullptr, 0, 0, Ink);
  ClearBackBuffer(Base);
  EXPECT_EQ(CountPixels(Base), 800 * 600);
}

TEST_F(Spans, FillQuadSpansOfHandCheckedQuads) {
  // Each case: a quad, rows as {y, first x, last x} ({-1, -1} for none) and the pixel count.
  // A square covers one extra column and no extra row. The edge (10, 0) -> (0, 3) gives x 10,
  // 7 (not 6), 4 (not 3) and 0, truncating toward zero. A triangle's tip row is 2 pixels wide.
  // A span clamped to one pixel at the right border draws nothing. The trivial reject is
  // strict: a right edge at x = 0, a bottom at y = 0, a left edge at 800 or a top at 600 draw
  // nothing, one corner past x = 0 draws. A point and a flat line have no sloped edge.
  const struct {
    Quad q;
    std::vector<std::array<int, 3>> rows;
    int total;
  } cases[] = {{{10, 10, 20, 10, 20, 20, 10, 20},
                {{9, -1, -1}, {10, 10, 21}, {20, 10, 21}, {21, -1, -1}},
                11 * 12},
               {{0, 0, 10, 0, 0, 3, 0, 3},
                {{0, 0, 11}, {1, 0, 8}, {2, 0, 5}, {3, 0, 1}, {4, -1, -1}},
                12 + 9 + 6 + 2},
               {{100, 100, 108, 100, 100, 108, 100, 108},
                {{100, 100, 109}, {104, 100, 105}, {108, 100, 101}, {109, -1, -1}},
                10 + 9 + 8 + 7 + 6 + 5 + 4 + 3 + 2},
               {{799, 300, 900, 300, 900, 310, 799, 310}, {}, 0},
               {{-10, 5, 0, 5, 0, 15, -10, 15}, {}, 0},
               {{5, -10, 15, -10, 15, 0, 5, 0}, {}, 0},
               {{800, 5, 810, 5, 810, 15, 800, 15}, {}, 0},
               {{5, 600, 15, 600, 15, 610, 5, 610}, {}, 0},
               {{-10, 5, 1, 5, 1, 15, -10, 15}, {{10, 0, 2}}, 11 * 3},
               {{300, 300, 300, 300, 300, 300, 300, 300}, {}, 0},
               {{10, 50, 700, 50, 700, 50, 10, 50}, {}, 0},
               {{-32768, -32768, 32767, -32768, 32767, 32767, -32768, 32767}, {}, 800 * 600}};
  for (const auto& c : cases) {
    ClearBackBuffer(0);
    Fill(c.q, Ink);
    for (const auto& [y, first, last] : c.rows) {
      EXPECT_EQ(RowExtent(y, Ink), std::make_pair(first, last)) << c.q[0] << ", row " << y;
    }
    EXPECT_EQ(CountPixels(Ink), c.total) << c.q[0] << "," << c.q[1];
  }
}

TEST_F(Spans, PickingMarksADrawnRowSpanHoldingTheMouse) {
  // Mouse x and y, armed, marked: the span of row 15 is x 10..21 and the mouse must lie
  // strictly inside; the row below the quad has no span; unarmed nothing is marked. (Mouse
  // positions past the frame are compared against the unclamped span in the random test.)
  const int cases[][4] = {{10, 15, 1, 0}, {11, 15, 1, 1}, {20, 15, 1, 1},
                          {21, 15, 1, 0}, {15, 21, 1, 0}, {15, 15, 0, 0}};
  for (const auto& c : cases) {
    HoverSquare = NoHoverSquare;
    MouseX = static_cast<uint16_t>(c[0]);
    MouseY = static_cast<uint16_t>(c[1]);
    PickArmed = static_cast<uint8_t>(c[2]);
    Fill({10, 10, 20, 10, 20, 20, 10, 20}, Ink);
    EXPECT_EQ(HoverSquare, c[3] ? PickMarker : NoHoverSquare) << c[0] << "," << c[1];
  }
  // A row wholly past the right border is skipped before the pick test, in texture cells too.
  // A quad leaning right 4 pixels a row from x = 790 starts row 103 at 802, though its first
  // cell reaches back to 790: the mouse on that cell's row 103 marks nothing, on row 101 it does.
  std::fill(TextureSlots[4], TextureSlots[4] + TextureWords, Ink);
  PickArmed = 1;
  for (const int y : {103, 101}) {
    HoverSquare = NoHoverSquare;
    MouseX = static_cast<uint16_t>(y == 103 ? 805 : 795);
    MouseY = static_cast<uint16_t>(y);
    Tex({790, 100, 1000, 100, 1400, 200, 1190, 200}, Base, 4);
    EXPECT_EQ(HoverSquare, y == 103 ? NoHoverSquare : PickMarker);
  }
}

// Some x > 0, some x < 800, some y > 0 and some y < 600.
template <class Q>
bool PassesTrivialReject(const Q& q) {
  const int32_t xs[4] = {q[0], q[2], q[4], q[6]}, ys[4] = {q[1], q[3], q[5], q[7]};
  return *std::max_element(xs, xs + 4) > 0 && *std::min_element(xs, xs + 4) < 800 &&
         *std::max_element(ys, ys + 4) > 0 && *std::min_element(ys, ys + 4) < 600;
}

// FillQuad as its steps are written: per row and edge, x = xa + (y - ya)(xb - xa) div (yb - ya).
// True when a drawn row's span holds the mouse (a mark if picking is armed).
template <class Q>
bool ReferenceFillQuad(std::vector<uint16_t>& frame, const Q& q, uint16_t colour) {
  if (!PassesTrivialReject(q)) return false;
  const int32_t ys[4] = {q[1], q[3], q[5], q[7]};
  const int64_t yTop = *std::min_element(ys, ys + 4), yBottom = *std::max_element(ys, ys + 4);
  const int edges[4][2] = {{3, 0}, {0, 1}, {1, 2}, {2, 3}};
  bool marked = false;
  for (int64_t row = std::clamp<int64_t>(yTop, 0, 599);
       row <= std::clamp<int64_t>(yBottom + 1, 0, 599); ++row) {
    int64_t left = 801, right = -2;
    for (const auto& e : edges) {
      const int64_t xa = q[2 * e[0]], ya = q[2 * e[0] + 1], xb = q[2 * e[1]], yb = q[2 * e[1] + 1];
      if (ya == yb || row < std::min(ya, yb) || row > std::max(ya, yb)) continue;
      const int64_t at = xa + (row - ya) * (xb - xa) / (yb - ya);
      left = std::min(left, at);
      right = std::max(right, at);
    }
    right += 1;
    if ((left < 0 && right < 0) || (left > 799 && right > 799)) continue;
    if (row == MouseY && left < MouseX && MouseX < right) marked = true;
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
      Quad q;
      const int cx = i % 2 ? 779 + cellAt(random) % 21 : cellAt(random), cy = rowAt(random);
      for (int k = 0; k < 8; ++k) {
        const int cell = (k % 2 ? cy : cx) + cellCorner(random);
        q[k] = static_cast<int16_t>(kind == 0 ? cell : kind == 1 ? screen(random) : wide(random));
      }
      const uint16_t colour = static_cast<uint16_t>(kind * 1500 + i + 1);
      MouseX = static_cast<uint16_t>(q[0] & 1023);
      MouseY = static_cast<uint16_t>(q[3] & 1023);
      PickArmed = 1;
      HoverSquare = NoHoverSquare;
      const bool marked = ReferenceFillQuad(expected, q, colour);
      Fill(q, colour);
      ASSERT_EQ(HoverSquare == PickMarker, marked) << kind << " " << i;
    }
    for (int p = 0; p < 800 * 600; ++p) {
      ASSERT_EQ(BackBuffer.pixels[p], expected[p]) << kind << ": " << p % 800 << "," << p / 800;
    }
  }
}

// TexQuad as its steps are written: the base fill, the 32 x 32 grid, then a FillQuad per
// non-transparent texel (largest side above 31) or a point per texel.
bool ReferenceTexQuad(std::vector<uint16_t>& frame, const Corners& q, uint16_t colour,
                      const uint16_t* texels) {
  if (!PassesTrivialReject(q)) return false;
  bool marked = ReferenceFillQuad(frame, q, colour);
  auto along = [](int64_t from, int64_t to, int64_t k) { return from + k * (to - from) / 32; };
  auto grid = [&](int r, int c, int axis) {  // axis 0: x, 1: y
    const int64_t left = along(q[axis], q[6 + axis], r), right = along(q[2 + axis], q[4 + axis], r);
    return static_cast<int32_t>(along(left, right, c));
  };
  int64_t size = 0;
  for (int k = 0; k < 8; ++k) size = std::max(size, std::abs(int64_t{q[(k + 2) % 8]} - q[k]));
  for (int r = 0; r < 32; ++r) {
    for (int c = 0; c < 32; ++c) {
      const uint16_t t = texels[r * 32 + c];
      if (t == 0) continue;
      if (size > 31) {
        if (r == 31 || c == 31) continue;
        const Corners cell = {grid(r, c, 0),     grid(r, c, 1),         grid(r, c + 1, 0),
                              grid(r, c + 1, 1), grid(r + 1, c + 1, 0), grid(r + 1, c + 1, 1),
                              grid(r + 1, c, 0), grid(r + 1, c, 1)};
        marked |= ReferenceFillQuad(frame, cell, t);
      } else if (grid(r, c, 0) >= 0 && grid(r, c, 0) < 800 && grid(r, c, 1) >= 0 &&
                 grid(r, c, 1) < 600) {
        frame[grid(r, c, 1) * 800 + grid(r, c, 0)] = t;
      }
    }
  }
  return marked;
}

TEST_F(Spans, TexQuadMatchesItsWrittenStepsOnRandomQuadsAndTextures) {
  std::vector<uint16_t> expected(800 * 600, 0);
  std::mt19937 random(7);
  auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  // Textures a quarter transparent, picking armed on every other quad, the mouse near the
  // middle of the quad (where cells meet) or past the frame.
  for (int kind = 0; kind < 9; ++kind) {
    for (int i = 0; i < 40; ++i) {
      for (int k = 0; k < TextureWords; ++k) TextureSlots[7][k] = any(0, 3) ? any(1, 0xFFFF) : 0;
      const int x = any(0, 799), y = any(0, 599), w = any(-40, 340), h = any(-20, 170);
      const int s = any(-10, 85), thin = any(1, 31), far = any(1 << 26, 1 << 29) * (i % 2 ? 1 : -1);
      auto anyX = [&] { return kind == 5 ? any(-300, 1100) : any(-32768, 32767); };
      const Corners shapes[9] = {
          {x, y, x + w, y + s, x + w + s, y + h, x - s, y + h - s},  // floor-like
          {x / 3, y / 3, x / 3 + 2 * w, y / 3, x / 3 + 2 * w, y / 3 + h, x / 3, y / 3 + h},
          {x, y, x + w, y + any(-700, 700), x + w, y + any(-700, 700), x, y + any(-700, 700)},
          {0, y, thin, y, thin, y + 2 * h, 0, y + 2 * h},  // cells on x = 0 are rejected
          {x, 0, x + 2 * w, 0, x + 2 * w, thin, x, thin},  // and those on y = 0
          {anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX()},
          {anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX()},
          {x - 40 * w, y, x + 60 * w, y + s, x + 60 * w, y + h, x - 40 * w, y + h + s},
          {x, y, x + w, y, far, std::abs(far), x, y + h}};  // as projected close to the eye
      const Corners& q = shapes[kind];
      MouseX = static_cast<uint16_t>(std::clamp((q[0] + q[4]) / 2 + any(-4, 4), 0, 1023));
      MouseY = static_cast<uint16_t>(std::clamp((q[1] + q[5]) / 2 + any(-4, 4), 0, 1023));
      PickArmed = static_cast<uint8_t>(i % 2);
      HoverSquare = NoHoverSquare;
      const uint16_t colour = static_cast<uint16_t>(kind * 100 + i + 1);
      const bool marked = ReferenceTexQuad(expected, q, colour, TextureSlots[7]);
      TexScreenQuad({{q[0], q[2], q[4], q[6]}, {q[1], q[3], q[5], q[7]}}, colour, 7);
      ASSERT_EQ(HoverSquare == PickMarker, marked && PickArmed) << kind << " " << i;
    }
    for (int p = 0; p < 800 * 600; ++p) {
      ASSERT_EQ(BackBuffer.pixels[p], expected[p]) << kind << ": " << p % 800 << "," << p / 800;
    }
  }
}

TEST_F(Spans, TexQuadDrawsPointsUpTo31PixelsAndCellsAbove) {
  for (int i = 0; i < TextureWords; ++i) TextureSlots[4][i] = static_cast<uint16_t>(1000 + i);
  TextureSlots[4][5 * 32 + 7] = 0;  // transparent texel (7, 5): shows the face colour
  Tex({100, 200, 131, 200, 131, 231, 100, 231}, Base, 4);  // largest side 31: points
  // Grid point c lands at 100 + 31c div 32: c and c - 1 share nothing except c = 0 and 1.
  for (int r = 1; r < 32; ++r) {
    for (int c = 1; c < 32; ++c) {
      const int texel = r == 5 && c == 7 ? Base : 1000 + r * 32 + c;
      ASSERT_EQ(Pixel(99 + c, 199 + r), texel) << c << "," << r;
    }
  }
  EXPECT_EQ(Pixel(132, 210), Base);  // the base fill reaches past the last texel column
  EXPECT_EQ(Pixel(133, 210), 0);

  // Cell mode: row and column 31 are never drawn.
  for (int r = 0; r < 32; ++r) {
    for (int c = 0; c < 32; ++c) {
      TextureSlots[6][r * 32 + c] =
          (r == 31 || c == 31) ? 0xBEEF : static_cast<uint16_t>(1 + r * 32 + c);
    }
  }
  ClearBackBuffer(0);
  Tex({0, 0, 64, 0, 64, 64, 0, 64}, Base, 6);  // grid point (r, c) at (2c, 2r)
  // Cell (r, c) spans x 2c..2c+3 and y 2r..2r+2; the last cell drawn over (2c+1, 2r+1) is its own.
  for (int r = 0; r <= 30; ++r) {
    for (int c = 0; c <= 30; ++c) ASSERT_EQ(Pixel(2 * c + 1, 2 * r + 1), 1 + r * 32 + c);
  }
  EXPECT_EQ(Pixel(64, 63), Base);
  EXPECT_EQ(Pixel(63, 64), Base);
  Tex({100, 200, 132, 200, 132, 232, 100, 232}, Base, 6);  // 32 wide: cells already
  EXPECT_EQ(CountPixels(0xBEEF), 0);
  Tex({300, 200, 331, 200, 331, 231, 300, 231}, Base, 6);  // 31 wide: points, row 31 too
  EXPECT_EQ(RowExtent(230, 0xBEEF), std::make_pair(300, 330));
}

TEST_F(Spans, OffScreenAndDegenerateQuadsWriteNothingOutOfBounds) {
  for (int i = 0; i < TextureWords; ++i) TextureSlots[3][i] = static_cast<uint16_t>(1 + i);
  Tex({-100, -100, -50, -100, -50, -50, -100, -50}, Ink, 3);  // rejected
  EXPECT_EQ(CountPixels(Ink), 0);
  Tex({10, 10, 50, 10, 50, 50, 10, 50}, Ink, 200);  // no such slot: the face colour only
  EXPECT_EQ(RowExtent(30, Ink), std::make_pair(10, 51));
  Tex({790, 590, 810, 590, 810, 610, 790, 610}, Ink, 3);  // points off the frame are skipped
  TexScreenQuad({{-2000000000, 2000000000, 5, 0}, {7, -2000000000, 2000000000, 3}}, Base, 5);
  // Random quads, near the frame and anywhere (ASan checks every write).
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> any(-32768, 32767), near(-900, 1700);
  for (int i = 0; i < 3000; ++i) {
    int16_t v[8];
    for (int16_t& c : v) c = static_cast<int16_t>(i % 2 ? any(random) : near(random));
    Fill(v, Ink);
    if (i % 10 == 0) Tex(v, Base, 5);
  }
  // A smaller BackBuffer, and none at all.
  FreeSurface(&BackBuffer);
  AllocSurface(&BackBuffer, 100, 50, true);
  Fill({-10, -10, 500, -10, 500, 500, -10, 500}, Ink);
  EXPECT_EQ(CountPixels(Ink), 100 * 50);
  Tex({0, 0, 400, 0, 400, 400, 0, 400}, Ink, 3);
  Tex({0, 0, 20, 0, 20, 20, 0, 20}, Ink, 3);
  ClearBackBuffer(Base);
  EXPECT_EQ(CountPixels(Base), 100 * 50);
  FreeSurface(&BackBuffer);
  Fill({0, 0, 100, 0, 100, 100, 0, 100}, Ink);
  ClearBackBuffer(Ink);
}

}  // namespace
