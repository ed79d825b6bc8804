#include "platform3d/surface.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform3d/mem/mem_backend.h"
#include "platform3d/memory.h"

namespace {

void KeepRunning() {}

class Surfaces : public ::testing::Test {
 protected:
  void SetUp() override {
    MemReset();
    MemFatalHandler = KeepRunning;
    startBytes = TrackedBytes;
  }
  void TearDown() override {
    FreeSurface(&surface);
    EXPECT_EQ(TrackedBytes, startBytes);
  }
  Surface surface = {};
  int32_t startBytes = 0;
};

TEST_F(Surfaces, AllocSurfaceFillsEveryFieldOfTheRecord) {
  AllocSurface(&surface, 801, 601, false);
  ASSERT_NE(surface.pixels, nullptr);
  EXPECT_EQ(surface.byteSize, 801u * 601u * 2u);
  EXPECT_EQ(surface.width, 801);
  EXPECT_EQ(surface.maxX, 800);
  EXPECT_EQ(surface.halfWidth, 400);
  EXPECT_EQ(surface.widthOdd, 1);
  EXPECT_EQ(surface.pitch, 1602);
  EXPECT_EQ(surface.height, 601);
  EXPECT_EQ(surface.halfHeight, 300);
  EXPECT_EQ(surface.maxY, 600);
  EXPECT_EQ(surface.allocated, 1);
  // The pixels are counted memory.
  EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(surface.pixels)));
  EXPECT_GE(BlockSize(surface.pixels), surface.byteSize);
}

TEST_F(Surfaces, EvenWidthHasNoOddColumn) {
  AllocSurface(&surface, 800, 600, false);
  EXPECT_EQ(surface.widthOdd, 0);
  EXPECT_EQ(surface.halfWidth, 400);
  EXPECT_EQ(surface.halfHeight, 300);
  EXPECT_EQ(surface.byteSize, 960000u);
}

TEST_F(Surfaces, ClearedSurfaceIsBlack) {
  AllocSurface(&surface, 33, 7, false);
  FillSurface(&surface, 0xFFFF);
  FreeSurface(&surface);
  AllocSurface(&surface, 33, 7, true);
  for (int32_t i = 0; i < 33 * 7; ++i) ASSERT_EQ(surface.pixels[i], 0) << "pixel " << i;
}

TEST_F(Surfaces, FreeSurfaceGivesPixelsBackOnce) {
  AllocSurface(&surface, 10, 10, false);
  FreeSurface(&surface);
  EXPECT_EQ(surface.allocated, 0);
  EXPECT_EQ(TrackedBytes, startBytes);
  FreeSurface(&surface);  // second time: nothing left to give back
  EXPECT_EQ(TrackedBytes, startBytes);
}

TEST_F(Surfaces, AllocatingAgainReplacesThePixelsWithoutLeaking) {
  AllocSurface(&surface, 100, 100, false);
  AllocSurface(&surface, 20, 10, true);
  EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(surface.pixels)));
  EXPECT_EQ(surface.byteSize, 400u);
}

TEST_F(Surfaces, FillSurfaceWritesEveryPixelWhateverTheBlockRemainder) {
  // 800 pixels fill whole 8-byte blocks; 3 and 5 pixels leave 6 and 2 bytes over.
  for (int32_t width : {800, 3, 5, 1}) {
    AllocSurface(&surface, width, 1, false);
    FillSurface(&surface, 0xF81F);
    for (int32_t x = 0; x < width; ++x) {
      ASSERT_EQ(surface.pixels[x], 0xF81F) << "width " << width << " pixel " << x;
    }
  }
}

TEST_F(Surfaces, FillSurfaceOddByteCountWritesTheLowByteLastAndStaysInside) {
  // A hand-made record over our own buffer: 7 bytes, three pixels and one byte.
  uint16_t pixels[5];
  Surface manual = {};
  manual.pixels = pixels;
  manual.byteSize = 7;
  std::memset(pixels, 0xEE, sizeof pixels);
  FillSurface(&manual, 0x1234);
  EXPECT_EQ(pixels[0], 0x1234);
  EXPECT_EQ(pixels[1], 0x1234);
  EXPECT_EQ(pixels[2], 0x1234);
  unsigned char* bytes = reinterpret_cast<unsigned char*>(pixels);
  EXPECT_EQ(bytes[6], 0x34);  // the colour's low byte
  EXPECT_EQ(bytes[7], 0xEE);  // nothing past byteSize
  EXPECT_EQ(bytes[8], 0xEE);
}

TEST_F(Surfaces, FillSurfaceNeverWritesPastTheOwnedBlock) {
  AllocSurface(&surface, 4, 1, false);
  surface.byteSize = 1000000;     // a damaged record
  FillSurface(&surface, 0x0001);  // must stay inside the 8 bytes it owns (checked by ASan)
  EXPECT_EQ(surface.pixels[3], 0x0001);
}

TEST_F(Surfaces, BadSizesNeverCrash) {
  AllocSurface(&surface, -5, 10, true);
  EXPECT_EQ(surface.byteSize, 0u);
  EXPECT_EQ(surface.width, 0);
  FillSurface(&surface, 7);
  FreeSurface(&surface);
  AllocSurface(&surface, 100000, 100000, true);  // more than 4 GB: out of memory
  EXPECT_EQ(surface.allocated, 0);
  EXPECT_EQ(surface.pixels, nullptr);
  ASSERT_FALSE(MemMessageBoxes.empty());
  EXPECT_EQ(MemMessageBoxes.back().title, "MEMORY ERROR !");
  FillSurface(&surface, 7);
  FillSurface(nullptr, 7);
  AllocSurface(nullptr, 10, 10, true);
  FreeSurface(nullptr);
}

}  // namespace
