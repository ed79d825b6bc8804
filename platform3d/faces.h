// The world as quadrilaterals, and the first pipeline stage: picking the faces near the camera
// and moving them into camera-centred view space.
#pragma once
#include <cstdint>

constexpr int FaceTableSize = 4001;  // entries 0..4000
constexpr int PipelineFaces = 4000;  // the pipeline looks at entries 0..3999
constexpr int16_t EmptyCoordinate = -32000;
constexpr int32_t SelectDistance = 8500;  // Manhattan distance of corner 1 from CameraCell
constexpr int32_t ViewScale = 3;          // view space is world space x 3

// Face tags: 0 plain, 1..19 textured with that slot, 100..163 board square (tag - 100).
constexpr int16_t PlainTag = 0;
constexpr int16_t TextureTagFirst = 1;
constexpr int16_t TextureTagLast = 19;
constexpr int16_t SquareTagFirst = 100;
constexpr int16_t SquareTagLast = 163;

// Structure of arrays, one entry per face: corners 1..4 and a colour and tag.
struct FaceArrays {
  int16_t X1[FaceTableSize], Y1[FaceTableSize], Z1[FaceTableSize];
  int16_t X2[FaceTableSize], Y2[FaceTableSize], Z2[FaceTableSize];
  int16_t X3[FaceTableSize], Y3[FaceTableSize], Z3[FaceTableSize];
  int16_t X4[FaceTableSize], Y4[FaceTableSize], Z4[FaceTableSize];
  uint16_t Colour[FaceTableSize];
  int16_t Tag[FaceTableSize];
};

// The faces selected for this frame, in view space, and the FaceTable index each came from.
struct ViewArrays : FaceArrays {
  int16_t Source[FaceTableSize];
};

struct CellPosition {
  int16_t x;
  int16_t y;
  int16_t z;
};

extern FaceArrays FaceTable;  // the world; y points down, the board lies at y = -100
extern ViewArrays ViewFaces;
extern int16_t ViewCount;  // index of the last filled ViewFaces entry (0 when none)
extern CellPosition CameraCell;

// A face's twelve coordinates in the order x1, y1, z1, x2, ... z4.
struct FaceCorners {
  int16_t v[12];
};

// Entries first..last (clipped to 0..4000) become empty: -32000 everywhere, colour 0, tag 0.
void ResetFaces(int first, int last);

// Writes one FaceTable entry; an index outside 0..4000 is ignored.
void StoreFace(int index, const FaceCorners& corners, uint16_t colour, int16_t tag);
// The corners of one FaceTable entry (an empty face for an index outside 0..4000).
FaceCorners CornersOf(int index);

// CameraCell := the camera position rounded (halves to even), limited to the 16-bit range.
void SetCameraCell(double x, double y, double z);

// Fills ViewFaces and ViewCount with the faces 0..3999 whose first corner is near CameraCell.
void SelectFaces();
