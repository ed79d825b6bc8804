// Loading a game from a PGN file: its moves replayed through the engine's own move checking, so
// that the record, the repetitions, the fifty-move count and the end of the game are as if the
// game had been played here.
#pragma once
#include <string>

extern std::string StartupGameFile;  // named on the command line: loaded at start-up

// The file's first game, from its start or its set-up position; the game goes on from its last
// position with the engine on the side it played in this program's own files, and in any other
// file on the side that PlayerSide does not have. The time control is the file's when the menus
// have it, else the one chosen. False with *error naming the move when the file cannot be read,
// is not PGN, holds a move that is not legal or is cut short; the game in progress is then as it
// was (an engine that was thinking starts its search again). With unfinishedOnly a finished game
// is refused too, with an empty *error.
bool LoadGame(const std::string& path, bool unfinishedOnly, std::string* error);

// LoadGame, and the board, the camera and the move list show the loaded game; a failure is shown
// in a warning box naming the file (on stderr first).
bool LoadGameFile(const std::string& path);

// The board, the pieces, the camera and the move list for the game on the board, as a new game
// has them.
void ShowGameOnBoard();
