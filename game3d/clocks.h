// The two analogue chess clocks in the room: the clock-face picture with hands, redrawn into
// texture slots every game frame. White's clock is slot 2 and Black's slot 1.
#pragma once
#include <cstdint>

constexpr uint8_t BlackClockSlot = 1;
constexpr uint8_t WhiteClockSlot = 2;
constexpr uint8_t ClockFaceSlot = 3;

// Slots 1 and 2 := the face of slot 3 with the hour, minute and second hands of the human's
// and the engine's thinking time (a 12-hour dial).
void DrawClockFaces();

// A Bresenham line of texels from (x1, y1) to (x2, y2), both ends included, into a texture
// slot. Texels outside the 32 x 32 picture, and slots that do not exist, are left alone.
void DrawTextureLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint16_t colour, uint8_t slot);
