#include "platform3d/palette.h"

#include <cmath>

PaletteEntry Palette[PaletteSize];

namespace {

// v / 2 rounded to nearest, halves to the even neighbour (3 -> 2, 5 -> 2, 7 -> 4).
uint8_t HalveRoundEven(uint8_t v) {
  const int half = v / 2;
  const bool tie = (v % 2) == 1;
  return static_cast<uint8_t>(tie && (half % 2) == 1 ? half + 1 : half);
}

void SetEntry(int index, int red, int green, int blue) {
  Palette[index] = {static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                    static_cast<uint8_t>(blue)};
}

}  // namespace

uint16_t PaletteColour(uint8_t index) {
  if (index == 0) return 0;
  const PaletteEntry& e = Palette[index];
  return RGB565(e.red, e.green, e.blue);
}

void BuildPalette() {
  for (PaletteEntry& e : Palette) e = {0, 0, 0};

  // Grey ramp.
  for (int i = 0; i <= 30; ++i) SetEntry(i, 2 * i + 1, 2 * i + 1, 2 * i + 1);

  // Red, green and blue ramps; later writes overwrite the top of the grey ramp on purpose.
  for (int i = 5; i <= 30; ++i) {
    const int third = static_cast<int>(std::nearbyint(i / 3.0));
    SetEntry(25 + i, 2 * i, third, third);
    SetEntry(50 + i, i, 2 * i, i);
    SetEntry(75 + i, i, i, 2 * i);
  }

  for (int i = 0; i <= 15; ++i) {
    SetEntry(105 + i, 4 * i, i, 4 * i);
    SetEntry(120 + i, i, 4 * i, 4 * i);
    SetEntry(135 + i, 4 * i, 4 * i, i);
    SetEntry(150 + i, 4 * i, 4 * i, 2 * i);
    SetEntry(165 + i, 4 * i, 3 * i, 2 * i);
    SetEntry(180 + i, 4 * i, 2 * i, i);
    SetEntry(195 + i, 4 * i, 2 * i, 2 * i);
  }

  for (int i = 211; i <= 255; ++i) SetEntry(i, 1, 1, 1);

  // Levels were built on the 0..63 green scale; red and blue have half the range.
  for (PaletteEntry& e : Palette) {
    e.red = HalveRoundEven(e.red);
    e.blue = HalveRoundEven(e.blue);
  }
}
