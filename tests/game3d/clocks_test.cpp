// The clock faces: which slot shows whose time, where each hand points, lines kept in a slot.

#include "test_util.h"

namespace {

using Clocks = GameTest;

GameClock Time(int32_t s) {
  return {int16_t(s / 3600), int16_t(s / 60 % 60), int16_t(s % 60)};
}

TEST_F(Clocks, HandsPointByTheirStepInWhitesAndBlacksSlots) {
  const uint16_t face = 0x1111;
  std::fill(TextureSlots[ClockFaceSlot], TextureSlots[ClockFaceSlot] + 1024, face);
  // From (15, 16): hour (5 long, colour 2), minute (8, 15), second (8, 45), in that order.
  // Step 0 is up, 15 right, 45 left; second 7 rounds to (20, 10); 3 and 15 hours put the
  // hour hand at step 15. Colour 0: the face shows.
  // clang-format off
  const struct { int32_t seconds; int x, y; uint8_t colour; } cases[] = {
      {0, 15, 8, 45}, {0, 15, 7, 0}, {15, 23, 16, 45}, {15, 15, 8, 15}, {45, 7, 16, 45},
      {45, 23, 16, 0}, {7, 20, 10, 45}, {7, 20, 11, 0}, {900, 23, 16, 15}, {10800, 20, 16, 2},
      {10800, 21, 16, 0}, {54000, 20, 16, 2}};
  // clang-format on
  for (uint8_t side : {0, 1}) {
    BoardFlipped = side;  // the player's side in the game
    const uint8_t human = side == 0 ? WhiteClockSlot : BlackClockSlot;
    for (const auto& c : cases) {
      HumanClock = Time(c.seconds), EngineClock = Time(45);  // the other slot: second hand left
      DrawClockFaces();
      EXPECT_EQ(TextureSlots[human][c.y * 32 + c.x], c.colour ? PaletteColour(c.colour) : face)
          << c.seconds << " s at " << c.x << "," << c.y << " side " << int(side);
      EXPECT_EQ(TextureSlots[3 - human][16 * 32 + 7], PaletteColour(45));
    }
  }
}

TEST_F(Clocks, TextureLinesStepLikeBresenhamAndStayInTheirSlot) {
  for (auto& slot : TextureSlots) std::fill(slot, slot + TextureWords, 0);
  DrawTextureLine(0, 0, 5, 2, 9, 4);  // (0,0) (1,0) (2,1) (3,1) (4,2) (5,2)
  for (int i : {0, 1, 34, 35, 68, 69}) EXPECT_EQ(TextureSlots[4][i], 9) << i;
  DrawTextureLine(-32000, -32000, 32000, 32000, 7, 6);  // 32 texels inside
  DrawTextureLine(31, 31, 40, 0, 7, 6);                 // adds (31, 30)
  DrawTextureLine(0, 0, 5, 5, 7, TextureSlotCount);     // no such slot
  EXPECT_EQ(std::count(TextureSlots[6], TextureSlots[6] + TextureWords, 7), 33);
  EXPECT_EQ(std::count(TextureSlots[7], TextureSlots[7] + TextureWords, 7), 0);
}

}  // namespace
