// The opening book.
#pragma once
#include <cstdint>

extern uint8_t BookFrom, BookTo;  // chosen move in the engine's orientation, 0/0 = none
extern uint8_t BookRandom;        // 0..9, drawn at every lookup
extern uint8_t BookAllowed;       // the game began from the standard position

uint8_t BookLookup();
