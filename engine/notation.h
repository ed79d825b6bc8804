// Long and coordinate move notation in the real square names.
#pragma once
#include <cstdint>
#include <string>

extern char PromotionLetter;  // 'Q' for the engine's promotions, 'q' for the human's

// Name of internal square s ("e4") in the current orientation.
std::string SquareName(uint8_t square);
// mode: 0 plain, 1 capture, 2 check, 3 capture and check. to may carry the encoding flags.
std::string MoveText(uint8_t from, uint8_t to, uint8_t piece, uint8_t mode);
std::string CoordinateText(uint8_t from, uint8_t to);
