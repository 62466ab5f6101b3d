// The program's own window while a handler runs a sequence: it refuses to
// close, starts nothing, drops input, answers other threads while it waits,
// shows the busy pointer and paints what the program draws over it; and all
// of that ends with the sequence.
#include "form/engine/busy_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "engine_carried_form.h"
#include "engine_fixtures.h"

namespace {

using namespace form_ids;
using carried_form::ClickedEntry;
using carried_form::LoadedForm;
using engine_fixtures::Journal;

bool MenuCloseGreyed(HWND window) {
  return (GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

void ReportClick(HWND window, HWND button) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

TEST(BusyWindow, RefusesToCloseStartsNothingAndDropsInputUntilItGoes) {
  LoadedForm form(true);
  HWND window = form.window();
  HWND install = form.unit(kInstallButton);
  ASSERT_NE(window, nullptr);
  {
    BusyWindow busy(kStartWindow);
    EXPECT_TRUE(MenuCloseGreyed(window));
    // Every way of asking it to close, sent and posted.
    SendMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);
    // A click that reaches the window (a program posting BM_CLICK to a
    // disabled button makes one), and keys meant for the buttons.
    ReportClick(window, install);
    PostMessageA(install, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(install, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(700, 130));
    busy.Wait(50);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(Journal(), std::vector<std::string>{});
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "message " << msg.message << " left waiting";
  }
  EXPECT_FALSE(MenuCloseGreyed(window));
  ReportClick(window, install);
  EXPECT_EQ(Journal(), std::vector<std::string>{ClickedEntry(kInstallButton)});
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
}

TEST(BusyWindow, AnswersOtherThreadsWhileItWaitsAndLeavesTheQuitMessage) {
  LoadedForm form(true);
  HWND window = form.window();
  BusyWindow busy(kStartWindow);
  DWORD slowest = 0;
  std::thread asker([&] {
    Sleep(100);
    for (int i = 0; i < 5; ++i) {
      const DWORD start = GetTickCount();
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) slowest = 2000;
      slowest = std::max(slowest, GetTickCount() - start);
      Sleep(60);
    }
  });
  PostQuitMessage(7);
  const DWORD start = GetTickCount();
  busy.Wait(600);
  const DWORD waited = GetTickCount() - start;
  asker.join();
  EXPECT_GE(waited, 600u);
  EXPECT_LT(waited, 800u);
  EXPECT_LT(slowest, 50u);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  // Looked after just now, the window is not looked after again at once;
  // the clock moves in steps of about 16 ms.
  EXPECT_FALSE(busy.Tend());
  Sleep(60);
  EXPECT_TRUE(busy.Tend());
}

constexpr COLORREF kOverlayColour = RGB(10, 200, 30);

void PaintSquare(HDC dc, const void* context) {
  const auto* area = static_cast<const RECT*>(context);
  HBRUSH brush = CreateSolidBrush(kOverlayColour);
  FillRect(dc, area, brush);
  DeleteObject(brush);
}

COLORREF PixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return pixel;
}

HCURSOR CursorAfterAsking(HWND target) {
  SetCursor(nullptr);
  SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

TEST(BusyWindow, ShowsTheBusyPointerAndPaintsTheOverlayAfterTheWindow) {
  LoadedForm form(true);
  HWND window = form.window();
  HWND install = form.unit(kInstallButton);
  const RECT area{20, 20, 60, 40};
  const HCURSOR busyPointer = LoadCursorA(nullptr, IDC_APPSTARTING);
  {
    BusyWindow busy(kStartWindow, BusyOverlay{area, &PaintSquare, &area});
    // Drawn at once, and again over the window's own painting.
    EXPECT_EQ(PixelAt(window, 30, 30), kOverlayColour);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_EQ(PixelAt(window, 30, 30), kOverlayColour);
    EXPECT_NE(PixelAt(window, 70, 30), kOverlayColour);
    // Over the window and over a button alike.
    EXPECT_EQ(CursorAfterAsking(window), busyPointer);
    EXPECT_EQ(CursorAfterAsking(install), busyPointer);
  }
  // Gone with the sequence: its area is painted again, the pointer is the
  // window's own.
  RECT update;
  ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
  EXPECT_TRUE(update.left <= area.left && update.top <= area.top && update.right >= area.right &&
              update.bottom >= area.bottom);
  UpdateWindow(window);
  EXPECT_NE(PixelAt(window, 30, 30), kOverlayColour);
  EXPECT_EQ(CursorAfterAsking(window), LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_NE(CursorAfterAsking(install), busyPointer);
}

}  // namespace
