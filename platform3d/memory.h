// Counted memory: every block taken here adds to TrackedBytes, so the 3D program can tell at
// quit whether a frame surface was never given back.
#pragma once
#include <cstddef>
#include <cstdint>

extern int32_t TrackedBytes;  // sum of BlockSize over the blocks held now

// Takes size bytes into block, or resizes the block it already holds (contents kept up to the
// smaller size). On exhaustion: FatalError "MEMORY ERROR !"; should that return (a test
// handler), block is left as it was.
void TrackedAlloc(void*& block, uint32_t size);
// Gives the block back and sets it to nothing; nothing is allowed and does nothing.
void TrackedFree(void*& block);
// The size recorded for a block taken by TrackedAlloc; 0 for nothing.
uint32_t BlockSize(const void* block);
// Shows "MEMORY MANAGEMENT ERROR !" when TrackedBytes > 0; silent otherwise.
void LeakReport();

// FatalError "MEMORY ERROR !" with the out-of-memory text.
void ReportOutOfMemory();

// Rounds bytes / divisor to nearest, halves to even (divisor > 0, bytes >= 0).
int64_t RoundedQuotient(int64_t bytes, int64_t divisor);

// The allocator behind TrackedAlloc (std::realloc); tests swap it to simulate exhaustion.
extern void* (*TrackedRealloc)(void* block, std::size_t size);
