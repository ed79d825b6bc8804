#include "platform3d/render.h"

#include "platform3d/clip.h"
#include "platform3d/depth.h"
#include "platform3d/faces.h"
#include "platform3d/picking.h"
#include "platform3d/spans.h"

namespace {

ViewQuad LoadViewQuad(int f) {
  const ViewArrays& v = ViewFaces;
  return {{v.X1[f], v.X2[f], v.X3[f], v.X4[f]},
          {v.Y1[f], v.Y2[f], v.Y3[f], v.Y4[f]},
          {v.Z1[f], v.Z2[f], v.Z3[f], v.Z4[f]}};
}

void DrawByTag(const ScreenQuad& screen, uint16_t colour, int16_t tag) {
  PickArmed = 0;
  if (tag == PlainTag) {
    FillScreenQuad(screen, colour);
  } else if (tag >= SquareTagFirst && tag <= SquareTagLast) {
    PickArmed = 1;
    FillScreenQuad(screen, colour);
    if (HoverSquare == PickMarker) HoverSquare = static_cast<uint8_t>(tag - SquareTagFirst);
  } else if (tag >= TextureTagFirst && tag <= TextureTagLast) {
    TexScreenQuad(screen, colour, static_cast<uint8_t>(tag));
  }
}

}  // namespace

void RenderScene() {
  if (ViewCount <= 0) return;
  const int count = OrderFaces();
  for (int i = 0; i < count; ++i) {
    const int f = DrawOrder[i];
    ViewQuad quad = LoadViewQuad(f);
    ClipNear(quad);
    if (!InsideCullVolume(quad)) continue;
    ScreenQuad screen;
    if (!ProjectQuad(quad, screen)) continue;
    DrawByTag(screen, ViewFaces.Colour[f], ViewFaces.Tag[f]);
  }
  // Overlays drawn after the scene must not pick.
  PickArmed = 0;
}
