// Reading PGN written by this program or any other: the first game of a text as its tags, its
// main line and its result, and the legal move that a move text names.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct PgnGame {
  std::vector<std::pair<std::string, std::string>> tags;
  std::vector<std::string> moves;  // the main line as written; variations are left out
  std::string result;              // "1-0", "0-1", "1/2-1/2" or "*"; empty when missing
  std::string cutShort;            // why the text stops before the game's end; empty when not
};

// The value of a tag; empty when the game has none.
std::string PgnTag(const PgnGame& game, std::string_view name);

// The first game of text. Comments ({...} and ;...), variations, NAGs ($n), move numbers,
// annotation marks and escape lines (%...) are skipped. A text that stops inside a comment,
// variation or tag, or before the result, fills what was read and says so in cutShort. False
// with *error when the text is not PGN at all.
bool ParsePgn(std::string_view text, PgnGame* game, std::string* error);

// The entry of the ply-0 list, generated here from GameBoard with only the legal moves of side
// (1 the engine, 2 the human), that a move text names: short algebraic ("Nf3", "exd6", "e8=Q+",
// "O-O"), the long form this program writes ("Ng1-f3", "e7xd8=Q#") or coordinates ("g1f3").
// -1 with *error when it names none, names more than one, or promotes to anything but a queen
// (the only promotion the engine knows).
int FindNamedMove(std::string_view text, uint8_t side, std::string* error);
