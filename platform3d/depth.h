// The third pipeline stage: painter's order. View faces are bucket-sorted far to near by a
// cheap depth key; there is no depth buffer.
#pragma once
#include <cstdint>

#include "platform3d/faces.h"

constexpr int BucketFirst = -5000;  // DepthBuckets covers indices -5000..80004
constexpr int BucketLast = 80004;
constexpr int16_t EmptyBucket = 32500;
constexpr int32_t DroppedKey = -1000;  // a key below this is behind the camera: not drawn

extern int16_t DepthKey[FaceTableSize];   // key of each view face (limited to 16 bits)
extern int16_t DrawOrder[FaceTableSize];  // view faces, far to near
extern int16_t DepthBuckets[BucketLast - BucketFirst + 1];

// Index into DepthBuckets of bucket b.
constexpr int BucketIndex(int b) {
  return b - BucketFirst;
}

// Keys ViewFaces 0..ViewCount, sorts them into the buckets (three per key unit, so that equal
// keys land in neighbouring buckets in the order they come) and fills DrawOrder. Returns the
// number of faces in DrawOrder.
int OrderFaces();
