// The 3D program's settings and loop flags: plain globals written by the menus and read by the
// scene, the main loop, the clocks and the PGN writer. SearchStrength and SliceGate belong to
// the engine's clock (engine/timectl.h).
#pragma once
#include <cstdint>
#include <string>

// One entry of the time-control menu.
struct TimeControl {
  const char* menuText;
  int16_t secondsPerMove;  // what MoveTimeSetting takes
  const char* label;       // the PGN TimeControl text
};

constexpr int TimeControlCount = 15;
// The menu's order; the "game in" rows have fixed budgets rather than time / moves.
constexpr TimeControl TimeControlTable[TimeControlCount] = {
    {"40 moves in 150 minutes", 225, "40/9000"},
    {"40 moves in 120 minutes", 180, "40/7200"},
    {"40 moves in 90 minutes", 135, "40/5400"},
    {"40 moves in 60 minutes", 90, "40/3600"},
    {"60 moves in 150 minutes", 150, "60/9000"},
    {"60 moves in 120 minutes", 120, "60/7200"},
    {"60 moves in 60 minutes", 60, "60/3600"},
    {"60 moves in 30 minutes", 30, "60/1800"},
    {"60 moves in 20 minutes", 20, "60/1200"},
    {"60 moves in 10 minutes", 10, "60/600"},
    {"60 moves in 5 minutes", 5, "60/300"},
    {"game in 30 minutes", 18, "1800"},
    {"game in 20 minutes", 12, "1200"},
    {"game in 10 minutes", 8, "600"},
    {"game in 5 minutes", 4, "300"},
};

// MenuState values.
constexpr uint8_t ShowingGame = 0;
constexpr uint8_t ShowingMenu = 1;
constexpr uint8_t QuitChosen = 2;

extern uint8_t PlayerSide;            // 0 the player has White, 1 Black; used at the next new game
extern int16_t MoveTimeSetting;       // seconds per move of the chosen time control
extern std::string TimeControlLabel;  // its PGN label
extern uint8_t ShowThinking;          // thinking panel on
extern uint8_t ShowMoveList;          // move list on
extern uint8_t Surroundings;          // 0 none, 1 room, 2 dots
extern uint8_t BuiltSurroundings;     // the setting the surroundings were last built for
extern uint8_t BoardColour;           // 0 stone, 1 wood
extern uint8_t WhitePieceStyle;       // 0 wood, 1 white
extern uint8_t MenuState;             // ShowingGame, ShowingMenu or QuitChosen
extern uint8_t MenuPage;              // 0 main, 1 game settings, 2 save to PGN, 3 help
extern uint8_t NewGameRequested;      // the menus asked for a new game
extern uint8_t ClickLatch;            // the current press of the left button has been used
extern int16_t MoveListOffset;        // first move number shown in the move list, minus one
extern int16_t ThinkingPanelX, ThinkingPanelY;

// Every value above to what the program starts with (also SearchStrength and SliceGate).
void SetStartSettings();
// The side the player has in the game on the board (0 White, 1 Black): PlayerSide as it was
// when the game began, or as a loaded game has it. The board, the clocks and the move list
// follow it; a changed PlayerSide waits for the next new game.
uint8_t PlayerSideInGame();
