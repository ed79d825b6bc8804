#include "console/commands.h"

#include <csignal>
#include <string>

#include "console/console_state.h"
#include "console/gameflow.h"
#include "console/output.h"
#include "console/timecontrol.h"
#include "engine/game.h"
#include "engine/legal.h"
#include "engine/setup.h"
#include "engine/state.h"

namespace {

int FileContribution(char letter) {
  if (letter < 'a' || letter > 'h') return 0;
  return BoardFlipped ? 7 - (letter - 'a') : letter - 'a';
}

int RankContribution(char digit) {
  if (digit < '1' || digit > '8') return 0;
  return BoardFlipped ? (digit - '1') * 8 : (8 - (digit - '0')) * 8;
}

// Characters 1, 2, 4, 5, 6 are s, e, b, o, a.
bool IsSetBoard() {
  return CommandChar(1) == 's' && CommandChar(2) == 'e' && CommandChar(4) == 'b' &&
         CommandChar(5) == 'o' && CommandChar(6) == 'a';
}

bool StartsWith(const char* prefix) {
  for (int i = 0; prefix[i] != '\0'; ++i) {
    if (CommandChar(i + 1) != prefix[i]) return false;
  }
  return true;
}

// The game so far as a set-up position with the given side to move.
void KeepGameAsSetup(bool whiteToMove) {
  SetupPending = 1;
  FenPosition& position = SetupPosition;
  for (int square = 0; square < 64; ++square) {
    uint8_t code = GameBoard[BoardFlipped ? 63 - square : square];
    if (BoardFlipped && code >= 10) code = static_cast<uint8_t>(code < 20 ? code + 10 : code - 10);
    position.squares[square] = code;
  }
  position.whiteToMove = whiteToMove;
  // Castling digits: tens the engine, units the opponent; 1 short, 2 long, 3 both.
  const int engineDigit = GameCastleRights / 10 % 10, opponentDigit = GameCastleRights % 10;
  const int whiteDigit = BoardFlipped ? engineDigit : opponentDigit;
  const int blackDigit = BoardFlipped ? opponentDigit : engineDigit;
  position.whiteShort = (whiteDigit & 1) != 0;
  position.whiteLong = (whiteDigit & 2) != 0;
  position.blackShort = (blackDigit & 1) != 0;
  position.blackLong = (blackDigit & 2) != 0;
  position.epFile = 0;
  if (GameEpFile >= 1 && GameEpFile <= 8) {
    position.epFile = BoardFlipped ? 8 - (GameEpFile - 1) : GameEpFile;
  }
}

// True when it started a game. xboard sends "computer" between "force" and "go" when it hands
// the engine a loaded position or opening line, so force mode's "go" also follows a "force"
// that "computer" has since ended.
bool GoCommand() {
  if (ForceMode == 0 && HalfMoveCount == 0) {
    ForceGoPending = 0;
    BoardFlipped = 1;
    StartNewGame();
    return true;
  }
  if (ForceMode == 0 && ForceGoPending == 0) return false;
  // The engine's colour is to move.
  if (SetupPending == 0) KeepGameAsSetup(RequestedEngineWhite == 1);
  ForceMode = ForceGoPending = 0;
  BoardFlipped = RequestedEngineWhite;
  StartNewGame();
  return true;
}

// After a take-back the side to move follows from who began the game and how many half-moves
// are left, never from the turn before it: a count cut at 0, or the placeholder count a waiting
// set-up leaves, would otherwise hand the move to the side that is not to move. A finished game
// stays finished, so the loop keeps reading commands.
void TurnAfterTakeBack() {
  if (GameStatus == 3 || GameStatus == 4) {
    TurnState = 2;
    return;
  }
  const bool engineMovesNext = (StartOfGame.engineMovesFirst == 1) == (HalfMoveCount % 2 == 0);
  TurnState = engineMovesNext ? 0 : 1;
}

// A set-up waiting for its game counts as one half-move: a take-back takes it back too, and the
// old game goes on.
void RemoveCommand() {
  SetupPending = 0;
  MovesThisControl -= 1;
  if (MovesThisControl < 0) MovesThisControl = MovesPerControl;
  HalfMoveCount = static_cast<int16_t>(HalfMoveCount < 2 ? 0 : HalfMoveCount - 2);
  ReplayHistory();
  TurnAfterTakeBack();
}

void UndoCommand() {
  // Nothing has been played since the game began: there is nothing to take back.
  if (HalfMoveCount <= 0) return;
  SetupPending = 0;
  HalfMoveCount = static_cast<int16_t>(HalfMoveCount - 1);
  ReplayHistory();
  TurnAfterTakeBack();
}

}  // namespace

void TakeOverForMove() {
  if (!CommandLooksLikeMove()) return;
  if (SetupPending == 1) {
    // In force mode either side's move is played, so the engine keeps its colour; outside it
    // the move is the opponent's, so the engine plays the side not to move.
    if (ForceMode == 0) BoardFlipped = SetupPosition.whiteToMove ? 0 : 1;
    StartNewGame();
  } else if (ForceMode == 0 && ForceGoPending == 1 && TurnState == 0) {
    // Force-mode moves left the engine's colour to move (an opening line of odd length), and
    // the opponent answers: the engine takes the other side of the game so far.
    const bool whiteToMove = BoardFlipped == 1;
    KeepGameAsSetup(whiteToMove);
    BoardFlipped = whiteToMove ? 0 : 1;
    StartNewGame();
  }
  DecodeTypedMove();  // in the orientation of the engine's colour now
}

void DecodeTypedMove() {
  TypedFrom =
      static_cast<uint8_t>(FileContribution(CommandChar(1)) + RankContribution(CommandChar(2)));
  TypedTo =
      static_cast<uint8_t>(FileContribution(CommandChar(3)) + RankContribution(CommandChar(4)));
}

bool ParseSetupFen(std::string fen, FenPosition* position, std::string* error) {
  // Missing castling and en-passant fields mean every right that the pieces' places allow and
  // no en passant.
  int fields = 0;
  bool inField = false;
  for (char c : fen) {
    if (c != ' ' && !inField) ++fields;
    inField = c != ' ';
  }
  if (fields == 2) fen += " KQkq -";
  if (fields == 3) fen += " -";

  FenPosition parsed;
  if (!ParseFen(fen, &parsed, error)) return false;
  // The side that is not to move must not be in check: Black is side 1 on this board.
  for (int square = 0; square < 64; ++square) Board[square] = parsed.squares[square];
  const bool acceptable = parsed.whiteToMove ? KingAttacked1() == 0 : KingAttacked2() == 0;
  for (int square = 0; square < 64; ++square) Board[square] = GameBoard[square];
  if (!acceptable) {
    *error = "the side not to move is in check";
    return false;
  }
  *position = parsed;
  return true;
}

void SetBoardCommand() {
  // The FEN starts after "setboard ".
  const std::string fen(CommandLine.text + (CommandLine.length > 9 ? 9 : CommandLine.length),
                        CommandLine.text + CommandLine.length);
  FenPosition position;
  std::string error;
  if (!ParseSetupFen(fen, &position, &error)) {
    PrintLine("tellusererror Illegal position");
    return;
  }
  SetupPosition = position;
  SetupPending = 1;
  HalfMoveCount = 1;
}

void DispatchCommand() {
  if (CommandIs("xboard")) {
    PrintFeatures();
    ConsoleMode = 0;
    // xboard interrupts its engines before every "time"; only a person at a terminal means it.
    std::signal(SIGINT, SIG_IGN);
  }
  if (CommandIs("new")) {
    ForceGoPending = 0;
    BoardFlipped = 0;
    StartNewGame();
    return;
  }
  if (CommandIs("white")) RequestedEngineWhite = 1;
  if (CommandIs("black")) RequestedEngineWhite = 0;
  if (CommandIs("hint")) PrintHint();
  if (CommandIs("huh")) {
    PrintHelpText();
    PrintBoardText();
  }
  if (CommandIs("computer")) OpponentIsComputer = 1;
  if (CommandIs("force")) ForceMode = ForceGoPending = 1;
  if (OpponentIsComputer == 1) ForceMode = 0;
  if (IsSetBoard()) SetBoardCommand();
  if (CommandIs("remove")) RemoveCommand();
  if (CommandIs("undo")) UndoCommand();
  if (CommandIs("go") && GoCommand()) return;
  if (CommandIs("post")) ThinkingShown = 1;
  if (CommandIs("nopost")) ThinkingShown = 0;
  if (StartsWith("st ")) SetFixedSeconds();
  if (StartsWith("sd ")) SetFixedDepth();
  if (StartsWith("lev")) SetLevel();
  if (StartsWith("time")) SetEngineClock();
}
