#include "platform3d/render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform3d/clip.h"
#include "platform3d/depth.h"
#include "platform3d/faces.h"
#include "platform3d/spans.h"
#include "platform3d/testscene.h"
#include "platform3d/textures.h"
#include "platform3d/transform.h"
#include "tests/platform3d/raster_fixture.h"

namespace {

// Writes view face f directly (camera space), corners given as {x, y, z} each.
void SetViewFace(int f, const int (&corner)[4][3], uint16_t colour = 1, int16_t tag = 0) {
  ViewArrays& v = ViewFaces;
  int16_t* xs[4] = {v.X1, v.X2, v.X3, v.X4};
  int16_t* ys[4] = {v.Y1, v.Y2, v.Y3, v.Y4};
  int16_t* zs[4] = {v.Z1, v.Z2, v.Z3, v.Z4};
  for (int k = 0; k < 4; ++k) {
    xs[k][f] = static_cast<int16_t>(corner[k][0]);
    ys[k][f] = static_cast<int16_t>(corner[k][1]);
    zs[k][f] = static_cast<int16_t>(corner[k][2]);
  }
  ViewFaces.Colour[f] = colour;
  ViewFaces.Tag[f] = tag;
}

void SetFlatViewFace(int f, int x, int y, int z, uint16_t colour = 1, int16_t tag = 0) {
  SetViewFace(f, {{x, y, z}, {x, y, z}, {x, y, z}, {x, y, z}}, colour, tag);
}

std::vector<int> Order(int count) {
  return std::vector<int>(DrawOrder, DrawOrder + count);
}

TEST(DepthOrder, KeyIsHalfAbsoluteXPlusHalfAbsoluteYPlusDepthTruncated) {
  SetViewFace(0, {{10, 20, 300}, {-10, 20, 300}, {10, -20, 300}, {-10, -20, 300}});
  SetViewFace(1, {{3, 0, -1}, {3, 0, -1}, {3, 0, -1}, {0, 0, -2}});  // sx 9/4 = 2, sz -5/4 = -1
  ViewCount = 1;
  OrderFaces();
  EXPECT_EQ(DepthKey[0], 5 + 10 + 300);
  EXPECT_EQ(DepthKey[1], 1 + 0 - 1);
  EXPECT_EQ(DepthBuckets[BucketIndex(945)], 0);
  EXPECT_EQ(DepthBuckets[BucketIndex(0)], 1);
}

TEST(DepthOrder, FarFirstAndEqualKeysInNeighbouringBuckets) {
  SetFlatViewFace(0, 0, 0, 100);
  SetFlatViewFace(1, 0, 0, 100);
  SetFlatViewFace(2, 0, 0, 500);
  SetFlatViewFace(3, 0, 0, 100);
  SetFlatViewFace(4, 0, 0, 101);  // its first bucket 303 is taken by face 3's probe
  ViewCount = 4;
  ASSERT_EQ(OrderFaces(), 5);
  // Equal keys sit one bucket apart in the order they came: 300, 301, 302; then 303 and 304.
  EXPECT_EQ(DepthBuckets[BucketIndex(300)], 0);
  EXPECT_EQ(DepthBuckets[BucketIndex(301)], 1);
  EXPECT_EQ(DepthBuckets[BucketIndex(302)], 3);
  EXPECT_EQ(DepthBuckets[BucketIndex(303)], 4);
  // The walk runs from the far end down, so of equal keys the last one queued is drawn first.
  EXPECT_EQ(Order(5), (std::vector<int>{2, 4, 3, 1, 0}));
}

TEST(DepthOrder, FacesWellBehindTheCameraAreDroppedAndNotCounted) {
  SetFlatViewFace(0, 0, 0, -1001);
  SetFlatViewFace(1, 0, 0, -1000);
  SetFlatViewFace(2, 0, 0, 50);
  ViewCount = 2;
  ASSERT_EQ(OrderFaces(), 2);
  EXPECT_EQ(Order(2), (std::vector<int>{2, 1}));
  EXPECT_EQ(DepthKey[0], -1001);
}

TEST(DepthOrder, FacesPastTheLastBucketAreNotWalked) {
  // Keys above 23330 all probe to bucket 69991, past the start of the walk.
  SetFlatViewFace(0, 0, 0, 30000);
  SetFlatViewFace(1, 0, 0, 25000);
  SetFlatViewFace(2, 0, 0, 23330);
  ViewCount = 2;
  ASSERT_EQ(OrderFaces(), 1);
  EXPECT_EQ(DrawOrder[0], 2);
  EXPECT_EQ(DepthBuckets[BucketIndex(69991)], 1);
}

TEST(NearClip, CornersInFrontMoveAlongTheirEdgeInStepsOfFive) {
  ViewQuad q = {{-500, 500, 1000, -1000}, {200, 210, 200, 200}, {50, 50, 300, 300}};
  ClipNear(q);
  // Corner 1 follows edge 1-4: x -1000 + ((-201 div 5)(500 div 5) div (-250 div 5)) x 5.
  EXPECT_EQ(q.x[0], -600);  // exact crossing at z = 99 would be -598
  EXPECT_EQ(q.y[0], 200);
  EXPECT_EQ(q.x[1], 600);
  EXPECT_EQ(q.y[1], 200 + (-40 * 2 / -50) * 5);  // 10 div 5 = 2 steps; 80 div 50 = 1
  EXPECT_EQ(q.z[0], 98);
  EXPECT_EQ(q.z[1], 98);
  EXPECT_EQ(q.x[2], 1000);  // corners behind the plane stay
  EXPECT_EQ(q.z[3], 300);

  ViewQuad coarse = {{7, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 200, 200}};
  ClipNear(coarse);
  EXPECT_EQ(coarse.x[0], 0);  // (-20 x 1) div -40 = 0 steps, where 3.5 would be exact
}

TEST(NearClip, TargetChoiceAndCornersCloseToTheirTarget) {
  // Corner 1 (z 50) between corner 2 (z 200) and corner 4 (z 300): the farther one, 4.
  ViewQuad far = {{0, 1000, 0, 2000}, {0, 0, 0, 0}, {50, 200, 400, 300}};
  ClipNear(far);
  EXPECT_EQ(far.x[0], 2000 + (-40 * -400 / -50) * 5);
  // Equal depths: corner 4 for corner 1, corner 3 for corner 2.
  ViewQuad both = {{0, 1000, 0, 2000}, {0, 0, 0, 0}, {50, 300, 400, 300}};
  ClipNear(both);
  EXPECT_EQ(both.x[0], 2000 + (-40 * -400 / -50) * 5);
  ViewQuad two = {{1000, 0, 3000, 500}, {0, 0, 0, 0}, {300, 50, 300, 400}};
  ClipNear(two);
  EXPECT_EQ(two.x[1], 3000 + (-40 * -600 / -50) * 5);
  // A corner within 5 units of depth of its target keeps x and y but still moves to 98.
  ViewQuad close = {{11, 22, 33, 44}, {55, 66, 77, 88}, {97, 101, 300, 50}};
  ClipNear(close);
  EXPECT_EQ(close.x[0], 11);
  EXPECT_EQ(close.y[0], 55);
  EXPECT_EQ(close.z[0], 98);
  // Exactly 5 apart it is moved: (99 - 101) div 5 = 0 steps from the target, so onto it.
  ViewQuad five = {{11, 22, 33, 44}, {55, 66, 77, 88}, {96, 101, 300, 50}};
  ClipNear(five);
  EXPECT_EQ(five.x[0], 22);
  EXPECT_EQ(five.y[0], 66);
  // Both neighbours in front: corner 2 keeps x and y.
  ViewQuad front = {{11, 22, 33, 44}, {55, 66, 77, 88}, {50, 60, 70, 300}};
  ClipNear(front);
  EXPECT_EQ(front.x[1], 22);
  EXPECT_EQ(front.y[1], 66);
  EXPECT_EQ(front.z[1], 98);
}

TEST(NearClip, ANeighbourAtExactly99IsNoTarget) {
  // Corner 1: neighbours at 99 and 300, so it follows corner 4.
  ViewQuad q = {{0, 500, 1000, 2000}, {0, 0, 0, 0}, {50, 99, 300, 300}};
  ClipNear(q);
  EXPECT_EQ(q.x[0], 2000 + (-40 * -400 / -50) * 5);
  // Corner 2 itself at 99 follows corner 3: ratio 1, x snaps to steps of 5 from corner 3.
  EXPECT_EQ(q.x[1], 1000 + (-500 / 5) * 5);
  EXPECT_EQ(q.z[1], 98);
  // Neighbours at 99 and 60: kept.
  ViewQuad kept = {{7, 500, 1000, 9}, {3, 0, 0, 0}, {50, 99, 300, 60}};
  ClipNear(kept);
  EXPECT_EQ(kept.x[0], 7);
  EXPECT_EQ(kept.y[0], 3);
  EXPECT_EQ(kept.z[0], 98);
}

TEST(NearClip, OnlyFacesStraddlingTheNearPlane) {
  ViewQuad noneBehind = {{1, 2, 3, 4}, {5, 6, 7, 8}, {50, 100, 100, 100}};
  ClipNear(noneBehind);
  EXPECT_EQ(noneBehind.z[0], 50);
  ViewQuad noneInFront = {{1, 2, 3, 4}, {5, 6, 7, 8}, {100, 200, 300, 400}};
  ClipNear(noneInFront);
  EXPECT_EQ(noneInFront.z[0], 100);
}

TEST(CullAndProject, CullKeepsCornersInsideTheWidenedPyramid) {
  EXPECT_TRUE(InsideCullVolume({{1800, 0, 0, -1800}, {0, 1800, -1800, 0}, {100, 100, 100, 100}}));
  EXPECT_FALSE(InsideCullVolume({{0, 0, 0, -1801}, {0, 0, 0, 0}, {100, 100, 100, 100}}));
  EXPECT_FALSE(InsideCullVolume({{0, 0, 0, 0}, {0, 0, 1801, 0}, {100, 100, 100, 100}}));
}

TEST(CullAndProject, ProjectionTruncatesAndRefusesCornersAtDepthThreeOrLess) {
  ScreenQuad s;
  ASSERT_TRUE(ProjectQuad({{100, -1, -1, 32767}, {-50, 0, 0, 0}, {550, 550, 551, 4}}, s));
  EXPECT_EQ(s.x[0], 500);
  EXPECT_EQ(s.y[0], 250);
  EXPECT_EQ(s.x[1], 399);
  EXPECT_EQ(s.x[2], 400);                    // -550 div 551 is 0, toward zero
  EXPECT_EQ(s.x[3], 32767 * 550 / 4 + 400);  // kept whole, not wrapped to 16 bits
  EXPECT_FALSE(ProjectQuad({{0, 0, 0, 0}, {0, 0, 0, 0}, {550, 3, 550, 550}}, s));
  EXPECT_FALSE(ProjectQuad({{0, 0, 0, 0}, {0, 0, 0, 0}, {550, -200, 550, 550}}, s));
}

class Render : public RasterTest {
 protected:
  void SetUp() override {
    RasterTest::SetUp();
    ResetFaces(0, FaceTableSize - 1);
    // Straight above the board centre looking down: world x to the right, world z up the
    // screen, the board 3000 view units deep, so a 100-unit square is 55 pixels.
    CameraYaw = 0.0;
    CameraPitch = 270.0;
    SetCameraCell(500, -1100, 500);
  }
  static void Frame() {
    ClearBackBuffer(0);
    HoverSquare = NoHoverSquare;
    SelectFaces();
    RotateFaces();
    RenderScene();
  }
  static void Square(int i, int j, int y, uint16_t colour, int tag) {
    const int x = 100 * i + 100, z = 100 * j + 100;
    StoreFace(
        8 * i + j,
        {{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z),
          static_cast<int16_t>(x + 100), static_cast<int16_t>(y), static_cast<int16_t>(z),
          static_cast<int16_t>(x + 100), static_cast<int16_t>(y), static_cast<int16_t>(z + 100),
          static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z + 100)}},
        colour, static_cast<int16_t>(tag));
  }
  static void Board() {
    for (int i = 0; i < 8; ++i) {
      for (int j = 0; j < 8; ++j)
        Square(i, j, -100, static_cast<uint16_t>(100 + 8 * j + i), 100 + 8 * j + i);
    }
  }
};

TEST_F(Render, TheSquareUnderTheMouseIsFound) {
  Board();
  // Square i = 4, j = 4 (tag 136) covers screen x 400..455, y 245..300.
  MouseX = 420;
  MouseY = 280;
  Frame();
  EXPECT_EQ(HoverSquare, 36);
  EXPECT_EQ(Pixel(420, 280), 136);
  EXPECT_EQ(PickArmed, 0);  // overlays drawn next must not pick
  MouseX = 10;              // off the board
  Frame();
  EXPECT_EQ(HoverSquare, NoHoverSquare);
}

TEST_F(Render, PiecesDoNotBlockPickingAndTheNearestSquareWins) {
  Board();
  // A piece face between the camera and square 36, covering the mouse.
  StoreFace(2000, {{450, -300, 520, 560, -300, 520, 560, -300, 580, 450, -300, 580}}, 0x7777, 0);
  MouseX = 420;
  MouseY = 280;
  Frame();
  EXPECT_EQ(Pixel(420, 280), 0x7777);
  EXPECT_EQ(HoverSquare, 36);
  // A second square face nearer the camera over the same spot takes the pick.
  StoreFace(2001, {{450, -200, 520, 560, -200, 520, 560, -200, 580, 450, -200, 580}}, 0x5555, 105);
  Frame();
  EXPECT_EQ(HoverSquare, 5);
  EXPECT_EQ(Pixel(420, 280), 0x7777);
}

TEST_F(Render, ASingleSelectedFaceDrawsNothing) {
  Square(4, 4, -100, 0x1111, 136);
  MouseX = 420;
  MouseY = 280;
  Frame();
  EXPECT_EQ(ViewCount, 0);
  EXPECT_EQ(CountPixels(0), 800 * 600);
  EXPECT_EQ(HoverSquare, NoHoverSquare);
}

TEST_F(Render, FacesBehindTheCameraOrTooCloseAreNotDrawn) {
  Board();
  // Far above the camera: behind it (key below -1000).
  StoreFace(2000, {{400, -2000, 400, 600, -2000, 400, 600, -2000, 600, 400, -2000, 600}}, 0x2222,
            0);
  Frame();
  EXPECT_EQ(CountPixels(0x2222), 0);
  // Straight in view space: a face with one corner at depth 2 and none past 100 is skipped.
  ViewCount = 1;
  SetViewFace(0, {{-10, -10, 2}, {10, -10, 50}, {10, 10, 50}, {-10, 10, 50}}, 0x3333);
  SetViewFace(1, {{-100, -100, 500}, {100, -100, 500}, {100, 100, 500}, {-100, 100, 500}}, 0x4444);
  RenderScene();
  EXPECT_EQ(CountPixels(0x3333), 0);
  EXPECT_GT(CountPixels(0x4444), 0);
}

TEST_F(Render, AFaceStraddlingTheNearPlaneIsClippedAndDrawn) {
  ClearBackBuffer(0);
  ViewCount = 1;
  // A floor strip running from behind the eye to depth 1000, below the eye.
  SetViewFace(0, {{-200, 300, -500}, {200, 300, -500}, {200, 300, 1000}, {-200, 300, 1000}},
              0x6666);
  SetFlatViewFace(1, 0, 0, 500);
  RenderScene();
  // Near corners end at depth 98: y = 300 x 550 div 98 + 300 = 1983, off the bottom, so the
  // strip fills the lower screen from its far edge (y 465) down.
  EXPECT_EQ(RowExtent(470, 0x6666).first >= 0, true);
  EXPECT_EQ(Pixel(400, 599), 0x6666);
  EXPECT_EQ(Pixel(400, 400), 0);
}

TEST_F(Render, TexturedFacesUseTheirSlotAndOtherTagsAreSkipped) {
  for (uint16_t& t : TextureSlots[7]) t = 0x0ABC;
  ViewCount = 2;
  SetViewFace(0, {{-100, -100, 500}, {100, -100, 500}, {100, 100, 500}, {-100, 100, 500}}, 0x1000,
              7);
  SetViewFace(1, {{200, -100, 500}, {400, -100, 500}, {400, 100, 500}, {200, 100, 500}}, 0x2000,
              50);
  SetViewFace(2, {{-400, -100, 500}, {-200, -100, 500}, {-200, 100, 500}, {-400, 100, 500}}, 0x3000,
              200);
  ClearBackBuffer(0);
  RenderScene();
  EXPECT_EQ(Pixel(400, 300), 0x0ABC);
  EXPECT_EQ(CountPixels(0x2000), 0);
  EXPECT_EQ(CountPixels(0x3000), 0);
}

TEST_F(Render, RandomViewFacesNeverWriteOutsideTheFrame) {
  std::mt19937 random(777);
  std::uniform_int_distribution<int> any(-32768, 32767);
  std::uniform_int_distribution<int> near(-400, 400);
  std::uniform_int_distribution<int> tag(0, 170);
  for (int round = 0; round < 20; ++round) {
    ViewCount = 150;
    for (int f = 0; f <= ViewCount; ++f) {
      int c[4][3];
      for (auto& corner : c) {
        for (int& v : corner) v = round % 2 ? any(random) : near(random);
      }
      SetViewFace(f, c, static_cast<uint16_t>(random()), static_cast<int16_t>(tag(random)));
    }
    MouseX = static_cast<uint16_t>(random() % 1000);
    MouseY = static_cast<uint16_t>(random() % 700);
    HoverSquare = NoHoverSquare;
    RenderScene();
    EXPECT_TRUE(HoverSquare < 64 || HoverSquare == NoHoverSquare);
  }
}

TEST_F(Render, SyntheticGameSceneRendersAndPicks) {
  const int faces = BuildTestScene();
  EXPECT_GE(faces, 2400);
  EXPECT_LE(faces, 2600);
  PlaceTestCamera();
  MouseX = 400;
  MouseY = 300;
  Frame();
  EXPECT_EQ(ViewCount + 1, faces);  // the whole room lies within reach
  EXPECT_LT(HoverSquare, 64);       // the player looks at the middle of the board
  EXPECT_LT(CountPixels(0), 800 * 600 / 10);
}

}  // namespace
