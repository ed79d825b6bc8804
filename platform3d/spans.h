// Pixels, spans and screen quadrilaterals: the only code that writes pixels of a frame.
#pragma once
#include <cstdint>

#include "platform3d/surface.h"

// One pixel. Writes outside the surface are ignored.
void PutPixel(Surface* surface, int32_t x, int32_t y, uint16_t colour);

// Pixels x1..x2 inclusive of row y, in either order; equal ends draw nothing. Only the part
// inside the surface is written.
void HLine(Surface* surface, int32_t x1, int32_t x2, int32_t y, uint16_t colour);

// Every row of BackBuffer.
void ClearBackBuffer(uint16_t colour);

// A quadrilateral with corners in screen pixels, into BackBuffer (bounds fixed at 800 x 600).
// While PickArmed, a drawn row at MouseY whose span holds MouseX sets HoverSquare to
// PickMarker.
void FillQuad(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t x3, int16_t y3, int16_t x4,
              int16_t y4, uint16_t colour);

// FillQuad with colour, then texture slot `slot` over it (row 0 along corner 1 -> 2, column 0
// along corner 1 -> 4). Quads up to 31 pixels draw the texels as points, larger ones as cells.
void TexQuad(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t x3, int16_t y3, int16_t x4,
             int16_t y4, uint16_t colour, uint8_t slot);

// The same two operations on 32-bit corners: the projection of a face close to the eye can
// leave the 16-bit range, and its quad must still be drawn as it is.
struct ScreenQuad {
  int32_t x[4];
  int32_t y[4];
};
void FillScreenQuad(const ScreenQuad& quad, uint16_t colour);
void TexScreenQuad(const ScreenQuad& quad, uint16_t colour, uint8_t slot);
