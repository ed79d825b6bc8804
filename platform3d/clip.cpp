#include "platform3d/clip.h"

#include <cstdlib>

namespace {

// The two neighbours of each corner in the quad; on equal depth the second one is the target.
constexpr int NeighbourA[4] = {1, 0, 1, 0};
constexpr int NeighbourB[4] = {3, 2, 3, 2};

constexpr int32_t Step = 5;

int16_t Wrap16(int32_t v) {
  return static_cast<int16_t>(static_cast<uint16_t>(v));
}

}  // namespace

void ClipNear(ViewQuad& q) {
  const ViewQuad original = q;
  const int16_t* z = original.z;
  bool behind = false, inFront = false;
  for (int k = 0; k < 4; ++k) {
    behind |= z[k] > NearPlane;
    inFront |= z[k] < NearPlane;
  }
  if (!behind || !inFront) return;

  for (int k = 0; k < 4; ++k) {
    if (z[k] >= NearPlane) continue;
    const int a = NeighbourA[k];
    const int b = NeighbourB[k];
    // Only a neighbour beyond 99 is a target; one at exactly 99 already sits where the clip
    // would put it, so it counts with the near ones.
    const bool farA = z[a] > NearPlane - 1;
    const bool farB = z[b] > NearPlane - 1;
    int n = -1;
    if (farA && farB) {
      n = z[a] > z[b] ? a : b;
    } else if (farA) {
      n = a;
    } else if (farB) {
      n = b;
    }
    if (n >= 0 && std::abs(z[k] - z[n]) >= Step) {
      // Integer steps of 5 keep the products small.
      const int32_t depthDone = (NearPlane - 1 - z[n]) / Step;
      const int32_t depthSpan = (z[k] - z[n]) / Step;
      const int32_t dx = (original.x[k] - original.x[n]) / Step;
      const int32_t dy = (original.y[k] - original.y[n]) / Step;
      q.x[k] = Wrap16(original.x[n] + depthDone * dx / depthSpan * Step);
      q.y[k] = Wrap16(original.y[n] + depthDone * dy / depthSpan * Step);
    }
    q.z[k] = ClippedDepth;
  }
}

bool InsideCullVolume(const ViewQuad& q) {
  for (int k = 0; k < 4; ++k) {
    if (std::abs(q.x[k]) - CullMargin > q.z[k]) return false;
    if (std::abs(q.y[k]) - CullMargin > q.z[k]) return false;
  }
  return true;
}

bool ProjectQuad(const ViewQuad& q, ScreenQuad& screen) {
  for (int k = 0; k < 4; ++k) {
    if (q.z[k] < MinProjectDepth) return false;
  }
  for (int k = 0; k < 4; ++k) {
    screen.x[k] = q.x[k] * FocalLength / q.z[k] + ScreenCentreX;
    screen.y[k] = q.y[k] * FocalLength / q.z[k] + ScreenCentreY;
  }
  return true;
}
