// The game in PGN, the text form other chess software reads: tags, then the moves in long
// notation, then the result.
#pragma once
#include <string>
#include <string_view>

// The PGN text of the game in progress (finished or not), lines ending in CR LF. The side the
// engine plays is "Korvane 3D v1.0", the human's "?"; the result is "1-0", "0-1", "1/2-1/2"
// or "*" while the game goes on; timeControl (its first 255 characters) is the Timecontrol tag.
std::string PgnText(std::string_view timeControl);

// Writes PgnText to baseName + ".pgn", replacing a file of that name. A file that cannot be
// created or written is reported in a warning box and false is returned; the game is untouched.
bool WritePgnFile(std::string_view baseName, std::string_view timeControl);
