#include "platform3d/faces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform3d/transform.h"
#include "platform3d/trig.h"

namespace {

FaceCorners Flat(int x, int y, int z, int size) {
  FaceCorners c;
  const int v[12] = {x, y, z, x + size, y, z, x + size, y, z + size, x, y, z + size};
  for (int k = 0; k < 12; ++k) c.v[k] = static_cast<int16_t>(v[k]);
  return c;
}

class Faces : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildTrigTables();
    ResetFaces(0, FaceTableSize - 1);
    CameraCell = {0, 0, 0};
    CameraYaw = 0.0;
    CameraPitch = 0.0;
  }
};

TEST_F(Faces, ResetAndStoreStayInsideTheTable) {
  StoreFace(7, Flat(1, 2, 3, 10), 0x1234, 5);
  EXPECT_EQ(FaceTable.X2[7], 11);
  EXPECT_EQ(FaceTable.Z3[7], 13);
  EXPECT_EQ(FaceTable.Colour[7], 0x1234);
  EXPECT_EQ(FaceTable.Tag[7], 5);
  StoreFace(-1, Flat(0, 0, 0, 1), 1, 1);    // ignored
  StoreFace(4001, Flat(0, 0, 0, 1), 1, 1);  // ignored
  ResetFaces(-50, 7);
  EXPECT_EQ(FaceTable.X1[7], EmptyCoordinate);
  EXPECT_EQ(FaceTable.Y4[7], EmptyCoordinate);
  EXPECT_EQ(FaceTable.Colour[7], 0);
  ResetFaces(3990, 99999);
  EXPECT_EQ(FaceTable.Z4[4000], EmptyCoordinate);
}

TEST_F(Faces, SetCameraCellRoundsHalvesToEven) {
  SetCameraCell(2.5, -2.5, 3.5);
  EXPECT_EQ(CameraCell.x, 2);
  EXPECT_EQ(CameraCell.y, -2);
  EXPECT_EQ(CameraCell.z, 4);
  SetCameraCell(1e9, -1e9, std::nan(""));
  EXPECT_EQ(CameraCell.x, 32767);
  EXPECT_EQ(CameraCell.y, -32768);
  EXPECT_EQ(CameraCell.z, 0);
}

TEST_F(Faces, SelectionUsesManhattanDistanceOfTheFirstCorner) {
  CameraCell = {100, -200, 300};
  // 8499 away along the three axes together: selected.
  StoreFace(10, Flat(100 + 4000, -200 + 499, 300 - 4000, 5000), 1, 0);
  // 8500 away: left out, even though its other corners are close.
  FaceCorners far = Flat(100, -200, 300, 0);
  far.v[0] = 100 + 8500;
  StoreFace(11, far, 2, 0);
  // Entry 4000 is outside the pipeline's range.
  StoreFace(4000, Flat(100, -200, 300, 10), 3, 0);
  StoreFace(3999, Flat(100, -200, 300, 10), 4, 7);
  SelectFaces();
  EXPECT_EQ(ViewCount, 1);  // two faces: index of the last one
  EXPECT_EQ(ViewFaces.Source[0], 10);
  EXPECT_EQ(ViewFaces.Source[1], 3999);
  EXPECT_EQ(ViewFaces.Colour[1], 4);
  EXPECT_EQ(ViewFaces.Tag[1], 7);
}

TEST_F(Faces, ViewCoordinatesAreTripledAndWrapAt16Bits) {
  CameraCell = {100, -200, 300};
  FaceCorners c = Flat(110, -190, 290, 0);
  c.v[3] = 100 + 20000;  // x2 lies 20000 from the camera: 60000 wraps to -5536
  StoreFace(0, c, 9, 0);
  SelectFaces();
  EXPECT_EQ(ViewCount, 0);  // a single face
  EXPECT_EQ(ViewFaces.X1[0], 30);
  EXPECT_EQ(ViewFaces.Y1[0], 30);
  EXPECT_EQ(ViewFaces.Z1[0], -30);
  EXPECT_EQ(ViewFaces.X2[0], 60000 - 65536);
}

TEST_F(Faces, EmptyTableSelectsNothing) {
  CameraCell = {500, -500, 500};
  SelectFaces();
  EXPECT_EQ(ViewCount, 0);
}

TEST_F(Faces, RotationTurnsYawThenPitch) {
  // Two faces so that ViewCount > 0. Face 0 has a corner straight ahead at (0, 0, 300).
  StoreFace(0, Flat(0, 0, 100, 0), 1, 0);
  StoreFace(1, Flat(100, 0, 0, 0), 1, 0);
  SelectFaces();
  ASSERT_EQ(ViewCount, 1);
  CameraYaw = 90.0;  // looking along +x: ahead turns to the left, +x to ahead
  CameraPitch = 0.0;
  RotateFaces();
  EXPECT_EQ(ViewFaces.X1[0], -300);
  EXPECT_EQ(ViewFaces.Z1[0], 0);
  EXPECT_EQ(ViewFaces.X1[1], 0);
  EXPECT_EQ(ViewFaces.Z1[1], 300);

  // Looking 30 degrees up (y points down): the point on the line of sight goes onto the axis.
  ResetFaces(0, 1);
  StoreFace(0, Flat(0, -56, 97, 0), 1, 0);  // x3 view: (0, -168, 291), 336 away at 30.0 deg
  StoreFace(1, Flat(0, 0, 0, 0), 1, 0);
  SelectFaces();
  CameraYaw = 0.0;
  CameraPitch = 30.0;
  RotateFaces();
  EXPECT_EQ(ViewFaces.X1[0], 0);
  EXPECT_EQ(ViewFaces.Y1[0], 0);
  EXPECT_EQ(ViewFaces.Z1[0], 336);
}

TEST_F(Faces, RotationIsRotate2DOnEveryCornerYawFirst) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> coordinate(-2800, 2800);
  for (int f = 0; f < 50; ++f) {
    FaceCorners c;
    for (int16_t& v : c.v) v = static_cast<int16_t>(coordinate(random));
    StoreFace(f, c, 1, 0);
  }
  SelectFaces();
  ASSERT_EQ(ViewCount, 49);
  const ViewArrays before = ViewFaces;
  CameraYaw = 245.3;
  CameraPitch = 330.9;
  RotateFaces();
  const int16_t yaw = static_cast<int16_t>(16 * 245.3);
  const int16_t pitch = static_cast<int16_t>(16 * 330.9);
  const int16_t* const bx[4] = {before.X1, before.X2, before.X3, before.X4};
  const int16_t* const by[4] = {before.Y1, before.Y2, before.Y3, before.Y4};
  const int16_t* const bz[4] = {before.Z1, before.Z2, before.Z3, before.Z4};
  const int16_t* const ax[4] = {ViewFaces.X1, ViewFaces.X2, ViewFaces.X3, ViewFaces.X4};
  const int16_t* const ay[4] = {ViewFaces.Y1, ViewFaces.Y2, ViewFaces.Y3, ViewFaces.Y4};
  const int16_t* const az[4] = {ViewFaces.Z1, ViewFaces.Z2, ViewFaces.Z3, ViewFaces.Z4};
  for (int f = 0; f < 50; ++f) {
    for (int k = 0; k < 4; ++k) {
      const Point16 xz = Rotate2D(0, 0, bx[k][f], bz[k][f], yaw);
      const Point16 zy = Rotate2D(0, 0, xz.y, by[k][f], pitch);
      ASSERT_EQ(ax[k][f], xz.x) << f << "," << k;
      ASSERT_EQ(az[k][f], zy.x) << f << "," << k;
      ASSERT_EQ(ay[k][f], zy.y) << f << "," << k;
    }
  }
}

TEST_F(Faces, NoRotationForASingleFace) {
  StoreFace(0, Flat(0, 0, 100, 0), 1, 0);
  SelectFaces();
  ASSERT_EQ(ViewCount, 0);
  CameraYaw = 90.0;
  RotateFaces();
  EXPECT_EQ(ViewFaces.X1[0], 0);
  EXPECT_EQ(ViewFaces.Z1[0], 300);
}

}  // namespace
