// The data files shipped in data/, read by the game's own loader: pieces that fit their square
// and keep clean colours in every style, clocks that both players see the right way round, a
// legible font.
// (That data/ is kvm-gen's output, with the record counts the loader reads, is checked by the
// script test DataFilesMatchGenerator.)
#include "test_util.h"

namespace {

// The three 5-6-5 fields.
int Field(uint16_t c, int k) {
  return k == 0 ? c >> 11 : k == 1 ? (c >> 5) & 63 : c & 31;
}

class ShippedData : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    setenv("KORVANE_DATA", KORVANE_SOURCE_DIR "/data", 1);
    NextFace = FirstModelFace;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(LoadFontImages() && LoadModelData());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the shipped files load silently";
    unsetenv("KORVANE_DATA");
  }
  static int16_t Corner(int face, int corner, int axis) {
    return CornersOf(face).v[3 * corner + axis];
  }
};

TEST_F(ShippedData, PiecesStandOnTheBoardInsideTheirSquareKingTallest) {
  int height[PieceModelCount];
  for (int m = 0; m < PieceModelCount; ++m) {
    int top = 0, foot = -32768;
    for (int f = ModelStart[m]; f < ModelStart[m] + ModelFaces[m]; ++f) {
      for (int k = 0; k < 4; ++k) {
        EXPECT_LE(std::hypot(Corner(f, k, 0) - ParkOffset, Corner(f, k, 2)), 38.0) << m;
        top = std::min<int>(top, Corner(f, k, 1)), foot = std::max<int>(foot, Corner(f, k, 1));
      }
    }
    EXPECT_EQ(foot, -100) << m;
    height[m] = foot - top;
  }
  const PieceModel rising[] = {PawnModel,   RookModel,  KnightModel,
                               BishopModel, QueenModel, KingModel};
  for (int k = 1; k < PieceModelCount; ++k)
    EXPECT_LT(height[rising[k - 1]], height[rising[k]]) << rising[k];
}

TEST_F(ShippedData, PieceColoursNeverWrapInAnyStyle) {
  // Wood and white styles add a palette colour that wraps round to a small subtraction; Black
  // subtracts one. A field that borrowed from its neighbour would come out brighter than before
  // and the colour strange.
  const std::pair<uint16_t, int> styles[] = {
      {PaletteColour(180), 1}, {PaletteColour(29), 1}, {PaletteColour(17), -1}};
  for (int f = ModelStart[PawnModel]; f < SurroundingsStart - 8; ++f) {
    const uint16_t c = FaceTable.Colour[f];
    for (const auto& [change, sign] : styles) {
      const auto after = static_cast<uint16_t>(c + sign * change);
      for (int k = 0; k < 3; ++k) EXPECT_LE(Field(after, k), Field(c, k)) << change << " " << f;
    }
  }
}

TEST_F(ShippedData, ClocksStandBesideTheBoardUprightAndUnmirroredFromBothSeats) {
  const double seats[2][3] = {{450, -550, 1300}, {450, -550, -300}};  // White, Black
  int dial[3] = {0, -1, -1};                                          // by tag
  for (int f = SurroundingsStart - 8; f < SurroundingsStart; ++f) {
    for (int k = 0; k < 4; ++k) {
      const int x = Corner(f, k, 0), z = Corner(f, k, 2);
      EXPECT_FALSE(x > 90 && x < 910 && z > 90 && z < 910) << "on the board: scenery face " << f;
    }
    const int tag = FaceTable.Tag[f];
    if (tag == 1 || tag == 2) dial[tag] = dial[tag] == -1 ? f : -2;  // -2: two with one tag
  }
  for (int tag = 1; tag <= 2; ++tag) {
    const int f = dial[tag];
    ASSERT_GE(f, 0) << tag;
    double c1[3], u[3], v[3];  // corner 1, along the picture's rows, down its columns
    for (int a = 0; a < 3; ++a)
      c1[a] = Corner(f, 0, a), u[a] = Corner(f, 1, a) - c1[a], v[a] = Corner(f, 3, a) - c1[a];
    EXPECT_EQ(u[1], 0) << "the picture's rows are level, tag " << tag;
    EXPECT_GT(v[1], 0) << "the picture's top is up, tag " << tag;
    for (const auto& s : seats) {  // the seat against the picture's normal u x v
      const double facing = (u[1] * v[2] - u[2] * v[1]) * (s[0] - c1[0]) +
                            (u[2] * v[0] - u[0] * v[2]) * (s[1] - c1[1]) +
                            (u[0] * v[1] - u[1] * v[0]) * (s[2] - c1[2]);
      EXPECT_LT(facing, 0) << "mirrored from the seat at z " << s[2] << ", tag " << tag;
    }
  }
  EXPECT_GT(FaceTable.Z1[dial[2]], FaceTable.Z1[dial[1]]) << "White's clock nearer White";
}

TEST_F(ShippedData, EveryGlyphHasItsOwnDotsInsideItsCellAwayFromItsNeighbours) {
  const std::pair<const uint16_t*, std::string> sheets[] = {{FontImage1, "abcdefghijklmnopqrst"},
                                                            {FontImage2, "uvwxyz1234567890"}};
  std::set<uint32_t> shapes;
  for (const auto& [image, characters] : sheets) {
    int dotsInCells = 0;
    for (size_t k = 0; k < characters.size(); ++k) {
      const int c0 = 1 + 6 * int(k / 4), r0 = 1 + 7 * int(k % 4);
      uint32_t shape = 0;
      for (int p = 0; p < 24; ++p) {  // row p / 4, column p % 4 of the cell
        if (image[32 * (r0 + p / 4) + c0 + p % 4] == 0) continue;
        EXPECT_TRUE(p / 4 > 0 && p % 4 > 0) << characters[k] << " touches its cell's edge";
        shape |= 1u << p, ++dotsInCells;
      }
      EXPECT_NE(shape, 0u) << characters[k] << " has no dots";
      EXPECT_TRUE(shapes.insert(shape).second) << characters[k] << " looks like another";
    }
    EXPECT_EQ(ImageTexels - std::count(image, image + ImageTexels, 0), dotsInCells)
        << "dots outside the glyph cells";
  }
}

}  // namespace
