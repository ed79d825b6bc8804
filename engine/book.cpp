#include "engine/book.h"

#include <cstring>

#include "engine/game.h"
#include "engine/random.h"
#include "engine/state.h"

uint8_t BookFrom, BookTo;
uint8_t BookRandom;
uint8_t BookAllowed = 1;

namespace {

// A reply is chosen when BookRandom is at most upTo; moves are written in real squares,
// "d5xc4" marks the one capture.
struct BookReply {
  uint8_t upTo;
  const char* move;
};

struct BookLine {
  uint8_t engineWhite;
  const char* record[8];  // the game so far, as GameRecord holds it; ends at nullptr
  BookReply replies[4];   // ends at nullptr
};

constexpr BookLine BookLines[] = {
    // Engine plays Black.
    {0, {"e2-e4"}, {{2, "e7e5"}, {5, "c7c5"}, {7, "c7c6"}, {9, "e7e6"}}},
    {0, {"d2-d4"}, {{4, "d7d5"}, {7, "g8f6"}, {8, "e7e6"}, {9, "c7c6"}}},
    {0, {"c2-c4"}, {{3, "g8f6"}, {6, "e7e5"}, {8, "d7d5"}, {9, "c7c5"}}},
    {0, {"Ng1-f3"}, {{4, "g8f6"}, {9, "d7d5"}}},
    {0, {"e2-e4", "e7-e5", "Ng1-f3"}, {{4, "b8c6"}, {8, "g8f6"}, {9, "d7d6"}}},
    {0, {"d2-d4", "d7-d5", "c2-c4"}, {{2, "c7c6"}, {5, "e7e6"}, {7, "d5xc4"}, {9, "g8f6"}}},
    {0, {"d2-d4", "d7-d5", "Ng1-f3"}, {{4, "g8f6"}, {9, "c7c5"}}},
    {0, {"e2-e4", "c7-c5", "Ng1-f3"}, {{5, "d7d6"}, {9, "e7e6"}}},
    {0, {"e2-e4", "c7-c6", "d2-d4"}, {{9, "d7d5"}}},
    {0, {"d2-d4", "c7-c6", "e2-e4"}, {{9, "d7d5"}}},
    {0, {"e2-e4", "e7-e6", "d2-d4"}, {{9, "d7d5"}}},
    {0, {"d2-d4", "e7-e6", "e2-e4"}, {{9, "d7d5"}}},
    {0, {"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6", "Bf1-b5"}, {{9, "a7a6"}}},
    {0, {"e2-e4", "e7-e5", "Ng1-f3", "Ng8-f6", "Nf3xe5"}, {{9, "d7d6"}}},
    {0,
     {"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6", "Bf1-b5", "a7-a6", "Bb5-a4"},
     {{4, "g8f6"}, {9, "b7b5"}}},
    // Engine plays White.
    {1, {}, {{3, "e2e4"}, {7, "d2d4"}, {8, "c2c4"}, {9, "g1f3"}}},
    {1, {"e2-e4", "e7-e5"}, {{4, "g1f3"}, {8, "b1c3"}, {9, "d2d4"}}},
    {1, {"e2-e4", "e7-e6"}, {{9, "d2d4"}}},
    {1, {"e2-e4", "c7-c6"}, {{9, "d2d4"}}},
    {1, {"e2-e4", "d7-d6"}, {{9, "d2d4"}}},
    {1, {"d2-d4", "e7-e6"}, {{9, "e2e4"}}},
    {1, {"d2-d4", "c7-c6"}, {{9, "e2e4"}}},
    {1, {"d2-d4", "d7-d6"}, {{9, "e2e4"}}},
    {1, {"e2-e4", "c7-c5"}, {{9, "g1f3"}}},
    {1, {"d2-d4", "d7-d5"}, {{4, "c2c4"}, {9, "g1f3"}}},
    {1, {"d2-d4", "Ng8-f6"}, {{9, "c2c4"}}},
    {1, {"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6"}, {{5, "f1b5"}, {9, "f1c4"}}},
    {1, {"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6", "Bf1-b5", "a7-a6"}, {{9, "b5a4"}}},
    // Castling short is the king's two-square move.
    {1,
     {"e2-e4", "e7-e5", "Ng1-f3", "Nb8-c6", "Bf1-b5", "a7-a6", "Bb5-a4", "Ng8-f6"},
     {{9, "e1g1"}}},
};

// Internal square of a real square in the current orientation.
uint8_t InternalSquare(char file, char rank) {
  int f = file - 'a', r = rank - '1';
  return static_cast<uint8_t>(BoardFlipped ? r * 8 + (7 - f) : (7 - r) * 8 + f);
}

bool RecordMatches(const BookLine& line) {
  int played = 0;
  while (played < 8 && line.record[played] != nullptr) ++played;
  if (played != HalfMoveCount) return false;
  for (int k = 0; k < played; ++k) {
    if (std::strcmp(GameRecord[k], line.record[k]) != 0) return false;
  }
  return true;
}

}  // namespace

uint8_t BookLookup() {
  BookFrom = BookTo = 0;
  BookRandom = static_cast<uint8_t>(RandomBelow(10));
  // A set-up position must never be answered from the book, whatever the record says.
  if (!BookAllowed) return 0;
  for (const BookLine& line : BookLines) {
    if (line.engineWhite != BoardFlipped || !RecordMatches(line)) continue;
    for (const BookReply& reply : line.replies) {
      if (reply.move == nullptr || BookRandom > reply.upTo) continue;
      const char* move = reply.move;
      bool capture = move[2] == 'x';
      const char* target = capture ? move + 3 : move + 2;
      BookFrom = InternalSquare(move[0], move[1]);
      BookTo =
          static_cast<uint8_t>(InternalSquare(target[0], target[1]) + (capture ? CaptureFlag : 0));
      return 1;
    }
  }
  return 0;
}
