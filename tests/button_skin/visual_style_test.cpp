// Which controls the style takes over and gives back on real windows under
// Wine, and what its window procedure does with their messages.
#include "button_skin/visual_style.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "button_skin/visual_style_look.h"
#include "host/message_box.h"
#include "picture_canvas.h"
#include "visual_style_fixtures.h"

namespace {

using namespace control_state;
using namespace visual_style_fixtures;

WNDPROC ProcedureOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }

class VisualStyle : public ::testing::Test {
 protected:
  void TearDown() override { SetVisualStyle(0); }
};

TEST(ControlKindOf, ByClassStyleTextAndParent) {
  struct Case {
    ControlFacts control;
    std::optional<ControlKind> kind;
  } cases[] = {
      {{"Button", kButtonStyle, true, "Window"}, ControlKind::PushButton},
      {{"BUTTON", WS_CHILD | BS_DEFPUSHBUTTON, true, ""}, ControlKind::PushButton},
      {{"button", 0x40010000, true, "#32770"}, ControlKind::PushButton},
      // A bare push button without text, and buttons that show an image.
      {{"Button", 0x40010000, false, "#32770"}, std::nullopt},
      {{"Button", 0x40010000 | WS_VISIBLE, false, ""}, ControlKind::PushButton},
      {{"Button", kButtonStyle | BS_BITMAP, true, ""}, std::nullopt},
      {{"Button", kButtonStyle | BS_ICON, true, ""}, std::nullopt},
      {{"Button", WS_CHILD | BS_AUTOCHECKBOX, true, ""}, ControlKind::CheckBox},
      {{"Button", WS_CHILD | BS_AUTO3STATE | BS_PUSHLIKE, true, ""}, ControlKind::PushButton},
      {{"Button", WS_CHILD | BS_AUTORADIOBUTTON, true, ""}, ControlKind::RadioButton},
      {{"Button", WS_CHILD | BS_RADIOBUTTON | BS_PUSHLIKE, true, ""}, ControlKind::PushButton},
      {{"Button", WS_CHILD | BS_GROUPBOX, true, ""}, ControlKind::GroupBox},
      {{"Button", WS_CHILD | BS_USERBUTTON, true, ""}, std::nullopt},
      {{"Button", WS_CHILD | BS_OWNERDRAW, true, ""}, std::nullopt},
      {{"Edit", WS_CHILD, false, "Window"}, ControlKind::Edit},
      {{"Edit", WS_CHILD, false, "SysIPAddress32"}, std::nullopt},
      {{"ComboBox", WS_CHILD | CBS_DROPDOWNLIST, false, ""}, ControlKind::ComboBox},
      {{"ComboBox", WS_CHILD | CBS_SIMPLE, false, ""}, std::nullopt},
      {{"msctls_updown32", 0, false, ""}, ControlKind::UpDown},
      {{"ScrollBar", 0, false, ""}, ControlKind::ScrollBar},
      {{"SysMonthCal32", 0, false, ""}, ControlKind::MonthCalendar},
      {{"SysTabControl32", 0, false, ""}, ControlKind::TabControl},
      {{"msctls_progress32", 0, false, ""}, ControlKind::Progress},
      {{"msctls_trackbar32", 0, false, ""}, ControlKind::Trackbar},
      {{"ComboLBox", 0, false, ""}, ControlKind::ComboList},
      {{"Static", 0, true, ""}, std::nullopt},
      {{"SysListView32", 0, false, ""}, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ControlKindOf(c.control), c.kind) << c.control.className << " " << std::hex << c.control.style;
}

TEST_F(VisualStyle, TakesOverPushButtonsOnlyAndOncePerControl) {
  ButtonWindow host;
  const HWND defaultButton = host.AddControl("BUTTON", "OK", BS_DEFPUSHBUTTON, 20);
  const HWND disabledButton = host.AddControl("BUTTON", "off", BS_PUSHBUTTON | WS_DISABLED, 50);
  const HWND checkBox = host.AddControl("BUTTON", "x", BS_AUTOCHECKBOX, 80);
  const HWND iconButton = host.AddControl("BUTTON", "", BS_ICON, 110);
  SendMessageA(iconButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_APPLICATION)));
  const HWND label = host.AddControl("STATIC", "label", SS_LEFT, 140);
  const std::vector<HWND> leftAlone = {checkBox, iconButton, label};
  std::map<HWND, WNDPROC> before;
  for (HWND control : leftAlone) before[control] = ProcedureOf(control);
  SetFocus(host.button());

  EXPECT_EQ(SetVisualStyle(1), 1);
  EXPECT_EQ(SetVisualStyle(1), 1);
  EXPECT_EQ(SkinnedControlCount(), 3u);
  ASSERT_NE(FindSkinnedControl(host.button()), nullptr);
  EXPECT_EQ(FindSkinnedControl(host.button())->state, Focused);
  ASSERT_NE(FindSkinnedControl(defaultButton), nullptr);
  EXPECT_EQ(FindSkinnedControl(defaultButton)->state, DefaultButton);
  ASSERT_NE(FindSkinnedControl(disabledButton), nullptr);
  EXPECT_EQ(FindSkinnedControl(disabledButton)->state, Disabled);
  for (HWND control : leftAlone) {
    EXPECT_EQ(FindSkinnedControl(control), nullptr);
    EXPECT_EQ(ProcedureOf(control), before[control]);
  }
  // The icon button still shows its icon.
  EXPECT_NE(SendMessageA(iconButton, BM_GETIMAGE, IMAGE_ICON, 0), 0);
}

TEST_F(VisualStyle, TakesOverControlsAsTheyAreCreatedAndGivesThemBackAtDestruction) {
  ButtonWindow host;
  SetVisualStyle(1);
  EXPECT_EQ(SkinnedControlCount(), 1u);
  const HWND later = host.AddControl("BUTTON", "later", BS_DEFPUSHBUTTON, 20);
  ASSERT_NE(FindSkinnedControl(later), nullptr);
  EXPECT_EQ(FindSkinnedControl(later)->state, DefaultButton);
  EXPECT_EQ(SkinnedControlCount(), 2u);
  DestroyWindow(later);
  EXPECT_EQ(SkinnedControlCount(), 1u);
  EXPECT_NE(FindSkinnedControl(host.button()), nullptr);
}

TEST_F(VisualStyle, DeactivatingGivesEveryControlBackAndRemovesTheHook) {
  ButtonWindow host;
  const HWND second = host.AddControl("BUTTON", "second", BS_PUSHBUTTON, 20);
  const WNDPROC platformProcedure = ProcedureOf(host.button());
  EXPECT_EQ(SetVisualStyle(0), 0);  // nothing active yet
  SetVisualStyle(3);
  EXPECT_NE(ProcedureOf(host.button()), platformProcedure);
  EXPECT_EQ(SetVisualStyle(0), 1);
  EXPECT_EQ(SkinnedControlCount(), 0u);
  EXPECT_EQ(ProcedureOf(host.button()), platformProcedure);
  EXPECT_EQ(ProcedureOf(second), platformProcedure);
  const HWND afterwards = host.AddControl("BUTTON", "plain", BS_PUSHBUTTON, 50);
  EXPECT_EQ(FindSkinnedControl(afterwards), nullptr);
  EXPECT_EQ(ProcedureOf(afterwards), platformProcedure);
  EXPECT_EQ(SetVisualStyle(0), 0);
}

// Counts the messages that reach the procedure the style finds in place.
std::map<UINT, int> reachedPrevious;
WNDPROC platformButtonProcedure = nullptr;
LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++reachedPrevious[message];
  return CallWindowProcW(platformButtonProcedure, window, message, wParam, lParam);
}

TEST_F(VisualStyle, EachMessageReachesThePreviousProcedureAtMostOnce) {
  ButtonWindow host;
  // A Unicode procedure, as the engine's Buttons have.
  platformButtonProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(host.button(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProcedure)));
  SetVisualStyle(1);
  ASSERT_NE(FindSkinnedControl(host.button()), nullptr);
  EXPECT_EQ(FindSkinnedControl(host.button())->previousProcedure, &CountingProcedure);
  struct Case {
    UINT message;
    WPARAM wParam;
    int reachesPrevious;
    std::uint32_t stateAfter;
  } cases[] = {
      {WM_PAINT, 0, 0, 0},  // answered by DefWindowProcW, then drawn by the style
      {WM_SETFOCUS, 0, 1, Focused},
      {WM_KILLFOCUS, 0, 1, 0},
      {BM_SETSTATE, TRUE, 1, Pushed},
      {BM_SETSTATE, FALSE, 1, 0},
      {BM_SETSTYLE, BS_DEFPUSHBUTTON, 1, DefaultButton},
      {BM_SETSTYLE, BS_PUSHBUTTON, 1, 0},
      {BM_SETCHECK, BST_INDETERMINATE, 1, CheckMixed},
      {BM_SETCHECK, BST_CHECKED, 1, CheckOn},
      {BM_SETCHECK, BST_UNCHECKED, 1, 0},
      {WM_ENABLE, FALSE, 1, Disabled},
      {WM_ENABLE, TRUE, 1, 0},
      {WM_ERASEBKGND, 0, 1, 0},
      {WM_MOUSELEAVE, 0, 1, 0},
      {WM_GETTEXTLENGTH, 0, 1, 0},
  };
  for (const Case& c : cases) {
    reachedPrevious.clear();
    if (c.message == WM_ERASEBKGND) {
      const HDC dc = GetDC(host.button());
      SendMessageA(host.button(), c.message, reinterpret_cast<WPARAM>(dc), 0);
      ReleaseDC(host.button(), dc);
    } else {
      SendMessageA(host.button(), c.message, c.wParam, 0);
    }
    EXPECT_EQ(reachedPrevious[c.message], c.reachesPrevious) << std::hex << c.message;
    EXPECT_EQ(FindSkinnedControl(host.button())->state, c.stateAfter) << std::hex << c.message;
  }
  // The text is set without the platform procedure, and shown.
  reachedPrevious.clear();
  SetWindowTextA(host.button(), "new");
  EXPECT_EQ(reachedPrevious[WM_SETTEXT], 0);
  char text[16] = {};
  GetWindowTextA(host.button(), text, sizeof text);
  EXPECT_STREQ(text, "new");
  // Destruction reaches it once and gives the control back.
  reachedPrevious.clear();
  DestroyWindow(host.button());
  EXPECT_EQ(reachedPrevious[WM_DESTROY], 1);
  EXPECT_EQ(reachedPrevious[WM_NCDESTROY], 1);
  EXPECT_EQ(SkinnedControlCount(), 0u);
}

TEST_F(VisualStyle, KeepsWhatTheParentAnswersForTheBackground) {
  ButtonWindow host;
  SetVisualStyle(1);
  RedrawWindow(host.button(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
  const SkinnedControl* control = FindSkinnedControl(host.button());
  ASSERT_NE(control, nullptr);
  ASSERT_NE(control->backgroundBrush, nullptr);
  EXPECT_EQ(control->backgroundColour, kParentBackground);
  EXPECT_EQ(control->textColour, kParentTextColour);
}

// What a timer saw of a real message box while it was open.
struct BoxButtons {
  bool found = false;
  std::size_t skinned = 0;
  std::uint32_t yesState = 0, noState = 0;
  bool staticTakenOver = true;
  picture_fixtures::Rgb yesEdge{}, noEdge{};
};
BoxButtons boxButtons;

picture_fixtures::Rgb EdgeBandTop(HWND button) {
  RECT client{};
  GetClientRect(button, &client);
  PictureCanvas canvas(client.right, client.bottom);
  canvas.CopyFrom(button);
  return canvas.At(client.right / 2, 2);
}

BOOL CALLBACK InspectBox(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  const HWND yes = GetDlgItem(window, IDYES);
  const HWND no = GetDlgItem(window, IDNO);
  boxButtons.found = true;
  boxButtons.skinned = SkinnedControlCount();
  if (FindSkinnedControl(yes) != nullptr) boxButtons.yesState = FindSkinnedControl(yes)->state;
  if (FindSkinnedControl(no) != nullptr) boxButtons.noState = FindSkinnedControl(no)->state;
  boxButtons.staticTakenOver = FindSkinnedControl(GetDlgItem(window, 0xFFFF)) != nullptr;
  boxButtons.yesEdge = EdgeBandTop(yes);
  boxButtons.noEdge = EdgeBandTop(no);
  PostMessageA(window, WM_COMMAND, IDNO, 0);
  return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), &InspectBox, 0); }

TEST_F(VisualStyle, DrawsTheButtonsOfMessageBoxes) {
  ButtonWindow host;
  SetVisualStyle(1);
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, &LookForBox);
  const MessageBoxResult result = ShowMessageBox(MessageValue::FromText("?"), MB_YESNO | MB_DEFBUTTON2, "style");
  KillTimer(nullptr, timer);
  ASSERT_TRUE(boxButtons.found);
  EXPECT_EQ(result, MessageBoxResult::No);
  EXPECT_EQ(boxButtons.skinned, 3u);  // the window's own button, Yes and No
  EXPECT_EQ(boxButtons.yesState & DefaultButton, 0u);
  EXPECT_EQ(boxButtons.noState & DefaultButton, DefaultButton);
  EXPECT_FALSE(boxButtons.staticTakenOver);
  const PushButtonPalette& palette = PushButtonPaletteOf(1);
  EXPECT_EQ(boxButtons.noEdge, RgbOf(palette.entries[3][0]));   // blue: default
  EXPECT_EQ(boxButtons.yesEdge, RgbOf(palette.entries[4][0]));  // white: normal
  // The box's buttons were given back when it closed.
  EXPECT_EQ(SkinnedControlCount(), 1u);
}

}  // namespace
