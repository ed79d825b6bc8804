#include "platform3d/depth.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

int16_t DepthKey[FaceTableSize];
int16_t DrawOrder[FaceTableSize];
int16_t DepthBuckets[BucketLast - BucketFirst + 1];

namespace {

constexpr int ClearFirst = -4900;  // buckets reset each frame
constexpr int ClearLast = 70000;
constexpr int StoreFirst = -3900;  // range of the first probe
constexpr int StoreLast = 69990;
constexpr int ProbeLimit = 69800;  // past this a probe stops and overwrites
constexpr int WalkLast = -3999;    // the walk runs from StoreLast down to here

// Most buckets stay empty: they are cleared and walked four at a time.
constexpr uint64_t EmptyFour = 0x0001000100010001ULL * static_cast<uint16_t>(EmptyBucket);

uint64_t FourBuckets(int first) {
  uint64_t four;
  std::memcpy(&four, DepthBuckets + BucketIndex(first), sizeof four);
  return four;
}

void ClearBuckets() {
  int p = ClearFirst;
  for (; p + 3 <= ClearLast; p += 4) {
    std::memcpy(DepthBuckets + BucketIndex(p), &EmptyFour, sizeof EmptyFour);
  }
  for (; p <= ClearLast; ++p) DepthBuckets[BucketIndex(p)] = EmptyBucket;
}

int32_t FaceKey(int f) {
  const ViewArrays& v = ViewFaces;
  const int32_t sx =
      (std::abs(v.X1[f]) + std::abs(v.X2[f]) + std::abs(v.X3[f]) + std::abs(v.X4[f])) / 4;
  const int32_t sy =
      (std::abs(v.Y1[f]) + std::abs(v.Y2[f]) + std::abs(v.Y3[f]) + std::abs(v.Y4[f])) / 4;
  const int32_t sz = (v.Z1[f] + v.Z2[f] + v.Z3[f] + v.Z4[f]) / 4;
  return sx / 2 + sy / 2 + sz;
}

}  // namespace

int OrderFaces() {
  ClearBuckets();
  const int last = std::clamp<int>(ViewCount, 0, PipelineFaces - 1);
  for (int f = 0; f <= last; ++f) {
    const int32_t key = FaceKey(f);
    DepthKey[f] = static_cast<int16_t>(std::clamp<int32_t>(key, INT16_MIN, INT16_MAX));
    if (key < DroppedKey) continue;
    int32_t p = std::clamp(key * 3 - 1, StoreFirst, StoreLast);
    do {
      ++p;
    } while (DepthBuckets[BucketIndex(p)] != EmptyBucket && p <= ProbeLimit);
    DepthBuckets[BucketIndex(p)] = static_cast<int16_t>(f);
  }

  int count = 0;
  for (int p = StoreLast; p >= WalkLast; --p) {
    if (p - 3 >= WalkLast && FourBuckets(p - 3) == EmptyFour) {
      p -= 3;  // p - 3 .. p are all empty
      continue;
    }
    const int16_t f = DepthBuckets[BucketIndex(p)];
    if (f < 32000) DrawOrder[count++] = f;
  }
  return count;
}
