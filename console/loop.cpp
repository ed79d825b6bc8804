#include "console/loop.h"

#include <string>

#include "console/commands.h"
#include "console/console_state.h"
#include "console/gameflow.h"
#include "console/lineinput.h"
#include "console/output.h"
#include "console/uci.h"
#include "engine/game.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

bool GameOver() {
  return GameStatus == 3 || GameStatus == 4;
}

bool LineRead = false;      // a command line has been read
bool UciRequested = false;  // the first line was "uci": the UCI session takes over

// A line of more than two characters after the table: a move for side 2, played as typed in
// force mode, tested otherwise.
void HandleTypedMove() {
  bool played = false, waiting = false;
  if (ForceMode == 1) {
    if (TurnState == 1) {
      played = ForcedMove(2);
    } else if (TurnState == 0 && !GameOver() && ForcedMoveLine(1)) {
      waiting = true;  // side 1's move: the next pass plays it
    }
  } else if (TurnState == 1 && !GameOver()) {
    OpponentMove();
    played = MoveFound == 1;
    if (played) ForceGoPending = 0;  // the engine answers it
  }
  if (!played && !waiting && MoveFound == 0 && CommandLooksLikeMove()) {
    PrintLine("Illegal move: " + std::string(CommandLine.text, CommandLine.length));
  }
}

}  // namespace

void ConsoleStartup() {
  EngineStartup();
  PrintBanner();
  BoardFlipped = 0;
  ForceMode = 0;
  SetupPending = 0;
  OpponentIsComputer = 0;
  ConsoleMode = 1;
  SecondsPerMove = 10;
  MaxDepth = 30;
  ClearCommandLine();
  ResetLineInput();
  StartNewGame();
}

bool RunPass() {
  // After "force" the engine moves only once told to, by "go", "new" or an opponent's move, also
  // when "computer" has ended force mode.
  const bool waiting = ForceMode == 1 || ForceGoPending == 1;
  if (TurnState == 0 && !GameOver() && ForceMode == 1 && ForcedMoveLine(1)) ForcedMove(1);
  if (TurnState == 0 && !GameOver() && !waiting) EngineTurn();
  SecondTick();  // whole seconds of thinking for the search's budget
  if (TurnState > 0 || waiting) {
    ClearCommandLine();
    // The end of the input ends the program as "quit" does.
    if (!ReadCommandLine()) return false;
    if (!LineRead && CommandIs("uci")) {
      UciRequested = true;
      return false;
    }
    LineRead = true;
    DecodeTypedMove();
    if (TurnState == 2) PrintLine(ResultText);
    DispatchCommand();
    TakeOverForMove();
    if (CommandLine.length > 2) HandleTypedMove();
  }
  return !CommandIs("quit");
}

int RunConsole() {
  ConsoleStartup();
  while (RunPass()) {
  }
  const int status = UciRequested ? RunUci() : 0;
  EngineShutdown();
  return status;
}
