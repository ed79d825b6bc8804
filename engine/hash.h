// The hash table of best moves, one search long.
#pragma once
#include <cstdint>

constexpr int32_t HashSize = 2001000;  // entries allocated
constexpr int32_t HashLastIndex = 2000000;
constexpr int32_t NoHashIndex = 3000000;  // index of a node that is not keyed

// One entry's fields side by side (8 bytes), so that a probe or a store touches one cache
// line instead of six.
struct HashEntry {
  uint16_t check;
  int16_t score;
  uint8_t from, to, flag;
  int8_t depth;
};
extern HashEntry* HashTable;  // HashSize entries, or nullptr before HashAllocate

// Fields of the entry last probed.
using HashProbeBuffer = HashEntry;
extern HashProbeBuffer HashProbed;

extern int16_t HashRandom1[64];
extern int16_t HashRandom2[64];
extern int16_t HashRandom3[64];

void HashAllocate();  // once at start-up; the table is then empty
void HashRelease();
void HashFillRandoms();  // new game: three tables of 0..999

// The three key sums of Board (also kept by the repetition history).
void HashSums(int32_t* k1, int32_t* k2, int32_t* k3);
// Index of Board (may be negative: such a position is never stored or found); sets the check.
int32_t HashKey(uint32_t* check);
// The same from the three sums (the search keeps them in KeptTerms).
int32_t HashKeyFromSums(int32_t k1, int32_t k2, int32_t k3, uint32_t* check);
uint8_t HashProbe(int32_t index);
void HashStore(int32_t index, uint32_t check, int16_t score, uint8_t from, uint8_t to,
               int8_t depth, uint8_t flag);
void HashClear();
