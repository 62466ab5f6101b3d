#include "form/visual_style.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "form/caption_layout.h"

namespace {

// State flags of a taken-over control.
constexpr DWORD kDisabled = 0x1;
constexpr DWORD kPushed = 0x2;
constexpr DWORD kHot = 0x4;
constexpr DWORD kFocused = 0x10;
constexpr DWORD kDefaultButton = 0x10000;
constexpr DWORD kCheckOn = 0x20000;
constexpr DWORD kCheckMixed = 0x40000;

constexpr COLORREF kDisabledFill = 0x00EAF4F5;
constexpr COLORREF kDisabledCaption = 0x0094A2A5;
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;

using Corners = std::array<std::uint32_t, 4>;  // top-left, top-right, bottom-left, bottom-right

struct PushButtonPalette {
  COLORREF frame;
  std::array<Corners, 7> entries;
};

constexpr Corners kScheme1[7] = {
    {0x00C1CCD1, 0x00C1CCD1, 0x00EEF1F2, 0xFFEEF1F2},  // edge, pushed
    {0x00CFF0FF, 0x00CFF0FF, 0x000097E5, 0xFF0097E5},  // edge, hot
    {0x00BDCBD6, 0x00C6CFD6, 0x00EFF3F7, 0xFFEFF3F7},  // edge, checked
    {0x00FFE7CE, 0x00FFE7CE, 0x00EE8269, 0xFFEE8269},  // edge, focused or default
    {0x00FFFFFF, 0x00FFFFFF, 0x00D6DFE2, 0xFFD6DFE2},  // edge, normal
    {0x00DEE3E7, 0x00E7E7E7, 0x00DEE3E7, 0xFFDEE3E7},  // face, pushed or checked
    {0x00FBFCFC, 0x00FBFCFC, 0x00E6EBEC, 0xFFE6EBEC},  // face, normal
};

const PushButtonPalette kPalettes[3] = {
    {0x00733C00, {kScheme1[0], kScheme1[1], kScheme1[2], kScheme1[3], kScheme1[4], kScheme1[5], kScheme1[6]}},
    {0x00066237,
     {Corners{0x00CEE3EF, 0x00CEE3EF, 0x00CEE3EF, 0xFFCEE3EF}, kScheme1[1], kScheme1[2], kScheme1[1], kScheme1[4],
      Corners{0x00CEE3EF, 0x00CEE3EF, 0x00CEE3EF, 0xFFCEE3EF}, Corners{0x00FBFCFC, 0x00FBFCFC, 0x00C9E1EC, 0xFFC9E1EC}}},
    {0x00743C00,
     {Corners{0x00CEE3EF, 0x00CEE3EF, 0x00CEE3EF, 0xFFCEE3EF}, kScheme1[1], kScheme1[2], kScheme1[3], kScheme1[4],
      Corners{0x00C5B2B3, 0x00C5B2B3, 0x00FBFCFC, 0xFFFBFCFC}, Corners{0x00FBFCFC, 0x00FBFCFC, 0x00D7C5C6, 0xFFD7C5C6}}},
};

struct SkinnedControl {
  HWND window = nullptr;
  int kind = 0;
  DWORD state = 0;
  COLORREF backgroundColour = 0;
  COLORREF textColour = 0;
  HBRUSH backgroundBrush = nullptr;  // the parent's, not ours
  WNDPROC previousProc = nullptr;
};

// The style's state: touched only by the thread that activated it.
struct StyleState {
  int scheme = 0;
  HHOOK hook = nullptr;
  std::vector<SkinnedControl> controls;
};

StyleState& State() {
  static StyleState state;
  return state;
}

const PushButtonPalette& Palette() {
  int scheme = State().scheme;
  return kPalettes[scheme == 2 ? 1 : scheme == 3 ? 2 : 0];
}

SkinnedControl* Find(HWND hwnd) {
  for (SkinnedControl& c : State().controls)
    if (c.window == hwnd) return &c;
  return nullptr;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// ---- Painting ----

void FillQuadGradient(HDC dc, const RECT& r, const Corners& c) {
  auto vertex = [](LONG x, LONG y, std::uint32_t colour) {
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>((colour & 0xFF) << 8);
    v.Green = static_cast<COLOR16>(((colour >> 8) & 0xFF) << 8);
    v.Blue = static_cast<COLOR16>(((colour >> 16) & 0xFF) << 8);
    v.Alpha = static_cast<COLOR16>(((colour >> 24) & 0xFF) << 8);
    return v;
  };
  if (c[0] == c[1] && c[2] == c[3]) {
    TRIVERTEX v[2] = {vertex(r.left, r.top, c[0]), vertex(r.right, r.bottom, c[2])};
    GRADIENT_RECT rect{0, 1};
    GradientFill(dc, v, 2, &rect, 1, GRADIENT_FILL_RECT_V);
    return;
  }
  TRIVERTEX v[4] = {vertex(r.left, r.top, c[0]), vertex(r.right, r.top, c[1]), vertex(r.left, r.bottom, c[2]),
                    vertex(r.right, r.bottom, c[3])};
  GRADIENT_TRIANGLE triangles[2] = {{0, 1, 2}, {3, 1, 2}};
  GradientFill(dc, v, 4, triangles, 2, GRADIENT_FILL_TRIANGLE);
}

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

int MeasureCaption(void* context, const char* bytes, std::size_t length) {
  SIZE size{};
  GetTextExtentPoint32A(static_cast<HDC>(context), bytes, static_cast<int>(length), &size);
  return size.cx;
}

void LayoutCaption(HDC dc, const std::string& text, const RECT& area, int code) {
  SIZE a{};
  GetTextExtentPoint32A(dc, "a", 1, &a);
  int width = area.right - area.left, height = area.bottom - area.top;
  for (const CaptionLine& line :
       LayoutCaptionLines(text, width, height, a.cy, code, CaptionMeasure{&MeasureCaption, dc})) {
    RECT r{area.left + line.x, area.top + line.y, area.left + line.x + line.width, area.top + line.y + a.cy};
    DrawTextA(dc, text.data() + line.start, static_cast<int>(std::min(line.length, kMaxDrawnLineBytes)), &r, 0);
  }
}

void PaintPushButton(const SkinnedControl& c) {
  HWND hwnd = c.window;
  RECT window;
  GetWindowRect(hwnd, &window);
  int windowWidth = window.right - window.left, windowHeight = window.bottom - window.top;
  HDC target = GetWindowDC(hwnd);
  if (target == nullptr) return;
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, windowWidth, windowHeight);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  SetBkMode(dc, TRANSPARENT);

  RECT r;
  GetClientRect(hwnd, &r);
  int w = r.right, h = r.bottom;
  if (c.backgroundBrush) FillRect(dc, &r, c.backgroundBrush);
  FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  bool disabled = c.state & kDisabled;
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  COLORREF border = disabled ? DarkenedColour(face, 0x20) : Palette().frame;
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, border);

  InflateRect(&r, -1, -1);
  if (disabled) {
    HBRUSH fill = CreateSolidBrush(kDisabledFill);
    FillRect(dc, &r, fill);
    DeleteObject(fill);
  } else {
    int edge = (c.state & kPushed) ? 0
               : (c.state & kHot) ? 1
               : (c.state & (kCheckOn | kCheckMixed)) ? 2
               : (c.state & (kFocused | kDefaultButton)) ? 3
                                                           : 4;
    FillQuadGradient(dc, r, Palette().entries[static_cast<std::size_t>(edge)]);
  }
  InflateRect(&r, -2, -2);
  if (c.state & (kPushed | kCheckOn | kCheckMixed))
    FillQuadGradient(dc, r, Palette().entries[5]);
  else if (!disabled)
    FillQuadGradient(dc, r, Palette().entries[6]);

  COLORREF c2 = disabled ? DarkenedColour(face, 0x15) : border;
  COLORREF c3 = disabled ? DarkenedColour(face, 0x11) : border;
  for (POINT p : {POINT{1, 1}, POINT{1, h - 2}, POINT{w - 2, h - 2}, POINT{w - 2, 1}}) SetPixel(dc, p.x, p.y, face);
  for (POINT p : {POINT{2, 2}, POINT{2, h - 3}, POINT{w - 3, h - 3}, POINT{w - 3, 2}}) SetPixel(dc, p.x, p.y, c2);
  for (POINT p : {POINT{1, 2}, POINT{2, 1}, POINT{w - 3, 1}, POINT{w - 2, 2}, POINT{w - 3, h - 2}, POINT{w - 2, h - 3},
                  POINT{2, h - 2}, POINT{1, h - 3}})
    SetPixel(dc, p.x, p.y, c3);

  if (c.state & kFocused) {
    RECT focus = r;
    InflateRect(&focus, 1, 1);
    DrawFocusRect(dc, &focus);
  }

  char caption[256] = {};
  int length = GetWindowTextA(hwnd, caption, sizeof caption);
  if (length > 0) {
    if (c.state & kPushed) OffsetRect(&r, 1, 1);
    SetTextColor(dc, (c.state & (kCheckMixed | kDisabled)) ? kDisabledCaption : 0);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    LayoutCaption(dc, std::string(caption, static_cast<std::size_t>(length)), r,
                  AlignmentCode(static_cast<std::uint32_t>(GetWindowLongA(hwnd, GWL_STYLE))));
    SelectObject(dc, oldFont);
  }

  BitBlt(target, 0, 0, windowWidth, windowHeight, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(hwnd, target);
}

// ---- Taking controls over and giving them back ----

LRESULT CALLBACK StyleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void GiveBack(HWND hwnd) {
  std::vector<SkinnedControl>& controls = State().controls;
  auto it = std::find_if(controls.begin(), controls.end(), [hwnd](const SkinnedControl& c) { return c.window == hwnd; });
  if (it == controls.end()) return;
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->previousProc));
  controls.erase(it);
  RedrawWindow(hwnd, nullptr, nullptr, kRedrawAll);
}

void TakeOver(HWND hwnd) {
  if (Find(hwnd) != nullptr) return;
  HWND parent = GetParent(hwnd);
  std::uint32_t style = static_cast<std::uint32_t>(GetWindowLongA(hwnd, GWL_STYLE));
  std::optional<int> kind = ClassifyControl(ClassOf(hwnd), style, GetWindowTextLengthA(hwnd) == 0,
                                            parent ? ClassOf(parent) : std::string());
  // Only push buttons are drawn here; every other kind stays the platform's.
  if (kind != kPushButtonKind) return;
  SkinnedControl c;
  c.window = hwnd;
  c.kind = *kind;
  if (style & WS_DISABLED) c.state |= kDisabled;
  if (GetFocus() == hwnd) c.state |= kFocused;
  if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) c.state |= kDefaultButton;
  c.previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StyleProc)));
  State().controls.insert(State().controls.begin(), c);
  RedrawWindow(hwnd, nullptr, nullptr, kRedrawAll);
}

BOOL CALLBACK TakeOverChild(HWND hwnd, LPARAM) {
  TakeOver(hwnd);
  return TRUE;
}

BOOL CALLBACK GiveBackChild(HWND hwnd, LPARAM) {
  GiveBack(hwnd);
  return TRUE;
}

// EnumChildWindows visits every descendant, not only the direct children.
BOOL CALLBACK TakeOverTree(HWND hwnd, LPARAM) {
  TakeOver(hwnd);
  EnumChildWindows(hwnd, &TakeOverChild, 0);
  return TRUE;
}

BOOL CALLBACK GiveBackTree(HWND hwnd, LPARAM) {
  GiveBack(hwnd);
  EnumChildWindows(hwnd, &GiveBackChild, 0);
  return TRUE;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_CREATE) TakeOver(call->hwnd);
  }
  return CallNextHookEx(State().hook, code, wParam, lParam);
}

void Deactivate() {
  StyleState& s = State();
  if (s.hook == nullptr) return;
  EnumThreadWindows(GetCurrentThreadId(), &GiveBackTree, 0);
  UnhookWindowsHookEx(s.hook);
  s.hook = nullptr;
}

void Activate() {
  EnumThreadWindows(GetCurrentThreadId(), &TakeOverTree, 0);
  State().hook = SetWindowsHookExA(WH_CALLWNDPROC, &CreationHook, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK StyleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinnedControl* c = Find(hwnd);
  if (c == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  WNDPROC previous = c->previousProc;
  auto passOn = [&] { return CallWindowProcA(previous, hwnd, message, wParam, lParam); };
  // The record may move when another control is taken over during the call.
  auto paint = [hwnd] {
    if (SkinnedControl* now = Find(hwnd)) PaintPushButton(*now);
  };
  switch (message) {
    case WM_DESTROY: {
      LRESULT result = passOn();
      GiveBack(hwnd);
      return result;
    }
    case WM_ERASEBKGND: {
      HDC dc = GetDC(hwnd);
      auto brush = reinterpret_cast<HBRUSH>(
          SendMessageA(GetParent(hwnd), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
      if (SkinnedControl* now = Find(hwnd)) {
        now->backgroundBrush = brush;
        LOGBRUSH logBrush{};
        if (brush && GetObjectA(brush, sizeof logBrush, &logBrush)) now->backgroundColour = logBrush.lbColor;
        now->textColour = GetTextColor(dc);
      }
      ReleaseDC(hwnd, dc);
      return passOn();
    }
    case WM_PAINT:
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
      paint();
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE: {
      DWORD& state = c->state;
      switch (message) {
        case WM_SETFOCUS: state |= kFocused; break;
        case WM_KILLFOCUS: state &= ~kFocused; break;
        case WM_ENABLE: state = wParam ? state & ~kDisabled : state | kDisabled; break;
        case BM_SETCHECK:
          state &= ~(kCheckOn | kCheckMixed);
          if (wParam == 1) state |= kCheckOn;
          if (wParam == 2) state |= kCheckMixed;
          break;
        case BM_SETSTATE: state = wParam ? state | kPushed : state & ~kPushed; break;
        default: state = (wParam & 1) ? state | kDefaultButton : state & ~kDefaultButton; break;
      }
      LRESULT result = passOn();
      paint();
      return result;
    }
    case WM_MOUSEMOVE: {
      bool becameHot = !(c->state & kHot) && !(wParam & MK_LBUTTON);
      if (becameHot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        _TrackMouseEvent(&track);
        c->state |= kHot;
      }
      LRESULT result = passOn();
      if (becameHot) paint();
      return result;
    }
    case WM_MOUSELEAVE: {
      bool wasHot = c->state & kHot;
      c->state &= ~kHot;
      LRESULT result = passOn();
      if (wasHot) paint();
      return result;
    }
    default:
      return passOn();
  }
}

}  // namespace

std::optional<int> ClassifyControl(const std::string& className, std::uint32_t style, bool noText,
                                   const std::string& parentClassName) {
  auto is = [&className](const char* name) { return lstrcmpiA(className.c_str(), name) == 0; };
  if (is("Button")) {
    std::uint32_t type = style & BS_TYPEMASK;
    // Bitmap and icon buttons show their own image, which drawing over them would hide.
    if (style & (BS_BITMAP | BS_ICON)) return std::nullopt;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      if (noText && style == 0x40010000) return std::nullopt;
      return kPushButtonKind;
    }
    bool pushLike = style & BS_PUSHLIKE;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE)
      return pushLike ? 0 : 1;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return pushLike ? 0 : 2;
    if (type == BS_GROUPBOX) return 11;
    return std::nullopt;
  }
  if (is("Edit")) return lstrcmpiA(parentClassName.c_str(), "SysIPAddress32") == 0 ? std::nullopt : std::optional(3);
  if (is("ComboBox")) return (style & 0x3) == CBS_SIMPLE ? std::nullopt : std::optional(4);
  if (is("msctls_updown32")) return 5;
  if (is("ScrollBar")) return 6;
  if (is("SysMonthCal32")) return 7;
  if (is("SysTabControl32")) return 8;
  if (is("msctls_progress32")) return 9;
  if (is("msctls_trackbar32")) return 10;
  if (is("ComboLBox")) return 12;
  return std::nullopt;
}

COLORREF DarkenedColour(COLORREF colour, std::uint8_t amount) {
  COLORREF result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int channel = static_cast<int>((colour >> shift) & 0xFF) - amount;
    result |= static_cast<COLORREF>(std::max(channel, 0)) << shift;
  }
  return result;
}

int SetVisualStyle(int scheme) {
  StyleState& s = State();
  s.scheme = scheme;
  if (scheme >= 1 && scheme <= 3) {
    Deactivate();
    Activate();
    return 1;
  }
  HHOOK hook = s.hook;
  if (hook == nullptr) return 0;
  EnumThreadWindows(GetCurrentThreadId(), &GiveBackTree, 0);
  s.hook = nullptr;
  return UnhookWindowsHookEx(hook) ? 1 : 0;
}

std::size_t SkinnedControlCount() { return State().controls.size(); }

bool IsSkinned(HWND hwnd) { return Find(hwnd) != nullptr; }

DWORD SkinnedStateOf(HWND hwnd) {
  const SkinnedControl* c = Find(hwnd);
  return c ? c->state : 0;
}
