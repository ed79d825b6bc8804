// Translation of SDL key codes into the Windows virtual-key codes KeyDown is indexed by.
#pragma once
#include <cstdint>

// SDL key codes are characters for printable keys and scancode | (1 << 30) for the rest; the
// values are part of SDL's stable interface, so the translation needs no SDL header.
constexpr int32_t SdlScancodeMask = 1 << 30;
constexpr int32_t SdlKeyFromScancode(int32_t scancode) {
  return scancode | SdlScancodeMask;
}

constexpr uint16_t NoVirtualKey = 0;  // keys the program has no code for

uint16_t VirtualKeyFromSdl(int32_t sdlKeycode);
