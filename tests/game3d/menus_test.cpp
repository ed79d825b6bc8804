// The menus and the move list: click areas and their edges, one action a press, the new page
// drawn at once, time controls, saving and loading, the move list's rows on their panel and
// scrolling, and the end of a game.

#include "test_util.h"

namespace {

struct Menus : EngineGameTest {
  static void Frame(int x, int y, bool held) {
    MouseX = uint16_t(x), MouseY = uint16_t(y), LeftButton = held, MenuFrame();
  }
  static void Click(int x, int y) { Frame(x, y, true), Frame(x, y, false); }
  // Pixels in `ink` in one drawing but not the other, within x left..right-1, y top..bottom-1.
  static int InkDiffers(const std::function<void()>& one, const std::function<void()>& other,
                        uint16_t ink, int left = 0, int top = 0, int right = 800,
                        int bottom = 600) {
    const std::vector<uint16_t> a = Drawn(one), b = Drawn(other);
    int differ = 0;
    for (int p = top * 800; p < bottom * 800; ++p)
      differ += p % 800 >= left && p % 800 < right && (a[p] == ink) != (b[p] == ink);
    return differ;
  }
};

TEST_F(Menus, ClickAreasActStrictlyInsideTheirEdges) {
  // Buttons span x 281..519, y t..t+30 (t = 171 + 50 i; 461 back); a box at (x, y) x+1..x+9,
  // y+1..y+9. Each case: page, mouse, the variable, its value before and after a click. (The
  // settings, back, quit and room areas are clicked in the loop's games.)
  // clang-format off
  const struct { uint8_t page; int x, y; uint8_t* variable; uint8_t before, after; } cases[] = {
      {0, 281, 171, &NewGameRequested, 0, 1}, {0, 519, 201, &MenuState, 1, 0},
      {0, 280, 180, &NewGameRequested, 0, 0}, {0, 400, 170, &NewGameRequested, 0, 0},
      {0, 400, 202, &NewGameRequested, 0, 0}, {0, 520, 230, &MenuState, 1, 1},
      {0, 400, 330, &MenuPage, 0, 2}, {0, 400, 380, &MenuPage, 0, 3},
      {0, 400, 130, &MenuPage, 0, 4}, {4, 400, 470, &MenuPage, 4, 0},
      {3, 400, 470, &MenuPage, 3, 0}, {3, 400, 460, &MenuPage, 3, 3},
      {2, 400, 492, &MenuPage, 2, 2}, {1, 311, 169, &PlayerSide, 0, 1},
      {1, 319, 177, &PlayerSide, 0, 1}, {1, 310, 172, &PlayerSide, 0, 0},
      {1, 320, 172, &PlayerSide, 0, 0}, {1, 315, 168, &PlayerSide, 0, 0},
      {1, 315, 178, &PlayerSide, 0, 0}, {1, 315, 153, &PlayerSide, 1, 0},
      {1, 225, 255, &SearchStrength, 2, 0}, {1, 225, 273, &SearchStrength, 0, 1},
      {1, 225, 291, &SearchStrength, 0, 2}, {1, 280, 333, &Surroundings, 2, 0},
      {1, 370, 333, &Surroundings, 0, 2}, {1, 280, 353, &BoardColour, 1, 0},
      {1, 325, 353, &BoardColour, 0, 1}, {1, 280, 373, &WhitePieceStyle, 1, 0},
      {1, 325, 373, &WhitePieceStyle, 0, 1}, {1, 365, 403, &ShowThinking, 0, 1},
      {1, 385, 403, &ShowThinking, 1, 0}, {1, 365, 428, &ShowMoveList, 0, 1},
      {1, 385, 428, &ShowMoveList, 1, 0}};
  // clang-format on
  for (const auto& c : cases) {
    SetStartSettings();
    MenuPage = c.page, *c.variable = c.before;
    Click(c.x, c.y);
    EXPECT_EQ(*c.variable, c.after) << "page " << int(c.page) << " at " << c.x << "," << c.y;
  }
}

TEST_F(Menus, AHeldButtonActsOnceAndTheNewPageIsDrawnAtOnce) {
  Frame(400, 180, true);  // outside every area, but the press is used up
  Frame(400, 280, true);  // held onto "set game-options"
  EXPECT_EQ(MenuPage, MainPage);
  Frame(400, 280, false), Frame(400, 280, true);
  EXPECT_EQ(Pixel(300, 470), PaletteColour(20));  // the settings page's back button
  Frame(315, 173, true), Frame(400, 470, true);   // held over "black pieces" and "back"
  EXPECT_TRUE(PlayerSide == 0 && MenuPage == SettingsPage);
}

TEST_F(Menus, EachTimeControlRowShowsItsTextAndSetsItsSecondsAndPgnTag) {
  // The table: "<moves> moves in <minutes> minutes" gives the seconds of the control divided
  // by its moves and the PGN tag "<moves>/<seconds>"; "game in <minutes> minutes" (moves 0) a
  // fixed figure and the tag "<seconds>". Row i at y 150 + 15 i, its box at x 470.
  const int rows[15][2] = {{40, 150}, {40, 120}, {40, 90}, {40, 60}, {60, 150},
                           {60, 120}, {60, 60},  {60, 30}, {60, 20}, {60, 10},
                           {60, 5},   {0, 30},   {0, 20},  {0, 10},  {0, 5}};
  const int gameIn[4] = {18, 12, 8, 4};
  FillFont(5);
  for (int i = 0; i < 15; ++i) {
    const int moves = rows[i][0], minutes = rows[i][1], y = 150 + 15 * i;
    const std::string m = std::to_string(moves), n = std::to_string(minutes);
    const std::string text = (moves ? m + " moves" : "game") + " in " + n + " minutes";
    const std::string tag = (moves ? m + "/" : "") + std::to_string(60 * minutes);
    SetStartSettings(), MenuPage = SettingsPage;
    Click(475, y + 3), NoteNewGame();  // a game started with it
    EXPECT_EQ(MoveTimeSetting, moves ? minutes * 60 / moves : gameIn[i - 11]) << text;
    EXPECT_NE(PgnText().find("[TimeControl \"" + tag + "\"]"), std::string::npos) << text;
    // Its box alone is set (the start value's clears), and its text is the row's.
    for (int k = 0; k < 15; ++k)
      EXPECT_EQ(Pixel(475, 153 + 15 * k), PaletteColour(k == i ? 147 : 2)) << text;
    const auto row = [&] { DrawMenuText(490, int16_t(y), text, PaletteColour(28), 1); };
    EXPECT_EQ(InkDiffers(MenuFrame, row, PaletteColour(28), 485, y, 600, y + 6), 0) << text;
  }
}

TEST_F(Menus, TheThinkingPanelShowsEachFieldAtItsPlace) {
  FillFont(5);
  // The panel against its texts drawn alone, placed from its corner: the heading, the
  // best-move line and BestMoveText, then what is shown while the engine is to move.
  using Placed = std::tuple<int, int, std::string>;
  const auto expectPanel = [](const char* state, std::vector<Placed> shown) {
    const int x = ThinkingPanelX, y = ThinkingPanelY;
    shown.push_back({5, 3,
                     "evaluation       plydepth     nodes              thinking   "
                     "              score"});
    shown.push_back({5, 16, "best move found so far   "});
    shown.push_back({110, 16, BestMoveText});
    const auto texts = [&] {
      for (const auto& [dx, dy, text] : shown)
        DrawMenuText(int16_t(x + dx), int16_t(y + dy), text, PaletteColour(1), 1);
    };
    EXPECT_EQ(InkDiffers(DrawThinkingPanel, texts, PaletteColour(1)), 0) << state;
  };
  StartNewGame(1, 10);  // the engine has White and answers from its book at once
  ASSERT_TRUE(SearchSlice() == 1 && TurnState == 1);
  expectPanel("book move", {});
  // A search under way, then a mate score at another corner, then the game over.
  GameFromFen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", true);
  SecondsPerMove = 10, BookAllowed = 0;
  ASSERT_TRUE(SearchSlice() == 0 && TurnState == 0);
  const std::string move = CurrentMoveText();  // such as "9-27 b2-b3"
  ASSERT_NE(move.find(" "), std::string::npos) << move;
  BestMoveText = "Bf1-b5 a7-a6 ", NodeCount = 123456, CurrentDepth = 4, RootScore = 105;
  expectPanel("searching", {{150, 3, "123456"}, {110, 3, "5"}, {240, 3, move}, {330, 3, "1.05"}});
  ThinkingPanelX = 300, ThinkingPanelY = 40, NodeCount = 7, CurrentDepth = 0, RootScore = -9999;
  expectPanel("mate score", {{150, 3, "7"}, {110, 3, "1"}, {240, 3, move}, {330, 3, "-99.99"}});
  TurnState = 2;
  expectPanel("game over", {});
}

TEST_F(Menus, TheFiveFilesOfTheCurrentFolderAreSavedAndLoaded) {
  char previous[4096];
  ASSERT_TRUE(getcwd(previous, sizeof previous) && chdir(home.path.c_str()) == 0);
  StartNewGame(0, 10), NoteNewGame();
  ASSERT_EQ(PlayLine("e2e4 c7c5 g1f3"), 3);
  MenuPage = SavePage, Click(400, 280);  // "game3.pgn"
  EXPECT_EQ(ReadFile("game3.pgn"), PgnText());
  EXPECT_EQ(MenuPage, MainPage);
  ASSERT_EQ(mkdir("game1.pgn", 0755), 0);  // a folder where the file should go
  MenuPage = SavePage, Click(400, 180);
  EXPECT_TRUE(MenuPage == MainPage && MenuState == ShowingMenu);
  ASSERT_TRUE(MemMessageBoxes.size() == 1 && !MemMessageBoxes[0].fatal);
  EXPECT_NE(MemMessageBoxes[0].text.find("game1.pgn:\rIs a directory"), std::string::npos);
  EXPECT_TRUE(HalfMoveCount == 3 && TurnState == 0 && GameRecord[2] == std::string("Ng1-f3"));
  // The load page: game1 (a folder) and game5 are not saved, game4 is not PGN, game3 loads.
  ASSERT_EQ(WriteTextFile("game4.pgn", "not a game"), 0);
  StartNewGame(1, 10);
  MenuPage = LoadPage, Click(400, 180), Click(400, 380);
  EXPECT_TRUE(MenuPage == LoadPage && MemMessageBoxes.size() == 1 && HalfMoveCount == 0);
  EXPECT_TRUE(Pixel(300, 185) == PaletteColour(10) && Pixel(300, 285) == PaletteColour(20));
  Click(400, 330);
  EXPECT_TRUE(MemMessageBoxes.size() == 2 && MemMessageBoxes[1].title == "LOAD ERROR");
  Click(400, 280);
  EXPECT_TRUE(MenuPage == MainPage && MenuState == ShowingGame && BoardFlipped == 0);
  EXPECT_EQ(PgnText(), ReadFile("game3.pgn"));
  ASSERT_EQ(chdir(previous), 0);
}

TEST_F(Menus, TheEndOfAGameSaysHowItEndedInLargeLetters) {
  FillFont(0);  // every glyph a full cell of 24 dots, "-" 3 dots, anything else none
  const std::pair<const char*, std::string> games[] = {
      {"1. e4 e5 2. Bc4 Nc6 3. Qh5 Nf6 4. Qxf7# 1-0", "checkmate: white wins 1-0"},
      {"1. f3 e5 2. g4 Qh4# 0-1", "checkmate: black wins 0-1"},
      {"[FEN \"7k/8/6Q1/8/8/8/8/K7 w - - 0 1\"]\n1. Qf7 1/2-1/2", "stalemate: draw"},
      {"1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. Nf3 1/2-1/2", "draw by repetition"},
      {"[FEN \"k7/8/8/8/8/8/8/K6R w - - 99 80\"]\n80. Rh2 1/2-1/2", "draw by the fifty-move rule"}};
  for (const auto& [text, result] : games) {
    std::string error;
    ASSERT_EQ(WriteTextFile(home.path + "/end.pgn", text), 0);
    ASSERT_TRUE(LoadGame(home.path + "/end.pgn", false, &error)) << error;
    EXPECT_TRUE(TurnState == 2 && GameEndText() == result) << GameEndText();
    int dots = 0;
    for (const char c : result)
      dots += std::isalnum(static_cast<unsigned char>(c)) ? 24 : c == '-' ? 3 : 0;
    Drawn(DrawGameEnd);
    EXPECT_EQ(CountPixels(PaletteColour(28)), 4 * dots) << result;  // at scale 2
  }
}

TEST_F(Menus, MoveListShowsTheRecordUpToTheResultAndScrollsARowAPress) {
  FillFont(5);
  StartNewGame(1, 10);
  ASSERT_EQ(PlayLine("f2f3 e7e5 g2g4 d8h4"), 4);
  std::strcpy(GameRecord[5], "junk");  // past the result entry: never shown
  // clang-format off
  const struct { int16_t offset; int row; const char *number, *white, *black; } rows[] = {
      {0, 0, "1.", "f2-f3", "e7-e5"}, {0, 2, "3.", "0 - 1 ", ""}, {0, 19, "20.", "", ""},
      {1, 0, "2.", "g2-g4", "Qd8-h4+"}, {200, 19, "220.", "", ""}};
  // clang-format on
  for (const auto& r : rows) {  // the row from x 700 to 794 against its three texts alone
    const int y = 35 + 8 * r.row;
    MoveListOffset = r.offset;
    const auto texts = [&] {
      for (const auto& [x, text] : {std::pair{700, r.number}, {720, r.white}, {755, r.black}})
        DrawMenuText(int16_t(x), int16_t(y), text, PaletteColour(28), 1);
    };
    EXPECT_EQ(InkDiffers(DrawMoveList, texts, PaletteColour(28), 700, y, 795, y + 6), 0)
        << r.number;
  }
  // Under the heading bar every pixel is the text's or the dark panel's, whatever was there.
  std::fill(BackBuffer.pixels, BackBuffer.pixels + 800 * 600, PaletteColour(28) + 1);
  DrawMoveList();
  int off = 0;
  for (int p = 30 * 800; p < 205 * 800; ++p) {
    const uint16_t c = BackBuffer.pixels[p];
    off += p % 800 > 692 && p % 800 < 795 && c != PaletteColour(28) && c != PaletteColour(5);
  }
  EXPECT_EQ(off, 0);
  // {start, frames of mouse y and button, end}; the loop clears the latch on release.
  // clang-format off
  const struct { int16_t start; std::vector<std::pair<int, bool>> frames; int16_t end; } presses[] = {
      {5, {{40, true}, {40, true}, {80, true}}, 4}, {5, {{40, true}, {40, false}, {40, true}}, 3},
      {5, {{80, true}, {80, false}, {99, true}}, 7}, {5, {{65, true}, {30, true}, {100, true}}, 5},
      {0, {{40, true}}, 0}, {200, {{80, true}}, 200}};
  // clang-format on
  MouseX = 684;
  for (const auto& p : presses) {
    MoveListOffset = p.start, ClickLatch = 0;
    for (const auto& [y, held] : p.frames) {
      MouseY = uint16_t(y), LeftButton = held, DrawMoveList();
      if (!held) ClickLatch = 0;
    }
    EXPECT_EQ(MoveListOffset, p.end) << p.start;
  }
  // After a move the latest moves stay on the last rows.
  for (const auto& [count, offset] : {std::pair{38, 0}, {40, 0}, {41, 1}, {80, 20}, {500, 200}}) {
    HalfMoveCount = int16_t(count), UpdateMoveListScroll();
    EXPECT_EQ(MoveListOffset, offset) << count;
  }
}

}  // namespace
