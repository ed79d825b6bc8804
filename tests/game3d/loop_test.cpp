// The main loop on the in-memory platform: start-up into the menus, a game played with the
// mouse while the engine answers, the end of the game, the menus pausing the engine, quitting.
#include <cstring>

#include "engine/game.h"
#include "engine/search.h"
#include "engine/setup.h"
#include "engine/state.h"
#include "engine/timectl.h"
#include "game3d/mainloop.h"
#include "game3d/menus.h"
#include "game3d/scene.h"
#include "test_util.h"

namespace {

using E = PlatformEventType;

// Every call is a new second, so the engine's budget runs out after a few slices.
uint16_t TickingSecond() {
  static uint16_t second = 0;
  return second = static_cast<uint16_t>((second + 1) % 60);
}

class Loop : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    SetSecondsSource(TickingSecond);
    FreeSurface(&BackBuffer);
    startBytes = TrackedBytes;
    ASSERT_TRUE(StartKorvane3d());
  }
  void TearDown() override {
    if (!quit) QuitKorvane3d();
    SetSecondsSource(nullptr);
    GameTest::TearDown();
  }
  // One pass with the mouse at (x, y) and the left button, Enter and Escape as given, the
  // events pumped first as the pass before would have (twice: a press waits for a move).
  bool Pass(int x, int y, bool left, bool enter = false, bool escape = false) {
    if (x != MouseX || y != MouseY) MemQueueMouse(x, y, 0);
    if (left != LeftButton) MemQueueEvent({left ? E::LeftPressed : E::LeftReleased, 0, 0, 0});
    if (enter != KeyDown[VkReturn]) MemQueueKey(VkReturn, enter);
    if (escape != KeyDown[VkEscape]) MemQueueKey(VkEscape, escape);
    PumpMessages(), PumpMessages();
    return MainLoopPass();
  }
  // Over the point, pressed, released: a click as the loop sees it.
  void Click(int x, int y) {
    for (const bool held : {false, true, false}) ASSERT_TRUE(Pass(x, y, held));
  }
  static int Quad(const char* square) {
    return 8 * (8 - (square[1] - '0')) + 7 - (square[0] - 'a');
  }
  // A pass with the mouse over a square, which the render must find under the mouse even
  // when a piece stands over it.
  void PassOver(const char* square, bool left, bool enter = false) {
    const ScreenPoint p = points[Quad(square)];
    ASSERT_TRUE(Pass(p.x, p.y, left, enter));
    EXPECT_EQ(HoverSquare, Quad(square)) << square;
  }
  void ClickSquare(const char* square) {
    PassOver(square, false), PassOver(square, true), PassOver(square, false);
  }
  void StartNewGame() {
    Click(400, 185);  // "start new game"
    ASSERT_EQ(MenuState, ShowingGame);
    points = SquareScreenPoints();
  }
  // The game goes on from a set-up position (the menus have no set-up; the engine has).
  void SetUpGame(const char* fen) {
    FenPosition position;
    std::string error;
    ASSERT_TRUE(ParseFen(fen, &position, &error)) << error;
    InstallSetupPosition(position);
    RefreshDisplayBoard();
    PlacePieces();
  }
  void Escape() {
    ASSERT_TRUE(Pass(0, 0, false, false, true));
    ASSERT_EQ(MenuState, ShowingMenu);
  }
  // Escape to the menus if need be, then "quit the game".
  void Quit() {
    if (MenuState == ShowingGame) Escape();
    ASSERT_TRUE(Pass(400, 440, false));
    EXPECT_FALSE(Pass(400, 440, true));  // "quit the game"
    QuitKorvane3d();
    quit = true;
  }
  DataFolder data;
  std::vector<ScreenPoint> points;
  int32_t startBytes = 0;
  bool quit = false;
};

TEST_F(Loop, EnterAndAHeldSweepPickSquares) {
  StartNewGame();
  // Empty squares of the fourth rank make no move among them: each pass with the button held
  // selects the square the pass before found under the mouse.
  for (const char* square : {"a4", "a4", "b4", "c4", "d4", "d4"}) PassOver(square, true);
  EXPECT_EQ(SquareSelected, 1);
  EXPECT_EQ(SelectedSquare, Quad("d4"));
  ClickSquare("g1");  // no move from d4 to g1: g1 is picked instead
  EXPECT_EQ(SelectedSquare, Quad("g1"));
  PassOver("f3", false);
  PassOver("f3", false, true);  // Enter tries the move like a press
  EXPECT_STREQ(GameRecord[0], "Ng1-f3");
  Quit();
}

TEST_F(Loop, AGameIsPlayedWithTheMouseToItsEndAndQuitGivesEverythingBack) {
  // The menus draw over the first picture: the board stays around the panel.
  EXPECT_EQ(MenuState, ShowingMenu);
  EXPECT_EQ(MemFramesPresented, 2u);  // the black screen, then the board
  const std::vector<uint16_t> picture = MemFrame;
  ASSERT_TRUE(Pass(0, 0, false));
  EXPECT_EQ(MemFrame[10 * FrameWidth + 10], picture[10 * FrameWidth + 10]);
  EXPECT_NE(MemFrame[300 * FrameWidth + 400], picture[300 * FrameWidth + 400]);
  StartNewGame();
  // A mate in two where the engine's one reply is forced: 1. Rh7 Kb8 2. Rh8#.
  SetUpGame("k7/8/1K6/8/8/8/8/7R w - - 0 1");
  ClickSquare("h1");
  ClickSquare("h7");
  EXPECT_STREQ(GameRecord[0], "Rh1-h7");
  for (int frame = 0; frame < 200 && TurnState == 0; ++frame) ASSERT_TRUE(Pass(0, 0, false));
  ASSERT_EQ(TurnState, 1) << "the engine answered";
  EXPECT_STREQ(GameRecord[1], "Ka8-b8");
  EXPECT_EQ(std::memcmp(DisplayBoard, GameBoard, sizeof DisplayBoard), 0);
  ClickSquare("h7");
  ClickSquare("h8");
  EXPECT_EQ(TurnState, 2);
  EXPECT_STREQ(ResultText, "1-0 {White mates}");
  // The end-of-game line is written over the picture.
  EXPECT_GT(CountPixels(PaletteColour(25)), 0);
  Quit();
  EXPECT_TRUE(MemMessageBoxes.empty()) << "no leak report";
  EXPECT_EQ(TrackedBytes, startBytes);
}

TEST_F(Loop, ShortPressesCountOnceWhereTheyWereMadeAndEscapeStepsBackAPress) {
  // Pressed and released between two passes, as xdotool clicks.
  const auto quickClick = [&](int x, int y) {
    ASSERT_TRUE(Pass(x, y, false));
    MemQueueEvent({E::LeftPressed, 0, 0, 0}), MemQueueEvent({E::LeftReleased, 0, 0, 0});
    PumpMessages();
    ASSERT_TRUE(MainLoopPass() && MainLoopPass());
  };
  quickClick(400, 185);  // "start new game"
  ASSERT_EQ(MenuState, ShowingGame);
  points = SquareScreenPoints();
  quickClick(points[Quad("d2")].x, points[Quad("d2")].y);
  EXPECT_TRUE(SquareSelected && SelectedSquare == Quad("d2"));
  MemQueueKey(VkEscape, true), MemQueueKey(VkEscape, false);  // the frame's own pump takes both
  ASSERT_TRUE(MainLoopPass() && MenuState == ShowingMenu && Pass(0, 0, false));
  const uint32_t frames = MemFramesPresented;
  for (int k = 0; k < 3; ++k) ASSERT_TRUE(Pass(0, 0, false));  // nothing new: nothing drawn
  EXPECT_EQ(MemFramesPresented, frames);
  for (const bool held : {false, true, true, true, false}) ASSERT_TRUE(Pass(400, 235, held));
  // "resume" pressed and held into the game view: the press is not the board's.
  EXPECT_TRUE(MenuState == ShowingGame && HalfMoveCount == 0 && SelectedSquare == Quad("d2"));
  quickClick(points[Quad("d4")].x, points[Quad("d4")].y);
  EXPECT_STREQ(GameRecord[0], "d2-d4");
  // Escape held over several passes makes one step; from a sub-page the next goes to the main
  // page, and from there back to the game.
  for (int k = 0; k < 4; ++k) ASSERT_TRUE(Pass(0, 0, false, false, true));
  EXPECT_EQ(MenuState, ShowingMenu);
  Click(400, 285);  // "set game-options"
  for (const uint8_t page : {SettingsPage, MainPage}) {
    EXPECT_TRUE(MenuState == ShowingMenu && MenuPage == page);
    ASSERT_TRUE(Pass(0, 0, false, false, true) && Pass(0, 0, false));
  }
  EXPECT_EQ(MenuState, ShowingGame);
  Quit();
}

TEST_F(Loop, TheMenusPauseTheEngineAndItsClock) {
  MoveTimeSetting = 225;
  StartNewGame();
  // Out of the book with the engine to move: it thinks for many frames.
  SetUpGame("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  ASSERT_EQ(TurnState, 0);
  ASSERT_TRUE(Pass(0, 0, false));
  ASSERT_GT(SearchSteps, 0);
  Escape();
  const int32_t steps = SearchSteps, clock = ClockTotalSeconds(EngineClock);
  for (int k = 0; k < 5; ++k) ASSERT_TRUE(Pass(0, 0, false));
  EXPECT_EQ(SearchSteps, steps);
  EXPECT_EQ(ClockTotalSeconds(EngineClock), clock);
  Click(400, 235);  // "resume"
  EXPECT_EQ(MenuState, ShowingGame);
  EXPECT_GT(ClockTotalSeconds(EngineClock), clock);
  EXPECT_GT(SearchSteps, steps);
  // Within one second, with nothing changing but the thinking panel's text, the engine's
  // frames are drawn only while the panel is shown.
  SetSecondsSource([] { return LastSeenSecond; });
  for (const uint8_t shown : {0, 0, 1}) {
    const uint32_t frames = MemFramesPresented;
    ShowThinking = shown;
    ASSERT_TRUE(Pass(400, 235, false) && TurnState == 0);
    EXPECT_EQ(MemFramesPresented - frames, shown);
  }
  // Closing the window takes the menu's way out.
  MemQueueEvent({PlatformEventType::Quit, 0, 0, 0});
  EXPECT_FALSE(Pass(0, 0, false));
  QuitKorvane3d();
  quit = true;
  EXPECT_EQ(TrackedBytes, startBytes);
}

}  // namespace
