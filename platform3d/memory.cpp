#include "platform3d/memory.h"

#include <cstdio>
#include <cstdlib>

#include "platform3d/platform.h"

int32_t TrackedBytes = 0;
void* (*TrackedRealloc)(void* block, std::size_t size) = std::realloc;

namespace {

// Each block carries its size in a header in front of the caller's bytes; the header is a
// max_align_t wide so the caller's bytes keep the allocator's alignment.
constexpr std::size_t HeaderSize = alignof(std::max_align_t) > sizeof(uint32_t)
                                       ? alignof(std::max_align_t)
                                       : sizeof(uint32_t);

unsigned char* HeaderOf(const void* block) {
  return const_cast<unsigned char*>(static_cast<const unsigned char*>(block)) - HeaderSize;
}

uint32_t RecordedSize(const unsigned char* header) {
  uint32_t size;
  __builtin_memcpy(&size, header, sizeof size);
  return size;
}

// The total is a signed 32-bit figure; sums beyond it wrap as they would in the original.
void AddToTotal(uint32_t size, bool subtract) {
  uint32_t total = static_cast<uint32_t>(TrackedBytes);
  total = subtract ? total - size : total + size;
  TrackedBytes = static_cast<int32_t>(total);
}

}  // namespace

void ReportOutOfMemory() {
  FatalError("MEMORY ERROR !", "Not enough memory to run this application !");
}

uint32_t BlockSize(const void* block) {
  if (block == nullptr) return 0;
  return RecordedSize(HeaderOf(block));
}

void TrackedAlloc(void*& block, uint32_t size) {
  unsigned char* old = block == nullptr ? nullptr : HeaderOf(block);
  uint32_t oldSize = old == nullptr ? 0 : RecordedSize(old);
  if (static_cast<std::size_t>(size) > SIZE_MAX - HeaderSize) {
    ReportOutOfMemory();
    return;
  }
  void* grown = TrackedRealloc(old, HeaderSize + size);
  if (grown == nullptr) {
    // realloc leaves the old block untouched on failure, so the total still holds.
    ReportOutOfMemory();
    return;
  }
  auto* header = static_cast<unsigned char*>(grown);
  __builtin_memcpy(header, &size, sizeof size);
  AddToTotal(oldSize, true);
  AddToTotal(size, false);
  block = header + HeaderSize;
}

void TrackedFree(void*& block) {
  if (block == nullptr) return;
  unsigned char* header = HeaderOf(block);
  AddToTotal(RecordedSize(header), true);
  std::free(header);
  block = nullptr;
}

int64_t RoundedQuotient(int64_t bytes, int64_t divisor) {
  int64_t quotient = bytes / divisor;
  int64_t twiceRest = (bytes % divisor) * 2;
  if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 == 1)) ++quotient;
  return quotient;
}

void LeakReport() {
  if (TrackedBytes <= 0) return;
  char text[160];
  std::snprintf(
      text, sizeof text,
      "There is still some allocated memory left !\r\r%ld BYTES   or   %ld KB   or   %ld MB",
      static_cast<long>(TrackedBytes), static_cast<long>(RoundedQuotient(TrackedBytes, 1024)),
      static_cast<long>(RoundedQuotient(TrackedBytes, 1024 * 1024)));
  WarningBox("MEMORY MANAGEMENT ERROR !", text);
}
