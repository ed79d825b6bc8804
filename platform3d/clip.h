// The fourth pipeline stage: near clip, cull and perspective projection of one view face.
#pragma once
#include <cstdint>

#include "platform3d/spans.h"

constexpr int32_t NearPlane = 100;    // faces straddling this depth are clipped
constexpr int32_t ClippedDepth = 98;  // where clipped corners end up
constexpr int32_t CullMargin = 1700;
constexpr int32_t FocalLength = 550;
constexpr int32_t ScreenCentreX = 400;
constexpr int32_t ScreenCentreY = 300;
constexpr int32_t MinProjectDepth = 4;  // nearer corners have no usable screen position

// One face in camera space, corners 1..4 at index 0..3.
struct ViewQuad {
  int16_t x[4];
  int16_t y[4];
  int16_t z[4];
};

// Pulls the corners in front of the near plane towards a neighbour behind it, in steps of 5
// units of the edge, and sets their depth to 98. Only when the face straddles z = 100.
void ClipNear(ViewQuad& quad);

// True when every corner lies inside the widened view pyramid: |x| - 1700 <= z and
// |y| - 1700 <= z.
bool InsideCullVolume(const ViewQuad& quad);

// Screen position of each corner: v x 550 div z plus the screen centre. False, and nothing
// written, when a corner has z <= 3: such a face is not drawn.
bool ProjectQuad(const ViewQuad& quad, ScreenQuad& screen);
