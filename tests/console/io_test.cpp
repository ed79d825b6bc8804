// The columns of the thinking line and the summary after a search.
#include <gtest/gtest.h>

#include "console/output.h"

TEST(Printing, ThinkingLineColumns) {
  // Depth 9 shows 10 and one space, depth 8 shows 9 and two.
  EXPECT_EQ(FormatThinkingLine(9, 12, 0, 5, "e2-e4 ").substr(0, 3), "10 ");
  EXPECT_EQ(FormatThinkingLine(8, 12, 0, 5, "e2-e4 ").substr(0, 3), "9  ");
  // Score -25 in six columns, 7 seconds as 700 centiseconds in five, nodes in ten.
  EXPECT_EQ(FormatThinkingLine(3, -25, 7, 12345, "Ng1-f3 "), "4  -25   700  12345     Ng1-f3 ");
  // Wider fields are printed whole.
  EXPECT_EQ(FormatThinkingLine(3, 9999, 1234, 1234567890, ""), "4  9999  1234001234567890");
}

TEST(Printing, SummaryRateUsesSecondsLessOne) {
  EXPECT_EQ(SummaryText(5000, 0), "Total nodes: 5000  (n/sec: 5000)");
  EXPECT_EQ(SummaryText(5000, 1), "Total nodes: 5000  (n/sec: 5000)");
  EXPECT_EQ(SummaryText(5000, 2), "Total nodes: 5000  (n/sec: 5000)");
  EXPECT_EQ(SummaryText(5000, 3), "Total nodes: 5000  (n/sec: 2500)");
}
