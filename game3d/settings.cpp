#include "game3d/settings.h"

#include "engine/state.h"
#include "engine/timectl.h"

uint8_t PlayerSide;
int16_t MoveTimeSetting;
std::string TimeControlLabel;
uint8_t ShowThinking;
uint8_t ShowMoveList;
uint8_t Surroundings;
uint8_t BuiltSurroundings;
uint8_t BoardColour;
uint8_t WhitePieceStyle;
uint8_t MenuState;
uint8_t MenuPage;
uint8_t NewGameRequested;
uint8_t ClickLatch;
int16_t MoveListOffset;
int16_t ThinkingPanelX, ThinkingPanelY;

void SetStartSettings() {
  PlayerSide = 0;
  MoveTimeSetting = 20;
  TimeControlLabel = "60/1200";
  SearchStrength = 0;
  SliceGate = 0;
  ShowThinking = 0;
  ShowMoveList = 0;
  Surroundings = 0;
  BuiltSurroundings = 0;
  BoardColour = 0;
  WhitePieceStyle = 0;
  MenuState = ShowingMenu;
  MenuPage = 0;
  NewGameRequested = 0;
  ClickLatch = 0;
  MoveListOffset = 0;
  ThinkingPanelX = 10;
  ThinkingPanelY = 550;
}

uint8_t PlayerSideInGame() {
  return BoardFlipped == 1 ? 1 : 0;  // the engine has White exactly when the player has Black
}
