#include "console/console_state.h"

#include <cstring>

#include "engine/game.h"

CommandText CommandLine = {{' '}, 1};

void SetCommandLine(const char* text, int length) {
  if (length > CommandLineLimit) length = CommandLineLimit;
  if (length < 0) length = 0;
  std::memcpy(CommandLine.text, text, static_cast<size_t>(length));
  CommandLine.length = length;
}

void ClearCommandLine() { SetCommandLine(" ", 1); }

bool CommandIs(const char* word) {
  const size_t length = std::strlen(word);
  return static_cast<size_t>(CommandLine.length) == length &&
         std::memcmp(CommandLine.text, word, length) == 0;
}

char CommandChar(int position) {
  if (position < 1 || position > CommandLine.length) return '\0';
  return CommandLine.text[position - 1];
}

bool CommandSpaceAt(int position) {
  return position > CommandLine.length || CommandChar(position) == ' ';
}

void AppendSpaces(int count) {
  while (count-- > 0 && CommandLine.length < CommandLineLimit) {
    CommandLine.text[CommandLine.length++] = ' ';
  }
}

bool CommandLooksLikeMove() {
  const char a = CommandChar(1), b = CommandChar(2), c = CommandChar(3), d = CommandChar(4);
  return a >= 'a' && a <= 'h' && b >= '1' && b <= '8' && c >= 'a' && c <= 'h' && d >= '1' &&
         d <= '8';
}

uint8_t ConsoleMode = 1;
uint8_t ForceMode;
uint8_t ForceGoPending;
uint8_t OpponentIsComputer;
uint8_t RequestedEngineWhite;

uint8_t SetupPending;
FenPosition SetupPosition;

GameStart StartOfGame;

int32_t MovesPerControl;
int32_t MovesThisControl;
int32_t IncrementSeconds;
int32_t RemainingCentis;
uint8_t TimeReceived;
int32_t ScoreDrop;

uint8_t MoveFound;
uint8_t TypedFrom, TypedTo;
uint8_t PromotionHistory[GameRecordSize];
