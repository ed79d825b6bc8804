#include "tests/platform3d/test_util.h"

constexpr uint16_t Ink = 0x1234;
constexpr uint16_t Base = 0x0F0F;

using Corners = std::array<int32_t, 8>;  // x1, y1, ... x4, y4

using Spans = RasterTest;

// Index of the first pixel where BackBuffer differs from `expected` (800 x 600 when none).
int64_t FirstDifference(const std::vector<uint16_t>& expected) {
  return std::mismatch(expected.begin(), expected.end(), BackBuffer.pixels).first -
         expected.begin();
}

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

TEST_F(Spans, PickingSkipsCellRowsWhollyPastTheRightBorder) {
  // A quad leaning right 4 pixels a row from x = 790 starts row 103 at 802, though its first
  // cell reaches back to 790: the mouse on that cell's row 103 marks nothing, on row 101 it does.
  std::fill(TextureSlots[4], TextureSlots[4] + TextureWords, Ink);
  for (const int y : {103, 101}) {
    Aim(y == 103 ? 805 : 795, y, true);
    TexQuad(790, 100, 1000, 100, 1400, 200, 1190, 200, Base, 4);
    EXPECT_EQ(HoverSquare, y == 103 ? NoHoverSquare : PickMarker);
  }
}

// Some x > 0, some x < 800, some y > 0 and some y < 600.
bool PassesTrivialReject(const Corners& q) {
  const int32_t xs[4] = {q[0], q[2], q[4], q[6]}, ys[4] = {q[1], q[3], q[5], q[7]};
  return *std::max_element(xs, xs + 4) > 0 && *std::min_element(xs, xs + 4) < 800 &&
         *std::max_element(ys, ys + 4) > 0 && *std::min_element(ys, ys + 4) < 600;
}

// FillQuad as its steps are written: per row and edge, x = xa + (y - ya)(xb - xa) div (yb - ya).
// True when a drawn row's span holds the mouse (a mark if picking is armed).
bool ReferenceFillQuad(std::vector<uint16_t>& frame, const Corners& q, uint16_t colour) {
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
  // Small cells on the frame and across its left, right and top borders (where the trivial
  // reject is strict and spans end one past the corners), then quads around the frame, then
  // anything at all; compared after each kind.
  for (int kind = 0; kind < 3; ++kind) {
    for (int i = 0; i < 1500; ++i) {
      Corners q;
      const int cx = i % 3 == 0 ? cellAt(random) : (i % 3 == 1 ? 779 : -20) + cellAt(random) % 21;
      const int cy = i % 2 ? rowAt(random) : rowAt(random) % 21 - 20;
      for (int k = 0; k < 8; ++k) {
        const int cell = (k % 2 ? cy : cx) + cellCorner(random);
        q[k] = kind == 0 ? cell : kind == 1 ? screen(random) : wide(random);
      }
      const uint16_t colour = static_cast<uint16_t>(kind * 1500 + i + 1);
      Aim(q[0] & 1023, q[3] & 1023, true);
      const bool marked = ReferenceFillQuad(expected, q, colour);
      FillQuad(q[0], q[1], q[2], q[3], q[4], q[5], q[6], q[7], colour);
      ASSERT_EQ(HoverSquare == PickMarker, marked) << kind << " " << i;
    }
    const int64_t p = FirstDifference(expected);
    ASSERT_EQ(p, 800 * 600) << kind << ": first difference at " << p % 800 << "," << p / 800;
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
  for (int kind = 0; kind < 10; ++kind) {
    for (int i = 0; i < 40; ++i) {
      for (int k = 0; k < TextureWords; ++k) TextureSlots[7][k] = any(0, 3) ? any(1, 0xFFFF) : 0;
      const int x = any(0, 799), y = any(0, 599), w = any(-40, 340), h = any(-20, 170);
      const int s = any(-10, 85), thin = any(1, 31), far = any(1 << 26, 1 << 29) * (i % 2 ? 1 : -1);
      const int side = 31 + i % 2;  // largest side 31 draws points, 32 cells
      auto anyX = [&] { return kind == 5 ? any(-300, 1100) : any(-32768, 32767); };
      const Corners shapes[10] = {
          {x, y, x + w, y + s, x + w + s, y + h, x - s, y + h - s},  // floor-like
          {x / 3, y / 3, x / 3 + 2 * w, y / 3, x / 3 + 2 * w, y / 3 + h, x / 3, y / 3 + h},
          {x, y, x + w, y + any(-700, 700), x + w, y + any(-700, 700), x, y + any(-700, 700)},
          {0, y, thin, y, thin, y + 2 * h, 0, y + 2 * h},  // cells on x = 0 are rejected
          {x, 0, x + 2 * w, 0, x + 2 * w, thin, x, thin},  // and those on y = 0
          {anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX()},
          {anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX(), anyX()},
          {x - 40 * w, y, x + 60 * w, y + s, x + 60 * w, y + h, x - 40 * w, y + h + s},
          {x, y, x + w, y, far, std::abs(far), x, y + h},  // as projected close to the eye
          {x, y, x + side, y, x + side, y + thin, x, y + thin}};
      const Corners& q = shapes[kind];
      const int mouseX = std::clamp((q[0] + q[4]) / 2 + any(-4, 4), 0, 1023);
      Aim(mouseX, std::clamp((q[1] + q[5]) / 2 + any(-4, 4), 0, 1023), i % 2);
      const uint16_t colour = static_cast<uint16_t>(kind * 100 + i + 1);
      const bool marked = ReferenceTexQuad(expected, q, colour, TextureSlots[7]);
      TexScreenQuad({{q[0], q[2], q[4], q[6]}, {q[1], q[3], q[5], q[7]}}, colour, 7);
      ASSERT_EQ(HoverSquare == PickMarker, marked && PickArmed) << kind << " " << i;
    }
    const int64_t p = FirstDifference(expected);
    ASSERT_EQ(p, 800 * 600) << kind << ": first difference at " << p % 800 << "," << p / 800;
  }
}

TEST_F(Spans, OffScreenAndDegenerateQuadsWriteNothingOutOfBounds) {
  for (int i = 0; i < TextureWords; ++i) TextureSlots[3][i] = static_cast<uint16_t>(1 + i);
  TexQuad(10, 10, 50, 10, 50, 50, 10, 50, Ink, 200);  // no such slot: the face colour only
  EXPECT_EQ(RowExtent(30, Ink), std::make_pair(10, 51));
  TexScreenQuad({{-2000000000, 2000000000, 5, 0}, {7, -2000000000, 2000000000, 3}}, Base, 5);
  // A smaller BackBuffer, and none at all (ASan checks every write).
  FreeSurface(&BackBuffer);
  AllocSurface(&BackBuffer, 100, 50, true);
  FillQuad(-10, -10, 500, -10, 500, 500, -10, 500, Ink);
  EXPECT_EQ(CountPixels(Ink), 100 * 50);
  TexQuad(0, 0, 400, 0, 400, 400, 0, 400, Ink, 3);
  TexQuad(0, 0, 20, 0, 20, 20, 0, 20, Ink, 3);
  ClearBackBuffer(Base);
  EXPECT_EQ(CountPixels(Base), 100 * 50);
  FreeSurface(&BackBuffer);
  FillQuad(0, 0, 100, 0, 100, 100, 0, 100, Ink);
  ClearBackBuffer(Ink);
}
