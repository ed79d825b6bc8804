// What korvane3d keeps between runs: the menu settings in $XDG_CONFIG_HOME/korvane/
// korvane3d.conf and an unfinished game in $XDG_STATE_HOME/korvane/last-game.pgn (under
// ~/.config and ~/.local/state when those are not set). Trouble with either file is one line on
// stderr; the game goes on.
#pragma once
#include <string>

// The two files; empty when neither the variable nor HOME gives a folder.
std::string SettingsFilePath();
std::string LastGameFilePath();

// At start-up: the settings from the file. A missing, unreadable or damaged file leaves the
// defaults and says so on stderr. From then on WriteSettingsIfChanged keeps them.
void ReadSettingsFile();
// After every menu frame: the file is rewritten when a setting differs from what it holds.
void WriteSettingsIfChanged();

// At start-up, after the new game: the last unfinished game comes back (a finished one, or a
// damaged file, does not; a damaged file is named on stderr), then the game of StartupGameFile.
void BringBackGames();
// At quit: an unfinished game is kept in the last-game file; otherwise the file is removed, so
// that the next start begins afresh.
void KeepLastGame();
