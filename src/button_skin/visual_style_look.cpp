#include "button_skin/visual_style_look.h"

#include <algorithm>

using namespace control_state;

namespace {

constexpr QuadColours kPushedEdge{0x00C1CCD1, 0x00C1CCD1, 0x00EEF1F2, 0xFFEEF1F2};
constexpr QuadColours kHotEdge{0x00CFF0FF, 0x00CFF0FF, 0x000097E5, 0xFF0097E5};
constexpr QuadColours kCheckedEdge{0x00BDCBD6, 0x00C6CFD6, 0x00EFF3F7, 0xFFEFF3F7};
constexpr QuadColours kFocusedEdge{0x00FFE7CE, 0x00FFE7CE, 0x00EE8269, 0xFFEE8269};
constexpr QuadColours kNormalEdge{0x00FFFFFF, 0x00FFFFFF, 0x00D6DFE2, 0xFFD6DFE2};
constexpr QuadColours kPushedFace{0x00DEE3E7, 0x00E7E7E7, 0x00DEE3E7, 0xFFDEE3E7};
constexpr QuadColours kNormalFace{0x00FBFCFC, 0x00FBFCFC, 0x00E6EBEC, 0xFFE6EBEC};
constexpr QuadColours kPaleBlue{0x00CEE3EF, 0x00CEE3EF, 0x00CEE3EF, 0xFFCEE3EF};

constexpr PushButtonPalette kPalettes[] = {
    {0x00733C00, {kPushedEdge, kHotEdge, kCheckedEdge, kFocusedEdge, kNormalEdge, kPushedFace, kNormalFace}},
    {0x00066237,
     {kPaleBlue, kHotEdge, kCheckedEdge, kHotEdge, kNormalEdge, kPaleBlue,
      QuadColours{0x00FBFCFC, 0x00FBFCFC, 0x00C9E1EC, 0xFFC9E1EC}}},
    {0x00743C00,
     {kPaleBlue, kHotEdge, kCheckedEdge, kFocusedEdge, kNormalEdge,
      QuadColours{0x00C5B2B3, 0x00C5B2B3, 0x00FBFCFC, 0xFFFBFCFC},
      QuadColours{0x00FBFCFC, 0x00FBFCFC, 0x00D7C5C6, 0xFFD7C5C6}}},
};

// The edge band entry: the first state that holds decides.
std::size_t EdgeEntry(std::uint32_t state) {
  if (state & Pushed) return 0;
  if (state & Hot) return 1;
  if (state & (CheckOn | CheckMixed)) return 2;
  if (state & (Focused | DefaultButton)) return 3;
  return 4;
}

}  // namespace

const PushButtonPalette& PushButtonPaletteOf(int scheme) {
  static_assert(kGreenScheme == kNavyScheme + 1 && kLilacScheme == kNavyScheme + 2, "kPalettes in scheme order");
  return kPalettes[scheme >= kNavyScheme && scheme <= kLilacScheme ? scheme - kNavyScheme : 0];
}

PushButtonLook PushButtonLookOf(std::uint32_t state, const PushButtonPalette& palette, std::uint32_t buttonFace) {
  const bool disabled = (state & Disabled) != 0;
  PushButtonLook look{};
  look.frame = disabled ? DarkenedColour(buttonFace, 0x20) : palette.frame;
  look.innerCorner = disabled ? DarkenedColour(buttonFace, 0x15) : look.frame;
  look.cornerSides = disabled ? DarkenedColour(buttonFace, 0x11) : look.frame;
  if (!disabled) look.edge = palette.entries[EdgeEntry(state)];
  // A pushed or checked face is drawn even on a disabled button.
  if (state & (Pushed | CheckOn | CheckMixed))
    look.face = palette.entries[5];
  else if (!disabled)
    look.face = palette.entries[6];
  look.focusRectangle = (state & Focused) != 0;
  look.captionColour = (state & (CheckMixed | Disabled)) != 0 ? kDisabledCaption : 0;
  look.captionShift = (state & Pushed) != 0 ? 1 : 0;
  return look;
}

std::uint32_t DarkenedColour(std::uint32_t colour, std::uint8_t amount) {
  // Taken from the whole value, a channel below amount would borrow from the
  // next one: a dark face would get a frame of quite another colour.
  std::uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int channel = static_cast<int>((colour >> shift) & 0xFF) - amount;
    result |= static_cast<std::uint32_t>(std::max(channel, 0)) << shift;
  }
  return result;
}
