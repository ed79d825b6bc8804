#include "console/output.h"

#include <cstdio>

#include "engine/notation.h"
#include "engine/search.h"
#include "engine/state.h"
#include "engine/timectl.h"

namespace {

void WriteToStandardOutput(const char* data, size_t size) {
  std::fwrite(data, 1, size, stdout);
  std::fflush(stdout);
}

OutputSink CurrentSink = WriteToStandardOutput;

// Appends text and then spaces up to width; longer fields are kept whole.
void AppendPadded(std::string* line, const std::string& field, size_t width) {
  *line += field;
  if (field.size() < width) line->append(width - field.size(), ' ');
}

}  // namespace

void SetOutputSink(OutputSink sink) { CurrentSink = sink ? sink : WriteToStandardOutput; }

void PrintLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  CurrentSink(line.data(), line.size());
}

void PrintBanner() {
  PrintLine("");
  PrintLine("KorvaneWB v1.42");
  PrintLine("A chess engine for the xboard and WinBoard interfaces, also playable here.");
  PrintLine("Using a hashtable-size of about 16MB. ");
  PrintLine("It searches with iterative deepening and knows a few openings by heart.");
  PrintLine("You have White: type your moves as co-ordinates, e2e4 [enter].");
  PrintLine("Type huh [enter] for the list of commands.");
  PrintLine("Type quit [enter] to leave.");
  PrintLine("");
}

void PrintFeatures() {
  PrintLine("feature reuse=0");
  PrintLine("feature analyze=0");
  PrintLine("feature colors=1");
  PrintLine("feature setboard=1");
  PrintLine("feature pause=0");
  PrintLine("feature time=1");
  PrintLine("feature myname=\"KorvaneWB v1.42\"");
  PrintLine("feature done=1");
}

void PrintHelpText() {
  PrintLine("");
  PrintLine("List of commands you can use with my program : ");
  PrintLine("");
  PrintLine("-Tournament time: level [moves] [minutes] 0     for instance: level 60 60 0");
  PrintLine("-Let Korvane be white by typing : white [enter]   go [enter]");
  PrintLine("-Take back 2 halfmoves: remove [enter]");
  PrintLine("-Want a hint : hint [enter]");
  PrintLine("-Switch evaluationdata on/off : post [enter]  nopost [enter]");
  PrintLine("-My program understands the setboard command, see winboard documentation for");
  PrintLine("a description on how to use this (and all other) commands.");
  PrintLine("-Play a move by typing the co-ordinates, to play Nf3 type : g1f3 [enter]");
  PrintLine("-Quit by typing : quit [enter]");
}

void PrintBoardText() {
  static constexpr char Letters[] = "kqrbnp";
  PrintLine("");
  // Black is side 1 while the engine plays Black, side 2 while it plays White.
  const int blackSide = BoardFlipped ? 2 : 1;
  std::string line;
  for (int square = 0; square < 64; ++square) {
    const int code = GameBoard[square];
    const int side = code / 10, kind = code % 10;
    if (code >= 10 && code <= 25 && kind <= 5) {
      const char letter = Letters[kind];
      line += side == blackSide ? letter : static_cast<char>(letter - 'a' + 'A');
    } else {
      line += '.';
    }
    line += ' ';
    if (square % 8 == 7) {
      PrintLine(line);
      line.clear();
    }
  }
  PrintLine("");
}

void PrintHint() { PrintLine("Hint: " + CoordinateText(HintFrom, HintTo)); }

std::string FormatThinkingLine(int depth, int score, int32_t seconds, int32_t nodes,
                             const std::string& variation) {
  const int shownDepth = depth + 1;
  std::string line = std::to_string(shownDepth);
  line += shownDepth < 10 ? "  " : " ";
  AppendPadded(&line, std::to_string(score), 6);
  // The protocol counts thinking time in centiseconds.
  AppendPadded(&line, std::to_string(static_cast<int64_t>(seconds) * 100), 5);
  AppendPadded(&line, std::to_string(nodes), 10);
  line += variation;
  return line;
}

void ConsoleThinkingLine(uint8_t depth) {
  PrintLine(FormatThinkingLine(depth, RootScore, ThinkSeconds, NodeCount, PrincipalVariationText()));
}

std::string SummaryText(int32_t nodes, int32_t seconds) {
  const int32_t rate = seconds - 1 < 1 ? nodes : nodes / (seconds - 1);
  return "Total nodes: " + std::to_string(nodes) + "  (n/sec: " + std::to_string(rate) + ")";
}
