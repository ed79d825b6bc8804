#include "platform3d/faces.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

FaceArrays FaceTable;
ViewArrays ViewFaces;
int16_t ViewCount = 0;
CellPosition CameraCell = {0, 0, 0};

namespace {

int16_t SelectedFaces[FaceTableSize];  // SelectFaces' candidate list

// The twelve coordinate columns of a face table, in the order x1, y1, z1, ... z4.
template <class Table>
void Columns(Table& t, int16_t* (&out)[12]) {
  int16_t* const columns[12] = {t.X1, t.Y1, t.Z1, t.X2, t.Y2, t.Z2,
                                t.X3, t.Y3, t.Z3, t.X4, t.Y4, t.Z4};
  std::copy(columns, columns + 12, out);
}

int16_t RoundToCell(double v) {
  if (!(v == v)) return 0;  // NaN
  const double rounded = std::nearbyint(std::clamp(v, -32768.0, 32767.0));
  return static_cast<int16_t>(rounded);
}

}  // namespace

void ResetFaces(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, FaceTableSize - 1);
  int16_t* columns[12];
  Columns(FaceTable, columns);
  for (int i = first; i <= last; ++i) {
    for (int16_t* column : columns) column[i] = EmptyCoordinate;
    FaceTable.Colour[i] = 0;
    FaceTable.Tag[i] = PlainTag;
  }
}

void StoreFace(int index, const FaceCorners& corners, uint16_t colour, int16_t tag) {
  if (index < 0 || index >= FaceTableSize) return;
  int16_t* columns[12];
  Columns(FaceTable, columns);
  for (int c = 0; c < 12; ++c) columns[c][index] = corners.v[c];
  FaceTable.Colour[index] = colour;
  FaceTable.Tag[index] = tag;
}

FaceCorners CornersOf(int index) {
  FaceCorners corners;
  if (index < 0 || index >= FaceTableSize) {
    std::fill(corners.v, corners.v + 12, EmptyCoordinate);
    return corners;
  }
  int16_t* columns[12];
  Columns(FaceTable, columns);
  for (int c = 0; c < 12; ++c) corners.v[c] = columns[c][index];
  return corners;
}

void SetCameraCell(double x, double y, double z) {
  CameraCell = {RoundToCell(x), RoundToCell(y), RoundToCell(z)};
}

void SelectFaces() {
  const int32_t cx = CameraCell.x, cy = CameraCell.y, cz = CameraCell.z;
  int count = 0;
  for (int i = 0; i < PipelineFaces; ++i) {
    // Corner 1 only: cheap, and a face is small against the selection radius.
    const int32_t distance = std::abs(cx - FaceTable.X1[i]) + std::abs(cz - FaceTable.Z1[i]) +
                             std::abs(cy - FaceTable.Y1[i]);
    if (distance < SelectDistance) SelectedFaces[count++] = static_cast<int16_t>(i);
  }
  ViewCount = static_cast<int16_t>(std::min(std::max(count - 1, 0), PipelineFaces - 1));

  int16_t* world[12];
  int16_t* view[12];
  Columns(FaceTable, world);
  Columns(ViewFaces, view);
  const int32_t cell[3] = {cx, cy, cz};
  for (int k = 0; k < count; ++k) {
    const int i = SelectedFaces[k];
    for (int c = 0; c < 12; ++c) {
      // Far corners of a near face may leave the 16-bit range; they wrap.
      const int32_t v = (world[c][i] - cell[c % 3]) * ViewScale;
      view[c][k] = static_cast<int16_t>(static_cast<uint16_t>(v));
    }
    ViewFaces.Colour[k] = FaceTable.Colour[i];
    ViewFaces.Tag[k] = FaceTable.Tag[i];
    ViewFaces.Source[k] = static_cast<int16_t>(i);
  }
}
