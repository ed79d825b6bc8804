#include "platform3d/keys.h"

namespace {

struct KeyPair {
  int32_t sdl;
  uint16_t vk;
};

// SDL scancodes (USB usage numbers) of the non-printing keys, paired with their virtual keys.
constexpr KeyPair ScancodeKeys[] = {
    {57, 0x14},   // caps lock
    {70, 0x2C},   // print screen
    {71, 0x91},   // scroll lock
    {72, 0x13},   // pause
    {73, 0x2D},   // insert
    {74, 0x24},   // home
    {75, 0x21},   // page up
    {77, 0x23},   // end
    {78, 0x22},   // page down
    {79, 0x27},   // right
    {80, 0x25},   // left
    {81, 0x28},   // down
    {82, 0x26},   // up
    {83, 0x90},   // num lock
    {84, 0x6F},   // keypad divide
    {85, 0x6A},   // keypad multiply
    {86, 0x6D},   // keypad minus
    {87, 0x6B},   // keypad plus
    {88, 0x0D},   // keypad enter is the return key to Windows
    {98, 0x60},   // keypad 0 (SDL puts it after keypad 9)
    {99, 0x6E},   // keypad decimal
    {101, 0x5D},  // application (menu) key
    {224, 0x11},  // left control
    {225, 0x10},  // left shift
    {226, 0x12},  // left alt
    {227, 0x5B},  // left windows key
    {228, 0x11},  // right control
    {229, 0x10},  // right shift
    {230, 0x12},  // right alt
    {231, 0x5C},  // right windows key
};

// Printable SDL keys outside letters, digits and space: the US-layout punctuation keys.
constexpr KeyPair CharacterKeys[] = {
    {'\b', 0x08}, {'\t', 0x09}, {'\r', 0x0D}, {27, 0x1B},   {127, 0x2E}, {';', 0xBA},
    {'=', 0xBB},  {',', 0xBC},  {'-', 0xBD},  {'.', 0xBE},  {'/', 0xBF}, {'`', 0xC0},
    {'[', 0xDB},  {'\\', 0xDC}, {']', 0xDD},  {'\'', 0xDE},
};

}  // namespace

uint16_t VirtualKeyFromSdl(int32_t sdlKeycode) {
  if (sdlKeycode >= 'a' && sdlKeycode <= 'z') return static_cast<uint16_t>(sdlKeycode - 'a' + 'A');
  if (sdlKeycode >= '0' && sdlKeycode <= '9') return static_cast<uint16_t>(sdlKeycode);
  if (sdlKeycode == ' ') return 0x20;
  if ((sdlKeycode & SdlScancodeMask) == 0) {
    for (const KeyPair& pair : CharacterKeys) {
      if (pair.sdl == sdlKeycode) return pair.vk;
    }
    return NoVirtualKey;
  }
  int32_t scancode = sdlKeycode & ~SdlScancodeMask;
  if (scancode >= 58 && scancode <= 69)
    return static_cast<uint16_t>(0x70 + scancode - 58);  // F1-F12
  if (scancode >= 104 && scancode <= 115)
    return static_cast<uint16_t>(0x7C + scancode - 104);  // F13-F24
  if (scancode >= 89 && scancode <= 97)
    return static_cast<uint16_t>(0x61 + scancode - 89);  // keypad 1-9
  for (const KeyPair& pair : ScancodeKeys) {
    if (pair.sdl == scancode) return pair.vk;
  }
  return NoVirtualKey;
}
