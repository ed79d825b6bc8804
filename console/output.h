// Everything the console program prints: each line ends in CR LF and is flushed at once.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Where output goes; the default (also for nullptr) writes to standard output and flushes.
using OutputSink = void (*)(const char* data, size_t size);
void SetOutputSink(OutputSink sink);
void PrintLine(std::string_view text);

void PrintBanner();            // the nine start-up lines
void PrintFeatures();          // the answer to "xboard"
void PrintHelpText();          // the answer to "huh", before the board
void PrintBoardText();         // GameBoard with the opponent's pieces at the bottom
void PrintHint();              // "Hint: " and the expected reply

// The thinking line the search asks for (installed with SetThinkingOutput).
void ConsoleThinkingLine(uint8_t depth);
// The line as printed, from its fields (time in whole seconds, shown in centiseconds).
std::string FormatThinkingLine(int depth, int score, int32_t seconds, int32_t nodes,
                             const std::string& variation);
// "Total nodes: ..." after a search.
std::string SummaryText(int32_t nodes, int32_t seconds);
