// The game in PGN, the text form other chess software reads: the Seven Tag Roster, the time
// control and a set-up position, then the moves in long notation and the result.
#pragma once
#include <string>
#include <string_view>

// What the record of the game in progress needs beyond the engine's own state.
extern std::string GameDate;         // the day it started, "YYYY.MM.DD"; "????.??.??" unknown
extern std::string GameTimeControl;  // its TimeControl text, fixed when it started
extern std::string GameSetUp;        // the FEN it started from; empty for the start position

// A game from the start position, today, at the time control chosen in the menus.
void NoteNewGame();

// The PGN text of the game in progress (finished or not), lines ending in CR LF. The side the
// engine plays is "Korvane 3D v1.0", the human's "?"; the result is "1-0", "0-1", "1/2-1/2"
// or "*" while the game goes on; a mating move ends in "#".
std::string PgnText();

// Writes PgnText to baseName + ".pgn". A file that cannot be created or written is reported in
// a warning box and false is returned; the game is untouched.
bool WritePgnFile(std::string_view baseName);
