#include "game3d/scene.h"

#include <cstring>
#include <utility>

#include "engine/game.h"
#include "engine/state.h"
#include "game3d/modelfile.h"
#include "game3d/settings.h"
#include "platform3d/faces.h"
#include "platform3d/palette.h"
#include "platform3d/picking.h"
#include "platform3d/platform.h"

uint8_t DisplayBoard[64];
uint8_t SquareSelected;
uint8_t SelectedSquare;

namespace {

constexpr int16_t BoardY = -100;
constexpr int16_t FloorTextureTag = 5;
constexpr uint8_t HoverColourIndex = 188;  // a dull red-brown
// The picked square stays marked under the pointer too, in a bright blue that neither board
// style nor the hover mark comes near.
constexpr uint16_t PickedSquareColour = RGB565(0, 40, 31);

int16_t Low16(int32_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

// A level quad at height y from (xa, za) over (xb, za) and (xb, zb) to (xa, zb).
FaceCorners LevelQuad(int xa, int za, int xb, int zb, int y) {
  const int v[12] = {xa, y, za, xb, y, za, xb, y, zb, xa, y, zb};
  FaceCorners c;
  for (int k = 0; k < 12; ++k) c.v[k] = Low16(v[k]);
  return c;
}

// An upright quad in the plane z = z from (xa, ya) to (xb, yb).
FaceCorners WallAlongX(int xa, int ya, int xb, int yb, int z) {
  const int v[12] = {xa, ya, z, xb, ya, z, xb, yb, z, xa, yb, z};
  FaceCorners c;
  for (int k = 0; k < 12; ++k) c.v[k] = Low16(v[k]);
  return c;
}

// An upright quad in the plane x = x from (za, ya) to (zb, yb).
FaceCorners WallAlongZ(int za, int ya, int zb, int yb, int x) {
  const int v[12] = {x, ya, za, x, ya, zb, x, yb, zb, x, yb, za};
  FaceCorners c;
  for (int k = 0; k < 12; ++k) c.v[k] = Low16(v[k]);
  return c;
}

uint16_t SquareColour(int i, int j) {
  const bool dark = (i + j) % 2 == 0;
  if (BoardColour == 1) return dark ? RGB565(10, 10, 1) : RGB565(28, 45, 8);
  return dark ? PaletteColour(2) : PaletteColour(15);
}

// Which template a piece code uses; -1 for an empty square.
int ModelOf(uint8_t code) {
  if (code < 10 || code > 25 || code % 10 > 5) return -1;
  constexpr int ByKind[6] = {KingModel, QueenModel, RookModel, BishopModel, KnightModel, PawnModel};
  return ByKind[code % 10];
}

// The ceiling's shades only need to look irregular; a fixed sequence keeps frames repeatable.
uint32_t CeilingSeed = 1;
int CeilingShade() {
  CeilingSeed = CeilingSeed * 1103515245u + 12345u;
  return static_cast<int>((CeilingSeed >> 16) % 3);
}

int next = 0;  // the surroundings face written next

void Append(const FaceCorners& corners, uint8_t colourIndex, int16_t tag = PlainTag) {
  StoreFace(next++, corners, PaletteColour(colourIndex), tag);
}

void BuildRoom() {
  for (int j = 0; j <= 8; ++j) {
    for (int i = 0; i <= 8; ++i) {
      Append(LevelQuad(400 * j - 1500, 400 * i - 1500, 400 * j - 1100, 400 * i - 1100, 200), 9,
             FloorTextureTag);
    }
  }
  CeilingSeed = 1;
  for (int j = 0; j <= 8; ++j) {
    for (int i = 0; i <= 8; ++i) {
      Append(LevelQuad(400 * j - 1500, 400 * i - 1500, 400 * j - 1100, 400 * i - 1100, -1200),
             static_cast<uint8_t>(14 + CeilingShade()));
    }
  }
  for (const int z : {-1500, 2100}) {
    for (int j = 0; j <= 8; ++j) {
      for (int i = 0; i <= 8; ++i) {
        Append(WallAlongX(400 * j - 1500, 155 * i - 1200, 400 * j - 1100, 155 * i - 1045, z), 8);
      }
    }
  }
  for (const int x : {-1500, 2100}) {
    for (int i = 0; i <= 8; ++i) {
      for (int j = 0; j <= 9; ++j) {
        Append(WallAlongZ(2150 - 400 * j, 155 * i - 1200, 1750 - 400 * j, 155 * i - 1045, x), 6);
      }
    }
  }
}

void BuildDots() {
  constexpr int Dot = 50;
  for (const auto& [y, colour] : {std::pair{250, 48}, std::pair{-1200, 150}}) {
    for (int j = 0; j <= 9; ++j) {
      for (int i = 0; i <= 9; ++i) {
        const int x = 400 * j - 1500, z = 400 * i - 1500;
        Append(LevelQuad(x, z, x + Dot, z + Dot, y), static_cast<uint8_t>(colour));
      }
    }
  }
  for (const int z : {-1500, 2150}) {
    for (int j = 0; j <= 9; ++j) {
      for (int i = 0; i <= 9; ++i) {
        const int x = 400 * j - 1500, y = 155 * i - 1200;
        Append(WallAlongX(x, y, x + Dot, y + Dot, z), 20);
      }
    }
  }
  for (const int x : {-1500, 2150}) {
    for (int j = 0; j <= 9; ++j) {
      for (int i = 0; i <= 9; ++i) {
        const int y = 155 * i - 1200, z = 2150 - 400 * j;
        Append(WallAlongZ(z, y, z - Dot, y + Dot, x), 69);
      }
    }
  }
}

}  // namespace

void BuildBoardFaces() {
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      StoreFace(8 * i + j,
                LevelQuad(100 * i + 100, 100 * j + 100, 100 * i + 200, 100 * j + 200, BoardY),
                SquareColour(i, j), static_cast<int16_t>(SquareTagFirst + 8 * j + i));
    }
  }
  const uint16_t frame = RGB565(20, 25, 2);
  int face = BoardFaces;
  for (int i = 0; i < 4; ++i) {
    const int a = 200 * i + 90, b = 200 * i + 310;
    StoreFace(face++, LevelQuad(a, 100, b, 90, BoardY), frame, PlainTag);
    StoreFace(face++, LevelQuad(90, a, 100, b, BoardY), frame, PlainTag);
    StoreFace(face++, LevelQuad(a, 900, b, 910, BoardY), frame, PlainTag);
    StoreFace(face++, LevelQuad(900, a, 910, b, BoardY), frame, PlainTag);
  }
}

void ColourBoard() {
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      const int quad = 8 * j + i;
      uint16_t colour = SquareColour(i, j);
      if (quad == HoverSquare) colour = PaletteColour(HoverColourIndex);
      if (SquareSelected && quad == SelectedSquare) colour = PickedSquareColour;
      FaceTable.Colour[8 * i + j] = colour;
    }
  }
}

void RefreshDisplayBoard() {
  std::memcpy(DisplayBoard, GameBoard, sizeof DisplayBoard);
}

void PlacePieces() {
  ResetFaces(PieceFacesStart, PieceFacesLast);
  const uint8_t side = PlayerSideInGame();
  int face = PieceFacesStart;
  for (int s = 0; s < 64; ++s) {
    const uint8_t code = DisplayBoard[s];
    const int model = ModelOf(code);
    if (model < 0) continue;
    const int centreX = side == 1 ? 150 + 100 * (s % 8) : 850 - 100 * (s % 8);
    const int centreZ = side == 1 ? 850 - 100 * (s / 8) : 150 + 100 * (s / 8);
    // Codes 20..25 are the human's; the human has White when side is 0.
    const bool white = (code >= 20) == (side == 0);
    const uint16_t shade = !white                 ? static_cast<uint16_t>(-PaletteColour(17))
                           : WhitePieceStyle == 1 ? PaletteColour(29)
                                                  : PaletteColour(180);
    const bool mirrored = white && model == KnightModel;
    const int first = ModelStart[model];
    for (int f = first; f < first + ModelFaces[model] && face <= PieceFacesLast; ++f) {
      FaceCorners corners = CornersOf(f);
      for (int corner = 0; corner < 4; ++corner) {
        int16_t* v = corners.v + 3 * corner;
        v[0] = Low16(centreX + v[0] - ParkOffset);
        v[2] = Low16(centreZ + v[2]);
        if (mirrored) v[2] = Low16(2 * centreZ - v[2]);
      }
      StoreFace(face++, corners, static_cast<uint16_t>(FaceTable.Colour[f] + shade),
                FaceTable.Tag[f]);
    }
  }
}

void BuildSurroundings() {
  BuiltSurroundings = Surroundings;
  ResetFaces(SurroundingsStart, SurroundingsStart + SurroundingsFaces);
  next = SurroundingsStart;
  if (Surroundings == 1) BuildRoom();
  if (Surroundings == 2) BuildDots();
}

uint8_t HoverToSquare(uint8_t quad) {
  const int row = quad / 8, column = quad % 8;
  return static_cast<uint8_t>(PlayerSideInGame() == 1 ? 8 * (7 - row) + column
                                                      : 8 * row + 7 - column);
}

uint8_t PickAndMove() {
  uint8_t played = 0;
  // A press already used elsewhere (begun in the menus, or on the move list) is not the board's.
  const bool left = LeftButton && !ClickLatch;
  if (TurnState == 1 && SquareSelected && (left || KeyDown[VkReturn])) {
    if (HoverSquare < BoardFaces) {
      played = HumanMove(HoverToSquare(SelectedSquare), HoverToSquare(HoverSquare));
      RefreshDisplayBoard();
    }
    SquareSelected = 0;
    PlacePieces();
  }
  if (left && TurnState == 1) {
    SquareSelected = 1;
    if (HoverSquare < BoardFaces) SelectedSquare = HoverSquare;
  }
  return played;
}
