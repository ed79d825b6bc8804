// The scene: pieces on the squares each side sees, their colours, the square marks, the
// surroundings, the camera, and picking squares with the mouse and Enter.
#include "game3d/scene.h"

#include <map>
#include <tuple>

#include "engine/game.h"
#include "engine/random.h"
#include "engine/state.h"
#include "game3d/camera.h"
#include "game3d/mainloop.h"
#include "game3d/modelfile.h"
#include "platform3d/transform.h"
#include "test_util.h"

namespace {

class Scene : public EngineGameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    SeedRandom(3);
    ASSERT_TRUE(BuildGameTables());
    ASSERT_TRUE(BuildGameWorld());
  }
  DataFolder data;
};

TEST_F(Scene, PiecesStandOnTheirSquaresForBothSidesAndStyles) {
  // Every model's first corner is on its axis, so each placed face starts at its square's
  // centre. Faces keeping the model's own shade: a quarter of a turned piece, half a knight.
  const int backRank[8] = {11, 27, 16, 16, 16, 16, 27, 11};  // files a..h
  const uint16_t base = PaletteColour(DataFolder::ModelColourIndex);
  for (uint8_t side : {0, 1}) {
    for (uint8_t style : {0, 1}) {
      PlayerSide = side, WhitePieceStyle = style;
      NewGameStep();
      std::map<std::tuple<int, int, uint16_t>, int> faces;  // x, z, colour
      for (int f = PieceFacesStart; f <= PieceFacesLast; ++f) {
        if (FaceTable.Y1[f] != EmptyCoordinate)
          ++faces[{FaceTable.X1[f], FaceTable.Z1[f], FaceTable.Colour[f]}];
      }
      const uint16_t white = base + PaletteColour(style == 1 ? 29 : 180);
      const uint16_t black = base - PaletteColour(17);
      const auto at = [&](int x, int z, uint16_t colour) { return faces[{x, z, colour}]; };
      for (int file = 0; file < 8; ++file) {
        // White's pieces stand at the high-z end, file a at high x.
        const int x = 850 - 100 * file;
        EXPECT_EQ(at(x, 850, white), backRank[file]) << int(side) << file;
        EXPECT_EQ(at(x, 750, white), 12) << int(side) << file;
        EXPECT_EQ(at(x, 250, black), 12) << int(side) << file;
        EXPECT_EQ(at(x, 150, black), backRank[file]) << int(side) << file;
      }
      // White's knights turn round to face Black: corner 2 is 24 nearer the middle.
      for (int f = PieceFacesStart; f <= PieceFacesLast; ++f) {
        if (FaceTable.X1[f] != 250 || FaceTable.X2[f] != 262) continue;  // knights of file g
        EXPECT_EQ(FaceTable.Z2[f] - FaceTable.Z1[f], FaceTable.Z1[f] == 850 ? -24 : 24);
      }
      // HoverToSquare names the engine square whose piece stands on the quad, in its colour.
      for (uint8_t quad = 0; quad < 64; ++quad) {
        const uint8_t code = GameBoard[HoverToSquare(quad)];
        const uint16_t colour = (code >= 20) == (side == 0) ? white : black;
        const int x = 100 * (quad % 8) + 150, z = 100 * (quad / 8) + 150;
        EXPECT_EQ(at(x, z, colour) > 0, code != Empty) << int(side) << " " << int(quad);
      }
    }
  }
}

TEST_F(Scene, SquareColoursShowHoverAndSelection) {
  const struct {
    uint8_t board, hover, selected;
    int quad;
    uint16_t colour;
  } cases[] = {
      {0, NoHoverSquare, 0, 0, PaletteColour(2)},  // quad 0 is dark
      {0, NoHoverSquare, 0, 1, PaletteColour(15)},
      {1, NoHoverSquare, 0, 0, RGB565(10, 10, 1)},
      {1, NoHoverSquare, 0, 9 * 7, RGB565(10, 10, 1)},
      {1, NoHoverSquare, 0, 8, RGB565(28, 45, 8)},
      {0, 5, 0, 5, PaletteColour(188)},
      {1, 5, 5, 5, RGB565(0, 40, 31)},  // the picked square's mark wins over the hover mark
      {0, 5, 6, 6, RGB565(0, 40, 31)},
  };
  for (const auto& c : cases) {
    BoardColour = c.board;
    HoverSquare = c.hover;
    SquareSelected = c.selected != 0;
    SelectedSquare = c.selected;
    ColourBoard();
    const int face = 8 * (c.quad % 8) + c.quad / 8;
    EXPECT_EQ(FaceTable.Colour[face], c.colour) << c.quad;
    EXPECT_EQ(FaceTable.Tag[face], SquareTagFirst + c.quad);
  }
}

TEST_F(Scene, SurroundingsAreBuiltAndRemoved) {
  const struct {
    uint8_t setting;
    int faces;
  } cases[] = {{1, 504}, {2, 600}, {0, 0}};
  for (const auto& c : cases) {
    Surroundings = c.setting;
    BuildSurroundings();
    EXPECT_EQ(BuiltSurroundings, c.setting);
    int count = 0;
    for (int f = SurroundingsStart; f <= SurroundingsStart + SurroundingsFaces; ++f) {
      count += FaceTable.Y1[f] != EmptyCoordinate;
    }
    EXPECT_EQ(count, c.faces);
  }
}

TEST_F(Scene, CameraTurnsWrapsStaysInsideAndFlies) {
  const struct {
    double x, y, z, yaw, pitch;
    uint16_t mouseX, mouseY;
    uint16_t key;  // VkSpace to turn, an arrow to fly, Home to sit down
    double expectX, expectY, expectZ, expectYaw, expectPitch;
    double frames = 1;  // 60ths of a second since the last step
    uint8_t room = 0;   // the surroundings built
  } cases[] = {
      {0, 0, 0, 100, 10, 100, 300, VkSpace, 0, 0, 0, 99, 10},         // mouse left: turn left
      {0, 0, 0, 0.5, 359.5, 400, 0, VkSpace, 0, 0, 0, 0.5, 0},        // pitch past the top
      {0, 0, 0, 0.5, 0.2, 100, 600, VkSpace, 0, 0, 0, 359.9, 359.9},  // both below 0
      {5000, -5000, -5000, 0, 0, 0, 0, 0, 2130, -1180, -1480, 0, 0},  // clamped, no key
      {0, 0, 0, 90, 0, 0, 0, VkUp, 4, 0, 0, 90, 0},
      {0, 0, 0, 0, 90, 0, 0, VkUp, 0, -6, 0, 0, 90},  // looking up: straight up
      {0, 0, 0, 0, 0, 0, 0, VkDown, 0, 0, -4, 0, 0},
      {0, 0, 0, 0, 0, 0, 0, VkLeft, -4, 0, 0, 0, 0},
      {0, 0, 0, 270, 0, 0, 0, VkRight, 0, 0, 4, 270, 0},  // 360 is not above 360
      // Steps by the time passed; never out of the box, within the room's walls when shown.
      {0, 0, 0, 100, 10, 100, 300, VkSpace, 0, 0, 0, 97, 10, 3},
      {0, 0, 0, 90, 0, 0, 0, VkUp, 6, 0, 0, 90, 0, 1.5},
      {2128, 0, 0, 90, 0, 0, 0, VkUp, 2130, 0, 0, 90, 0},
      {1998, 0, 0, 90, 0, 0, 0, VkUp, 2000, 0, 0, 90, 0, 1, 1},
      {5000, -5000, -5000, 0, 0, 0, 0, 0, 2000, -1100, -1400, 0, 0, 1, 1},
      {0, 0, 0, 0, 0, 0, 0, VkHome, 450, -550, 1300, 175, 320},  // the seat of White's player
  };
  BoardFlipped = 0;
  for (const auto& c : cases) {
    CameraX = c.x, CameraY = c.y, CameraZ = c.z, CameraYaw = c.yaw, CameraPitch = c.pitch;
    MouseX = c.mouseX, MouseY = c.mouseY;
    ClearKeys();
    if (c.key) KeyDown[c.key] = 1;
    BuiltSurroundings = c.room;
    MoveCamera(c.frames);
    const double got[5] = {CameraX, CameraY, CameraZ, CameraYaw, CameraPitch},
                 want[5] = {c.expectX, c.expectY, c.expectZ, c.expectYaw, c.expectPitch};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(got[k], want[k], k < 3 ? 0.01 : 1e-9) << c.key << k;
  }
}

}  // namespace
