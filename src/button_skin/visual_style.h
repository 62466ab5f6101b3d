// The program's own look for push buttons: every push button of the calling
// thread, those of message boxes included, has its window procedure replaced
// and is drawn with a framed gradient face whose colours follow its state.
#pragma once

#include <cstddef>
#include <cstdint>

#include <windows.h>

#include "button_skin/visual_style_kind.h"
#include "button_skin/visual_style_look.h"

// The schemes (visual_style_look.h) take over every push button of the calling thread, those there
// now and those created later, and answer 1; any other value gives every one
// back and answers whether the creation hook was removed (0 when there was
// none).
int SetVisualStyle(int scheme);

// One taken-over control, kept by the thread that took it over.
struct SkinnedControl {
  HWND window = nullptr;
  ControlKind kind = ControlKind::PushButton;
  std::uint32_t state = 0;  // control_state flags
  COLORREF backgroundColour = 0;
  COLORREF textColour = 0;           // as the parent set it for the control
  HBRUSH backgroundBrush = nullptr;  // the parent's; it stays the parent's to delete
  WNDPROC previousProcedure = nullptr;
};

// The record of a control of the calling thread, or none when the style does
// not hold it.
const SkinnedControl* FindSkinnedControl(HWND window);
std::size_t SkinnedControlCount();
