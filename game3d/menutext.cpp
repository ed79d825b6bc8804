#include "game3d/menutext.h"

#include "game3d/modelfile.h"
#include "platform3d/spans.h"
#include "platform3d/surface.h"

namespace {

constexpr size_t MaxTextLength = 255;
constexpr int FontPictureWidth = 32;
// The last dot drawn at each scale: text never writes the frame's last column or row, and at
// scale 2 it stops a little further in.
constexpr int LastDotX = 798, LastDotY = 598;
constexpr int LastBlockX = 397, LastBlockY = 297;

// Where a character's cell starts in which picture; picture nullptr draws a fixed sign.
struct Glyph {
  const uint16_t* picture;
  int column, row;
};

// Both pictures hold their glyphs in columns of four cells, 6 texels apart across and 7 down:
// a..t in the first, then u..z and the digits 1..9, 0 in the second.
Glyph PictureGlyph(const uint16_t* picture, int order) {
  return {picture, 1 + 6 * (order / 4), 1 + 7 * (order % 4)};
}

bool GlyphOf(char ch, Glyph* glyph) {
  if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  if (ch >= 'a' && ch <= 't') {
    *glyph = PictureGlyph(FontImage1, ch - 'a');
  } else if (ch >= 'u' && ch <= 'z') {
    *glyph = PictureGlyph(FontImage2, ch - 'u');
  } else if (ch >= '1' && ch <= '9') {
    *glyph = PictureGlyph(FontImage2, 6 + ch - '1');
  } else if (ch == '0') {
    *glyph = PictureGlyph(FontImage2, 15);
  } else {
    return false;
  }
  return true;
}

struct Dot {
  int8_t column, row;
};
constexpr Dot MinusDots[] = {{1, 3}, {2, 3}, {3, 3}};
constexpr Dot StopDots[] = {{2, 5}};
constexpr Dot PlusDots[] = {{1, 3}, {2, 3}, {3, 3}, {2, 2}, {2, 4}};

void PlotDot(int u, int v, uint16_t colour, int scale) {
  if (scale == 1) {
    if (u >= 0 && u <= LastDotX && v >= 0 && v <= LastDotY) PutPixel(&BackBuffer, u, v, colour);
    return;
  }
  if (u < 0 || u > LastBlockX || v < 0 || v > LastBlockY) return;
  PutPixel(&BackBuffer, 2 * u, 2 * v, colour);
  PutPixel(&BackBuffer, 2 * u + 1, 2 * v, colour);
  PutPixel(&BackBuffer, 2 * u + 1, 2 * v + 1, colour);
  PutPixel(&BackBuffer, 2 * u, 2 * v + 1, colour);
}

template <size_t N>
void PlotSign(const Dot (&dots)[N], int left, int top, uint16_t colour, int scale) {
  for (const Dot& d : dots) PlotDot(left + d.column, top + d.row, colour, scale);
}

}  // namespace

void DrawMenuText(int16_t x, int16_t y, std::string_view text, uint16_t colour, uint8_t scale) {
  if (scale != 1 && scale != 2) return;
  const int left = scale == 2 ? x / 2 : x;  // in dots from here on
  const int top = scale == 2 ? y / 2 : y;
  if (text.size() > MaxTextLength) text = text.substr(0, MaxTextLength);

  for (size_t i = 0; i < text.size(); ++i) {
    const int cell = left + GlyphAdvance * static_cast<int>(i);
    Glyph glyph;
    if (GlyphOf(text[i], &glyph)) {
      for (int r = 0; r < GlyphRows; ++r) {
        for (int c = 0; c < GlyphAdvance; ++c) {
          if (glyph.picture[(glyph.row + r) * FontPictureWidth + glyph.column + c] != 0) {
            PlotDot(cell + c, top + r, colour, scale);
          }
        }
      }
    } else if (text[i] == '-') {
      PlotSign(MinusDots, cell, top, colour, scale);
    } else if (text[i] == '.') {
      PlotSign(StopDots, cell, top, colour, scale);
    } else if (text[i] == '+') {
      PlotSign(PlusDots, cell, top, colour, scale);
    }
  }
}
