// The 32x32 texture slots that textured faces (tags 1..19) draw from.
#pragma once
#include <cstdint>

constexpr int TextureSlotCount = 21;  // slots 0..20
constexpr int TextureSide = 32;       // texels per row and rows per texture
constexpr int TextureWords = 1025;    // 32 x 32 texels and one spare word

// Texel (column c, row r) of slot s is TextureSlots[s][r * 32 + c]; a texel is a ready 5-6-5
// colour and 0 is transparent. Slots 1 and 2 hold the clock faces, 3 the clock image, 5 the
// floor.
extern uint16_t TextureSlots[TextureSlotCount][TextureWords];
