#include "game3d/panels.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/game.h"
#include "engine/search.h"
#include "engine/state.h"
#include "game3d/menutext.h"
#include "game3d/settings.h"
#include "platform3d/palette.h"
#include "platform3d/platform.h"
#include "platform3d/spans.h"

namespace {

constexpr uint8_t PanelColour = 25;
constexpr uint8_t PanelTextColour = 1;
constexpr uint8_t FrameColour = 20;
constexpr uint8_t HeadingBarColour = 10;
constexpr uint8_t ListTextColour = 28;
constexpr uint8_t ButtonOuterColour = 12;
constexpr uint8_t ButtonInnerColour = 6;
constexpr uint8_t ArrowColour = 20;
// Dark enough for the light text to read over the floor, the board and either clock dial.
constexpr uint8_t ListPanelColour = 5;
constexpr uint8_t EndPanelColour = 5;
constexpr uint8_t EndTextColour = 25;
constexpr uint8_t ResultTextColour = 28;
constexpr char GameOverText[] = "the game has ended.   well done.";
constexpr int16_t GameOverX = 300, GameOverY = 280, ResultY = 294;

constexpr int16_t FirstMoveRowY = 35;
constexpr int16_t MoveRowHeight = 8;
// A scroll button is pressed when the mouse is strictly inside it.
constexpr int16_t ButtonLeft = 680, ButtonRight = 689;
constexpr int16_t UpTop = 30, UpBottom = 65, DownBottom = 100;
// With fewer half-moves than this the list stays at the top.
constexpr int16_t FullListHalfMoves = 39;

int16_t At(int value) {
  return static_cast<int16_t>(value);
}

// A rectangle given by its left-top and right-bottom corners.
void Box(int left, int top, int right, int bottom, uint8_t colourIndex) {
  FillQuad(At(left), At(top), At(right), At(top), At(right), At(bottom), At(left), At(bottom),
           PaletteColour(colourIndex));
}

void Triangle(int x1, int y1, int x2, int y2, int x3, int y3, uint8_t colourIndex) {
  FillQuad(At(x1), At(y1), At(x2), At(y2), At(x3), At(y3), At(x3), At(y3),
           PaletteColour(colourIndex));
}

// Half-move `index` of the record as the list shows it: empty past the result entry and
// outside the record.
const char* RecordText(int index) {
  if (index < 0 || index > HalfMoveCount || index >= GameRecordSize) return "";
  return GameRecord[index];
}

bool Inside(int left, int top, int right, int bottom) {
  return MouseX > left && MouseX < right && MouseY > top && MouseY < bottom;
}

int16_t ClampOffset(int offset) {
  if (offset < 0) return 0;
  if (offset > MoveListOffsetMax) return MoveListOffsetMax;
  return static_cast<int16_t>(offset);
}

}  // namespace

void DrawThinkingPanel() {
  const int x = ThinkingPanelX, y = ThinkingPanelY;
  const uint16_t ink = PaletteColour(PanelTextColour);
  Box(x, y, x + 380, y + 30, PanelColour);
  DrawMenuText(At(x + 5), At(y + 3),
               "evaluation       plydepth     nodes              thinking                 score",
               ink, 1);
  DrawMenuText(At(x + 5), At(y + 16), "best move found so far   ", ink, 1);
  DrawMenuText(At(x + 110), At(y + 16), BestMoveText, ink, 1);
  if (TurnState != 0) return;
  DrawMenuText(At(x + 150), At(y + 3), std::to_string(NodeCount), ink, 1);
  DrawMenuText(At(x + 110), At(y + 3), std::to_string(CurrentDepth + 1), ink, 1);
  DrawMenuText(At(x + 240), At(y + 3), CurrentMoveText(), ink, 1);
  DrawMenuText(At(x + 330), At(y + 3), ScoreText(RootScore), ink, 1);
}

void DrawMoveList() {
  Box(690, 20, 796, 206, ListPanelColour);
  Box(690, 20, 795, 21, FrameColour);
  Box(690, 205, 795, 206, FrameColour);
  Box(690, 20, 691, 205, FrameColour);
  Box(795, 20, 796, 205, FrameColour);

  const uint16_t ink = PaletteColour(ListTextColour);
  Box(700, 21, 785, 29, HeadingBarColour);
  DrawMenuText(700, 22, PlayerSideInGame() == 0 ? "     you      K-3d " : "     K-3d     you ", ink,
               1);

  for (int k = 0; k < MoveListRows; ++k) {
    const int move = MoveListOffset + k;  // counted from 0
    const int16_t rowY = At(FirstMoveRowY + MoveRowHeight * k);
    DrawMenuText(700, rowY, std::to_string(move + 1) + ".", ink, 1);
    DrawMenuText(720, rowY, RecordText(2 * move), ink, 1);
    DrawMenuText(755, rowY, RecordText(2 * move + 1), ink, 1);
  }

  Box(680, 30, 688, 65, ButtonOuterColour);
  Box(680, 65, 688, 100, ButtonOuterColour);
  Box(681, 31, 687, 64, ButtonInnerColour);
  Box(681, 66, 687, 99, ButtonInnerColour);
  Triangle(682, 50, 686, 50, 684, 43, ArrowColour);
  Triangle(682, 80, 686, 80, 684, 87, ArrowColour);

  int offset = MoveListOffset;
  if (LeftButton && ClickLatch == 0 && Inside(ButtonLeft, UpTop, ButtonRight, UpBottom)) {
    ClickLatch = 1;
    --offset;
  }
  if (LeftButton && ClickLatch == 0 && Inside(ButtonLeft, UpBottom, ButtonRight, DownBottom)) {
    ClickLatch = 1;
    ++offset;
  }
  MoveListOffset = ClampOffset(offset);
}

std::string GameEndText() {
  if (GameStatus == 3) {
    return ResultText[0] == '1' ? "checkmate: white wins 1-0" : "checkmate: black wins 0-1";
  }
  if (GameStatus != 4) return "";
  if (std::strcmp(ResultText, "1/2-1/2 {Stalemate}") == 0) return "stalemate: draw";
  for (int i = 0; i < HistorySize - 1; ++i) {
    if (HistRepeats[i] > 1) return "draw by repetition";
  }
  if (FiftyMoveCounter > 99) return "draw by the fifty-move rule";
  return "draw";  // a game longer than the record holds
}

void DrawGameEnd() {
  const std::string result = GameEndText();
  const int lineWidth = GlyphAdvance * (static_cast<int>(sizeof GameOverText) - 1);
  const int resultWidth = 2 * GlyphAdvance * static_cast<int>(result.size());
  const int centre = GameOverX + lineWidth / 2, resultX = centre - resultWidth / 2;
  Box(std::min<int>(GameOverX, resultX) - 8, GameOverY - 8,
      std::max(GameOverX + lineWidth, resultX + resultWidth) + 8, ResultY + 2 * GlyphRows + 8,
      EndPanelColour);
  DrawMenuText(GameOverX, GameOverY, GameOverText, PaletteColour(EndTextColour), 1);
  DrawMenuText(At(resultX), ResultY, result, PaletteColour(ResultTextColour), 2);
}

void UpdateMoveListScroll() {
  // Clamped like the buttons, so the offset never leaves the range the list can show.
  MoveListOffset =
      HalfMoveCount < FullListHalfMoves ? 0 : ClampOffset((HalfMoveCount - FullListHalfMoves) / 2);
}
