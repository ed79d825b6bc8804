// The colour model: 16-bit 5-6-5 colours and the 256-entry palette that model files index.
#pragma once
#include <cstdint>

struct PaletteEntry {
  uint8_t red;    // 0..31 once BuildPalette has finished
  uint8_t green;  // 0..63
  uint8_t blue;   // 0..31
};

constexpr int PaletteSize = 256;

extern PaletteEntry Palette[PaletteSize];

// r x 2048 + g x 32 + b, not masked: out-of-range levels spill into the next field and the
// sum wraps at 16 bits, which callers that add whole colours rely on.
constexpr uint16_t RGB565(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint16_t>(r * 2048 + g * 32 + b);
}

// The colour of a palette entry; index 0 is always 0, the transparent texel.
uint16_t PaletteColour(uint8_t index);

// Fills Palette; run once at start-up, before any model file is read.
void BuildPalette();
