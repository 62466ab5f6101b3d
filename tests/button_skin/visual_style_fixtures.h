// A 100 × 30 push button styled like the form's Buttons on a plain top-level
// window, for taking over and for reading back what the style drew.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

#include "picture_fixtures.h"

namespace visual_style_fixtures {

// WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_CENTER |
// BS_VCENTER | BS_PUSHBUTTON: the style of the form's Buttons.
constexpr DWORD kButtonStyle = 0x44012F00;
// What the window answers when a button asks for its colours.
constexpr COLORREF kParentBackground = 0x00112233;
constexpr COLORREF kParentTextColour = 0x00445566;

// The button and the further controls it adds are destroyed with it; the
// window is one for the whole test program, because under Wine without a
// window manager destroying a top-level window waits two seconds for one.
class ButtonWindow {
 public:
  explicit ButtonWindow(const char* caption = "\xD0\xB6\xD4\xD8\xBA\xBA\xBB\xAF");  // 卸载汉化
  ~ButtonWindow();
  ButtonWindow(const ButtonWindow&) = delete;
  ButtonWindow& operator=(const ButtonWindow&) = delete;

  HWND window() const { return window_; }
  HWND button() const { return button_; }
  // A further child control of the window, below the button.
  HWND AddControl(const char* className, const char* text, DWORD style, int y);

 private:
  HWND window_ = nullptr;
  HWND button_ = nullptr;
  std::vector<HWND> added_;
};

// Dispatches what is queued for the thread, a few times over.
void Pump();

picture_fixtures::Rgb RgbOf(COLORREF colour);

}  // namespace visual_style_fixtures
