// What the quad routines (spans.cpp, cells.cpp) share: the fixed frame they draw for, their
// screen-bound tests and the span store.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform3d/spans.h"
#include "platform3d/surface.h"

constexpr int32_t QuadFrameW = 800;  // the quad routines always draw for an 800 x 600 frame
constexpr int32_t QuadFrameH = 600;

struct Bounds {
  int32_t xMin, xMax, yMin, yMax;
};

inline Bounds BoundsOf(const ScreenQuad& q) {
  Bounds b = {q.x[0], q.x[0], q.y[0], q.y[0]};
  for (int k = 1; k < 4; ++k) {
    b.xMin = std::min(b.xMin, q.x[k]);
    b.xMax = std::max(b.xMax, q.x[k]);
    b.yMin = std::min(b.yMin, q.y[k]);
    b.yMax = std::max(b.yMax, q.y[k]);
  }
  return b;
}

// The trivial reject: some corner on the screen side of every border (strict comparisons).
inline bool MayBeVisible(const Bounds& b) {
  return b.xMax > 0 && b.xMin < QuadFrameW && b.yMax > 0 && b.yMin < QuadFrameH;
}

// Spans may go straight into BackBuffer's rows only when it holds the whole 800 x 600 frame.
inline bool BackBufferHoldsFrame() {
  return BackBuffer.pixels != nullptr && BackBuffer.width >= QuadFrameW &&
         BackBuffer.height >= QuadFrameH;
}

// Pixels [first, last] of a row (at least two). Up to 16 pixels take two stores of 2, 4 or 8
// pixels that may overlap, longer spans 8-pixel stores and no pixel-by-pixel tail: texture-cell
// rows are mostly 5 to 13 pixels, and every store and branch there counts.
inline void FillSpan(uint16_t* row, int32_t first, int32_t last, uint16_t colour) {
  uint16_t* p = row + first;
  uint16_t* const end = row + last + 1;
  const int32_t n = last - first + 1;
  if (n <= 4) {
    const uint32_t two = colour * 0x00010001U;
    std::memcpy(p, &two, sizeof two);
    std::memcpy(end - 2, &two, sizeof two);
    return;
  }
  const uint64_t four = colour * 0x0001000100010001ULL;
  if (n <= 8) {
    std::memcpy(p, &four, sizeof four);
    std::memcpy(end - 4, &four, sizeof four);
    return;
  }
  const uint64_t eight[2] = {four, four};
  if (n <= 16) {
    std::memcpy(p, eight, sizeof eight);
    std::memcpy(end - 8, eight, sizeof eight);
    return;
  }
  for (; end - p > 8; p += 8) std::memcpy(p, eight, sizeof eight);
  std::memcpy(end - 8, eight, sizeof eight);
}
