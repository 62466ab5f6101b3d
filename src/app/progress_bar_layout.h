// Where the install's progress bar sits, how much of it is filled and in
// which colours: the program draws it by these rules, and the tests read it
// back from the screen by the same ones.
#pragma once

#include <windows.h>

namespace progress_bar {

// Below the column of buttons and as wide as it, beside what started it.
constexpr int kGap = 20;
constexpr int kHeight = 20;
// The system colours of the frame, the filled part, the rest, and the
// percentage over each.
constexpr int kFrameColour = COLOR_BTNSHADOW;
constexpr int kFilledColour = COLOR_HIGHLIGHT;
constexpr int kEmptyColour = COLOR_WINDOW;
constexpr int kTextOnFilledColour = COLOR_HIGHLIGHTTEXT;
constexpr int kTextOnEmptyColour = COLOR_WINDOWTEXT;

inline RECT Below(const RECT& buttons) {
  return RECT{buttons.left, buttons.bottom + kGap, buttons.right, buttons.bottom + kGap + kHeight};
}

// Inside the bar's one-pixel frame.
inline RECT Inside(const RECT& bar) { return RECT{bar.left + 1, bar.top + 1, bar.right - 1, bar.bottom - 1}; }

// The part of the inside that is filled at percent (0 to 100).
inline RECT Filled(const RECT& inside, int percent) {
  RECT filled = inside;
  filled.right = inside.left + (inside.right - inside.left) * percent / 100;
  return filled;
}

}  // namespace progress_bar
