#include "platform3d/testscene.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "platform3d/faces.h"
#include "platform3d/palette.h"
#include "platform3d/textures.h"
#include "platform3d/transform.h"

namespace {

constexpr int16_t BoardY = -100;
constexpr int LatheSides = 8;

int next = 0;  // the FaceTable entry the builders write next

void Face(int x1, int y1, int z1, int x2, int y2, int z2, int x3, int y3, int z3, int x4, int y4,
          int z4, uint16_t colour, int16_t tag) {
  FaceCorners c;
  const int v[12] = {x1, y1, z1, x2, y2, z2, x3, y3, z3, x4, y4, z4};
  for (int k = 0; k < 12; ++k) c.v[k] = static_cast<int16_t>(v[k]);
  StoreFace(next++, c, colour, tag);
}

// A flat (x, z) quad at height y.
void FloorQuad(int xa, int za, int xb, int zb, int y, uint16_t colour, int16_t tag) {
  Face(xa, y, za, xb, y, za, xb, y, zb, xa, y, zb, colour, tag);
}

void BuildBoard() {
  next = TestSceneSquaresStart;
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      const bool dark = (i + j) % 2 == 0;
      const uint16_t colour = dark ? PaletteColour(2) : PaletteColour(15);
      FloorQuad(100 * i + 100, 100 * j + 100, 100 * i + 200, 100 * j + 200, BoardY, colour,
                static_cast<int16_t>(SquareTagFirst + 8 * j + i));
    }
  }
  next = TestSceneFrameStart;
  const uint16_t frame = RGB565(20, 25, 2);
  for (int i = 0; i < 4; ++i) {
    FloorQuad(200 * i + 90, 100, 200 * i + 310, 90, BoardY, frame, PlainTag);
    FloorQuad(90, 200 * i + 90, 100, 200 * i + 310, BoardY, frame, PlainTag);
    FloorQuad(200 * i + 90, 900, 200 * i + 310, 910, BoardY, frame, PlainTag);
    FloorQuad(900, 200 * i + 90, 910, 200 * i + 310, BoardY, frame, PlainTag);
  }
}

void BuildRoom() {
  next = TestSceneRoomStart;
  for (int j = 0; j <= 8; ++j) {
    for (int i = 0; i <= 8; ++i) {
      FloorQuad(400 * j - 1500, 400 * i - 1500, 400 * j - 1100, 400 * i - 1100, 200,
                PaletteColour(9), TestSceneFloorSlot);
    }
  }
  for (int j = 0; j <= 8; ++j) {
    for (int i = 0; i <= 8; ++i) {
      FloorQuad(400 * j - 1500, 400 * i - 1500, 400 * j - 1100, 400 * i - 1100, -1200,
                PaletteColour(static_cast<uint8_t>(14 + (i + j) % 3)), PlainTag);
    }
  }
  for (const int z : {-1500, 2100}) {
    for (int j = 0; j <= 8; ++j) {
      for (int i = 0; i <= 8; ++i) {
        const int xa = 400 * j - 1500, ya = 155 * i - 1200;
        Face(xa, ya, z, xa + 400, ya, z, xa + 400, ya + 155, z, xa, ya + 155, z, PaletteColour(8),
             PlainTag);
      }
    }
  }
  for (const int x : {-1500, 2100}) {
    for (int i = 0; i <= 8; ++i) {
      for (int j = 0; j <= 9; ++j) {
        const int ya = 155 * i - 1200, za = 2150 - 400 * j;
        Face(x, ya, za, x, ya, za - 400, x, ya + 155, za - 400, x, ya + 155, za, PaletteColour(6),
             PlainTag);
      }
    }
  }
}

// Profiles of the turned pieces: radius at each of eight heights above the board.
struct Profile {
  int radius[8];
  int height[8];
};
constexpr Profile PawnProfile = {{30, 28, 14, 12, 16, 18, 14, 6}, {0, 10, 20, 45, 55, 65, 80, 90}};
constexpr Profile RookProfile = {{34, 32, 22, 22, 28, 28, 26, 26},
                                 {0, 12, 25, 80, 90, 110, 115, 125}};
constexpr Profile KnightProfile = {{34, 32, 20, 24, 28, 26, 18, 10},
                                   {0, 12, 25, 60, 85, 110, 130, 140}};
constexpr Profile BishopProfile = {{32, 30, 14, 14, 22, 20, 12, 4},
                                   {0, 12, 25, 90, 110, 130, 150, 165}};
constexpr Profile QueenProfile = {{34, 32, 16, 14, 24, 28, 20, 10},
                                  {0, 12, 30, 110, 140, 165, 180, 190}};
constexpr Profile KingProfile = {{34, 32, 16, 14, 26, 22, 10, 10},
                                 {0, 12, 30, 120, 150, 175, 190, 210}};

// Seven bands of eight side quads and a three-quad octagonal cap: 59 faces.
void Piece(int cx, int cz, const Profile& p, uint16_t base) {
  int ringX[8][LatheSides], ringZ[8][LatheSides];
  for (int level = 0; level < 8; ++level) {
    for (int s = 0; s < LatheSides; ++s) {
      const double angle = (s + 0.5) * 2.0 * 3.14159265358979 / LatheSides;
      ringX[level][s] = cx + static_cast<int>(std::lround(p.radius[level] * std::cos(angle)));
      ringZ[level][s] = cz + static_cast<int>(std::lround(p.radius[level] * std::sin(angle)));
    }
  }
  for (int level = 0; level < 7; ++level) {
    const int ya = BoardY - p.height[level], yb = BoardY - p.height[level + 1];
    for (int s = 0; s < LatheSides; ++s) {
      const int t = (s + 1) % LatheSides;
      // Light from one side, so the solid reads as round.
      const uint16_t shade = static_cast<uint16_t>(
          RGB565(static_cast<uint8_t>(s % 4), static_cast<uint8_t>(2 * (s % 4)), 0));
      Face(ringX[level][s], ya, ringZ[level][s], ringX[level][t], ya, ringZ[level][t],
           ringX[level + 1][t], yb, ringZ[level + 1][t], ringX[level + 1][s], yb,
           ringZ[level + 1][s], static_cast<uint16_t>(base + shade), PlainTag);
    }
  }
  const int y = BoardY - p.height[7];
  const int(&rx)[LatheSides] = ringX[7];
  const int(&rz)[LatheSides] = ringZ[7];
  Face(rx[0], y, rz[0], rx[1], y, rz[1], rx[2], y, rz[2], rx[3], y, rz[3], base, PlainTag);
  Face(rx[3], y, rz[3], rx[4], y, rz[4], rx[7], y, rz[7], rx[0], y, rz[0], base, PlainTag);
  Face(rx[4], y, rz[4], rx[5], y, rz[5], rx[6], y, rz[6], rx[7], y, rz[7], base, PlainTag);
}

void BuildPieces() {
  next = TestScenePiecesStart;
  const Profile* backRank[8] = {&RookProfile, &KnightProfile, &BishopProfile, &QueenProfile,
                                &KingProfile, &BishopProfile, &KnightProfile, &RookProfile};
  const uint16_t white = RGB565(22, 40, 12);
  const uint16_t black = RGB565(5, 8, 4);
  for (int file = 0; file < 8; ++file) {
    const int x = 150 + 100 * file;
    // White stands at the high-z end of the board.
    Piece(x, 850, *backRank[file], white);
    Piece(x, 750, PawnProfile, white);
    Piece(x, 250, PawnProfile, black);
    Piece(x, 150, *backRank[file], black);
  }
}

void BuildFloorTexture() {
  uint16_t* texels = TextureSlots[TestSceneFloorSlot];
  for (int r = 0; r < TextureSide; ++r) {
    for (int c = 0; c < TextureSide; ++c) {
      // Planks with darker seams, no transparent texels.
      const bool seam = r % 8 == 0 || (c + 11 * (r / 8)) % 16 == 0;
      const uint8_t grain = static_cast<uint8_t>((r * 7 + c * 3) % 5);
      texels[r * TextureSide + c] =
          seam ? RGB565(8, 12, 4)
               : RGB565(static_cast<uint8_t>(18 + grain), static_cast<uint8_t>(26 + grain), 8);
    }
  }
}

}  // namespace

int BuildTestScene() {
  ResetFaces(0, FaceTableSize - 1);
  BuildFloorTexture();
  BuildBoard();
  BuildRoom();
  const int room = next - TestSceneRoomStart;
  BuildPieces();
  const int pieces = next - TestScenePiecesStart;
  return 80 + room + pieces;
}

void PlaceTestCamera() {
  CameraYaw = 175.0;
  CameraPitch = 320.0;
  SetCameraCell(450.0, -550.0, 1300.0);
}
