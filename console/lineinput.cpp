#include "console/lineinput.h"

#include <poll.h>
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

void SetByteSource(ByteSource source) {
  CurrentSource = source ? source : StandardInputByte;
}

void ResetLineInput() {
  SkipLineFeed = false;
}

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

bool InputReady() {
  if (CurrentSource != StandardInputByte || InputPosition < InputFilled) return true;
  pollfd input = {0, POLLIN, 0};
  return poll(&input, 1, 0) > 0;  // data, the end of the input, or a closed descriptor
}

void ClearInputLine(InputLine* line) {
  line->length = 0;
  line->started = false;
  line->tooLong = false;
}

LineStatus GatherLine(InputLine* line, bool wait) {
  for (;;) {
    if (!wait && !InputReady()) return LineStatus::Partial;
    const int c = CurrentSource();
    if (c < 0) return line->started ? LineStatus::Complete : LineStatus::End;
    if (SkipLineFeed) {
      SkipLineFeed = false;
      if (c == '\n') continue;
    }
    line->started = true;
    if (c == '\n') return LineStatus::Complete;
    if (c == '\r') {
      SkipLineFeed = true;
      return LineStatus::Complete;
    }
    if (line->length < line->capacity) {
      line->text[line->length++] = static_cast<char>(c);
    } else {
      line->tooLong = true;
    }
  }
}

bool ReadCommandLine() {
  char kept[CommandLineLimit];
  InputLine line = {kept, CommandLineLimit};
  if (GatherLine(&line, true) == LineStatus::End) return false;
  SetCommandLine(kept, line.length);
  return true;
}
