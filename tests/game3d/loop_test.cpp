// The main loop on the in-memory platform: start-up into the menus, a game played with the
// mouse while the engine answers, the end of the game, the menus pausing the engine, quitting.

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
    GameTest::SetUp(), SetSecondsSource(TickingSecond);
    FreeSurface(&BackBuffer);  // the start-up makes its own
    startBytes = TrackedBytes;
    ASSERT_TRUE(StartKorvane3d());
  }
  void TearDown() override {
    if (!quit) QuitKorvane3d();
    SetSecondsSource(nullptr), GameTest::TearDown();
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
  // The game goes on from a set-up position, loaded as a file from another program.
  void SetUpGame(const char* fen) {
    ASSERT_EQ(WriteTextFile(home.path + "/set.pgn", std::string("[FEN \"") + fen + "\"]\n*"), 0);
    ASSERT_TRUE(LoadGameFile(home.path + "/set.pgn"));
  }
  void Escape() {
    ASSERT_TRUE(Pass(0, 0, false, false, true));
    ASSERT_EQ(MenuState, ShowingMenu);
  }
  void Restart() {
    quit = false;
    ASSERT_TRUE(StartKorvane3d());
  }
  // Escape to the menus if need be, then "quit the game".
  void Quit() {
    if (MenuState == ShowingGame) Escape();
    ASSERT_TRUE(Pass(400, 440, false));
    EXPECT_FALSE(Pass(400, 440, true));  // "quit the game"
    QuitKorvane3d(), quit = true;
  }
  DataFolder data;
  std::vector<ScreenPoint> points;
  int32_t startBytes = 0;
  bool quit = false;
};

TEST_F(Loop, EnterAndAHeldSweepPickSquares) {
  StartNewGame();
  // Black chosen during the game waits for the next one: the board stays White's.
  Escape();
  for (const auto& [x, y] : {std::pair{400, 286}, {315, 173}, {400, 476}, {400, 235}}) Click(x, y);
  ASSERT_TRUE(PlayerSide == 1 && MenuState == ShowingGame);
  // Empty squares of the fourth rank make no move among them: each pass with the button held
  // selects the square the pass before found under the mouse.
  for (const char* square : {"a4", "a4", "b4", "c4", "d4", "d4"}) PassOver(square, true);
  EXPECT_TRUE(SquareSelected && SelectedSquare == Quad("d4"));
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
  PlayerSide = 1;
  StartNewGame();  // from Black's seat file a is on the right and rank 8 nearest
  EXPECT_TRUE(points[Quad("a8")].x > points[Quad("h8")].x &&
              points[Quad("e8")].y > points[Quad("e1")].y);
  // A mate in two for Black where the engine's one reply is forced: 1... Rh2 2. Kb1 Rh1#. With
  // nothing symmetric in it, a file or rank mirrored anywhere from the screen to the engine
  // picks an empty square, or shows the pieces where the engine does not have them.
  SetUpGame("7r/8/8/8/8/1k6/8/K7 b - - 0 1");
  EXPECT_EQ(DrawnBoard(), BoardOf("7r/8/8/8/8/1k6/8/K7"));
  ClickSquare("h8"), ClickSquare("h2");
  EXPECT_STREQ(GameRecord[0], "Rh8-h2");
  for (int frame = 0; frame < 200 && TurnState == 0; ++frame) ASSERT_TRUE(Pass(0, 0, false));
  ASSERT_EQ(TurnState, 1) << "the engine answered";
  EXPECT_STREQ(GameRecord[1], "Ka1-b1");
  EXPECT_EQ(DrawnBoard(), BoardOf("8/8/8/8/8/1k6/7r/1K6"));
  ClickSquare("h2"), ClickSquare("h1");
  EXPECT_TRUE(TurnState == 2 && ResultText == std::string("0-1 {Black mates}"));
  // The end-of-game line is written over the picture.
  EXPECT_GT(CountPixels(PaletteColour(25)), 0);
  // A finished game is not kept: the file of an older one goes.
  ASSERT_EQ(ReplaceTextFile(LastGameFilePath(), "an older game"), 0);
  Quit();
  EXPECT_NE(access(LastGameFilePath().c_str(), F_OK), 0);
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
  MoveTimeSetting = 30000;
  StartNewGame();
  // Out of the book with the engine to move, a second a slice and a long budget: it thinks for
  // many frames, however many slices fit into one.
  SetUpGame("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  ASSERT_TRUE(TurnState == 0 && Pass(0, 0, false) && SearchSteps > 0);
  Escape();
  const int32_t steps = SearchSteps, clock = ClockTotalSeconds(EngineClock);
  for (int k = 0; k < 5; ++k) ASSERT_TRUE(Pass(0, 0, false));
  EXPECT_TRUE(SearchSteps == steps && ClockTotalSeconds(EngineClock) == clock);
  Click(400, 235);  // "resume"
  EXPECT_EQ(MenuState, ShowingGame);
  EXPECT_TRUE(SearchSteps > steps && ClockTotalSeconds(EngineClock) > clock);
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
  QuitKorvane3d(), quit = true;
  EXPECT_EQ(TrackedBytes, startBytes);
}

TEST_F(Loop, SettingsAndTheUnfinishedGameAreKeptBetweenRuns) {
  // Changed in the menus, written at once: Black, the room, a game in 5 minutes.
  for (const auto& [x, y] : {std::pair{400, 286}, {315, 173}, {325, 333}, {475, 363}, {400, 476}})
    Click(x, y);
  const std::string kept = ReadFile(SettingsFilePath());
  for (const char* line : {"colour = black\n", "surroundings = room\n", "time-control = 300\n"})
    EXPECT_NE(kept.find(line), std::string::npos) << kept;
  StartNewGame();  // the engine has White and moves first
  for (int frame = 0; frame < 200 && TurnState == 0; ++frame) ASSERT_TRUE(Pass(0, 0, false));
  ASSERT_EQ(HalfMoveCount, 1);
  const std::string first = GameRecord[0];
  Quit();
  // The next start brings both back, the game shown as it stands. (That it goes on after
  // "resume" is played in a real window by window_keep.sh.)
  Restart();
  EXPECT_TRUE(PlayerSide == 1 && BuiltSurroundings == 1 && MoveTimeSetting == 4);
  EXPECT_TRUE(HalfMoveCount == 1 && GameRecord[0] == first && BoardFlipped && SecondsPerMove == 5);
  EXPECT_EQ(std::memcmp(DisplayBoard, GameBoard, sizeof DisplayBoard), 0);
  Quit();
  // Damaged files: the defaults and no last game, each said on stderr; a game file named on the
  // command line comes in.
  ASSERT_EQ(WriteTextFile(SettingsFilePath(), "colour = black\nsurroundings = purple\n"), 0);
  ASSERT_EQ(WriteTextFile(LastGameFilePath(), "1. e4 Ke3 *"), 0);
  ASSERT_EQ(WriteTextFile(StartupGameFile = home.path + "/named.pgn", "1. d4 *"), 0);
  testing::internal::CaptureStderr();
  Restart();
  StartupGameFile.clear();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(SettingsFilePath() + " line 2 is damaged"), std::string::npos) << said;
  EXPECT_NE(said.find("not brought back: move 1... Ke3 is not a legal move"), std::string::npos);
  EXPECT_TRUE(PlayerSide == 0 && Surroundings == 0 && HalfMoveCount == 1);  // the named file's
  // A settings folder that cannot be made: a line on stderr, and the game goes on.
  setenv("XDG_CONFIG_HOME", LastGameFilePath().c_str(), 1);
  testing::internal::CaptureStderr();
  Click(400, 286), Click(315, 173), Click(400, 476);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("settings cannot be kept"),
            std::string::npos);
  Quit();
  // Without the variables (or with relative ones) the files are under HOME.
  unsetenv("XDG_STATE_HOME"), setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(SettingsFilePath() + " " + LastGameFilePath(),
            home.path + "/.config/korvane/korvane3d.conf " + home.path +
                "/.local/state/korvane/last-game.pgn");
}

}  // namespace
