// Whole text files read and written for the PGN games, the settings and the last game.
#pragma once
#include <cstddef>
#include <string>

// The file's first maxBytes bytes into *text; 0, or the errno of what failed (EFBIG when the
// file is longer than maxBytes).
int ReadTextFile(const std::string& path, size_t maxBytes, std::string* text);
// text as the whole file at path, replacing one of that name; 0 or the errno of what failed.
int WriteTextFile(const std::string& path, const std::string& text);
// WriteTextFile into path + ".new", then renamed over path, so that a file read at the next
// start is never half written; the folders on the way are made first (for the user only).
int ReplaceTextFile(const std::string& path, const std::string& text);
