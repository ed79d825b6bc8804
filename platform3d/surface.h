// One 16-bit 5-6-5 frame, and the two frames of the 3D program.
#pragma once
#include <cstdint>

struct Surface {
  uint16_t* pixels;   // width x height pixels, row by row from the top, no padding
  uint32_t byteSize;  // width x height x 2
  int32_t width;
  int32_t maxX;       // width - 1
  int32_t halfWidth;  // width div 2
  int32_t widthOdd;   // width mod 2
  int32_t pitch;      // bytes per row
  int32_t height;
  int32_t halfHeight;
  int32_t maxY;       // height - 1
  uint8_t allocated;  // 1 while pixels belongs to the record
};

extern Surface ScreenSurface;  // allocated by EnterFullScreen
extern Surface BackBuffer;     // the 800x600 frame every drawing stage writes into

constexpr int32_t FrameWidth = 800;
constexpr int32_t FrameHeight = 600;

// Pixel memory goes through the counted allocator, so it shows in the leak report.
void AllocSurface(Surface* surface, int32_t width, int32_t height, bool clear);
void FreeSurface(Surface* surface);
void FillSurface(Surface* surface, uint16_t colour);
