// The menu pages drawn over the last game frame: main, game settings, save to PGN, help and
// load from PGN.
// They only write the settings and flags of settings.h; the main loop applies them.
#pragma once
#include <cstdint>

// MenuPage values.
constexpr uint8_t MainPage = 0;
constexpr uint8_t SettingsPage = 1;
constexpr uint8_t SavePage = 2;
constexpr uint8_t HelpPage = 3;
constexpr uint8_t LoadPage = 4;

// One menu frame: draws the current page into BackBuffer and acts on a new press of the left
// button (one action a press: ClickLatch holds until the button is released). A click that
// changes the page shows the new page in the same call. A changed setting is kept in the
// settings file. Escape steps back: from a sub-page to the main page, from the main page to the
// game.
void MenuFrame();
// A new press of Escape, taken once: true the first time it is asked after the key went down.
// The game view and the menus share it, so one press makes one change of view.
bool TakeEscape();
