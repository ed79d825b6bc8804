#include "game3d/clocks.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/timectl.h"
#include "game3d/settings.h"
#include "platform3d/palette.h"
#include "platform3d/textures.h"
#include "platform3d/trig.h"

namespace {

constexpr int FaceTexels = TextureSide * TextureSide;
constexpr int CentreColumn = 15, CentreRow = 16;
constexpr int DialSteps = 60;
constexpr int QuarterDegreesPerStep = 24;  // 6 degrees
constexpr int QuarterDegreesPerTurn = 1440;

struct Hand {
  int32_t secondsPerStep;
  int length;
  uint8_t colourIndex;
};
// Hour, minute, second: the hour hand moves one step every 12 minutes on the 12-hour dial.
constexpr Hand Hands[] = {{720, 5, 2}, {60, 8, 15}, {1, 8, 45}};

int Sign(int value) {
  return (value > 0) - (value < 0);
}

// Step 0 points straight up, 15 right: 6 degrees a step, a quarter of 90 back.
int QuarterDegrees(int step) {
  int p = QuarterDegreesPerStep * step - 360;
  if (p > QuarterDegreesPerTurn) p -= QuarterDegreesPerTurn;
  if (p < 0) p += QuarterDegreesPerTurn;
  return p;
}

void DrawHands(int32_t seconds, uint8_t slot) {
  for (const Hand& hand : Hands) {
    // A clock never runs backwards; a negative reading still lands on the dial.
    const int step =
        static_cast<int>(((seconds / hand.secondsPerStep) % DialSteps + DialSteps) % DialSteps);
    const int index = TrigIndex(4 * QuarterDegrees(step));
    const double x = std::nearbyint(CentreColumn + hand.length * CosTable[index]);
    const double y = std::nearbyint(CentreRow + hand.length * SinTable[index]);
    DrawTextureLine(CentreColumn, CentreRow, static_cast<int16_t>(x), static_cast<int16_t>(y),
                    PaletteColour(hand.colourIndex), slot);
  }
}

}  // namespace

void DrawClockFaces() {
  std::memcpy(TextureSlots[BlackClockSlot], TextureSlots[ClockFaceSlot],
              FaceTexels * sizeof(uint16_t));
  std::memcpy(TextureSlots[WhiteClockSlot], TextureSlots[ClockFaceSlot],
              FaceTexels * sizeof(uint16_t));
  const uint8_t humanSlot = PlayerSideInGame() == 0 ? WhiteClockSlot : BlackClockSlot;
  const uint8_t engineSlot = humanSlot == WhiteClockSlot ? BlackClockSlot : WhiteClockSlot;
  DrawHands(ClockTotalSeconds(HumanClock), humanSlot);
  DrawHands(ClockTotalSeconds(EngineClock), engineSlot);
}

void DrawTextureLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint16_t colour,
                     uint8_t slot) {
  if (slot >= TextureSlotCount) return;
  const int dx = x2 - x1, dy = y2 - y1;
  const int sx = Sign(dx), sy = Sign(dy);
  const bool alongX = std::abs(dx) > std::abs(dy);
  const int major = alongX ? std::abs(dx) : std::abs(dy);
  const int minor = alongX ? std::abs(dy) : std::abs(dx);
  const int straightX = alongX ? sx : 0, straightY = alongX ? 0 : sy;

  int e = static_cast<int>(std::nearbyint(major / 2.0));  // halves to even
  int x = x1, y = y1;
  for (int k = 0; k <= major; ++k) {
    if (x >= 0 && x < TextureSide && y >= 0 && y < TextureSide) {
      TextureSlots[slot][y * TextureSide + x] = colour;
    }
    e += minor;
    if (e < major) {
      x += straightX;
      y += straightY;
    } else {
      e -= major;
      x += sx;
      y += sy;
    }
  }
}
