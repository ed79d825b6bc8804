// The scene: pieces on the squares each side sees, their colours, the square marks, the
// surroundings, the camera, and picking squares with the mouse and Enter.

#include "test_util.h"

namespace {

class Scene : public EngineGameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp(), SeedRandom(3);
    ASSERT_TRUE(BuildGameTables() && BuildGameWorld());
  }
  DataFolder data;
};

TEST_F(Scene, PiecesStandOnTheirSquaresForBothSidesAndStyles) {
  // Nothing in the position is symmetric; the knights stand on c3, f3, c6 and f6.
  const char fen[] = "r1bqk2r/pp3ppp/2n2n2/3pp3/1b2P3/2NP1N2/PPP2PPP/R1BQKB1R w KQkq - 0 1";
  for (const uint8_t side : {0, 1}) {
    for (const uint8_t style : {0, 1}) {
      WhitePieceStyle = style;
      GameFromFen(fen, side == 1);  // the engine has White when the player has Black
      RefreshDisplayBoard(), PlacePieces();
      EXPECT_EQ(DrawnBoard(), BoardOf(fen)) << int(side) << int(style);
      // White's knights turn round to face Black: corner 2 is 24 nearer the middle.
      for (int f = PieceFacesStart; f <= PieceFacesLast; ++f) {
        const int x = FaceTable.X1[f], z = FaceTable.Z1[f];
        const bool knight = (x == 350 || x == 650) && (z == 350 || z == 650);
        EXPECT_TRUE(!knight || FaceTable.Z2[f] - z == (z == 650 ? -24 : 24)) << int(side) << f;
      }
    }
  }
}

TEST_F(Scene, SquareColoursShowHoverAndSelection) {
  // Each case: board style, hover, selection (0 none), the quad looked at and its colour.
  // clang-format off
  const struct { uint8_t board, hover, selected; int quad; uint16_t colour; } cases[] = {
      {0, NoHoverSquare, 0, 0, PaletteColour(2)}, {0, NoHoverSquare, 0, 1, PaletteColour(15)},
      {1, NoHoverSquare, 0, 0, RGB565(10, 10, 1)}, {1, NoHoverSquare, 0, 9 * 7, RGB565(10, 10, 1)},
      {1, NoHoverSquare, 0, 8, RGB565(28, 45, 8)}, {0, 5, 0, 5, PaletteColour(188)},
      {1, 5, 5, 5, RGB565(0, 40, 31)},  // the picked square's mark wins over the hover mark
      {0, 5, 6, 6, RGB565(0, 40, 31)}};
  // clang-format on
  for (const auto& c : cases) {
    BoardColour = c.board, HoverSquare = c.hover;
    SquareSelected = c.selected != 0, SelectedSquare = c.selected;
    ColourBoard();
    EXPECT_EQ(FaceTable.Colour[8 * (c.quad % 8) + c.quad / 8], c.colour) << c.quad;
  }
}

TEST_F(Scene, SurroundingsAreBuiltAndRemoved) {
  for (const auto& [setting, faces] : {std::pair{1, 504}, {2, 600}, {0, 0}}) {
    Surroundings = uint8_t(setting);
    BuildSurroundings();
    EXPECT_EQ(BuiltSurroundings, setting);
    int built = 0;
    for (int f = SurroundingsStart; f <= SurroundingsStart + SurroundingsFaces; ++f)
      built += FaceTable.Y1[f] != EmptyCoordinate;
    EXPECT_EQ(built, faces);
  }
}

TEST_F(Scene, CameraTurnsWrapsStaysInsideAndFlies) {
  // From x, y, z, yaw, pitch with the mouse at (mouseX, mouseY) and one key held (VkSpace to
  // turn, an arrow to fly, Home to sit down), `frames` 60ths of a second since the last step,
  // the room built or not: the camera's place and angles.
  // clang-format off
  const struct { double x, y, z, yaw, pitch; uint16_t mouseX, mouseY, key;
                 double expectX, expectY, expectZ, expectYaw, expectPitch, frames = 1;
                 uint8_t room = 0; } cases[] = {
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
  // clang-format on
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
