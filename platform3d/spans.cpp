#include "platform3d/spans.h"

#include <algorithm>
#include <cstdlib>

#include "platform3d/cells.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/spanwrite.h"
#include "platform3d/textures.h"

namespace {

constexpr int32_t ScreenW = QuadFrameW;
constexpr int32_t ScreenH = QuadFrameH;

// Edges in the order corner 4 -> 1, 1 -> 2, 2 -> 3, 3 -> 4.
constexpr int EdgeStart[4] = {3, 0, 1, 2};
constexpr int EdgeEnd[4] = {0, 1, 2, 3};

// Walks one edge over `count` rows from `row`, widening each row's span with the edge's x.
// The x offset from xa is xStep x floor(t x a / b) for t = tFirst, tFirst + 1, ...; it is kept
// as a quotient and a running remainder, so the loop has no division.
template <class T>
void WalkEdge(int32_t xa, int32_t xStep, T a, T b, int64_t tFirst, int32_t row, int32_t rowStep,
              int32_t count, int32_t* left, int32_t* right) {
  T quotient = 0, remainder = 0;
  if (tFirst != 0) {
    // tFirst < 2^31 + 600 and a < 2^32: the unsigned product stays below 2^64.
    const uint64_t n = static_cast<uint64_t>(tFirst) * static_cast<uint64_t>(a);
    quotient = static_cast<T>(n / static_cast<uint64_t>(b));
    remainder = static_cast<T>(n % static_cast<uint64_t>(b));
  }
  // Steep edges (the common case for small cells) need no division.
  const T wholeStep = a < b ? 0 : a / b;
  const T partStep = a < b ? a : a % b;
  for (int32_t i = 0; i < count; ++i, row += rowStep) {
    // x lies between the edge's ends, so it fits 32 bits.
    const int32_t x = static_cast<int32_t>(xa + xStep * static_cast<int64_t>(quotient));
    if (x < left[row]) left[row] = x;
    if (x > right[row]) right[row] = x;
    quotient += wholeStep;
    remainder += partStep;
    if (remainder >= b) {
      remainder -= b;
      ++quotient;
    }
  }
}

// Widens the rows [top, bottom] of the span lists with an edge's x at each row:
// x(y) = xa + (y - ya)(xb - xa) div (yb - ya), truncating toward zero. Along one edge the
// quotient keeps its sign, so it is walked as a magnitude.
void ScanEdge(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t top, int32_t bottom,
              int32_t* left, int32_t* right) {
  if (ya == yb) return;
  const int32_t lo = std::max(std::min(ya, yb), top);
  const int32_t hi = std::min(std::max(ya, yb), bottom);
  if (lo > hi) return;

  const int64_t dx = static_cast<int64_t>(xb) - xa;
  const int64_t dy = static_cast<int64_t>(yb) - ya;
  const int64_t a = dx < 0 ? -dx : dx;
  const int64_t b = dy < 0 ? -dy : dy;
  const int32_t xStep = dx < 0 ? -1 : 1;
  // t = |y - ya| grows from tFirst; rows are visited from ya's end of the edge.
  const int64_t tFirst = dy > 0 ? int64_t{lo} - ya : int64_t{ya} - hi;
  const int32_t firstRow = (dy > 0 ? lo : hi) - top;
  const int32_t rowStep = dy > 0 ? 1 : -1;
  const int32_t count = hi - lo + 1;
  constexpr int64_t Small = int64_t{1} << 30;  // remainder + step stays below 2^31
  if (a < Small && b < Small) {
    WalkEdge<int32_t>(xa, xStep, static_cast<int32_t>(a), static_cast<int32_t>(b), tFirst, firstRow,
                      rowStep, count, left, right);
  } else {
    WalkEdge<int64_t>(xa, xStep, a, b, tFirst, firstRow, rowStep, count, left, right);
  }
}

// Texture cells are most of a frame's quads: small, and wholly on the frame. For those no row
// or span needs clamping and 32-bit arithmetic suffices; the spans are the same as ScanEdge's.
constexpr int32_t SmallRows = 64;

inline bool IsSmallOnFrame(const Bounds& b) {
  // Right ends are drawn one past the corners, so x stops at 798.
  return b.xMin >= 0 && b.xMax < ScreenW - 1 && b.yMin >= 0 && b.yMax < ScreenH &&
         b.yMax - b.yMin < SmallRows && BackBufferHoldsFrame();
}

// One edge of a small quad; see WalkEdge for the stepping.
inline void SmallEdge(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t top, int32_t* left,
                      int32_t* right) {
  if (ya == yb) return;
  const int32_t dx = xb - xa, dy = yb - ya;
  const int32_t a = dx < 0 ? -dx : dx;
  const int32_t b = dy < 0 ? -dy : dy;
  const int32_t xStep = dx < 0 ? -1 : 1;
  const int32_t rowStep = dy < 0 ? -1 : 1;
  int32_t wholeStep = 0, partStep = a;
  if (a >= b) {
    wholeStep = a / b;
    partStep = a % b;
  }
  int32_t quotient = 0, remainder = 0;
  int32_t row = ya - top;
  for (int32_t t = 0; t <= b; ++t, row += rowStep) {
    const int32_t x = xa + xStep * quotient;
    // Stores without conditions: whether an edge widens a row to the left or to the right
    // follows the quad's shape, and a branch on it is mispredicted.
    left[row] = std::min(left[row], x);
    right[row] = std::max(right[row], x);
    // Branch-free carry: it follows the slope and predicts badly.
    remainder += partStep;
    const int32_t carry = remainder >= b;
    quotient += wholeStep + carry;
    remainder -= b & -carry;
  }
}

void FillSmallQuad(const ScreenQuad& q, int32_t top, int32_t rows, uint16_t colour) {
  int32_t left[SmallRows];
  int32_t right[SmallRows];
  for (int32_t i = 0; i < rows; ++i) {
    left[i] = ScreenW + 1;
    right[i] = -2;
  }
  // Corner 4 -> 1, 1 -> 2, 2 -> 3, 3 -> 4.
  SmallEdge(q.x[3], q.y[3], q.x[0], q.y[0], top, left, right);
  SmallEdge(q.x[0], q.y[0], q.x[1], q.y[1], top, left, right);
  SmallEdge(q.x[1], q.y[1], q.x[2], q.y[2], top, left, right);
  SmallEdge(q.x[2], q.y[2], q.x[3], q.y[3], top, left, right);
  // Only the row under the mouse can pick.
  const int32_t mouseRow = MouseY - top;
  if (PickArmed != 0 && mouseRow >= 0 && mouseRow < rows && left[mouseRow] < MouseX &&
      MouseX < right[mouseRow] + 1) {
    HoverSquare = PickMarker;
  }
  const int32_t width = BackBuffer.width;
  uint16_t* line = BackBuffer.pixels + static_cast<int64_t>(width) * top;
  for (int32_t i = 0; i < rows; ++i, line += width) {
    const int32_t l = left[i];
    const int32_t r = right[i] + 1;
    if (l < r) FillSpan(line, l, r, colour);
  }
}

}  // namespace

void PutPixel(Surface* surface, int32_t x, int32_t y, uint16_t colour) {
  if (surface == nullptr || surface->pixels == nullptr) return;
  if (x < 0 || x >= surface->width || y < 0 || y >= surface->height) return;
  surface->pixels[static_cast<int64_t>(surface->width) * y + x] = colour;
}

void HLine(Surface* surface, int32_t x1, int32_t x2, int32_t y, uint16_t colour) {
  if (x1 > x2) std::swap(x1, x2);
  if (x1 == x2) return;
  if (surface == nullptr || surface->pixels == nullptr) return;
  if (y < 0 || y >= surface->height) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, surface->width - 1);
  if (x1 > x2) return;
  uint16_t* row = surface->pixels + static_cast<int64_t>(surface->width) * y;
  if (x1 == x2) {
    row[x1] = colour;  // clipped down to one pixel
  } else {
    FillSpan(row, x1, x2, colour);
  }
}

void ClearBackBuffer(uint16_t colour) {
  for (int32_t y = 0; y < ScreenH; ++y) HLine(&BackBuffer, 0, ScreenW - 1, y, colour);
}

void FillScreenQuad(const ScreenQuad& q, uint16_t colour) {
  const Bounds bounds = BoundsOf(q);
  if (!MayBeVisible(bounds)) return;
  if (IsSmallOnFrame(bounds)) {
    FillSmallQuad(q, bounds.yMin, bounds.yMax - bounds.yMin + 1, colour);
    return;
  }
  const int32_t yMin = bounds.yMin, yMax = bounds.yMax;
  // Rows run to the lowest corner plus one, but no edge reaches that last row, so it never has
  // a span (nor a pick): stopping at the lowest corner draws the same.
  const int32_t top = std::clamp(yMin, 0, ScreenH - 1);
  const int32_t bottom = std::clamp(yMax, 0, ScreenH - 1);

  int32_t left[ScreenH];
  int32_t right[ScreenH];
  const int32_t rows = bottom - top + 1;
  std::fill(left, left + rows, ScreenW + 1);
  std::fill(right, right + rows, -2);
  for (int e = 0; e < 4; ++e) {
    const int s = EdgeStart[e], t = EdgeEnd[e];
    ScanEdge(q.x[s], q.y[s], q.x[t], q.y[t], top, bottom, left, right);
  }

  const bool picking = PickArmed != 0;
  // The quad routines draw for an 800 x 600 frame; a smaller BackBuffer goes through HLine's
  // clipping.
  const bool direct = BackBufferHoldsFrame();
  for (int32_t i = 0; i < rows; ++i) {
    const int32_t y = top + i;
    int64_t l = left[i];
    int64_t r = int64_t{right[i]} + 1;
    if (l < 0 && r < 0) continue;
    if (l > ScreenW - 1 && r > ScreenW - 1) continue;
    if (picking && y == MouseY && l < MouseX && MouseX < r) HoverSquare = PickMarker;
    l = std::max<int64_t>(l, 0);
    r = std::min<int64_t>(r, ScreenW - 1);
    if (l >= r) continue;
    if (direct) {
      uint16_t* row = BackBuffer.pixels + static_cast<int64_t>(BackBuffer.width) * y;
      FillSpan(row, static_cast<int32_t>(l), static_cast<int32_t>(r), colour);
    } else {
      HLine(&BackBuffer, static_cast<int32_t>(l), static_cast<int32_t>(r), y, colour);
    }
  }
}

void TexScreenQuad(const ScreenQuad& q, uint16_t colour, uint8_t slot) {
  if (!MayBeVisible(BoundsOf(q))) return;
  FillScreenQuad(q, colour);
  if (slot >= TextureSlotCount) return;
  const uint16_t* texels = TextureSlots[slot];

  TextureEdges edges;
  for (int k = 0; k < TextureSide; ++k) {
    edges.lx[k] = Along(q.x[0], q.x[3], k);
    edges.ly[k] = Along(q.y[0], q.y[3], k);
    edges.rx[k] = Along(q.x[1], q.x[2], k);
    edges.ry[k] = Along(q.y[1], q.y[2], k);
  }

  int64_t size = 0;
  for (int e = 0; e < 4; ++e) {
    const int s = EdgeEnd[e], t = (EdgeEnd[e] + 1) % 4;
    size = std::max(size, std::abs(int64_t{q.x[t]} - q.x[s]));
    size = std::max(size, std::abs(int64_t{q.y[t]} - q.y[s]));
  }

  if (size > 31) {
    DrawTextureCells(edges, texels);
    return;
  }
  for (int r = 0; r < TextureSide; ++r) {
    for (int c = 0; c < TextureSide; ++c) {
      const uint16_t t = texels[r * TextureSide + c];
      if (t == 0) continue;
      const int32_t x = Along(edges.lx[r], edges.rx[r], c);
      const int32_t y = Along(edges.ly[r], edges.ry[r], c);
      if (x >= 0 && x < ScreenW && y >= 0 && y < ScreenH) PutPixel(&BackBuffer, x, y, t);
    }
  }
}

void FillQuad(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t x3, int16_t y3, int16_t x4,
              int16_t y4, uint16_t colour) {
  FillScreenQuad({{x1, x2, x3, x4}, {y1, y2, y3, y4}}, colour);
}

void TexQuad(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t x3, int16_t y3, int16_t x4,
             int16_t y4, uint16_t colour, uint8_t slot) {
  TexScreenQuad({{x1, x2, x3, x4}, {y1, y2, y3, y4}}, colour, slot);
}
