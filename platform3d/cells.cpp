// TexQuad's cell mode, a texture row at a time. The 31 cells between two grid rows form a strip;
// drawing them as 31 FillQuads repeats most of the work, because neighbouring cells share a
// side. A strip is drawn with the same pixels like this:
// - Side c joins grid point A[c] of the upper grid row to B[c] of the lower one. Cell c - 1
//   walks it as its edge from A[c] (corner 2 -> 3), cell c as its edge from B[c] (corner
//   4 -> 1). Both walks meet the same exact x on each row and only truncate it toward their own
//   start, so the side is walked once, keeping both truncations.
// - A top or bottom edge that changes row by at most one adds only its end points to a cell's
//   spans, and those are the ends of the cell's sides. So a cell with two sloped sides and such
//   top and bottom edges (almost every cell) spans, on each row, the x of the sides covering it.
// - Any other cell, and every cell of a strip too tall or too far out for the tables, goes
//   through FillScreenQuad.
#include "platform3d/cells.h"

#include <algorithm>
#include <cstdlib>
#include <type_traits>

#include "platform3d/picking.h"
#include "platform3d/platform.h"
#include "platform3d/spans.h"
#include "platform3d/spanwrite.h"

namespace {

constexpr int32_t StripRows = 64;        // taller strips are drawn cell by cell
constexpr int32_t StripReach = 1 << 14;  // so are strips with a coordinate this far out

// One grid row's points and their bounds.
struct GridRow {
  int32_t x[TextureSide];
  int32_t y[TextureSide];
  Bounds bounds;
  uint32_t flat;  // bit c: the y of points c and c + 1 differ by at most one
};

// A side's x on each row it covers, truncated toward A's x (the edge from A) and toward B's.
struct GridSide {
  int32_t first, last;  // rows covered, counted from the strip's top; last < first when level
  uint32_t span;        // last - first
  int16_t towardA[StripRows];
  int16_t towardB[StripRows];
};

GridSide Sides[TextureSide];  // the current strip's sides

// Grid row r. Narrow: every coordinate lies within 2^25, so k (to - from) fits 32 bits.
template <bool Narrow>
void FillGridRow(const TextureEdges& e, int r, GridRow& g) {
  using Product = std::conditional_t<Narrow, int32_t, int64_t>;
  const Product lx = e.lx[r], ly = e.ly[r], dx = Product{e.rx[r]} - lx, dy = Product{e.ry[r]} - ly;
  for (int c = 0; c < TextureSide; ++c) {
    g.x[c] = static_cast<int32_t>(lx + c * dx / TextureSide);
    g.y[c] = static_cast<int32_t>(ly + c * dy / TextureSide);
  }
  g.bounds = {g.x[0], g.x[0], g.y[0], g.y[0]};
  for (int c = 1; c < TextureSide; ++c) {
    g.bounds.xMin = std::min(g.bounds.xMin, g.x[c]);
    g.bounds.xMax = std::max(g.bounds.xMax, g.x[c]);
    g.bounds.yMin = std::min(g.bounds.yMin, g.y[c]);
    g.bounds.yMax = std::max(g.bounds.yMax, g.y[c]);
  }
  g.flat = 0;
  for (int c = 0; c < TextureSide - 1; ++c) {
    g.flat |= static_cast<uint32_t>(std::abs(g.y[c + 1] - g.y[c]) <= 1) << c;
  }
}

// x(y) = xa + (y - ya)(xb - xa) div (yb - ya) from either end: walked from the upper end as
// floor and remainder, an end's truncation is the floor when that end lies left of the exact x
// and the ceiling when it lies right.
void WalkGridSide(int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t stripTop,
                  GridSide& side) {
  if (ya == yb) {
    side.first = 1;
    side.last = 0;
    side.span = 0;
    return;
  }
  int16_t* const floors = xa > xb ? side.towardB : side.towardA;
  int16_t* const ceilings = xa > xb ? side.towardA : side.towardB;
  if (ya > yb) {
    std::swap(xa, xb);
    std::swap(ya, yb);
  }
  const int32_t dy = yb - ya, dx = xb - xa;
  int32_t whole = dx / dy, part = dx % dy;
  if (part < 0) {  // floor division
    whole -= 1;
    part += dy;
  }
  side.first = ya - stripTop;
  side.last = yb - stripTop;
  side.span = static_cast<uint32_t>(dy);
  int32_t x = xa, remainder = 0;
  for (int32_t row = side.first; row <= side.last; ++row) {
    floors[row] = static_cast<int16_t>(x);
    ceilings[row] = static_cast<int16_t>(x + (remainder != 0));
    x += whole;
    remainder += part;
    const int32_t carry = remainder >= dy;
    x += carry;
    remainder -= dy & -carry;
  }
}

// Span [l, r] on a row of a cell between sides `left` and `right`: the x of each side covering
// the row (every row of the cell is covered by one of them), right end one past.
inline void CellSpan(const GridSide& left, const GridSide& right, int32_t row, int32_t& l,
                     int32_t& r) {
  const bool inLeft = static_cast<uint32_t>(row - left.first) <= left.span;
  const bool inRight = static_cast<uint32_t>(row - right.first) <= right.span;
  const int32_t xl = left.towardB[row], xr = right.towardA[row];
  const int32_t a = inLeft ? xl : xr;
  const int32_t b = inRight ? xr : xl;
  l = std::min(a, b);
  r = std::max(a, b) + 1;
}

// A cell that spans its sides' x. Clipped: the strip reaches past the frame, so rows and spans
// are clamped as FillQuad does; otherwise they are all on it.
template <bool Clipped>
void FillSideCell(const GridSide& left, const GridSide& right, int32_t stripTop, uint16_t colour) {
  int32_t first = std::min(left.first, right.first);
  int32_t last = std::max(left.last, right.last);
  if (Clipped) {
    first = std::max(first, -stripTop);
    last = std::min(last, QuadFrameH - 1 - stripTop);
  }
  if (PickArmed != 0) {
    const int32_t row = MouseY - stripTop;
    if (row >= first && row <= last) {
      int32_t l, r;
      CellSpan(left, right, row, l, r);
      const bool skipped = Clipped && (r < 0 || l > QuadFrameW - 1);  // wholly off the frame
      if (!skipped && l < MouseX && MouseX < r) HoverSquare = PickMarker;
    }
  }
  const int32_t width = BackBuffer.width;
  uint16_t* line = BackBuffer.pixels + static_cast<int64_t>(width) * (stripTop + first);
  for (int32_t row = first; row <= last; ++row, line += width) {
    int32_t l, r;
    CellSpan(left, right, row, l, r);
    if (Clipped) {  // a row wholly off the frame ends up with l >= r
      l = std::max(l, 0);
      r = std::min(r, QuadFrameW - 1);
      if (l >= r) continue;
    }
    FillSpan(line, l, r, colour);
  }
}

void DrawStrip(const GridRow& a, const GridRow& b, const uint16_t* texels) {
  const Bounds bounds = {
      std::min(a.bounds.xMin, b.bounds.xMin), std::max(a.bounds.xMax, b.bounds.xMax),
      std::min(a.bounds.yMin, b.bounds.yMin), std::max(a.bounds.yMax, b.bounds.yMax)};
  if (!MayBeVisible(bounds)) return;  // nor is any of its cells
  const bool tabled = bounds.yMax - bounds.yMin < StripRows && bounds.xMin > -StripReach &&
                      bounds.xMax < StripReach && bounds.yMin > -StripReach &&
                      bounds.yMax < StripReach && BackBufferHoldsFrame();
  // Wholly on the frame, not touching its left or top border: every cell passes the trivial
  // reject and no span needs clamping.
  const bool inside = bounds.xMin >= 1 && bounds.xMax <= QuadFrameW - 2 && bounds.yMin >= 1 &&
                      bounds.yMax <= QuadFrameH - 1;
  const int32_t top = bounds.yMin;
  uint32_t sideCells = 0;  // bit c: cell c spans its sides' x
  if (tabled) {
    uint32_t sloped = 0;
    for (int c = 0; c < TextureSide; ++c) {
      WalkGridSide(a.x[c], a.y[c], b.x[c], b.y[c], top, Sides[c]);
      sloped |= static_cast<uint32_t>(a.y[c] != b.y[c]) << c;
    }
    sideCells = sloped & (sloped >> 1) & a.flat & b.flat;
  }
  for (int c = 0; c < TextureSide - 1; ++c) {
    const uint16_t t = texels[c];
    if (t == 0) continue;
    const GridSide& left = Sides[c];
    const GridSide& right = Sides[c + 1];
    const bool sidesOnly = (sideCells >> c) & 1;
    if (sidesOnly && inside) {
      FillSideCell<false>(left, right, top, t);
      continue;
    }
    const ScreenQuad cell = {{a.x[c], a.x[c + 1], b.x[c + 1], b.x[c]},
                             {a.y[c], a.y[c + 1], b.y[c + 1], b.y[c]}};
    if (!sidesOnly) {
      FillScreenQuad(cell, t);
    } else if (MayBeVisible(BoundsOf(cell))) {
      FillSideCell<true>(left, right, top, t);
    }
  }
}

}  // namespace

void DrawTextureCells(const TextureEdges& edges, const uint16_t* texels) {
  // Edge points run monotonically from k = 0 to 31, and grid points lie between them.
  constexpr int32_t NarrowReach = 1 << 25;
  const int32_t ends[8] = {
      edges.lx[0], edges.lx[TextureSide - 1], edges.ly[0], edges.ly[TextureSide - 1],
      edges.rx[0], edges.rx[TextureSide - 1], edges.ry[0], edges.ry[TextureSide - 1]};
  const bool narrow =
      std::all_of(ends, ends + 8, [](int32_t v) { return v > -NarrowReach && v < NarrowReach; });
  GridRow rows[2];
  for (int r = 0; r < TextureSide; ++r) {
    GridRow& lower = rows[r & 1];
    if (narrow) {
      FillGridRow<true>(edges, r, lower);
    } else {
      FillGridRow<false>(edges, r, lower);
    }
    if (r > 0) DrawStrip(rows[(r - 1) & 1], lower, texels + (r - 1) * TextureSide);
  }
}
