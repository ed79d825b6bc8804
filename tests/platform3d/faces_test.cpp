#include "platform3d/faces.h"

#include <cmath>
#include <random>
#include <vector>

#include "platform3d/transform.h"
#include "tests/platform3d/test_util.h"

namespace {

class Faces : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildTrigTables();
    ResetFaces(0, FaceTableSize - 1);
    CameraCell = {0, 0, 0};
    CameraYaw = CameraPitch = 0.0;
  }
};

TEST_F(Faces, OutOfRangeEntriesAndCameraPositionsAreKeptInRange) {
  StoreFace(-1, FlatFace(0, 0, 0, 1, 1), 1, 1);  // ignored (ASan checks the writes)
  StoreFace(4001, FlatFace(0, 0, 0, 1, 1), 1, 1);
  ResetFaces(3990, 99999);
  EXPECT_EQ(FaceTable.Z4[4000], EmptyCoordinate);
  SetCameraCell(2.5, -2.5, 3.5);  // halves to even
  EXPECT_EQ(std::vector<int>({CameraCell.x, CameraCell.y, CameraCell.z}),
            (std::vector<int>{2, -2, 4}));
  SetCameraCell(1e9, -1e9, std::nan(""));
  EXPECT_EQ(std::vector<int>({CameraCell.x, CameraCell.y, CameraCell.z}),
            (std::vector<int>{32767, -32768, 0}));
}

TEST_F(Faces, SelectionByFirstCornerDistanceIntoTripledWrappingViewSpace) {
  CameraCell = {100, -200, 300};
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
  EXPECT_EQ(ViewFaces.Source[0], 10);
  EXPECT_EQ(ViewFaces.Source[1], 3999);
  EXPECT_EQ(ViewFaces.Colour[1], 4);
  EXPECT_EQ(ViewFaces.Tag[1], 7);
  const int view[4] = {ViewFaces.X1[1], ViewFaces.Y1[1], ViewFaces.Z1[1], ViewFaces.X2[1]};
  EXPECT_EQ(std::vector<int>(view, view + 4), (std::vector<int>{30, 30, -30, 60000 - 65536}));
}

TEST_F(Faces, RotationIsRotate2DOnEveryCornerYawFirstAndNeedsTwoFaces) {
  StoreFace(0, FlatFace(0, 0, 100, 0, 0), 1, 0);  // view (0, 0, 300)
  SelectFaces();
  CameraYaw = 90.0;
  RotateFaces();  // a single face is not turned
  EXPECT_EQ(ViewFaces.Z1[0], 300);
  std::mt19937 random(99);
  std::uniform_int_distribution<int> coordinate(-2800, 2800);
  for (int f = 0; f < 50; ++f) {
    FaceCorners c;
    for (int16_t& v : c.v) v = static_cast<int16_t>(coordinate(random));
    StoreFace(f, c, 1, 0);
  }
  SelectFaces();
  ASSERT_EQ(ViewCount, 49);
  ViewArrays before = ViewFaces;
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

}  // namespace
