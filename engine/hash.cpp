#include "engine/hash.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "engine/random.h"
#include "engine/state.h"

HashEntry* HashTable = nullptr;
HashProbeBuffer HashProbed;
int16_t HashRandom1[64];
int16_t HashRandom2[64];
int16_t HashRandom3[64];

namespace {

constexpr int16_t EmptyScore = -32000;
constexpr int8_t EmptyDepth = -120;
constexpr HashEntry EmptyEntry = {0, EmptyScore, 0, 0, 0, EmptyDepth};
constexpr uint32_t CheckModulus = 65500;

// The table in whole 2 MB pages, which the system is asked to back with huge pages: a probe
// then seldom misses the address translation cache as well as the data cache.
constexpr size_t HugePage = size_t{2} << 20;
constexpr size_t TableBytes = (sizeof(HashEntry) * HashSize + HugePage - 1) / HugePage * HugePage;

bool Allocated() {
  return HashTable != nullptr;
}

bool InTable(int32_t index) {
  return index >= 0 && index <= HashLastIndex && Allocated();
}

void EmptyProbeBuffer() {
  HashProbed = EmptyEntry;
}

}  // namespace

void HashAllocate() {
  if (Allocated()) return;
  HashTable = static_cast<HashEntry*>(std::aligned_alloc(HugePage, TableBytes));
  if (!Allocated()) return;  // the engine then searches without the table's move ordering
  madvise(HashTable, TableBytes, MADV_HUGEPAGE);
  HashClear();
}

void HashRelease() {
  std::free(HashTable);
  HashTable = nullptr;
}

void HashFillRandoms() {
  for (int s = 0; s < 64; ++s) {
    HashRandom1[s] = static_cast<int16_t>(RandomBelow(1000));
    HashRandom2[s] = static_cast<int16_t>(RandomBelow(1000));
    HashRandom3[s] = static_cast<int16_t>(RandomBelow(1000));
  }
}

void HashSums(int32_t* k1, int32_t* k2, int32_t* k3) {
  int32_t sum1 = 0, sum2 = 0, sum3 = 0;
  for (int s = 0; s < 64; ++s) {
    uint8_t code = Board[s];
    if (code == Empty) continue;
    int32_t weight = static_cast<int32_t>(code) - 9;  // 1..6 for side 1, 11..16 for side 2
    sum1 += weight * HashRandom1[s];
    sum2 += weight * HashRandom2[s];
    sum3 += weight * HashRandom3[s];
  }
  *k1 = sum1;
  *k2 = sum2;
  *k3 = sum3;
}

int32_t HashKey(uint32_t* check) {
  int32_t k1, k2, k3;
  HashSums(&k1, &k2, &k3);
  return HashKeyFromSums(k1, k2, k3, check);
}

int32_t HashKeyFromSums(int32_t k1, int32_t k2, int32_t k3, uint32_t* check) {
  // K1 * 10000 + K2 wraps in 32 bits; the remainder then keeps the sign of the wrapped value,
  // so some positions get a negative index and are simply never stored or found.
  uint32_t mixed = static_cast<uint32_t>(k1) * 10000u + static_cast<uint32_t>(k2);
  int32_t index = static_cast<int32_t>(mixed) % HashLastIndex;
  *check = static_cast<uint32_t>(k3) % CheckModulus;
  return index;
}

uint8_t HashProbe(int32_t index) {
  if (!InTable(index)) {
    EmptyProbeBuffer();
    return 0;
  }
  HashProbed = HashTable[index];
  return HashProbed.depth > EmptyDepth && HashProbed.score > -30000 ? 1 : 0;
}

void HashStore(int32_t index, uint32_t check, int16_t score, uint8_t from, uint8_t to, int8_t depth,
               uint8_t flag) {
  if (!InTable(index)) return;
  HashEntry& entry = HashTable[index];
  if (depth < entry.depth) return;  // a deeper entry stays
  entry = {static_cast<uint16_t>(check), score, from, to, flag, depth};
}

void HashClear() {
  if (!Allocated()) return;
  std::fill_n(HashTable, HashLastIndex + 1, EmptyEntry);
}
