// Square picking: which board square's drawn span covers the mouse.
#pragma once
#include <cstdint>

constexpr uint8_t NoHoverSquare = 70;  // set by the main loop before each render
constexpr uint8_t PickMarker = 254;    // FillQuad's "this span covers the mouse" mark

extern uint8_t HoverSquare;  // 0..63 after a render, NoHoverSquare when none
extern uint8_t PickArmed;    // 1 while RenderScene draws a board square
