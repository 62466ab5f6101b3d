#include "visual_style_fixtures.h"

#include <stdexcept>

#include "host/handle_owners.h"

namespace visual_style_fixtures {

namespace {

constexpr char kWindowClass[] = "VisualStyleTestWindow";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORBTN) {
    static const OwnedBrush background(CreateSolidBrush(kParentBackground));
    SetTextColor(reinterpret_cast<HDC>(wParam), kParentTextColour);
    return reinterpret_cast<LRESULT>(background.get());
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Made at first use and left to go with the process.
HWND TestWindow() {
  static const HWND window = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kWindowClass, "visual style", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 320, 240,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }();
  return window;
}

}  // namespace

ButtonWindow::ButtonWindow(const char* caption) : window_(TestWindow()) {
  if (window_ == nullptr) throw std::runtime_error("no test window");
  button_ = CreateWindowExA(0, "BUTTON", caption, kButtonStyle | WS_VISIBLE, 20, 20, 100, 30, window_,
                            reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr), nullptr);
  if (button_ == nullptr) throw std::runtime_error("no test button");
  SendMessageA(button_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  SetForegroundWindow(window_);
  SetFocus(window_);
  Pump();
}

ButtonWindow::~ButtonWindow() {
  for (HWND control : added_) DestroyWindow(control);
  DestroyWindow(button_);
}

HWND ButtonWindow::AddControl(const char* className, const char* text, DWORD style, int y) {
  const HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 150, y, 100, 24, window_,
                                       nullptr, GetModuleHandleA(nullptr), nullptr);
  added_.push_back(control);
  return control;
}

void Pump() {
  MSG message;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
}

picture_fixtures::Rgb RgbOf(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

}  // namespace visual_style_fixtures
