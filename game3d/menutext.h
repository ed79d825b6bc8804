// The program's own pixel font: 4 x 6 dot cells cut from the two font pictures, for the menus,
// the panels and the game screen's messages.
#pragma once
#include <cstdint>
#include <string_view>

constexpr int GlyphAdvance = 4;  // dots per character, spacing included
constexpr int GlyphRows = 6;

// Draws text (its first 255 characters) into BackBuffer with its top-left corner at (x, y)
// in pixels. At scale 2 each dot is a 2 x 2 block and the position is halved first; any other
// scale draws nothing. Letters of either case, digits, "-", "." and "+" have shapes; a space
// or any other character leaves an empty cell. Dots past pixel 798 and row 598 (795 and 595
// at scale 2) are cut off, without wrapping.
void DrawMenuText(int16_t x, int16_t y, std::string_view text, uint16_t colour, uint8_t scale);
