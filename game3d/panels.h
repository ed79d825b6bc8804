// The two panels drawn over the game view: the engine's thinking at the bottom left and the
// scrollable list of moves at the top right.
#pragma once
#include <cstdint>

constexpr int16_t MoveListRows = 20;
constexpr int16_t MoveListOffsetMax = 200;

// At (ThinkingPanelX, ThinkingPanelY): the best line found so far, and while the engine is to
// move its depth, nodes, the root move under search and the score.
void DrawThinkingPanel();

// Twenty full moves from MoveListOffset + 1 on, with the result after the last move of a
// finished game; the scroll buttons move the list by one row a press (ClickLatch).
void DrawMoveList();

// After every move: scroll so that the latest move stays on the last rows.
void UpdateMoveListScroll();
