#include "tests/platform3d/test_util.h"

// Writes view face f directly (camera space), corners given as {x, y, z} each.
void SetViewFace(int f, const int (&corner)[4][3], uint16_t colour = 1, int16_t tag = 0) {
  for (int c = 0; c < 12; ++c) Column(ViewFaces, c)[f] = static_cast<int16_t>(corner[c / 3][c % 3]);
  ViewFaces.Colour[f] = colour;
  ViewFaces.Tag[f] = tag;
}

// An empty face table and the camera at the origin looking along +z.
class Pipeline : public RasterTest {
 protected:
  void SetUp() override {
    RasterTest::SetUp();
    ResetFaces(0, FaceTableSize - 1);
    CameraCell = {0, 0, 0};
    CameraYaw = CameraPitch = 0.0;
  }
  static void Frame() {
    ClearBackBuffer(0);
    HoverSquare = NoHoverSquare;
    SelectFaces();
    RotateFaces();
    RenderScene();
  }
  // A 110 x 60 world face at height y over the middle of square 36.
  static void Slab(int index, int y, uint16_t colour, int tag) {
    StoreFace(index, FlatFace(450, y, 520, 110, 60), colour, static_cast<int16_t>(tag));
  }
};
using Faces = Pipeline;
using Render = Pipeline;

TEST_F(Faces, SelectionByFirstCornerDistanceIntoTripledWrappingViewSpaceAndInRangeOnly) {
  StoreFace(-1, FlatFace(0, 0, 0, 1, 1), 1, 1);  // ignored (ASan checks the writes)
  StoreFace(4001, FlatFace(0, 0, 0, 1, 1), 1, 1);
  ResetFaces(3990, 99999);
  EXPECT_EQ(FaceTable.Z4[4000], EmptyCoordinate);
  SetCameraCell(1e9, -1e9, std::nan(""));  // limited to 16 bits; not a number is 0
  EXPECT_EQ((std::array<int, 3>{CameraCell.x, CameraCell.y, CameraCell.z}),
            (std::array<int, 3>{32767, -32768, 0}));
  SetCameraCell(100.5, -200.5, 299.5);  // halves to even: (100, -200, 300)
  SelectFaces();
  EXPECT_EQ(ViewCount, 0);  // empty table
  // 8499 away along the three axes together: selected.
  StoreFace(10, FlatFace(100 + 4000, -200 + 499, 300 - 4000, 5000, 5000), 1, 0);
  FaceCorners far = FlatFace(100, -200, 300, 0, 0);
  far.v[0] = 100 + 8500;  // 8500 away: left out, though its other corners are close
  StoreFace(11, far, 2, 0);
  StoreFace(4000, FlatFace(100, -200, 300, 10, 10), 3, 0);  // outside the pipeline's range
  FaceCorners near = FlatFace(110, -190, 290, 0, 0);
  near.v[3] = 100 + 20000;  // x2 lies 20000 from the camera: 60000 wraps to -5536
  StoreFace(3999, near, 4, 7);
  SelectFaces();
  ASSERT_EQ(ViewCount, 1);  // two faces: index of the last one
  EXPECT_EQ((std::vector<int>{ViewFaces.Source[0], ViewFaces.Source[1], ViewFaces.Colour[1],
                              ViewFaces.Tag[1], ViewFaces.X1[1], ViewFaces.Z1[1], ViewFaces.X2[1]}),
            (std::vector<int>{10, 3999, 4, 7, 30, -30, 60000 - 65536}));
}

TEST_F(Faces, RotationIsRotate2DOnEveryCornerYawFirstAndNeedsTwoFaces) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> coordinate(-8400, 8400);
  for (int c = 0; c < 12; ++c) {
    for (int f = 0; f < 50; ++f) Column(ViewFaces, c)[f] = static_cast<int16_t>(coordinate(random));
  }
  ViewArrays before = ViewFaces;
  ViewCount = 0;  // a single face is not turned
  CameraYaw = 90.0;
  RotateFaces();
  EXPECT_EQ(ViewFaces.X1[0], before.X1[0]);
  ViewCount = 49;
  CameraYaw = 245.3;
  CameraPitch = 330.9;
  RotateFaces();
  const int16_t yaw = static_cast<int16_t>(16 * 245.3), pitch = static_cast<int16_t>(16 * 330.9);
  for (int f = 0; f < 50; ++f) {
    for (int k = 0; k < 12; k += 3) {
      const Point16 xz = Rotate2D(0, 0, Column(before, k)[f], Column(before, k + 2)[f], yaw);
      const Point16 zy = Rotate2D(0, 0, xz.y, Column(before, k + 1)[f], pitch);
      ASSERT_EQ(Column(ViewFaces, k)[f], xz.x) << f << "," << k;
      ASSERT_EQ(Column(ViewFaces, k + 1)[f], zy.y) << f << "," << k;
      ASSERT_EQ(Column(ViewFaces, k + 2)[f], zy.x) << f << "," << k;
    }
  }
}

TEST(DepthOrder, FarToNearWithEqualKeysInInsertionOrder) {
  SetViewFace(0, {{10, 20, 300}, {-10, 20, 300}, {10, -20, 300}, {-10, -20, 300}});
  SetViewFace(1, {{3, 0, -1}, {3, 0, -1}, {3, 0, -1}, {0, 0, -2}});  // sx 9/4 = 2, sz -5/4 = -1
  ViewCount = 1;
  OrderFaces();
  EXPECT_EQ(DepthKey[0], 5 + 10 + 300);  // |x| / 2 + |y| / 2 + z
  EXPECT_EQ(DepthKey[1], 1 + 0 - 1);
  EXPECT_EQ(DepthBuckets[BucketIndex(315 * 3)], 0);  // the first free bucket from key x 3
  EXPECT_EQ(DepthBuckets[BucketIndex(0)], 1);
  // Flat faces at these depths, and the order they are drawn in. Equal keys sit one bucket
  // apart in the order they came, and the walk runs from the far end down, so of equal keys
  // the last one queued is drawn first. A key below -1000 is dropped and not counted. Keys
  // above 23330 all probe to bucket 69991, past the start of the walk.
  const struct {
    std::vector<int> depth, order;
  } cases[] = {{{100, 100, 500, 100, 101}, {2, 4, 3, 1, 0}},
               {{-1001, -1000, 50}, {2, 1}},
               {{30000, 25000, 23330}, {2}}};
  for (const auto& c : cases) {
    for (size_t f = 0; f < c.depth.size(); ++f) {
      const int z = c.depth[f];
      SetViewFace(static_cast<int>(f), {{0, 0, z}, {0, 0, z}, {0, 0, z}, {0, 0, z}});
    }
    ViewCount = static_cast<int16_t>(c.depth.size() - 1);
    const int count = OrderFaces();
    EXPECT_EQ(std::vector<int>(DrawOrder, DrawOrder + count), c.order) << c.depth[0];
  }
  EXPECT_EQ(DepthBuckets[BucketIndex(69991)], 1);  // the probe past 69800 overwrote face 0
}

TEST(NearClip, NearCornersMoveInStepsOfFiveToDepth98) {
  // Each row: a quad, one of its corners and that corner's x, y and z after the clip.
  const struct {
    ViewQuad q;
    int k, x, y, z;
  } cases[] = {
      // Corner 0 follows edge 0-3: x -1000 + ((-205 div 5)(500 div 5) div (-254 div 5)) x 5,
      // where the exact crossing at z = 99 would be -596; corner 1 moves y by
      // ((-40)(10 div 5) div -50) x 5. Corners behind the plane stay.
      {{{-500, 500, 1000, -1000}, {200, 210, 200, 200}, {50, 50, 300, 304}}, 0, -590, 200, 98},
      {{{-500, 500, 1000, -1000}, {200, 210, 200, 200}, {50, 50, 300, 304}}, 1, 600, 205, 98},
      {{{-500, 500, 1000, -1000}, {200, 210, 200, 200}, {50, 50, 300, 304}}, 2, 1000, 200, 300},
      {{{7, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 200, 200}}, 0, 0, 0, 98},  // (-20 x 1) div -40
      // Both neighbours behind: the farther one, x 2000 + ((-40 x -400) div -50) x 5; on equal
      // depth corner 3 for 0, corner 2 for 1. A corner at 100 itself stays.
      {{{0, 1000, 0, 2000}, {0, 0, 0, 0}, {50, 100, 400, 300}}, 0, 400, 0, 98},
      {{{0, 1000, 0, 2000}, {0, 0, 0, 0}, {50, 100, 400, 300}}, 1, 1000, 0, 100},
      {{{0, 1000, 0, 2000}, {0, 0, 0, 0}, {50, 300, 400, 300}}, 0, 400, 0, 98},
      {{{1000, 0, 3000, 500}, {0, 0, 0, 0}, {300, 50, 300, 400}}, 1, 600, 0, 98},
      // Within 5 units of depth of the target: x and y kept. Exactly 5 apart: moved, by
      // (99 - 101) div 5 = 0 steps from the target, so onto it.
      {{{11, 22, 33, 44}, {55, 66, 77, 88}, {97, 101, 300, 50}}, 0, 11, 55, 98},
      {{{11, 22, 33, 44}, {55, 66, 77, 88}, {96, 101, 300, 50}}, 0, 22, 66, 98},
      // Both neighbours in front: x and y kept.
      {{{11, 22, 33, 44}, {55, 66, 77, 88}, {50, 60, 70, 300}}, 1, 22, 66, 98},
      // A neighbour at exactly 99 is no target; a corner at 99 itself is clipped (ratio 1).
      {{{0, 500, 1000, 2000}, {0, 0, 0, 0}, {50, 99, 300, 300}}, 0, 400, 0, 98},
      {{{0, 500, 1000, 2000}, {0, 0, 0, 0}, {50, 99, 300, 300}}, 1, 500, 0, 98},
      {{{7, 500, 1000, 9}, {3, 0, 0, 0}, {50, 99, 300, 60}}, 0, 7, 3, 98},
      // Only faces straddling z = 100 are clipped.
      {{{1, 2, 3, 4}, {5, 6, 7, 8}, {50, 100, 100, 100}}, 0, 1, 5, 50},
      {{{1, 2, 3, 4}, {5, 6, 7, 8}, {100, 200, 300, 400}}, 0, 1, 5, 100}};
  for (const auto& c : cases) {
    ViewQuad q = c.q;
    ClipNear(q);
    EXPECT_EQ((std::array<int, 3>{q.x[c.k], q.y[c.k], q.z[c.k]}), (std::array{c.x, c.y, c.z}))
        << "corner " << c.k << " of z " << c.q.z[0] << "," << c.q.z[1] << "," << c.q.z[3];
  }
}

TEST(CullAndProject, CullVolumeAndTruncatingProjection) {
  EXPECT_TRUE(InsideCullVolume({{1800, 0, 0, -1800}, {0, 1800, -1800, 0}, {100, 100, 100, 100}}));
  EXPECT_FALSE(InsideCullVolume({{0, 0, 0, -1801}, {0, 0, 0, 0}, {100, 100, 100, 100}}));
  EXPECT_FALSE(InsideCullVolume({{0, 0, 0, 0}, {0, 0, 1801, 0}, {100, 100, 100, 100}}));
  ScreenQuad s;
  ASSERT_TRUE(ProjectQuad({{100, -1, -1, 32767}, {-50, 0, 0, 0}, {550, 550, 551, 4}}, s));
  // -550 div 551 is 0, toward zero; 32767 x 550 div 4 is kept whole, not wrapped to 16 bits.
  EXPECT_EQ((std::array<int, 5>{s.x[0], s.y[0], s.x[1], s.x[2], s.x[3]}),
            (std::array<int, 5>{500, 250, 399, 400, 32767 * 550 / 4 + 400}));
  EXPECT_FALSE(ProjectQuad({{0, 0, 0, 0}, {0, 0, 0, 0}, {550, 3, 550, 550}}, s));
}

TEST_F(Render, TheNearestSquareUnderTheMouseWinsAndPiecesDoNotBlockIt) {
  // Straight above the board centre looking down: world x to the right, world z up the
  // screen, the board 3000 view units deep, so a 100-unit square is 55 pixels.
  CameraPitch = 270.0;
  SetCameraCell(500, -1100, 500);
  Slab(0, -100, 0x1111, 136);  // a single selected face (ViewCount 0): nothing is drawn
  Frame();
  EXPECT_EQ(CountPixels(0), 800 * 600);
  for (int i = 0; i < 64; ++i) {
    StoreFace(i, FlatFace(100 + 100 * (i % 8), -100, 100 + 100 * (i / 8), 100, 100),
              static_cast<uint16_t>(100 + i), static_cast<int16_t>(100 + i));
  }
  // Square 36 (world x and z 500..600, tag 136) covers screen x 400..455, y 245..300. After
  // each change: the square marked and the colour at (420, 280).
  Aim(420, 280, false);
  const struct {
    void (*change)();
    uint8_t hover;
    uint16_t colour;
  } steps[] = {{[] { Slab(2002, -2000, 0x2222, 0); }, 36, 136},     // far above, behind the camera
               {[] { Slab(2000, -300, 0x7777, 0); }, 36, 0x7777},   // a piece face above square 36
               {[] { Slab(2001, -200, 0x5555, 105); }, 5, 0x7777},  // a nearer square face
               {[] { Slab(2003, -250, 0x6666, 164); }, 5, 0x7777},  // tag 164: no square
               {[] { MouseX = 10; }, NoHoverSquare, 0x7777}};       // the mouse off the board
  for (const auto& s : steps) {
    s.change();
    Frame();
    EXPECT_EQ(HoverSquare, s.hover) << &s - steps;
    EXPECT_EQ(Pixel(420, 280), s.colour) << &s - steps;
    EXPECT_EQ(PickArmed, 0);  // overlays drawn next must not pick
    EXPECT_EQ(CountPixels(0x2222), 0);
  }
}

TEST_F(Render, ViewFacesAreClippedCulledSkippedOrDrawnByTag) {
  for (uint16_t& t : TextureSlots[7]) t = 0x0ABC;
  // A floor strip from behind the eye to depth 1000, below it: its near corners end at depth
  // 98, y = 300 x 550 div 98 + 300 = 1983, so it fills the screen from its far edge (y 465) down.
  SetViewFace(0, {{-200, 300, -500}, {200, 300, -500}, {200, 300, 1000}, {-200, 300, 1000}},
              0x6666);
  // One corner at depth 2 and none past 100: not clipped, not projected, not drawn.
  SetViewFace(1, {{-10, -10, 2}, {10, -10, 50}, {10, 10, 50}, {-10, 10, 50}}, 0x3333);
  // 200 x 200 squares facing the camera at depth 500, centred on x: one textured from slot 7,
  // and two with tags outside 0, 1..19 and 100..163, which are not drawn.
  const int fronts[][4] = {{2, 0, 0x1000, 7}, {3, 300, 0x2000, 50}, {4, -300, 0x3000, 200}};
  for (const auto& [f, x, colour, tag] : fronts) {
    const int corners[4][3] = {
        {x - 100, -100, 500}, {x + 100, -100, 500}, {x + 100, 100, 500}, {x - 100, 100, 500}};
    SetViewFace(f, corners, static_cast<uint16_t>(colour), static_cast<int16_t>(tag));
  }
  // Over the screen's left half, but with a corner outside the cull volume.
  SetViewFace(5, {{-100, -100, 500}, {0, -100, 500}, {0, 100, 500}, {-2300, 100, 500}}, 0x4444);
  ViewCount = 0;  // a single view face: nothing is drawn
  RenderScene();
  EXPECT_EQ(CountPixels(0), 800 * 600);
  ViewCount = 5;
  RenderScene();
  EXPECT_EQ((std::array{Pixel(400, 450), Pixel(400, 470), Pixel(400, 599), Pixel(400, 300)}),
            (std::array<uint16_t, 4>{0, 0x6666, 0x6666, 0x0ABC}));
  for (uint16_t colour : {0x3333, 0x2000, 0x3000, 0x4444}) {
    EXPECT_EQ(CountPixels(colour), 0) << colour;
  }
}
