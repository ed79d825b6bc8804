#include "console/uci.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "console/commands.h"
#include "console/console_state.h"
#include "console/gameflow.h"
#include "console/lineinput.h"
#include "console/output.h"
#include "console/timecontrol.h"
#include "engine/evaluate.h"
#include "engine/game.h"
#include "engine/legal.h"
#include "engine/notation.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

using Tokens = std::vector<std::string_view>;

constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// "position" carries the whole game on one line, far beyond the console's 120 characters.
constexpr int UciLineLimit = 1 << 17;
// The record keeps room for the result after the last move.
constexpr int MaxPositionMoves = GameRecordSize - 2;
// Budgets in milliseconds: the search ends at the first slice boundary past its budget.
constexpr int64_t NoBudget = -1;
constexpr int64_t DefaultBudget = 10000;  // a "go" without limits: the xboard mode's 10 seconds

char LineText[UciLineLimit];
InputLine Line = {LineText, UciLineLimit};

// A position as "position" gives it, in real squares (0 = a8 .. 63 = h1, the FEN's order).
struct UciMove {
  uint8_t from, to;
  uint8_t kind;  // promotion piece named: 0 none, 1 queen .. 4 knight
};
struct UciPosition {
  FenPosition start;
  bool standardStart;  // "startpos": the book can follow the game
  int moveCount;
  UciMove moves[MaxPositionMoves];
};
UciPosition Current;    // the position every "go" searches
UciPosition Requested;  // the one a "position" command is reading

// Thinking: slices run and input is polled between them. Held: an "infinite" or "ponder"
// search has ended by itself and its answer waits for "stop" or "ponderhit".
enum class SearchState { Idle, Thinking, Held };
SearchState State = SearchState::Idle;
bool HoldAnswer;  // the running search answers only on "stop" (or "ponderhit")
bool Pondering;
int64_t Budget = NoBudget;
int64_t PonderBudget;    // the budget "ponderhit" starts
std::string HeldAnswer;  // the bestmove line of a held search
std::chrono::steady_clock::time_point SearchStart;
int MateDepth;             // depth at which this search first showed a mate score; 0 none
int LastSearchWhite = -1;  // the engine's colour in the last search since the game began
bool LineDeferred;         // Line holds a command that runs once the search has ended
bool InputEnded;
bool QuitRequested;

void Say(const std::string& message) {
  PrintLine("info string " + message);
}

// Input quoted in a message: at most 40 characters, control and other bytes as '?'.
std::string Quoted(std::string_view text) {
  std::string shown(text.substr(0, 40));
  for (char& c : shown) {
    if (c < 32 || c > 126) c = '?';
  }
  return "'" + shown + (text.size() > 40 ? "...'" : "'");
}

Tokens Split(std::string_view text) {
  Tokens tokens;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find_first_of(" \t", at), text.size());
    if (end > at) tokens.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return tokens;
}

bool ParseNumber(std::string_view text, int64_t* value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, *value);
  return error == std::errc() && stop == end;
}

// ---- Moves in UCI form ------------------------------------------------------------------------
std::string UciMoveText(uint8_t from, uint8_t to) {
  // The engine always promotes to a queen.
  return CoordinateText(from, to) + (to >= PromotionFlag ? "q" : "");
}

bool ParseRealSquare(char file, char rank, uint8_t* square) {
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return false;
  *square = static_cast<uint8_t>((8 - (rank - '0')) * 8 + (file - 'a'));
  return true;
}

bool ParseMove(std::string_view text, UciMove* move) {
  if (text.size() != 4 && text.size() != 5) return false;
  if (!ParseRealSquare(text[0], text[1], &move->from)) return false;
  if (!ParseRealSquare(text[2], text[3], &move->to)) return false;
  move->kind = 0;
  if (text.size() == 5) {
    const char* kinds = "qrbn";
    const char* found = std::strchr(kinds, text[4] | 0x20);  // either case
    if (found == nullptr) return false;
    move->kind = static_cast<uint8_t>(found - kinds + 1);
  }
  return true;
}

std::string RealMoveText(const UciMove& move) {
  std::string text;
  for (uint8_t square : {move.from, move.to}) {
    text += static_cast<char>('a' + square % 8);
    text += static_cast<char>('8' - square / 8);
  }
  if (move.kind != 0) text += "qrbn"[move.kind - 1];
  return text;
}

// ---- Setting the game up ----------------------------------------------------------------------
// The game from the position's start and its moves, with the engine playing the side to move
// at the end. False with the reason when a move is not legal where it is played.
bool Install(const UciPosition& position, std::string* error) {
  const bool whiteToMoveAtEnd = position.start.whiteToMove != (position.moveCount % 2 == 1);
  BoardFlipped = whiteToMoveAtEnd ? 1 : 0;
  ResetGameState();
  ResetClocks();
  if (position.standardStart) {
    TurnState = BoardFlipped == 1 ? 0 : 1;
  } else {
    InstallSetupPosition(position.start);
  }
  for (int i = 0; i < position.moveCount; ++i) {
    const UciMove& move = position.moves[i];
    const bool whiteMoves = position.start.whiteToMove != (i % 2 == 1);
    const uint8_t side = whiteMoves == whiteToMoveAtEnd ? 1 : 2;
    // Real squares are the engine's own while it plays Black; turned round while it plays White.
    const uint8_t from = BoardFlipped ? 63 - move.from : move.from;
    const uint8_t to = BoardFlipped ? 63 - move.to : move.to;
    const uint8_t piece = GameBoard[from];
    const bool promotes = (piece == Pawn1 && RowOf(to) == 7) || (piece == Pawn2 && RowOf(to) == 0);
    const bool named = move.kind == 0 || promotes;  // a piece letter only on a promotion
    if (!named || !PlayLegalMove(side, from, to, move.kind == 0 ? 1 : move.kind)) {
      *error = "move " + std::to_string(i + 1) + " " + RealMoveText(move) + " is not legal there";
      return false;
    }
  }
  return true;
}

void RefusePosition(const std::string& reason) {
  Say("position refused: " + reason + "; the previous position is kept");
}

void PositionCommand(const Tokens& tokens) {
  size_t at = 1;
  std::string error;
  Requested.moveCount = 0;
  if (at < tokens.size() && tokens[at] == "startpos") {
    ParseFen(StartFen, &Requested.start, &error);
    Requested.standardStart = true;
    ++at;
  } else if (at < tokens.size() && tokens[at] == "fen") {
    std::string fen;
    for (++at; at < tokens.size() && tokens[at] != "moves"; ++at) {
      fen += ' ';
      fen += tokens[at];
    }
    if (!ParseSetupFen(fen, &Requested.start, &error)) return RefusePosition(error);
    Requested.standardStart = false;
  } else {
    return RefusePosition("startpos or fen expected");
  }
  if (at < tokens.size() && tokens[at] != "moves") {
    return RefusePosition(Quoted(tokens[at]) + " where moves should be");
  }
  for (++at; at < tokens.size(); ++at) {
    if (Requested.moveCount >= MaxPositionMoves) {
      return RefusePosition("more than " + std::to_string(MaxPositionMoves) + " moves");
    }
    if (!ParseMove(tokens[at], &Requested.moves[Requested.moveCount])) {
      return RefusePosition(Quoted(tokens[at]) + " is not a move");
    }
    ++Requested.moveCount;
  }
  if (!Install(Requested, &error)) return RefusePosition(error);
  Current = Requested;
}

void NewGame() {
  std::string error;
  ParseFen(StartFen, &Current.start, &error);
  Current.standardStart = true;
  Current.moveCount = 0;
  LastSearchWhite = -1;
}

// ---- Thinking output --------------------------------------------------------------------------
int64_t ElapsedMilliseconds() {
  const auto elapsed = std::chrono::steady_clock::now() - SearchStart;
  return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

bool BudgetMillisecondsSpent() {
  return Budget != NoBudget && ElapsedMilliseconds() >= Budget;
}

// The search scores mates as 9999 without their distance. It stops at the first iteration
// that finds one of its own, so a mate by the engine in n moves shows at depth 2n - 1 (depth
// 2 for n = 1); a mate against it keeps its score in later iterations, so the depth where it
// first showed counts: 2n.
void UciThinkingLine(uint8_t depth) {
  // A book move ends the search before its first step: there is no score to report.
  if (NodeCount <= 100) return;
  const int64_t ms = ElapsedMilliseconds();
  const int64_t nodes = NodeCount;
  std::string line = "info depth " + std::to_string(depth + 1) + " score ";
  if (RootScore >= MateScore || RootScore <= -MateScore) {
    if (MateDepth == 0) MateDepth = depth;
    const int moves = RootScore > 0 ? (MateDepth + 1) / 2 : MateDepth / 2;
    line += "mate " + std::string(RootScore > 0 ? "" : "-") + std::to_string(std::max(1, moves));
  } else {
    line += "cp " + std::to_string(RootScore);
  }
  line += " nodes " + std::to_string(nodes) + " nps " +
          std::to_string(nodes * 1000 / std::max<int64_t>(ms, 1)) + " time " + std::to_string(ms);
  std::string variation = PrincipalVariationText(UciMoveText);
  if (!variation.empty()) {
    variation.pop_back();  // the trailing space
    line += " pv " + variation;
  }
  PrintLine(line);
}

// ---- The search -------------------------------------------------------------------------------
// The move just played and, when it is legal after it, the reply the search expected.
std::string BestMoveLine() {
  std::string line = "bestmove " + UciMoveText(PlayedFrom, PlayedTo);
  if (HintFrom != HintTo && FindLegalMove(2, HintFrom, TargetOf(HintTo)) >= 0) {
    line += " ponder " + UciMoveText(HintFrom, HintTo);
  }
  return line;
}

void Answer(const std::string& line) {
  if (HoldAnswer && !InputEnded) {
    HeldAnswer = line;
    State = SearchState::Held;
    return;
  }
  PrintLine(line);
  State = SearchState::Idle;
}

void SearchStep() {
  if (SearchSlice()) {
    Answer(BestMoveLine());
  } else if (TurnState != 0 || GameStatus == 3 || GameStatus == 4) {
    Answer("bestmove 0000");  // nothing left to search (never expected: "go" checks first)
  }
}

// Ends the search now with the best move found so far, or gives a held answer.
void StopSearch() {
  HoldAnswer = false;
  Pondering = false;
  if (State == SearchState::Held) {
    PrintLine(HeldAnswer);
    State = SearchState::Idle;
  }
  if (State != SearchState::Thinking) return;
  Budget = 0;  // the next slice's time check ends the search
  while (State == SearchState::Thinking) SearchStep();
}

void PonderHit() {
  if (!Pondering) return;
  if (State == SearchState::Held) {
    StopSearch();
    return;
  }
  // From now on the search runs on the budget of the move, as if it had just begun.
  Pondering = false;
  HoldAnswer = false;
  Budget = PonderBudget == NoBudget ? NoBudget : ElapsedMilliseconds() + PonderBudget;
}

void GoCommand(const Tokens& tokens) {
  // A clock can be sent below zero; only a field not sent at all is absent.
  constexpr int64_t Absent = INT64_MIN;
  int64_t wtime = Absent, btime = Absent, winc = 0, binc = 0, movesToGo = 0;
  int64_t moveTime = Absent, depth = Absent;
  bool infinite = false, ponder = false;
  struct Field {
    const char* name;
    int64_t* value;
  };
  const Field fields[] = {{"wtime", &wtime}, {"btime", &btime},         {"winc", &winc},
                          {"binc", &binc},   {"movestogo", &movesToGo}, {"movetime", &moveTime},
                          {"depth", &depth}};
  for (size_t at = 1; at < tokens.size(); ++at) {
    infinite = infinite || tokens[at] == "infinite";
    ponder = ponder || tokens[at] == "ponder";
    for (const Field& field : fields) {
      if (tokens[at] != field.name) continue;
      if (at + 1 < tokens.size() && ParseNumber(tokens[at + 1], field.value)) {
        ++at;
      } else {
        Say(std::string("go: ") + field.name + " without a number is ignored");
      }
    }
  }

  std::string error;
  Install(Current, &error);  // accepted when it was set, so it is set up again the same way
  if (!SideHasLegalMove(1)) {
    std::memcpy(Board, GameBoard, sizeof Board);
    Say(KingAttacked1() ? "no legal move: checkmate" : "no legal move: stalemate");
    PrintLine("bestmove 0000");
    return;
  }
  // Whatever the record says about draws, the GUI asks for a move: the engine is to move.
  std::memcpy(Board, GameBoard, sizeof Board);
  GameStatus = KingAttacked1() ? 1 : 0;
  TurnState = 0;

  // The budget from the engine's own clock.
  const int64_t ownTime = BoardFlipped == 1 ? wtime : btime;
  int64_t budget = DefaultBudget;
  MaxDepth = 30;
  if (ownTime != Absent) {
    ScoreDrop = LastSearchWhite == BoardFlipped ? RootScore - MaterialBalance() : 0;
    budget = MoveBudgetMilliseconds(ownTime, BoardFlipped == 1 ? winc : binc, movesToGo);
  }
  if (moveTime != Absent) budget = std::max<int64_t>(moveTime, 0);
  if (depth > 0) {
    MaxDepth = static_cast<uint8_t>(std::clamp<int64_t>(depth, 3, 30));
    if (ownTime == Absent && moveTime == Absent) budget = NoBudget;
  }
  if (infinite) {
    budget = NoBudget;
    MaxDepth = 30;
  }
  PonderBudget = budget;
  Budget = ponder ? NoBudget : budget;

  LastSearchWhite = BoardFlipped;
  HintFrom = HintTo = 0;  // a book move leaves no expected reply
  // Each "go" reports its own score, even one the last search ended with (no printed score is
  // ever an open bound).
  LastShownScore = OpenBound;
  MateDepth = 0;
  HoldAnswer = infinite || ponder;
  Pondering = ponder;
  SearchStart = std::chrono::steady_clock::now();
  State = SearchState::Thinking;
}

void AnswerUci() {
  PrintLine("id name KorvaneWB v1.42");
  PrintLine("id author the Korvane developers");
  PrintLine("uciok");
}

// One command line, in any state: while thinking, what is not about the search waits for its
// end (and ends an "infinite" or "ponder" search at once, since only "stop" would).
void Dispatch() {
  if (Line.tooLong) {
    Say("a line of more than " + std::to_string(UciLineLimit) + " characters is ignored");
    return;
  }
  const Tokens tokens = Split(std::string_view(LineText, static_cast<size_t>(Line.length)));
  if (tokens.empty()) return;
  const std::string_view command = tokens[0];
  if (command == "isready") {
    PrintLine("readyok");
  } else if (command == "stop") {
    StopSearch();
  } else if (command == "ponderhit") {
    PonderHit();
  } else if (command == "quit") {
    QuitRequested = true;
  } else if (command == "debug" || command == "register") {
    // Nothing to switch on and nothing to register.
  } else if (State == SearchState::Thinking) {
    LineDeferred = true;
    if (HoldAnswer) StopSearch();
  } else {
    if (State == SearchState::Held) StopSearch();
    if (command == "uci") {
      AnswerUci();
    } else if (command == "ucinewgame") {
      NewGame();
    } else if (command == "position") {
      PositionCommand(tokens);
    } else if (command == "go") {
      GoCommand(tokens);
    } else if (command == "setoption") {
      Say("there are no options: " + Quoted(std::string_view(LineText, Line.length)) +
          " is ignored");
    } else {
      Say("unknown command " + Quoted(command) + " is ignored");
    }
  }
}

// Lines that have arrived while the engine thinks, without waiting for more.
void PollInput() {
  while (State == SearchState::Thinking && !LineDeferred && !InputEnded && !QuitRequested) {
    const LineStatus status = GatherLine(&Line, false);
    if (status == LineStatus::Partial) return;
    if (status == LineStatus::End) {
      // Nothing more will come: the search ends as it would have, an endless one at once.
      InputEnded = true;
      if (HoldAnswer) StopSearch();
      return;
    }
    Dispatch();
    if (!LineDeferred) ClearInputLine(&Line);
  }
}

}  // namespace

int RunUci() {
  SetThinkingOutput(UciThinkingLine);
  SetBudgetTest(BudgetMillisecondsSpent);
  AnswerUci();
  NewGame();
  while (!QuitRequested) {
    if (State == SearchState::Thinking) {
      SearchStep();
      if (State == SearchState::Thinking) PollInput();
      continue;
    }
    if (!LineDeferred && GatherLine(&Line, true) == LineStatus::End) {
      InputEnded = true;
      StopSearch();  // a held answer is still given
      break;
    }
    LineDeferred = false;
    Dispatch();
    if (!LineDeferred) ClearInputLine(&Line);
  }
  return 0;
}
