#include "platform3d/memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform3d/mem/mem_backend.h"

namespace {

void KeepRunning() {}

void* FailingRealloc(void*, std::size_t) {
  return nullptr;
}

class CountedMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    MemReset();
    MemFatalHandler = KeepRunning;
    startBytes = TrackedBytes;
  }
  void TearDown() override {
    TrackedRealloc = std::realloc;
    EXPECT_EQ(TrackedBytes, startBytes) << "a test left tracked memory behind";
  }
  int32_t startBytes = 0;
};

TEST_F(CountedMemory, AllocationAndReleaseMoveTheTotalByTheRecordedSize) {
  void* a = nullptr;
  void* b = nullptr;
  TrackedAlloc(a, 1000);
  ASSERT_NE(a, nullptr);
  EXPECT_GE(BlockSize(a), 1000u);
  TrackedAlloc(b, 24);
  EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(a) + BlockSize(b)));
  std::memset(a, 0x5A, 1000);  // the whole requested size is usable
  TrackedFree(a);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(b)));
  TrackedFree(b);
  EXPECT_EQ(BlockSize(nullptr), 0u);
}

TEST_F(CountedMemory, FreeingNothingDoesNothing) {
  void* none = nullptr;
  TrackedFree(none);
  TrackedFree(none);
  EXPECT_EQ(none, nullptr);
  EXPECT_TRUE(MemMessageBoxes.empty());
}

TEST_F(CountedMemory, ResizingKeepsTheTotalEqualToTheLiveBlocksAndKeepsContents) {
  void* kept = nullptr;
  void* resized = nullptr;
  TrackedAlloc(kept, 300);
  TrackedAlloc(resized, 16);
  std::memcpy(resized, "0123456789abcdef", 16);
  TrackedAlloc(resized, 5000);  // grow
  EXPECT_EQ(std::memcmp(resized, "0123456789abcdef", 16), 0);
  EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(kept) + BlockSize(resized)));
  TrackedAlloc(resized, 8);  // shrink keeps the smaller size
  EXPECT_EQ(std::memcmp(resized, "01234567", 8), 0);
  EXPECT_EQ(TrackedBytes - startBytes, static_cast<int32_t>(BlockSize(kept) + BlockSize(resized)));
  TrackedFree(resized);
  TrackedFree(kept);
}

TEST_F(CountedMemory, ExhaustionShowsTheMemoryErrorAndStops) {
  TrackedRealloc = FailingRealloc;
  void* block = nullptr;
  TrackedAlloc(block, 64);
  EXPECT_EQ(block, nullptr);
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].title, "MEMORY ERROR !");
  EXPECT_EQ(MemMessageBoxes[0].text, "Not enough memory to run this application !");
  EXPECT_TRUE(MemMessageBoxes[0].fatal);
  EXPECT_EQ(MemStopCalls, 1u);
  EXPECT_EQ(TrackedBytes, startBytes);
}

TEST_F(CountedMemory, FailedResizeKeepsTheOldBlockAndTotal) {
  void* block = nullptr;
  TrackedAlloc(block, 40);
  std::memcpy(block, "kept", 4);
  int32_t before = TrackedBytes;
  TrackedRealloc = FailingRealloc;
  void* same = block;
  TrackedAlloc(block, 4000);
  EXPECT_EQ(block, same);
  EXPECT_EQ(std::memcmp(block, "kept", 4), 0);
  EXPECT_EQ(TrackedBytes, before);
  EXPECT_EQ(MemStopCalls, 1u);
  TrackedRealloc = std::realloc;
  TrackedFree(block);
}

TEST(RoundedQuotient, RoundsHalvesToEven) {
  EXPECT_EQ(RoundedQuotient(1536, 1024), 2);  // 1.5
  EXPECT_EQ(RoundedQuotient(2560, 1024), 2);  // 2.5
  EXPECT_EQ(RoundedQuotient(3584, 1024), 4);  // 3.5
  EXPECT_EQ(RoundedQuotient(511, 1024), 0);
  EXPECT_EQ(RoundedQuotient(512, 1024), 0);  // 0.5
  EXPECT_EQ(RoundedQuotient(513, 1024), 1);
  EXPECT_EQ(RoundedQuotient(1535, 1024), 1);
  EXPECT_EQ(RoundedQuotient(1537, 1024), 2);
}

class LeakReportTest : public CountedMemory {};

TEST_F(LeakReportTest, SilentWhenEverythingWasGivenBack) {
  ASSERT_EQ(TrackedBytes, 0);
  LeakReport();
  EXPECT_TRUE(MemMessageBoxes.empty());
}

TEST_F(LeakReportTest, ReportsBytesKilobytesAndMegabytes) {
  void* block = nullptr;
  TrackedAlloc(block, 1536);
  ASSERT_EQ(TrackedBytes, 1536);  // BlockSize records the requested size
  LeakReport();
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].title, "MEMORY MANAGEMENT ERROR !");
  EXPECT_EQ(MemMessageBoxes[0].text,
            "There is still some allocated memory left !\r\r1536 BYTES   or   2 KB   or   0 MB");
  EXPECT_FALSE(MemMessageBoxes[0].fatal);
  EXPECT_EQ(MemStopCalls, 0u);  // a leak is not fatal
  TrackedFree(block);
}

TEST_F(LeakReportTest, SmallLeakShowsZeroKilobytes) {
  void* block = nullptr;
  TrackedAlloc(block, 300);
  LeakReport();
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  EXPECT_EQ(MemMessageBoxes[0].text,
            "There is still some allocated memory left !\r\r300 BYTES   or   0 KB   or   0 MB");
  TrackedFree(block);
}

TEST_F(LeakReportTest, TwoLeftFramesCountInMegabytes) {
  Surface a = {}, b = {};
  AllocSurface(&a, 800, 600, false);
  AllocSurface(&b, 800, 600, false);
  LeakReport();
  ASSERT_EQ(MemMessageBoxes.size(), 1u);
  // 1920000 bytes: 1875 KB exactly, 1.83 MB rounds to 2.
  EXPECT_EQ(
      MemMessageBoxes[0].text,
      "There is still some allocated memory left !\r\r1920000 BYTES   or   1875 KB   or   2 MB");
  FreeSurface(&a);
  FreeSurface(&b);
}

}  // namespace
