#include "console/timecontrol.h"

#include <algorithm>
#include <cstdint>

#include "console/console_state.h"
#include "engine/evaluate.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

int DigitAt(int position) {
  const char c = CommandChar(position);
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

int32_t DigitsFrom(int position, int count) {
  int32_t value = 0;
  for (int i = 0; i < count; ++i) value = value * 10 + DigitAt(position + i);
  return value;
}

// The one-to-three-digit number after "st " or "sd ": three digits count one more. The tests
// follow each other, so a later one that holds wins; when none holds the value is kept.
int32_t ShortNumber(int32_t kept) {
  int32_t value = kept;
  if (CommandSpaceAt(5)) value = DigitsFrom(4, 1);
  if (!CommandSpaceAt(5) && CommandSpaceAt(6)) value = DigitsFrom(4, 2);
  if (!CommandSpaceAt(6) && CommandSpaceAt(7)) value = DigitsFrom(4, 3) + 1;
  return value;
}

// A "level" field starting at position: three, two or one digits by where the next space is.
int LevelField(int position, int32_t* value) {
  int digits = 0;
  if (!CommandSpaceAt(position) && !CommandSpaceAt(position + 1) && !CommandSpaceAt(position + 2)) {
    digits = 3;
  } else if (!CommandSpaceAt(position) && !CommandSpaceAt(position + 1)) {
    digits = 2;
  } else if (!CommandSpaceAt(position)) {
    digits = 1;
  }
  *value = DigitsFrom(position, digits);
  return digits;
}

}  // namespace

void SetFixedSeconds() {
  AppendSpaces(5);
  MaxDepth = 30;
  SecondsPerMove = ShortNumber(SecondsPerMove);
}

void SetFixedDepth() {
  AppendSpaces(5);
  MaxDepth = 30;
  SecondsPerMove = 2000000000;
  int32_t depth = ShortNumber(MaxDepth);
  if (depth < 3) depth = 3;
  if (depth > 30) depth = 30;
  MaxDepth = static_cast<uint8_t>(depth);
}

void SetLevel() {
  AppendSpaces(4);
  MaxDepth = 30;
  int32_t movesPerControl = 0, baseMinutes = 0, increment = 0;
  int consumed = LevelField(7, &movesPerControl);
  consumed += LevelField(consumed + 8, &baseMinutes);
  LevelField(consumed + 9, &increment);
  MovesPerControl = movesPerControl;
  IncrementSeconds = increment;
  SecondsPerMove = 2;
  if (movesPerControl > 1) SecondsPerMove = baseMinutes * 60 / movesPerControl + 1;
  if (movesPerControl == 0) SecondsPerMove = increment + (baseMinutes + 1) / 2 + 1;
}

void SetEngineClock() {
  AppendSpaces(5);
  TimeReceived = 1;
  int digits = 0;
  while (digits < 7 && !CommandSpaceAt(6 + digits)) ++digits;
  RemainingCentis = DigitsFrom(6, digits);
  ComputeMoveTime();
}

void ComputeMoveTime() {
  // Every input is at most seven digits, but a wide type keeps the products clear of overflow.
  const int64_t remaining = RemainingCentis;
  const int64_t perControl = MovesPerControl;
  if (perControl > 0) {
    if (MovesThisControl >= perControl || MovesThisControl < 0) MovesThisControl = 0;
    const int64_t done = MovesThisControl;
    int64_t seconds;
    if (done + 1 < perControl) {
      const int64_t share = remaining / (perControl - done);
      int64_t malus = 0, bonus = 0;
      if (ScoreDrop > 0) {
        int64_t pawns = ScoreDrop / 100;
        if (pawns > 5) pawns = 5;
        malus = share * pawns / 1000;
      }
      MaterialBalance();  // counts the pieces into PieceCount
      if (PieceCount > 15) bonus = share * (PieceCount - 15) / 3000;
      seconds = share / 100 + 1 - malus + bonus;
    } else {
      int64_t share = remaining - 100;
      if (share < 0) share = 0;
      seconds = share / 100 + 1;
    }
    if (remaining / 100 < perControl - done) seconds = 1;
    SecondsPerMove = static_cast<int32_t>(seconds);
  } else {
    int64_t seconds = remaining / 4000 + IncrementSeconds + 1;
    if (seconds < 2) seconds = 2;
    SecondsPerMove = static_cast<int32_t>(seconds);
  }
}

int64_t MoveBudgetMilliseconds(int64_t clock, int64_t increment, int64_t movesToGo) {
  clock = std::max<int64_t>(clock, 0);
  if (movesToGo <= 0) return std::min(clock / 40 + std::max<int64_t>(increment, 0), clock / 2);
  if (movesToGo == 1) return std::max<int64_t>(clock - 1000, 0);
  const int64_t share = clock / movesToGo;
  const int64_t pawnsDropped = std::clamp<int64_t>(ScoreDrop / 100, 0, 5);
  MaterialBalance();  // counts the pieces into PieceCount
  return share - share * pawnsDropped / 10 + share * std::max(PieceCount - 15, 0) / 30;
}
