// Reading command lines: at most 120 characters kept, CR, LF or CR LF ending a line, the rest of
// a long line skipped.
#pragma once

// The next input byte (0..255), or -1 at the end of the input.
using ByteSource = int (*)();
void SetByteSource(ByteSource source);  // tests read from memory; nullptr: standard input
int StandardInputByte();                // read(2) on descriptor 0, the default

// Reads one line into CommandLine. False at the end of the input when nothing was read.
bool ReadCommandLine();
// Forget a pending CR (start of a new session).
void ResetLineInput();
