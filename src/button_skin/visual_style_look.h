// What a drawn push button looks like in each of its states: the colours of
// its frame, corners, edge band, face and caption under one colour scheme.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The state flags of a taken-over control.
namespace control_state {
enum : std::uint32_t {
  Disabled = 0x1,
  Pushed = 0x2,
  Hot = 0x4,  // the mouse is over it
  Focused = 0x10,
  DefaultButton = 0x10000,
  CheckOn = 0x20000,
  CheckMixed = 0x40000,
};
}  // namespace control_state

// Colours are COLORREF values (0x00BBGGRR). The four corners of a gradient go
// top-left, top-right, bottom-left, bottom-right; a corner's top byte becomes
// its vertex's alpha and does not change the colour painted.
using QuadColours = std::array<std::uint32_t, 4>;

struct PushButtonPalette {
  std::uint32_t frame;
  // 0 to 4 edge bands (pushed, hot, checked, focused or default, normal),
  // 5 and 6 faces (pushed or checked, normal).
  std::array<QuadColours, 7> entries;
};

// The schemes a push button is drawn in, by the colour of its frame; the
// installer draws its buttons in the navy one.
inline constexpr int kNavyScheme = 1;
inline constexpr int kGreenScheme = 2;
inline constexpr int kLilacScheme = 3;  // a navy frame, lilac faces

// The palette of a scheme; any other number draws with the navy one.
const PushButtonPalette& PushButtonPaletteOf(int scheme);

constexpr std::uint32_t kDisabledFill = 0x00EAF4F5;
constexpr std::uint32_t kDisabledCaption = 0x0094A2A5;

struct PushButtonLook {
  std::uint32_t frame;        // one pixel inside the edge
  std::uint32_t innerCorner;  // the pixel inside each cut corner
  std::uint32_t cornerSides;  // the two pixels beside each cut corner
  std::optional<QuadColours> edge;  // none: filled with kDisabledFill
  std::optional<QuadColours> face;  // none: the edge fill shows through
  bool focusRectangle;
  std::uint32_t captionColour;
  int captionShift;  // to the right and down
};

// The look for a control's state flags, with buttonFace the system's
// button-face colour, from which a disabled button takes its frame.
PushButtonLook PushButtonLookOf(std::uint32_t state, const PushButtonPalette& palette, std::uint32_t buttonFace);

// colour with amount taken from each of its channels, none below 0.
std::uint32_t DarkenedColour(std::uint32_t colour, std::uint8_t amount);
