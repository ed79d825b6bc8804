// TexQuad's cell mode: the 31 x 31 texture cells of a large textured quad.
#pragma once
#include <cstdint>

#include "platform3d/textures.h"

// Point k of 32 along (from -> to), truncating toward zero: TexQuad's edge and grid points.
inline int32_t Along(int32_t from, int32_t to, int32_t k) {
  return static_cast<int32_t>(from + k * (static_cast<int64_t>(to) - from) / 32);
}

// A textured quad's edge points k = 0..31: L from corner 1 towards corner 4, R from corner 2
// towards corner 3.
struct TextureEdges {
  int32_t lx[TextureSide], ly[TextureSide];
  int32_t rx[TextureSide], ry[TextureSide];
};

// For r, c = 0..30 and a non-transparent texel (c, r) of `texels`: FillScreenQuad of the cell
// G(r, c), G(r, c + 1), G(r + 1, c + 1), G(r + 1, c) in the texel's colour, in that order, where
// G(r, c) = L[r] + (c (R[r] - L[r])) div 32. Texture row 31 and column 31 have no cell.
void DrawTextureCells(const TextureEdges& edges, const uint16_t* texels);
