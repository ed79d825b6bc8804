#include "game3d/menus.h"

#include <sys/stat.h>

#include <iterator>
#include <string>

#include "engine/timectl.h"
#include "game3d/gamefile.h"
#include "game3d/keep.h"
#include "game3d/menutext.h"
#include "game3d/pgn.h"
#include "game3d/settings.h"
#include "platform3d/palette.h"
#include "platform3d/platform.h"
#include "platform3d/spans.h"

namespace {

// Palette indices.
constexpr uint8_t PanelEdgeColour = 6, PanelRimColour = 8, PanelColour = 10;
constexpr uint8_t ButtonEdgeColour = 21, ButtonColour = 20, ButtonTextColour = 26;
constexpr uint8_t TextColour = 28, BoxEdgeColour = 28, BoxSetColour = 147, BoxClearColour = 2;
constexpr uint8_t EmptySlotTextColour = 18;  // dimmer than a button's label

constexpr int16_t TextLeft = 210;
constexpr int16_t TitleTop = 105;
constexpr int ButtonLeft = 280, ButtonRight = 520, ButtonHeight = 31;
constexpr int FirstButtonTop = 171, ButtonSpacing = 50, LabelBelowTop = 9;
constexpr int BackButtonTop = 461;
constexpr int BoxSize = 10;
constexpr int PgnFileCount = 5;

void Box(int left, int top, int right, int bottom, uint8_t colourIndex) {
  const auto l = static_cast<int16_t>(left), t = static_cast<int16_t>(top);
  const auto r = static_cast<int16_t>(right), b = static_cast<int16_t>(bottom);
  FillQuad(l, t, r, t, r, b, l, b, PaletteColour(colourIndex));
}

void Title(const char* text) {
  DrawMenuText(TextLeft, TitleTop, text, PaletteColour(TextColour), 2);
}

void Line(int x, int y, std::string_view text) {
  DrawMenuText(static_cast<int16_t>(x), static_cast<int16_t>(y), text, PaletteColour(TextColour),
               1);
}

void DrawPanel() {
  Box(198, 98, 602, 502, PanelEdgeColour);
  Box(199, 99, 601, 501, PanelRimColour);
  Box(200, 100, 600, 500, PanelColour);
}

int ButtonTop(int i) {
  return FirstButtonTop + ButtonSpacing * i;
}

void DrawMenuButton(int top, int labelX, const char* label) {
  Box(ButtonLeft, top, ButtonRight, top + ButtonHeight, ButtonEdgeColour);
  Box(ButtonLeft + 1, top + 1, ButtonRight - 1, top + ButtonHeight - 1, ButtonColour);
  DrawMenuText(static_cast<int16_t>(labelX), static_cast<int16_t>(top + LabelBelowTop), label,
               PaletteColour(ButtonTextColour), 2);
}

// Strictly inside: the outer rectangle's edge does not count.
bool MouseInside(int left, int top, int right, int bottom) {
  return MouseX > left && MouseX < right && MouseY > top && MouseY < bottom;
}

bool ButtonHit(int top) {
  return MouseInside(ButtonLeft, top - 1, ButtonRight, top + ButtonHeight);
}

void DrawCheckBox(int x, int y, bool set) {
  Box(x, y, x + BoxSize, y + BoxSize, BoxEdgeColour);
  Box(x + 1, y + 1, x + BoxSize - 1, y + BoxSize - 1, set ? BoxSetColour : BoxClearColour);
}

bool CheckBoxHit(int x, int y) {
  return MouseInside(x, y, x + BoxSize, y + BoxSize);
}

// A new press of the left button that no one has acted on yet. Taking it sets the latch,
// whether or not anything is hit, so holding the button acts at most once.
bool TakeClick() {
  if (ClickLatch != 0 || LeftButton == 0) return false;
  ClickLatch = 1;
  return true;
}

constexpr const char* BackLabel = "                back to main menu";

void DrawBackButton() {
  DrawMenuButton(BackButtonTop, TextLeft, BackLabel);
}

// ---- Main page ------------------------------------------------------------------------------

struct MainButton {
  const char* label;
  int16_t labelX;
};
constexpr MainButton MainButtons[] = {
    {"                 start new game", 210},  {"                     resume", 210},
    {"                set game-options", 210}, {"                save to pgn-file", 210},
    {"                 help and info", 215},   {"                 quit the game", 215},
};
// Above the six, where the panel has room for one more button; the six keep their places.
constexpr int LoadButton = -1;
constexpr const char* LoadLabel = "               load from pgn-file";

void MainPageFrame() {
  DrawPanel();
  Title("               korvane 3d   menu");
  for (int i = 0; i < static_cast<int>(std::size(MainButtons)); ++i)
    DrawMenuButton(ButtonTop(i), MainButtons[i].labelX, MainButtons[i].label);
  DrawMenuButton(ButtonTop(LoadButton), TextLeft, LoadLabel);
  if (!TakeClick()) return;
  if (ButtonHit(ButtonTop(LoadButton))) MenuPage = LoadPage;
  if (ButtonHit(ButtonTop(0))) {
    MenuState = ShowingGame;
    NewGameRequested = 1;
  }
  if (ButtonHit(ButtonTop(1))) MenuState = ShowingGame;
  if (ButtonHit(ButtonTop(2))) MenuPage = SettingsPage;
  if (ButtonHit(ButtonTop(3))) MenuPage = SavePage;
  if (ButtonHit(ButtonTop(4))) MenuPage = HelpPage;
  if (ButtonHit(ButtonTop(5))) MenuState = QuitChosen;
}

// ---- Game-settings page ---------------------------------------------------------------------

struct PlacedText {
  int16_t x, y;
  const char* text;
};
constexpr PlacedText SettingsLines[] = {
    {210, 150, "play the white pieces"},
    {210, 170, "play the black pieces"},
    {210, 190, "make sure to start a new game after changing side"},
    {210, 232, "playing strength"},
    {240, 252, "korvane normal strength  for advanced players"},
    {240, 270, "limit to 5000 nodes per sec  medium strength"},
    {240, 288, "limit to 1000 nodes per sec  beginners level"},
    {210, 330, "surrounding         none       room       dots"},
    {210, 350, "board-colour        stone      wood"},
    {210, 370, "white pieces        wood       white"},
    {210, 400, "show computers thinking   on - off"},
    {210, 425, "show move-list            on - off"},
};

// A box that shows whether `setting` has `value` and gives it that value when clicked.
struct OptionBox {
  int16_t x, y;
  uint8_t* setting;
  uint8_t value;
};
const OptionBox OptionBoxes[] = {
    {310, 148, &PlayerSide, 0},      {310, 168, &PlayerSide, 1},
    {220, 250, &SearchStrength, 0},  {220, 268, &SearchStrength, 1},
    {220, 286, &SearchStrength, 2},  {275, 328, &Surroundings, 0},
    {320, 328, &Surroundings, 1},    {365, 328, &Surroundings, 2},
    {275, 348, &BoardColour, 0},     {320, 348, &BoardColour, 1},
    {275, 368, &WhitePieceStyle, 0}, {320, 368, &WhitePieceStyle, 1},
    {360, 398, &ShowThinking, 1},    {380, 398, &ShowThinking, 0},
    {360, 423, &ShowMoveList, 1},    {380, 423, &ShowMoveList, 0},
};

constexpr int TimeTextX = 490, TimeBoxX = 470, FirstTimeY = 150, TimeSpacing = 15;
int TimeBoxY(int i) {
  return FirstTimeY - 2 + TimeSpacing * i;
}

void SettingsPageFrame() {
  DrawPanel();
  Title("                 game settings");
  DrawBackButton();
  for (const PlacedText& line : SettingsLines) Line(line.x, line.y, line.text);
  for (const OptionBox& box : OptionBoxes) DrawCheckBox(box.x, box.y, *box.setting == box.value);
  for (int i = 0; i < TimeControlCount; ++i) {
    Line(TimeTextX, FirstTimeY + TimeSpacing * i, TimeControlTable[i].menuText);
    DrawCheckBox(TimeBoxX, TimeBoxY(i), MoveTimeSetting == TimeControlTable[i].secondsPerMove);
  }

  if (!TakeClick()) return;
  if (ButtonHit(BackButtonTop)) MenuPage = MainPage;
  for (const OptionBox& box : OptionBoxes) {
    if (CheckBoxHit(box.x, box.y)) *box.setting = box.value;
  }
  for (int i = 0; i < TimeControlCount; ++i) {
    if (!CheckBoxHit(TimeBoxX, TimeBoxY(i))) continue;
    MoveTimeSetting = TimeControlTable[i].secondsPerMove;
    TimeControlLabel = TimeControlTable[i].label;
  }
}

// ---- Save page ------------------------------------------------------------------------------

void SavePageFrame() {
  DrawPanel();
  Title("                  save to pgn");
  Line(TextLeft, 130,
       "select one of the following filenames to save your game. existing files will be "
       "overwritten.");
  for (int i = 0; i < PgnFileCount; ++i) {
    const std::string label = "                   game" + std::to_string(i + 1) + ".pgn";
    DrawMenuButton(ButtonTop(i), TextLeft, label.c_str());
  }
  DrawBackButton();

  if (!TakeClick()) return;
  if (ButtonHit(BackButtonTop)) MenuPage = MainPage;
  for (int i = 0; i < PgnFileCount; ++i) {
    if (!ButtonHit(ButtonTop(i))) continue;
    // A file that cannot be written is reported by the writer; the menu goes back either way.
    WritePgnFile("game" + std::to_string(i + 1));
    MenuPage = MainPage;
  }
}

// ---- Load page ------------------------------------------------------------------------------

std::string SlotName(int i) {
  return "game" + std::to_string(i + 1) + ".pgn";
}

bool SlotSaved(int i) {
  struct stat status;
  return stat(SlotName(i).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// An empty slot's button is drawn sunk into the panel and does nothing.
void DrawSlotButton(int top, bool saved, const std::string& name) {
  if (saved) {
    DrawMenuButton(top, TextLeft, ("                   " + name).c_str());
    return;
  }
  Box(ButtonLeft, top, ButtonRight, top + ButtonHeight, PanelRimColour);
  Box(ButtonLeft + 1, top + 1, ButtonRight - 1, top + ButtonHeight - 1, PanelColour);
  DrawMenuText(TextLeft, static_cast<int16_t>(top + LabelBelowTop),
               "            " + name + "   not saved", PaletteColour(EmptySlotTextColour), 2);
}

void LoadPageFrame() {
  DrawPanel();
  Title("                 load from pgn");
  Line(TextLeft, 130, "select a saved game to go on with it. the game on the board is replaced.");
  bool saved[PgnFileCount];
  for (int i = 0; i < PgnFileCount; ++i) {
    saved[i] = SlotSaved(i);
    DrawSlotButton(ButtonTop(i), saved[i], SlotName(i));
  }
  DrawBackButton();

  if (!TakeClick()) return;
  if (ButtonHit(BackButtonTop)) MenuPage = MainPage;
  for (int i = 0; i < PgnFileCount; ++i) {
    // A file that cannot be loaded is reported by the loader; the page stays for another.
    if (!saved[i] || !ButtonHit(ButtonTop(i)) || !LoadGameFile(SlotName(i))) continue;
    MenuPage = MainPage;
    MenuState = ShowingGame;
  }
}

// ---- Help page ------------------------------------------------------------------------------

constexpr PlacedText HelpLines[] = {
    {210, 140, "korvane 3d is a chess program that plays against you in a small room of its own."},
    {210, 150,
     "every picture you see is drawn by the program itself pixel by pixel without any help"},
    {210, 160,
     "from the graphics card. the board the pieces the clocks and the room are all built from"},
    {210, 170,
     "flat four-cornered faces painted from far to near so that the nearest ones stay on top."},
    {210, 180,
     "the engine looks ahead move by move and weighs every position it meets on the way."},
    {210, 190,
     "it thinks in small slices so the clocks keep ticking and you can fly around while it works."},
    {210, 200, "if it wins too often choose a weaker playing strength on the game settings page."},
    {210, 210,
     "at the beginners level it looks at about 1000 positions a second and misses far more."},
    {210, 230,
     "the two clocks in the room count the thinking time of white and of black from the start."},
    {210, 240,
     "a slower time control gives the engine more time for each move and you a harder game."},
    {210, 250,
     "turn on the move-list to follow the game and the thinking panel to watch the engine work."},
    {210, 260,
     "when a game is over save it to a pgn-file and replay it in any other chess program."},
    {210, 270, "try the room or the dots as surroundings and the wooden board for a warmer look."},
    {210, 290, "if you get lost in the room press the home key to fly straight back to your seat."},
    {210, 300, "have fun and good luck."},
    {210, 320,
     "my program knows all the rules of chess including en-passant and rules for castling  etc. "},
    {210, 330,
     "it understands all the rules for a draw such as 3x repetition the 50 move rule and "
     "stalemate."},
    {210, 340,
     "please refer to chess-documentation or the readme.txt for more info about the rules of "
     "chess."},
    {210, 360,
     "the controls are simple.  just click a square to select a piece and then click on the"},
    {210, 370,
     "destination square you want to move the piece to. korvane checks to see if the move is "
     "legal"},
    {210, 380,
     "so you can not play any illegal moves. when you are unable to move make sure that its your"},
    {210, 390, "turn to move and that your king isnt currently in check."},
    {210, 400,
     "you are able to move and fly around freely in the 3d enviroment. hold down the right mouse-"},
    {210, 410,
     "button or spacebar and move the mousecursor across the screen to change viewingdirection."},
    {210, 420,
     "then press the up-down-left-right arrows on the keyboard to fly in your desired direction."},
    {210, 430,
     "when in a game press the escape key on the keyboard to return to the main menu. go to the "
     "game"},
    {210, 440,
     "settings menu to set time-controls and all other options. i hope you will enjoy my program."},
};

void HelpPageFrame() {
  DrawPanel();
  Title("                 help and info");
  for (const PlacedText& line : HelpLines) Line(line.x, line.y, line.text);
  DrawBackButton();
  if (!TakeClick()) return;
  if (ButtonHit(BackButtonTop)) MenuPage = MainPage;
}

}  // namespace

bool TakeEscape() {
  static uint8_t escapeLatch = 0;
  if (!KeyDown[VkEscape]) escapeLatch = 0;
  if (!KeyDown[VkEscape] || escapeLatch) return false;
  escapeLatch = 1;
  return true;
}

void MenuFrame() {
  if (MenuPage > LoadPage) MenuPage = MainPage;  // never leave the player on a blank menu
  if (TakeEscape()) {
    if (MenuPage == MainPage) {
      MenuState = ShowingGame;
      if (LeftButton) ClickLatch = 1;  // a press made in the menus is no move on the board
      return;
    }
    MenuPage = MainPage;
  }
  if (MenuPage == MainPage) MainPageFrame();
  if (MenuPage == SettingsPage) SettingsPageFrame();
  if (MenuPage == SavePage) SavePageFrame();
  if (MenuPage == HelpPage) HelpPageFrame();
  if (MenuPage == LoadPage) LoadPageFrame();
  if (LeftButton == 0) ClickLatch = 0;
  WriteSettingsIfChanged();
}
