// The two panels drawn over the game view: the engine's thinking at the bottom left and the
// scrollable list of moves at the top right.
#pragma once
#include <cstdint>
#include <string>

constexpr int16_t MoveListRows = 20;
constexpr int16_t MoveListOffsetMax = 200;

// At (ThinkingPanelX, ThinkingPanelY): the best line found so far, and while the engine is to
// move its depth, nodes, the root move under search and the score.
void DrawThinkingPanel();

// Twenty full moves from MoveListOffset + 1 on, with the result after the last move of a
// finished game; the scroll buttons move the list by one row a press (ClickLatch).
void DrawMoveList();

// When the game has ended: "the game has ended.   well done." and below it, twice as large,
// how it ended ("checkmate: white wins 1-0", "draw by repetition", ...), on a dark panel.
void DrawGameEnd();
// How the game ended, as DrawGameEnd says it; empty while it goes on.
std::string GameEndText();

// After every move: scroll so that the latest move stays on the last rows.
void UpdateMoveListScroll();
