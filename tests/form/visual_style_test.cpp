// The drawn push-button look on real controls under Wine: which controls are
// taken over and given back, and what a 100 × 30 button shows in each state.
#include "form/visual_style.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "host/message_box.h"

namespace {

constexpr DWORD kDisabled = 0x1, kPushed = 0x2, kHot = 0x4, kFocused = 0x10, kDefaultButton = 0x10000;
constexpr COLORREF kFrame = 0x00733C00;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct Host {
  HWND window = nullptr;
  HWND button = nullptr;
  Host() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "VisualStyleTestHost";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                             nullptr, nullptr, wc.hInstance, nullptr);
    // 卸载汉化, with the style of the form's buttons.
    button = CreateWindowExA(0, "BUTTON", "\xD0\xB6\xD4\xD8\xBA\xBA\xBB\xAF", 0x44012F00 | WS_VISIBLE, 20, 20, 100, 30,
                             window, reinterpret_cast<HMENU>(100), wc.hInstance, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  }
  ~Host() { DestroyWindow(window); }
};

void Pump() {
  MSG msg;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
}

// What the control shows, read back from its own window DC.
struct Capture {
  std::vector<COLORREF> pixels;
  int width = 0, height = 0;
  explicit Capture(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    RECT r;
    GetWindowRect(control, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    HDC dc = GetWindowDC(control);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(control, dc);
  }
  COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

bool Near(COLORREF a, COLORREF b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

// The box of pixels well inside the caption area (clear of the focus
// rectangle) that are much darker than the face.
RECT InkBox(const Capture& c) {
  RECT box{1000, 1000, -1, -1};
  for (int y = 6; y < 25; ++y)
    for (int x = 6; x < 95; ++x)
      if (GetGValue(c.at(x, y)) < 0x80) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x);
        box.bottom = std::max<LONG>(box.bottom, y);
      }
  return box;
}

TEST(VisualStyle, TakesOverPushButtonsOnceAndGivesThemBack) {
  Host host;
  HWND checkBox = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 20, 60, 100, 20,
                                  host.window, nullptr, nullptr, nullptr);
  HWND iconButton = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_ICON, 20, 90, 40, 40, host.window,
                                    nullptr, nullptr, nullptr);
  EXPECT_EQ(SetVisualStyle(1), 1);
  EXPECT_TRUE(IsSkinned(host.button));
  EXPECT_FALSE(IsSkinned(checkBox));
  EXPECT_FALSE(IsSkinned(iconButton));  // its image would be painted over
  EXPECT_EQ(SetVisualStyle(1), 1);
  EXPECT_EQ(SkinnedControlCount(), 1u);

  // Created later, taken over through the creation hook.
  HWND later = CreateWindowExA(0, "BUTTON", "later", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 150, 20, 100, 30,
                               host.window, nullptr, nullptr, nullptr);
  EXPECT_TRUE(IsSkinned(later));
  EXPECT_EQ(SkinnedStateOf(later) & kDefaultButton, kDefaultButton);
  DestroyWindow(later);
  EXPECT_EQ(SkinnedControlCount(), 1u);

  EXPECT_EQ(SetVisualStyle(0), 1);
  EXPECT_FALSE(IsSkinned(host.button));
  EXPECT_EQ(SkinnedControlCount(), 0u);
  HWND afterwards = CreateWindowExA(0, "BUTTON", "plain", WS_CHILD | WS_VISIBLE, 150, 60, 100, 30, host.window, nullptr,
                                    nullptr, nullptr);
  EXPECT_FALSE(IsSkinned(afterwards));
  EXPECT_EQ(SetVisualStyle(0), 0);
}

struct BoxCheck {
  bool found = false;
  bool okSkinned = false;
  DWORD okState = 0;
};
BoxCheck boxCheck;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) != "#32770") return TRUE;
  HWND ok = GetDlgItem(hwnd, IDOK);
  boxCheck.found = true;
  boxCheck.okSkinned = IsSkinned(ok);
  boxCheck.okState = SkinnedStateOf(ok);
  PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
  return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), &FindBox, 0); }

TEST(VisualStyle, MessageBoxButtonsAreDrawnToo) {
  SetVisualStyle(1);
  UINT_PTR timer = SetTimer(nullptr, 0, 300, &LookForBox);
  ShowMessageBox(MessageValue::FromText("style"), MB_ICONINFORMATION, "box");
  KillTimer(nullptr, timer);
  EXPECT_TRUE(boxCheck.found);
  EXPECT_TRUE(boxCheck.okSkinned);
  EXPECT_EQ(boxCheck.okState & kDefaultButton, kDefaultButton);
  SetVisualStyle(0);
}

TEST(VisualStyle, DrawsEachStateOfAPushButton) {
  Host host;
  SetVisualStyle(1);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  // Keep the focus elsewhere for the normal look.
  SetFocus(host.window);
  Capture normal(host.button);
  EXPECT_EQ(normal.at(0, 15), face);                 // the ring of button face
  EXPECT_EQ(normal.at(1, 15), kFrame);               // the frame, one pixel inside the edge
  EXPECT_EQ(normal.at(1, 1), face);                  // cut corners
  EXPECT_EQ(normal.at(2, 2), kFrame);
  EXPECT_EQ(normal.at(2, 1), kFrame);
  EXPECT_TRUE(Near(normal.at(50, 2), 0x00FFFFFF, 2));   // edge band: entry 4 top...
  EXPECT_TRUE(Near(normal.at(50, 27), 0x00D6DFE2, 8));  // ...to its bottom
  EXPECT_TRUE(Near(normal.at(5, 4), 0x00FBFCFC, 2));    // face: entry 6 top

  SendMessageA(host.button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  Capture hot(host.button);
  EXPECT_EQ(SkinnedStateOf(host.button) & kHot, kHot);
  EXPECT_TRUE(Near(hot.at(50, 2), 0x00CFF0FF, 2));
  SendMessageA(host.button, WM_MOUSELEAVE, 0, 0);

  SetFocus(host.button);
  Capture focused(host.button);
  EXPECT_EQ(SkinnedStateOf(host.button) & kFocused, kFocused);
  EXPECT_TRUE(Near(focused.at(50, 2), 0x00FFE7CE, 2));
  // The dotted focus rectangle runs 3 pixels inside the edge.
  int dotted = 0;
  for (int x = 3; x < 97; ++x) dotted += focused.at(x, 3) != normal.at(x, 3);
  EXPECT_GT(dotted, 20);
  EXPECT_EQ(focused.at(50, 5), normal.at(50, 5));

  SendMessageA(host.button, BM_SETSTATE, TRUE, 0);
  Capture pushed(host.button);
  EXPECT_EQ(SkinnedStateOf(host.button) & kPushed, kPushed);
  EXPECT_TRUE(Near(pushed.at(50, 2), 0x00C1CCD1, 2));
  RECT inkNormal = InkBox(normal), inkPushed = InkBox(pushed);
  EXPECT_EQ(inkPushed.left, inkNormal.left + 1);
  EXPECT_EQ(inkPushed.top, inkNormal.top + 1);
  SendMessageA(host.button, BM_SETSTATE, FALSE, 0);

  SetFocus(host.window);
  EnableWindow(host.button, FALSE);
  Capture disabled(host.button);
  EXPECT_EQ(SkinnedStateOf(host.button) & kDisabled, kDisabled);
  EXPECT_EQ(disabled.at(1, 15), DarkenedColour(face, 0x20));
  EXPECT_EQ(disabled.at(2, 2), DarkenedColour(face, 0x15));
  EXPECT_EQ(disabled.at(2, 1), DarkenedColour(face, 0x11));
  EXPECT_EQ(disabled.at(3, 15), 0x00EAF4F5u);
  EXPECT_EQ(disabled.at(50, 5), 0x00EAF4F5u);
  SetVisualStyle(0);
}

TEST(VisualStyle, DisabledColoursDoNotBorrowAcrossChannels) {
  EXPECT_EQ(DarkenedColour(0x00F0F0F0, 0x20), 0x00D0D0D0u);
  EXPECT_EQ(DarkenedColour(0x00401008, 0x20), 0x00200000u);
}

}  // namespace
