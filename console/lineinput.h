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

// A line taken from the input, possibly over several calls: bytes past capacity are dropped
// and tooLong set. Clear it (ClearInputLine) before gathering the next line.
struct InputLine {
  char* text;
  int capacity;
  int length = 0;
  bool started = false;  // a byte of this line (or its end) has been read
  bool tooLong = false;
};
void ClearInputLine(InputLine* line);
enum class LineStatus { Complete, Partial, End };
// Takes bytes into line up to its line end (Complete). With wait false it returns Partial as
// soon as no byte is ready, so a caller can go on working; End: the input has ended and
// nothing of a line was read.
LineStatus GatherLine(InputLine* line, bool wait);
// A byte (or the end of the input) can be read without waiting.
bool InputReady();
