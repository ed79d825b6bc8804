// SDL key codes to Windows virtual-key codes. SDL codes are written from SDL's published
// values (characters, or USB scancode | 1 << 30); the expected codes are the Windows VK_ values.
#include "platform3d/keys.h"

#include <gtest/gtest.h>

#include "platform3d/platform.h"

namespace {

int32_t Scancode(int32_t usb) {
  return SdlKeyFromScancode(usb);
}

TEST(KeyTranslation, LettersBecomeUpperCaseAndDigitsStay) {
  EXPECT_EQ(VirtualKeyFromSdl('a'), 'A');
  EXPECT_EQ(VirtualKeyFromSdl('q'), 'Q');
  EXPECT_EQ(VirtualKeyFromSdl('z'), 'Z');
  EXPECT_EQ(VirtualKeyFromSdl('0'), '0');
  EXPECT_EQ(VirtualKeyFromSdl('9'), '9');
}

TEST(KeyTranslation, TheGameKeys) {
  EXPECT_EQ(VirtualKeyFromSdl(' '), 32);
  EXPECT_EQ(VirtualKeyFromSdl('\r'), 13);
  EXPECT_EQ(VirtualKeyFromSdl(27), 27);
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(80)), 37);  // left
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(82)), 38);  // up
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(79)), 39);  // right
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(81)), 40);  // down
  EXPECT_EQ(VkLeft, 37);
  EXPECT_EQ(VkEscape, 27);
}

TEST(KeyTranslation, FunctionKeypadAndModifierKeys) {
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(58)), 0x70);   // F1
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(69)), 0x7B);   // F12
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(104)), 0x7C);  // F13
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(98)), 0x60);   // keypad 0
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(89)), 0x61);   // keypad 1
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(97)), 0x69);   // keypad 9
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(88)), 13);     // keypad enter
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(225)), 0x10);  // left shift
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(229)), 0x10);  // right shift
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(224)), 0x11);  // control
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(226)), 0x12);  // alt
  EXPECT_EQ(VirtualKeyFromSdl('\b'), 0x08);
  EXPECT_EQ(VirtualKeyFromSdl('\t'), 0x09);
  EXPECT_EQ(VirtualKeyFromSdl(127), 0x2E);           // delete
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(75)), 0x21);  // page up
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(78)), 0x22);  // page down
}

TEST(KeyTranslation, UnknownKeysGiveNoCodeAndEveryCodeFitsTheTable) {
  EXPECT_EQ(VirtualKeyFromSdl(0), NoVirtualKey);
  EXPECT_EQ(VirtualKeyFromSdl('A'), NoVirtualKey);   // SDL never sends upper case
  EXPECT_EQ(VirtualKeyFromSdl(0xE4), NoVirtualKey);  // a layout's a-umlaut
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(0)), NoVirtualKey);
  EXPECT_EQ(VirtualKeyFromSdl(Scancode(500)), NoVirtualKey);
  EXPECT_EQ(VirtualKeyFromSdl(-1), NoVirtualKey);
  for (int32_t code = -300; code < 70000; ++code) {
    ASSERT_LT(VirtualKeyFromSdl(code), KeyCount) << code;
    ASSERT_LT(VirtualKeyFromSdl(Scancode(code & 0xFFFF)), KeyCount) << code;
  }
}

}  // namespace
