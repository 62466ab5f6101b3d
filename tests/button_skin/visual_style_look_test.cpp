// The colours a drawn push button takes in each state and scheme.
#include "button_skin/visual_style_look.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace control_state;

constexpr std::uint32_t kFace = 0x00F0F0F0;
const PushButtonPalette& kScheme1 = PushButtonPaletteOf(1);

std::optional<QuadColours> Entry(int index) {
  if (index < 0) return std::nullopt;
  return kScheme1.entries[static_cast<std::size_t>(index)];
}

TEST(PushButtonLook, EdgeAndFaceByState) {
  struct Case {
    std::uint32_t state;
    int edge, face;  // entries; -1 for none
    bool focusRectangle;
    std::uint32_t caption;
    int shift;
  } cases[] = {
      {0, 4, 6, false, 0, 0},
      {Focused, 3, 6, true, 0, 0},
      {DefaultButton, 3, 6, false, 0, 0},
      {Hot, 1, 6, false, 0, 0},
      {Hot | Focused, 1, 6, true, 0, 0},
      {Pushed | Hot | Focused, 0, 5, true, 0, 1},
      {CheckOn, 2, 5, false, 0, 0},
      {CheckMixed, 2, 5, false, kDisabledCaption, 0},
      {Disabled, -1, -1, false, kDisabledCaption, 0},
      {Disabled | Focused | DefaultButton, -1, -1, true, kDisabledCaption, 0},
      {Disabled | Pushed, -1, 5, false, kDisabledCaption, 1},
  };
  for (const Case& c : cases) {
    const PushButtonLook look = PushButtonLookOf(c.state, kScheme1, kFace);
    EXPECT_EQ(look.edge, Entry(c.edge)) << std::hex << c.state;
    EXPECT_EQ(look.face, Entry(c.face)) << std::hex << c.state;
    EXPECT_EQ(look.focusRectangle, c.focusRectangle) << std::hex << c.state;
    EXPECT_EQ(look.captionColour, c.caption) << std::hex << c.state;
    EXPECT_EQ(look.captionShift, c.shift) << std::hex << c.state;
    if (!(c.state & Disabled)) {
      EXPECT_EQ(look.frame, 0x00733C00u);
      EXPECT_EQ(look.innerCorner, 0x00733C00u);
      EXPECT_EQ(look.cornerSides, 0x00733C00u);
    }
  }
}

TEST(PushButtonLook, DisabledFrameIsDarkerThanTheButtonFaceInEveryChannel) {
  struct Case {
    std::uint32_t face;
    std::uint32_t frame, innerCorner, cornerSides;
  } cases[] = {
      {0x00F0F0F0, 0x00D0D0D0, 0x00DBDBDB, 0x00DFDFDF},
      {0x00D4D0C8, 0x00B4B0A8, 0x00BFBBB3, 0x00C3BFB7},
      // A dark face: no channel borrows from its neighbour.
      {0x00401008, 0x00200000, 0x002B0000, 0x002F0000},
      {0x00000000, 0x00000000, 0x00000000, 0x00000000},
  };
  for (const Case& c : cases) {
    const PushButtonLook look = PushButtonLookOf(Disabled, kScheme1, c.face);
    EXPECT_EQ(look.frame, c.frame) << std::hex << c.face;
    EXPECT_EQ(look.innerCorner, c.innerCorner) << std::hex << c.face;
    EXPECT_EQ(look.cornerSides, c.cornerSides) << std::hex << c.face;
  }
}

TEST(PushButtonLook, Schemes) {
  const PushButtonPalette& scheme2 = PushButtonPaletteOf(2);
  const PushButtonPalette& scheme3 = PushButtonPaletteOf(3);
  const QuadColours paleBlue{0x00CEE3EF, 0x00CEE3EF, 0x00CEE3EF, 0xFFCEE3EF};
  EXPECT_EQ(scheme2.frame, 0x00066237u);
  EXPECT_EQ(scheme2.entries[0], paleBlue);
  EXPECT_EQ(scheme2.entries[5], paleBlue);
  EXPECT_EQ(scheme2.entries[3], kScheme1.entries[1]);
  EXPECT_EQ(scheme2.entries[6], (QuadColours{0x00FBFCFC, 0x00FBFCFC, 0x00C9E1EC, 0xFFC9E1EC}));
  EXPECT_EQ(scheme3.frame, 0x00743C00u);
  EXPECT_EQ(scheme3.entries[0], paleBlue);
  EXPECT_EQ(scheme3.entries[3], kScheme1.entries[3]);
  EXPECT_EQ(scheme3.entries[5], (QuadColours{0x00C5B2B3, 0x00C5B2B3, 0x00FBFCFC, 0xFFFBFCFC}));
  for (int other : {0, 4, -1, 100}) EXPECT_EQ(&PushButtonPaletteOf(other), &kScheme1) << other;
  EXPECT_EQ(kScheme1.entries[4], (QuadColours{0x00FFFFFF, 0x00FFFFFF, 0x00D6DFE2, 0xFFD6DFE2}));
}

}  // namespace
