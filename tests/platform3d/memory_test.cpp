// Counted memory and the frame surfaces built on it.
#include "tests/platform3d/test_util.h"

using CountedMemory = MemTest;

TEST_F(CountedMemory, TotalIsTheSumOfLiveBlocksAndExhaustionKeepsAnyOldBlock) {
  void *a = nullptr, *b = nullptr, *fresh = nullptr;
  TrackedAlloc(a, 1000);
  TrackedAlloc(b, 16);
  std::memcpy(b, "0123456789abcdef", 16);
  for (uint32_t size : {5000u, 8u}) {  // grow, then shrink below the contents
    TrackedAlloc(b, size);
    EXPECT_EQ(std::memcmp(b, "0123456789abcdef", std::min(size, 16u)), 0);
    EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(a) + BlockSize(b)));
  }
  void* const kept = b;
  TrackedRealloc = [](void*, std::size_t) -> void* { return nullptr; };
  TrackedAlloc(fresh, 64);
  EXPECT_EQ(fresh, nullptr);
  ExpectOnlyBox("MEMORY ERROR !", "Not enough memory to run this application !", true);
  TrackedAlloc(b, 4000);  // a failed resize leaves the block as it was
  EXPECT_EQ(b, kept);
  EXPECT_EQ(std::memcmp(b, "01234567", 8), 0);
  TrackedFree(a);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(TrackedBytes - startBytes, 8);
  TrackedFree(b);
  TrackedFree(b);  // freeing nothing does nothing
}

TEST_F(CountedMemory, LeakReportRoundsKilobytesAndMegabytesHalvesToEven) {
  LeakReport();
  EXPECT_TRUE(MemMessageBoxes.empty());  // everything given back: silent
  // Bytes, kilobytes, megabytes: 0.5 KB -> 0, 1.5 KB -> 2, 2.5 KB -> 2, 2.5 MB -> 2 (and 2.62
  // million bytes).
  const uint32_t cases[][3] = {
      {300, 0, 0}, {512, 0, 0}, {1536, 2, 0}, {2560, 2, 0}, {2621440, 2560, 2}};
  for (const auto& c : cases) {
    MemReset();
    void* block = nullptr;
    TrackedAlloc(block, c[0]);
    LeakReport();
    ExpectOnlyBox("MEMORY MANAGEMENT ERROR !",
                  "There is still some allocated memory left !\r\r" + std::to_string(c[0]) +
                      " BYTES   or   " + std::to_string(c[1]) + " KB   or   " +
                      std::to_string(c[2]) + " MB",
                  false);
    TrackedFree(block);
  }
}

using Surfaces = MemTest;

TEST_F(Surfaces, AllocSurfaceFillsTheRecordFromCountedMemory) {
  // Byte size, width, maxX, halfWidth, widthOdd, pitch, height, halfHeight, maxY, allocated.
  // Each call gives the old pixels back first; a bad size never crashes, one of more than
  // 4 GB is out of memory.
  const struct {
    int32_t width, height;
    std::array<int64_t, 10> fields;
  } cases[] = {{801, 601, {801 * 601 * 2, 801, 800, 400, 1, 1602, 601, 300, 600, 1}},
               {800, 600, {960000, 800, 799, 400, 0, 1600, 600, 300, 599, 1}},
               {-5, 10, {0, 0, -1, 0, 0, 0, 10, 5, 9, 1}},
               {100000, 100000, {0, 100000, 99999, 50000, 0, 0, 100000, 50000, 99999, 0}}};
  Surface s = {};
  for (const auto& c : cases) {
    AllocSurface(&s, c.width, c.height, false);
    EXPECT_EQ((std::array<int64_t, 10>{s.byteSize, s.width, s.maxX, s.halfWidth, s.widthOdd,
                                       s.pitch, s.height, s.halfHeight, s.maxY, s.allocated}),
              c.fields)
        << c.width;
    EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(s.pixels))) << c.width;
  }
  ExpectOnlyBox("MEMORY ERROR !", "Not enough memory to run this application !", true);
  AllocSurface(&s, 33, 7, false);
  FillSurface(&s, 0xFFFF);
  AllocSurface(&s, 33, 7, true);  // most likely the same block again: cleared to black
  EXPECT_EQ(std::count(s.pixels, s.pixels + 33 * 7, 0), 33 * 7);
  FreeSurface(&s);
  FreeSurface(&s);  // nothing left to give back
  EXPECT_EQ(s.allocated, 0);
}

TEST_F(Surfaces, FillSurfaceWritesEveryPixelAndNothingPastTheBlock) {
  Surface s = {};
  AllocSurface(&s, 4, 1, false);
  s.byteSize = 1000000;  // a damaged record: stays inside the 8 bytes owned (checked by ASan)
  FillSurface(&s, 0x0001);
  EXPECT_EQ(s.pixels[3], 0x0001);
  FreeSurface(&s);
  // A hand-made record of 7 bytes: three pixels, then the colour's low byte, then nothing.
  uint16_t pixels[5];
  std::memset(pixels, 0xEE, sizeof pixels);
  Surface manual = {pixels, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  FillSurface(&manual, 0x1234);
  const unsigned char expected[] = {0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0x34, 0xEE, 0xEE};
  EXPECT_EQ(std::memcmp(pixels, expected, sizeof expected), 0);
  FreeSurface(&manual);  // pixels it does not own stay where they are
  FillSurface(nullptr, 7);
  AllocSurface(nullptr, 10, 10, true);
  FreeSurface(nullptr);
}
