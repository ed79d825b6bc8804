// SDL key codes to Windows virtual-key codes. SDL codes are written from SDL's published
// values (characters, or USB scancode | 1 << 30); the expected codes are the Windows VK_ values.
#include "platform3d/keys.h"

#include <gtest/gtest.h>

#include "platform3d/platform.h"

namespace {

TEST(KeyTranslation, SdlKeysBecomeVirtualKeys) {
  const int32_t s = SdlScancodeMask;
  // Letters, digits and the game keys; arrows; F1, F12, F13; keypad 0, 1, 9 and enter; shift,
  // control and alt; backspace, tab, delete, page up and down. Then keys without a code:
  // nothing, upper case (SDL never sends it), a layout's a-umlaut, unknown and negative codes.
  const int32_t cases[][2] = {{'a', 'A'},           {'q', 'Q'},        {'z', 'Z'},
                              {'0', '0'},           {'9', '9'},        {' ', 32},
                              {'\r', 13},           {27, 27},          {s | 80, 37},
                              {s | 82, 38},         {s | 79, 39},      {s | 81, 40},
                              {s | 58, 0x70},       {s | 69, 0x7B},    {s | 104, 0x7C},
                              {s | 98, 0x60},       {s | 89, 0x61},    {s | 97, 0x69},
                              {s | 88, 13},         {s | 225, 0x10},   {s | 229, 0x10},
                              {s | 224, 0x11},      {s | 226, 0x12},   {'\b', 0x08},
                              {'\t', 0x09},         {127, 0x2E},       {s | 75, 0x21},
                              {s | 78, 0x22},       {0, NoVirtualKey}, {'A', NoVirtualKey},
                              {0xE4, NoVirtualKey}, {s, NoVirtualKey}, {s | 500, NoVirtualKey},
                              {-1, NoVirtualKey}};
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromSdl(c[0]), c[1]) << c[0];
  for (int32_t code = -300; code < 70000; ++code) {  // every code fits KeyDown
    ASSERT_LT(VirtualKeyFromSdl(code), KeyCount) << code;
    ASSERT_LT(VirtualKeyFromSdl(SdlKeyFromScancode(code & 0xFFFF)), KeyCount) << code;
  }
}

}  // namespace
