// Line input, move decoding and the printed texts, in-process.
#include <gtest/gtest.h>

#include <string>

#include "console/commands.h"
#include "console/console_state.h"
#include "console/lineinput.h"
#include "console/output.h"
#include "engine/board.h"
#include "engine/state.h"

namespace {

std::string Input;
size_t InputAt = 0;
int FromInput() {
  return InputAt < Input.size() ? static_cast<unsigned char>(Input[InputAt++]) : -1;
}

void Feed(const std::string& text) {
  Input = text;
  InputAt = 0;
  ResetLineInput();
  SetByteSource(FromInput);
}

std::string ReadOne() {
  if (!ReadCommandLine()) return "<end>";
  return std::string(CommandLine.text, static_cast<size_t>(CommandLine.length));
}

std::string Printed;
void Capture(const char* data, size_t size) { Printed.append(data, size); }

class Printing : public ::testing::Test {
 protected:
  void SetUp() override {
    Printed.clear();
    SetOutputSink(Capture);
  }
  void TearDown() override { SetOutputSink(nullptr); }
};

}  // namespace

// Line ends and long lines are covered by the transcripts; here the bytes a pipe can carry.
TEST(LineInput, AnyByteIsKeptAsIs) {
  Feed(std::string("e2\0e4\xff\n", 7));
  EXPECT_EQ(ReadOne(), std::string("e2\0e4\xff", 6));
  EXPECT_EQ(ReadOne(), "<end>");
  SetByteSource(StandardInputByte);
}

TEST(MoveDecoding, SquaresFollowTheBoardOrientation) {
  SetCommandLine("e2e4", 4);
  BoardFlipped = 0;
  DecodeTypedMove();
  EXPECT_EQ(TypedFrom, 52);
  EXPECT_EQ(TypedTo, 36);
  BoardFlipped = 1;
  DecodeTypedMove();
  EXPECT_EQ(TypedFrom, 11);
  EXPECT_EQ(TypedTo, 27);
  // Characters outside a..h or 1..8 count 0.
  SetCommandLine("z9h8", 4);
  BoardFlipped = 0;
  DecodeTypedMove();
  EXPECT_EQ(TypedFrom, 0);
  EXPECT_EQ(TypedTo, 7);
  BoardFlipped = 0;
}

TEST_F(Printing, ThinkingLineColumns) {
  // Depth 9 shows 10 and one space, depth 8 shows 9 and two.
  EXPECT_EQ(FormatThinkingLine(9, 12, 0, 5, "e2-e4 ").substr(0, 3), "10 ");
  EXPECT_EQ(FormatThinkingLine(8, 12, 0, 5, "e2-e4 ").substr(0, 3), "9  ");
  // Score -25 in six columns, 7 seconds as 700 centiseconds in five, nodes in ten.
  EXPECT_EQ(FormatThinkingLine(3, -25, 7, 12345, "Ng1-f3 "), "4  -25   700  12345     Ng1-f3 ");
  // Wider fields are printed whole.
  EXPECT_EQ(FormatThinkingLine(3, 9999, 1234, 1234567890, ""), "4  9999  1234001234567890");
}

TEST_F(Printing, SummaryRateUsesSecondsLessOne) {
  EXPECT_EQ(SummaryText(5000, 0), "Total nodes: 5000  (n/sec: 5000)");
  EXPECT_EQ(SummaryText(5000, 1), "Total nodes: 5000  (n/sec: 5000)");
  EXPECT_EQ(SummaryText(5000, 2), "Total nodes: 5000  (n/sec: 5000)");
  EXPECT_EQ(SummaryText(5000, 3), "Total nodes: 5000  (n/sec: 2500)");
}

TEST_F(Printing, BoardShowsTheOpponentAtTheBottom) {
  SetPieceValues();
  BoardFlipped = 0;
  SetStartPosition(GameBoard);
  PrintBoardText();
  EXPECT_EQ(Printed,
            "\r\nr n b q k b n r \r\np p p p p p p p \r\n. . . . . . . . \r\n. . . . . . . . \r\n"
            ". . . . . . . . \r\n. . . . . . . . \r\nP P P P P P P P \r\nR N B Q K B N R \r\n\r\n");
  // The engine as White sees the board from Black's side: rank 1 first, files h to a.
  Printed.clear();
  BoardFlipped = 1;
  SetStartPosition(GameBoard);
  PrintBoardText();
  EXPECT_EQ(Printed,
            "\r\nR N B K Q B N R \r\nP P P P P P P P \r\n. . . . . . . . \r\n. . . . . . . . \r\n"
            ". . . . . . . . \r\n. . . . . . . . \r\np p p p p p p p \r\nr n b k q b n r \r\n\r\n");
  BoardFlipped = 0;
}
