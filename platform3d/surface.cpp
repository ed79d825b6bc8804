#include "platform3d/surface.h"

#include "platform3d/memory.h"

Surface ScreenSurface = {};
Surface BackBuffer = {};

void AllocSurface(Surface* surface, int32_t width, int32_t height, bool clear) {
  if (surface == nullptr) return;
  // A record that already holds pixels gives them back first, or they would leak.
  FreeSurface(surface);
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 2;
  surface->pixels = nullptr;
  surface->byteSize = bytes > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
  surface->width = width;
  surface->maxX = width - 1;
  surface->halfWidth = width / 2;
  surface->widthOdd = width % 2;
  surface->pitch = static_cast<int32_t>(bytes > UINT32_MAX ? 0 : static_cast<uint64_t>(width) * 2);
  surface->height = height;
  surface->halfHeight = height / 2;
  surface->maxY = height - 1;
  surface->allocated = 0;
  if (bytes > UINT32_MAX) {
    ReportOutOfMemory();  // no 32-bit allocator could hold it
    return;
  }
  void* block = nullptr;
  TrackedAlloc(block, surface->byteSize);
  if (block == nullptr) return;
  surface->pixels = static_cast<uint16_t*>(block);
  surface->allocated = 1;
  if (clear) FillSurface(surface, 0);
}

void FreeSurface(Surface* surface) {
  if (surface == nullptr || !surface->allocated) return;
  void* block = surface->pixels;
  TrackedFree(block);
  surface->pixels = nullptr;
  surface->allocated = 0;
}

void FillSurface(Surface* surface, uint16_t colour) {
  if (surface == nullptr || surface->pixels == nullptr) return;
  uint32_t bytes = surface->byteSize;
  // Never write past the block we own, whatever the record claims.
  if (surface->allocated && bytes > BlockSize(surface->pixels)) bytes = BlockSize(surface->pixels);
  uint16_t* pixel = surface->pixels;
  for (uint32_t i = 0, count = bytes / 2; i < count; ++i) pixel[i] = colour;
  // Only a hand-made record can have an odd size; its last byte gets the colour's low byte.
  if (bytes % 2 != 0) {
    reinterpret_cast<unsigned char*>(pixel)[bytes - 1] = static_cast<unsigned char>(colour & 0xFF);
  }
}
