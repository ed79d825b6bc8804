// The scene: pieces on the squares each side sees, their colours, the square marks, the
// surroundings, the camera, and picking squares with the mouse and Enter.
#include "game3d/scene.h"

#include <map>
#include <tuple>

#include "engine/game.h"
#include "engine/hash.h"
#include "engine/random.h"
#include "engine/state.h"
#include "game3d/camera.h"
#include "game3d/mainloop.h"
#include "game3d/modelfile.h"
#include "platform3d/transform.h"
#include "test_util.h"

namespace {

class Scene : public GameTest {
 protected:
  static void SetUpTestSuite() { HashAllocate(); }
  static void TearDownTestSuite() { HashRelease(); }
  void SetUp() override {
    GameTest::SetUp();
    SeedRandom(3);
    ASSERT_TRUE(BuildGameTables());
    ASSERT_TRUE(BuildGameWorld());
  }
  DataFolder data;
};

// Square centre of a real square: White's pieces stand at the high-z end, file a at high x.
std::pair<int, int> Centre(int file, int rank) {
  return {850 - 100 * file, 950 - 100 * rank};
}

TEST_F(Scene, PiecesStandOnTheirSquaresForBothSides) {
  const uint16_t base = PaletteColour(DataFolder::ModelColourIndex);
  for (uint8_t side : {0, 1}) {
    for (uint8_t style : {0, 1}) {
      PlayerSide = side;
      WhitePieceStyle = style;
      NewGameStep();
      // Every placed face starts at its square's centre (the models' first corners are on
      // their axes): count the faces per square and colour.
      std::map<std::tuple<int, int, uint16_t>, int> faces;
      for (int f = PieceFacesStart; f <= PieceFacesLast; ++f) {
        if (FaceTable.Y1[f] != EmptyCoordinate)
          ++faces[{FaceTable.X1[f], FaceTable.Z1[f], FaceTable.Colour[f]}];
      }
      const uint16_t white = base + (style == 1 ? PaletteColour(29) : PaletteColour(180));
      const uint16_t black = base - PaletteColour(17);
      // Faces that keep the base colour: a quarter of a turned piece, half of a knight.
      const int backRank[8] = {11, 27, 16, 16, 16, 16, 27, 11};
      std::map<std::tuple<int, int, uint16_t>, int> expected;
      for (int file = 0; file < 8; ++file) {
        const auto add = [&](int rank, uint16_t colour, int count) {
          auto [x, z] = Centre(file, rank);
          expected[{x, z, colour}] = count;
        };
        add(1, white, backRank[file]);
        add(2, white, 12);
        add(7, black, 12);
        add(8, black, backRank[file]);
      }
      for (auto& [key, count] : expected) {
        EXPECT_EQ(faces[key], count)
            << "side " << int(side) << " at " << std::get<0>(key) << "," << std::get<1>(key);
      }
      // White's knights are turned round to face Black.
      for (int rank : {1, 8}) {
        auto [x, z] = Centre(6, rank);
        int knightFace = -1;
        for (int f = PieceFacesStart; f <= PieceFacesLast && knightFace < 0; ++f) {
          if (FaceTable.X1[f] == x && FaceTable.Z1[f] == z) knightFace = f;
        }
        ASSERT_GE(knightFace, 0);
        EXPECT_EQ(FaceTable.Z2[knightFace] - z, rank == 1 ? -24 : 24) << int(side);
      }
    }
  }
}

TEST_F(Scene, HoverToSquareMatchesWherePiecesStand) {
  for (uint8_t side : {0, 1}) {
    PlayerSide = side;
    NewGameStep();
    for (uint8_t quad = 0; quad < 64; ++quad) {
      const uint8_t square = HoverToSquare(quad);
      const int centreX = 100 * (quad % 8) + 150, centreZ = 100 * (quad / 8) + 150;
      bool found = GameBoard[square] == Empty;
      for (int f = PieceFacesStart; f <= PieceFacesLast && !found; ++f) {
        found = FaceTable.X1[f] == centreX && FaceTable.Z1[f] == centreZ;
      }
      EXPECT_TRUE(found) << "side " << int(side) << " quad " << int(quad);
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
      {1, 5, 5, 5, static_cast<uint16_t>(PaletteColour(188) + PaletteColour(2))},
      {0, 5, 6, 6, static_cast<uint16_t>(PaletteColour(2) + PaletteColour(2))},
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
    uint16_t key;  // VkSpace to turn, an arrow to fly
    double expectX, expectY, expectZ, expectYaw, expectPitch;
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
  };
  for (const auto& c : cases) {
    CameraX = c.x, CameraY = c.y, CameraZ = c.z, CameraYaw = c.yaw, CameraPitch = c.pitch;
    MouseX = c.mouseX, MouseY = c.mouseY;
    ClearKeys();
    if (c.key) KeyDown[c.key] = 1;
    MoveCamera();
    EXPECT_NEAR(CameraX, c.expectX, 0.01) << c.key << " " << c.yaw;
    EXPECT_NEAR(CameraY, c.expectY, 0.01) << c.key << " " << c.yaw;
    EXPECT_NEAR(CameraZ, c.expectZ, 0.01) << c.key << " " << c.yaw;
    EXPECT_NEAR(CameraYaw, c.expectYaw, 1e-9);
    EXPECT_NEAR(CameraPitch, c.expectPitch, 1e-9);
  }
}

}  // namespace

namespace {

class Picking : public Scene {
 protected:
  void SetUp() override {
    Scene::SetUp();
    NewGameStep();  // the player has White and moves first
    points = SquareScreenPoints();
  }
  // One game frame's input and picture: the mouse over the quad of a real square.
  void Frame(const char* square, bool left, bool enter = false) {
    const int quad = 8 * (8 - (square[1] - '0')) + 7 - (square[0] - 'a');
    MouseX = static_cast<uint16_t>(points[quad].x);
    MouseY = static_cast<uint16_t>(points[quad].y);
    LeftButton = left;
    KeyDown[VkReturn] = enter;
    played += PickAndMove();
    DrawGameView();
    EXPECT_EQ(HoverSquare, quad) << square;  // also when a piece stands over it
  }
  std::vector<ScreenPoint> points;
  int played = 0;
};

TEST_F(Picking, PressOnAPieceThenOnItsTargetPlaysTheMove) {
  Frame("e2", false);
  Frame("e2", true);
  EXPECT_EQ(SquareSelected, 1);
  Frame("e2", false);
  Frame("e4", false);
  EXPECT_EQ(played, 0);
  Frame("e4", true);
  EXPECT_EQ(played, 1);
  EXPECT_EQ(TurnState, 0);
  EXPECT_EQ(SquareSelected, 0);
  EXPECT_STREQ(GameRecord[0], "e2-e4");
  EXPECT_EQ(DisplayBoard[HoverToSquare(8 * 4 + 3)], GameBoard[HoverToSquare(8 * 4 + 3)]);
}

TEST_F(Picking, EnterTriesTheMoveLikeAPress) {
  Frame("g1", false);
  Frame("g1", true);
  Frame("f3", false);
  Frame("f3", false, true);
  EXPECT_EQ(played, 1);
  EXPECT_STREQ(GameRecord[0], "Ng1-f3");
}

TEST_F(Picking, SweepWithTheButtonHeldSelectsTheLastSquare) {
  // Empty squares of the fourth rank: no move among them, so each frame re-selects the square
  // the previous frame found under the pointer.
  for (const char* square : {"a4", "a4", "b4", "c4", "d4", "d4"}) Frame(square, true);
  EXPECT_EQ(played, 0);
  EXPECT_EQ(SquareSelected, 1);
  EXPECT_EQ(SelectedSquare, 8 * 4 + 7 - 3);
  // A press that makes no legal move selects that square instead.
  Frame("h8", false);
  Frame("h8", true);
  EXPECT_EQ(played, 0);
  EXPECT_EQ(SelectedSquare, 0);
}

}  // namespace
