#include "console/lineinput.h"

#include <unistd.h>

#include <cerrno>

#include "console/console_state.h"

namespace {

ByteSource CurrentSource = StandardInputByte;
// A line ended in CR: a LF that follows belongs to the same line end. It is skipped when the
// next line is read rather than waited for now, so a lone CR never blocks the reply.
bool SkipLineFeed = false;

unsigned char InputBuffer[4096];
ssize_t InputFilled = 0;
ssize_t InputPosition = 0;

}  // namespace

void SetByteSource(ByteSource source) { CurrentSource = source ? source : StandardInputByte; }

void ResetLineInput() { SkipLineFeed = false; }

int StandardInputByte() {
  if (InputPosition >= InputFilled) {
    ssize_t got;
    do {
      got = read(0, InputBuffer, sizeof InputBuffer);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return -1;
    InputFilled = got;
    InputPosition = 0;
  }
  return InputBuffer[InputPosition++];
}

bool ReadCommandLine() {
  char kept[CommandLineLimit];
  int length = 0;
  bool readAny = false;
  for (;;) {
    int c = CurrentSource();
    if (c < 0) {
      if (!readAny) return false;
      break;
    }
    if (SkipLineFeed) {
      SkipLineFeed = false;
      if (c == '\n') continue;
    }
    readAny = true;
    if (c == '\n') break;
    if (c == '\r') {
      SkipLineFeed = true;
      break;
    }
    if (length < CommandLineLimit) kept[length++] = static_cast<char>(c);
  }
  SetCommandLine(kept, length);
  return true;
}
