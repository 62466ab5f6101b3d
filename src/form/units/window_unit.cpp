#include "form/units/window_unit.h"

#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "form/description/window_properties.h"
#include "form/engine/busy_window.h"
#include "form/engine/events.h"
#include "form/engine/live_units.h"
#include "form/engine/loader.h"
#include "form/engine/runtime.h"
#include "form/engine/template_access.h"
#include "form/engine/unit_cursor.h"
#include "form/units/focus_order.h"
#include "form/units/property_field_value.h"
#include "form/units/window_style.h"
#include "host/handle_owners.h"
#include "host/wide_text.h"
#include "picture/picture.h"
#include "picture/picture_paint.h"

namespace {

constexpr wchar_t kDefaultClassName[] = L"VelmoraFormWindow";
constexpr wchar_t kDefaultIconResource[] = L"DEFAULT_ICON";
constexpr UINT kFirstMenuCommand = 20000;
constexpr UINT kFirstIgnoredCommand = 0xE100;
constexpr UINT kReflectedOffset = 0x2000;  // what a control gets for a reflected request

struct WindowObject final : UnitObject {
  WindowProperties properties;
  std::optional<DecodedPicture> background;
  // Made from the icon property; without them the window shows the
  // executable's own icon, which it does not own.
  OwnedIcon bigIcon;
  OwnedIcon smallIcon;
  bool activatedBefore = false;
  WNDPROC previousProc = nullptr;
};

// Every unit of this type is a WindowObject: the engine hands back what
// Create made.
WindowObject& ObjectOf(UnitObject& unit) { return static_cast<WindowObject&>(unit); }
const WindowObject& ObjectOf(const UnitObject& unit) { return static_cast<const WindowObject&>(unit); }

// The executable's own icon, loaded once and shared by every window.
struct DefaultIcons {
  HICON big;
  HICON small;
};
const DefaultIcons& DefaultIconsOnce() {
  static const DefaultIcons icons = [] {
    HINSTANCE module = GetModuleHandleW(nullptr);
    return DefaultIcons{
        static_cast<HICON>(LoadImageW(module, kDefaultIconResource, IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)),
        static_cast<HICON>(LoadImageW(module, kDefaultIconResource, IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR))};
  }();
  return icons;
}

OwnedIcon IconOfSize(const std::vector<std::uint8_t>& bytes, int size) {
  if (bytes.empty()) return {};
  std::optional<IconImage> image = ReadIconImage(bytes.data(), bytes.size(), size);
  return image ? std::move(image->icon) : OwnedIcon();
}

// The icons that the window shows now replace those it showed, which go only
// once it no longer holds them.
void ApplyIcons(WindowObject& w) {
  OwnedIcon big = IconOfSize(w.properties.icon, 32);
  OwnedIcon small = IconOfSize(w.properties.icon, 16);
  const bool own = big || small;
  SendMessageW(w.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(own ? big.get() : DefaultIconsOnce().big));
  SendMessageW(w.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own ? small.get() : DefaultIconsOnce().small));
  w.bigIcon = std::move(big);
  w.smallIcon = std::move(small);
}

// Nothing for a class name that is no GBK text: no class can be registered
// under it.
std::optional<std::wstring> ClassNameFor(const WindowProperties& p) {
  return p.windowClassName.empty() ? std::wstring(kDefaultClassName) : text::WideFromGbk(p.windowClassName);
}

// A Unicode class: the caption reaches the window, and the title bar, in
// UTF-16 rather than through the system's code page.
bool EnsureClassRegistered(const wchar_t* name) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSW existing;
  if (GetClassInfoW(module, name, &existing)) return true;
  WNDCLASSW wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassW(&wc) != 0;
}

// ---- Focus and keys ----

struct UnitAt {
  WindowTemplate* t;
  std::uint32_t index;
};

std::optional<UnitAt> Locate(const UnitObject& unit) {
  WindowTemplate* t = units::FindWindow(unit.window);
  if (t == nullptr) return std::nullopt;
  std::optional<std::uint32_t> index = units::IndexOf(*t, unit.unit);
  if (!index) return std::nullopt;
  return UnitAt{t, *index};
}

bool TakesFocus(const WindowTemplate& t, std::uint32_t index) {
  UnitObject* unit = LiveUnit(t, index);
  if (unit == nullptr || !IsWindowVisible(unit->hwnd) || !IsWindowEnabled(unit->hwnd)) return false;
  if (!(units::FlagsOf(t, index) & kUnitTabStop)) return false;
  std::optional<units::ResolvedType> type = units::ResolveUnitType(units::TypeOf(t, index));
  return type && !(type->flags & type_flags::kHiddenAtRunTime);
}

std::vector<std::uint32_t> TabSequenceOf(const WindowTemplate& t) {
  std::vector<FocusCandidate> candidates;
  for (std::uint32_t i = 1; i < units::UnitCount(t); ++i)
    candidates.push_back(FocusCandidate{i, units::TabOrderOf(t, i), TakesFocus(t, i)});
  return TabSequence(std::move(candidates));
}

// The unit whose control holds the focus (or contains it).
std::optional<std::uint32_t> FocusedUnit(const WindowTemplate& t) {
  HWND focus = GetFocus();
  for (std::uint32_t i = 1; focus != nullptr && i < units::UnitCount(t); ++i) {
    UnitObject* unit = LiveUnit(t, i);
    if (unit != nullptr && (unit->hwnd == focus || IsChild(unit->hwnd, focus))) return i;
  }
  return std::nullopt;
}

void MoveFocus(const WindowTemplate& t, bool forward) {
  std::vector<std::uint32_t> sequence = TabSequenceOf(t);
  if (std::optional<std::uint32_t> next = NextInTabOrder(sequence, FocusedUnit(t), forward))
    SetFocus(LiveUnit(t, *next)->hwnd);
}

bool IsClickableDefaultButton(const WindowTemplate& t, std::uint32_t index) {
  UnitObject* unit = LiveUnit(t, index);
  if (unit == nullptr || !IsWindowEnabled(unit->hwnd)) return false;
  std::optional<units::ResolvedType> type = units::ResolveUnitType(units::TypeOf(t, index));
  return type && (type->flags & type_flags::kPushButton) && unit->operations->isDefaultButton != nullptr &&
         unit->operations->isDefaultButton(*unit);
}

bool PressEnter(WindowObject& w, const WindowTemplate& t) {
  std::optional<std::uint32_t> focused = FocusedUnit(t);
  if (focused && IsClickableDefaultButton(t, *focused)) {
    FireEvent(w.window, units::IdAt(t, *focused), button_event::kClick);
    return true;
  }
  if (w.properties.enterMovesFocus) {
    MoveFocus(t, true);
    return true;
  }
  for (std::uint32_t i = 1; i < units::UnitCount(t); ++i) {
    if (IsClickableDefaultButton(t, i)) {
      FireEvent(w.window, units::IdAt(t, i), button_event::kClick);
      return true;
    }
  }
  return false;
}

bool OpenHelp(WindowObject& w) {
  const WindowProperties& p = w.properties;
  if (!p.f1OpensHelp || p.helpFile.empty()) return false;
  const std::optional<std::wstring> helpFile = text::WideFromGbk(p.helpFile);
  if (!helpFile || GetFileAttributesW(helpFile->c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  if (p.helpContext != 0)
    WinHelpW(w.hwnd, helpFile->c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(p.helpContext));
  else
    WinHelpW(w.hwnd, helpFile->c_str(), HELP_FINDER, 0);
  return true;
}

// Alt with a letter or digit clicks the first visible, enabled push button
// whose caption marks that character with "&".
bool PressMnemonic(WindowObject& w, const WindowTemplate& t, WPARAM key) {
  wchar_t wanted = key >= 'A' && key <= 'Z' ? static_cast<wchar_t>(key - 'A' + 'a') : static_cast<wchar_t>(key);
  for (std::uint32_t i = 1; i < units::UnitCount(t); ++i) {
    UnitObject* unit = LiveUnit(t, i);
    std::optional<units::ResolvedType> type = units::ResolveUnitType(units::TypeOf(t, i));
    if (unit == nullptr || !type || !(type->flags & type_flags::kPushButton) || !IsWindowVisible(unit->hwnd) ||
        !IsWindowEnabled(unit->hwnd))
      continue;
    wchar_t caption[512];
    int n = GetWindowTextW(unit->hwnd, caption, static_cast<int>(std::size(caption)));
    for (int k = 0; k + 1 < n; ++k) {
      if (caption[k] != L'&') continue;
      wchar_t c = caption[k + 1];
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
      if (c == wanted) {
        FireEvent(w.window, units::IdAt(t, i), button_event::kClick);
        return true;
      }
    }
  }
  return false;
}

bool KeyDown(WindowObject& w, const WindowTemplate& t, const MSG& msg) {
  bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  WPARAM key = msg.wParam;
  if (msg.message == WM_SYSKEYDOWN) {
    bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    return alt && !ctrl && !shift && letterOrDigit && PressMnemonic(w, t, key);
  }
  bool shiftTab = key == VK_TAB && shift && !ctrl && !alt;
  if (ctrl || alt || (shift && !shiftTab)) return false;
  switch (key) {
    case VK_TAB: MoveFocus(t, !shiftTab); return true;
    case VK_RETURN: return PressEnter(w, t);
    case VK_ESCAPE:
      if (!w.properties.escCloses) return false;
      SendMessageW(w.hwnd, WM_CLOSE, 0, 0);
      return true;
    case VK_F1: return OpenHelp(w);
    default: return false;
  }
}

// The general key and mouse events of the unit a message is aimed at; a
// handler that replies false drops the message.
std::int32_t CommonEventOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return unit_event::kMouseDown;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return unit_event::kMouseUp;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: return unit_event::kDoubleClick;
    case WM_MOUSEMOVE: return unit_event::kMouseMove;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return unit_event::kKeyDown;
    case WM_KEYUP:
    case WM_SYSKEYUP: return unit_event::kKeyUp;
    case WM_CHAR: return unit_event::kCharacter;
    case WM_MOUSEWHEEL: return unit_event::kWheel;
    default: return 0;
  }
}

bool DroppedByCommonEvent(const MSG& msg) {
  std::int32_t event = CommonEventOf(msg.message);
  if (event == 0) return false;
  UnitObject* target = UnitOfWindow(msg.hwnd);
  if (target == nullptr) return false;
  EventRecord record;
  record.window = target->window;
  record.unit = target->unit;
  record.event = event;
  record.argumentCount = 2;
  record.arguments[0] = static_cast<std::int32_t>(msg.wParam);
  record.arguments[1] = static_cast<std::int32_t>(msg.lParam);
  return HandlerDeclined(FireEvent(record), record);
}

bool PreTranslate(UnitObject& unit, MSG& msg) {
  WindowObject& w = ObjectOf(unit);
  if (msg.hwnd != w.hwnd && !IsChild(w.hwnd, msg.hwnd)) return false;
  bool isKey = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
  if (isKey && !IsWindowEnabled(msg.hwnd)) return false;
  std::optional<UnitAt> at = Locate(unit);
  if (!at) return false;
  if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && KeyDown(w, *at->t, msg)) return true;
  return DroppedByCommonEvent(msg);
}

// ---- Messages ----

LRESULT Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  UnitObject* unit = UnitOfWindow(child);
  if (unit == nullptr || unit->operations->reflect == nullptr) return 0;
  return unit->operations->reflect(*unit, message, wParam, lParam, handled);
}

void GiveFocusToUnit(WindowObject& w) {
  std::optional<UnitAt> at = Locate(w);
  if (!at) return;
  FireEvent(w.window, w.unit, unit_event::kGotFocus);
  HWND remembered = FocusMemoryOf(w.window);
  if (remembered != nullptr && IsWindow(remembered) && IsChild(w.hwnd, remembered) &&
      IsWindowVisible(remembered) && IsWindowEnabled(remembered)) {
    SetFocus(remembered);
    return;
  }
  std::vector<std::uint32_t> sequence = TabSequenceOf(*at->t);
  if (!sequence.empty()) SetFocus(LiveUnit(*at->t, sequence.front())->hwnd);
}

// One message to the window. The ids are copies: a handler that an event
// runs may destroy the window, and the object with it.
struct WindowMessage {
  WindowObject& w;
  HWND hwnd;
  UnitId window;
  UnitId self;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// What the window does with one message. A case that sets answered ends the
// message there with its result; otherwise the message goes on to the
// window's previous procedure.
struct MessageCase {
  UINT message;
  LRESULT (*handle)(const WindowMessage& m, bool& answered);
};

LRESULT Paint(const WindowMessage& m, bool& answered) {
  const WindowProperties& p = m.w.properties;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m.hwnd, &paint);
  PaintWindowBackground(m.hwnd, dc, p.backPicture, m.w.background, p.pictureMode, p.backColor);
  if (const BusyWindow* busy = BusyWindowOf(m.window)) busy->PaintOverlay(dc);
  EndPaint(m.hwnd, &paint);
  answered = true;
  return 0;
}

// A unit's command goes back to the unit that sent it; a menu command goes
// on, and the platform's own (from 0xE100 on) end here.
LRESULT Command(const WindowMessage& m, bool& answered) {
  answered = true;
  // A unit's command now (a click that a program posts to a disabled
  // button) would start a second sequence inside the running one.
  if (BusyWindowOf(m.window) != nullptr) return 0;
  UINT id = LOWORD(m.wParam);
  if (m.lParam != 0 && id < kFirstMenuCommand) {
    bool handled = false;
    Reflect(reinterpret_cast<HWND>(m.lParam), m.message, m.wParam, m.lParam, handled);
    return 0;
  }
  answered = id >= kFirstIgnoredCommand;
  return 0;
}

// A control's colour request: first to the unit that made the control, then
// to the control itself as a reflected request.
LRESULT ColourRequest(const WindowMessage& m, bool& answered) {
  HWND child = reinterpret_cast<HWND>(m.lParam);
  LRESULT answer = Reflect(child, m.message, m.wParam, m.lParam, answered);
  if (answered) return answer;
  answer = SendMessageW(child, m.message + kReflectedOffset, m.wParam, m.lParam);
  answered = answer != 0;
  return answer;
}

bool CloseDeclined(const WindowMessage& m) {
  EventRecord query;
  query.window = m.window;
  query.unit = m.self;
  query.event = window_event::kCloseQuery;
  return HandlerDeclined(FireEvent(query), query);
}

// Closing while busy would destroy the window and its units under the
// handler that is still working through its sequence; a close query handler
// may keep the window, or destroy it itself.
LRESULT Close(const WindowMessage& m, bool& answered) {
  answered = BusyWindowOf(m.window) != nullptr || CloseDeclined(m) || !IsWindow(m.hwnd);
  return 0;
}

// Ending the session while busy would end the program half way through
// writing the game's files.
LRESULT QueryEndSession(const WindowMessage& m, bool& answered) {
  answered = true;
  return BusyWindowOf(m.window) == nullptr && !CloseDeclined(m) ? TRUE : FALSE;
}

// The window's last message: its object goes, and the previous procedure
// sees the message after it.
LRESULT LastMessage(const WindowMessage& m, bool&) {
  DetachUnitFromWindow(m.hwnd);
  NotifyUnitDestroyed(m.window, m.self);
  return 0;
}

LRESULT Activate(const WindowMessage& m, bool& answered) {
  if (LOWORD(m.wParam) == WA_INACTIVE) {
    if (HWND focus = GetFocus(); focus != nullptr && IsChild(m.hwnd, focus)) FocusMemoryOf(m.window) = focus;
    FireEvent(m.window, m.self, window_event::kDeactivated);
    return 0;
  }
  if (!m.w.activatedBefore) {
    m.w.activatedBefore = true;
    FireEvent(m.window, m.self, window_event::kFirstActivation);
  }
  FireEvent(m.window, m.self, window_event::kActivated);
  if (IsWindow(m.hwnd) && !HIWORD(m.wParam)) GiveFocusToUnit(m.w);
  answered = true;
  return 0;
}

LRESULT TakeFocus(const WindowMessage& m, bool& answered) {
  GiveFocusToUnit(m.w);
  answered = true;
  return 0;
}

LRESULT DeferredDestroy(const WindowMessage& m, bool& answered) {
  CarryOutDeferredDestroy(m.window);
  answered = true;
  return 0;
}

// The busy pointer over the client area and over the units, which leave the
// pointer to their window unless they have one of their own.
LRESULT ChoosePointer(const WindowMessage& m, bool& answered) {
  const bool overSelf = reinterpret_cast<HWND>(m.wParam) == m.hwnd;
  const bool inClient = LOWORD(m.lParam) == HTCLIENT;
  if ((!overSelf || inClient) && BusyWindowOf(m.window) != nullptr) {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING)));
    answered = true;
  } else {
    answered = overSelf && inClient && ShowUnitCursor(m.w);
  }
  return TRUE;
}

// A window event that a message raises; the message goes on after it.
template <std::int32_t Event>
LRESULT Raise(const WindowMessage& m, bool&) {
  FireEvent(m.window, m.self, Event);
  return 0;
}

LRESULT ShowOrHide(const WindowMessage& m, bool&) {
  FireEvent(m.window, m.self, m.wParam ? window_event::kShown : window_event::kHidden);
  return 0;
}

constexpr MessageCase kMessageCases[] = {
    {WM_PAINT, &Paint},
    {WM_COMMAND, &Command},
    {WM_CTLCOLORBTN, &ColourRequest},
    {WM_CTLCOLORSTATIC, &ColourRequest},
    {WM_CTLCOLOREDIT, &ColourRequest},
    {WM_CTLCOLORLISTBOX, &ColourRequest},
    {WM_CTLCOLORSCROLLBAR, &ColourRequest},
    {WM_CTLCOLORDLG, &ColourRequest},
    {WM_CTLCOLORMSGBOX, &ColourRequest},
    {WM_CLOSE, &Close},
    {WM_QUERYENDSESSION, &QueryEndSession},
    {WM_DESTROY, &Raise<window_event::kDestroyed>},
    {WM_NCDESTROY, &LastMessage},
    {WM_MOVE, &Raise<window_event::kMoved>},
    {WM_SIZE, &Raise<window_event::kResized>},
    {WM_ACTIVATE, &Activate},
    {WM_SETFOCUS, &TakeFocus},
    {WM_SHOWWINDOW, &ShowOrHide},
    {kDeferredDestroyMessage, &DeferredDestroy},
    {WM_SETCURSOR, &ChoosePointer},
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  UnitObject* unit = UnitOfWindow(hwnd);
  if (unit == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  WindowObject& w = ObjectOf(*unit);
  // Kept apart too: a case may end the window and its object.
  const WNDPROC previous = w.previousProc;
  for (const MessageCase& c : kMessageCases) {
    if (c.message != message) continue;
    bool answered = false;
    const LRESULT result = c.handle({w, hwnd, w.window, w.unit, message, wParam, lParam}, answered);
    if (answered) return result;
    break;
  }
  return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

// ---- Type operations ----

std::unique_ptr<UnitObject> Create(const UnitCreateArgs& args) {
  std::optional<WindowProperties> properties = ReadWindowProperties({args.blob, args.blobLength});
  if (!properties) return nullptr;
  auto w = std::make_unique<WindowObject>();
  w->properties = std::move(*properties);
  w->operations = &kWindowUnitOperations;
  w->window = args.window;
  w->unit = args.unit;
  const WindowProperties& p = w->properties;
  const std::optional<std::wstring> className = ClassNameFor(p);
  if (!className || !EnsureClassRegistered(className->c_str())) return nullptr;
  WindowFrame frame = ComputeWindowFrame(p, args.style, args.x, args.y, args.width, args.height,
                                         args.parent != nullptr, GetSystemMetrics(SM_CXSCREEN),
                                         GetSystemMetrics(SM_CYSCREEN));
  HWND owner = args.parent;
  if (owner == nullptr && !p.showInTaskbar) owner = runtime::HiddenOwnerWindow();
  HWND hwnd = CreateWindowExW(frame.exStyle, className->c_str(), text::WideForDisplay(p.caption).c_str(), frame.style,
                              frame.x, frame.y, args.width, args.height, owner, args.menu, GetModuleHandleW(nullptr),
                              nullptr);
  if (hwnd == nullptr) return nullptr;
  AttachUnitToWindow(*w, hwnd);
  w->previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));

  // The platform may have adjusted the frame; put back what the properties say.
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  std::uint32_t wanted = FrameBits(p);
  if ((static_cast<std::uint32_t>(style) & window_style::kFrameBits) != wanted) {
    SetWindowLongW(hwnd, GWL_STYLE,
                   static_cast<LONG>((static_cast<std::uint32_t>(style) & ~window_style::kFrameBits) | wanted));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  RECT outer;
  GetWindowRect(hwnd, &outer);
  if (outer.right - outer.left != args.width || outer.bottom - outer.top != args.height)
    MoveWindow(hwnd, frame.x, frame.y, args.width, args.height, TRUE);

  ApplyIcons(*w);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (p.alwaysOnTop) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!p.movable) DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND);
  return w;
}

std::vector<std::uint8_t> Serialise(const UnitObject& unit) { return SerialiseWindowProperties(ObjectOf(unit).properties); }

// The window's own properties by own index (property index - 8).
constexpr int kCaption = OwnIndexOf(kWindowPropertyFields, "caption");
constexpr int kBorderStyle = OwnIndexOf(kWindowPropertyFields, "borderStyle");
constexpr int kBackColor = OwnIndexOf(kWindowPropertyFields, "backColor");
constexpr int kBackPicture = OwnIndexOf(kWindowPropertyFields, "backPicture");
constexpr int kPictureMode = OwnIndexOf(kWindowPropertyFields, "pictureMode");
constexpr int kBackMusic = OwnIndexOf(kWindowPropertyFields, "backMusic");
constexpr int kMusicPlayCount = OwnIndexOf(kWindowPropertyFields, "musicPlayCount");
constexpr int kControlBox = OwnIndexOf(kWindowPropertyFields, "controlBox");
constexpr int kMaxButton = OwnIndexOf(kWindowPropertyFields, "maxButton");
constexpr int kMinButton = OwnIndexOf(kWindowPropertyFields, "minButton");
constexpr int kStartPosition = OwnIndexOf(kWindowPropertyFields, "startPosition");
constexpr int kMovable = OwnIndexOf(kWindowPropertyFields, "movable");
constexpr int kIcon = OwnIndexOf(kWindowPropertyFields, "icon");
constexpr int kEnterMovesFocus = OwnIndexOf(kWindowPropertyFields, "enterMovesFocus");
constexpr int kEscCloses = OwnIndexOf(kWindowPropertyFields, "escCloses");
constexpr int kF1OpensHelp = OwnIndexOf(kWindowPropertyFields, "f1OpensHelp");
constexpr int kHelpFile = OwnIndexOf(kWindowPropertyFields, "helpFile");
constexpr int kHelpContext = OwnIndexOf(kWindowPropertyFields, "helpContext");
constexpr int kShowInTaskbar = OwnIndexOf(kWindowPropertyFields, "showInTaskbar");
constexpr int kDragAnywhere = OwnIndexOf(kWindowPropertyFields, "dragAnywhere");
constexpr int kWindowShape = OwnIndexOf(kWindowPropertyFields, "windowShape");
constexpr int kAlwaysOnTop = OwnIndexOf(kWindowPropertyFields, "alwaysOnTop");
constexpr int kKeepTitleActive = OwnIndexOf(kWindowPropertyFields, "keepTitleActive");
constexpr int kWindowClassName = OwnIndexOf(kWindowPropertyFields, "windowClassName");

void RefreshFrame(WindowObject& w) {
  HWND hwnd = w.hwnd;
  std::uint32_t style = static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_STYLE));
  std::uint32_t thick = w.properties.borderStyle == 1 || w.properties.borderStyle == 3 || w.properties.borderStyle == 5
                            ? window_style::kThickFrame
                            : 0;
  style = (style & ~(window_style::kFrameBits | window_style::kThickFrame)) | FrameBits(w.properties) | thick;
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Logical(const PropertyValue& v) { return v.low != 0; }
std::int32_t Choice(const PropertyValue& v) { return v.low < 0 ? 0 : v.low; }

void PropertyChanged(UnitObject& unit, int ownIndex, int, const PropertyValue& v) {
  WindowObject& w = ObjectOf(unit);
  WindowProperties& p = w.properties;
  HWND hwnd = w.hwnd;
  switch (ownIndex) {
    case kCaption:
      p.caption = v.text;
      SetWindowTextW(hwnd, text::WideForDisplay(p.caption).c_str());
      RefreshFrame(w);
      break;
    case kBorderStyle: p.borderStyle = static_cast<std::uint32_t>(Choice(v)); RefreshFrame(w); break;
    case kBackColor: p.backColor = static_cast<std::uint32_t>(v.low); InvalidateRect(hwnd, nullptr, FALSE); break;
    case kBackPicture:
      p.backPicture = v.bytes;
      w.background.reset();
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case kPictureMode: p.pictureMode = static_cast<std::uint32_t>(Choice(v)); InvalidateRect(hwnd, nullptr, FALSE); break;
    case kBackMusic: p.backMusic = v.bytes; break;
    case kMusicPlayCount: p.musicPlayCount = static_cast<std::uint32_t>(Choice(v)); break;
    case kControlBox: p.controlBox = Logical(v); RefreshFrame(w); break;
    case kMaxButton: p.maxButton = Logical(v); RefreshFrame(w); break;
    case kMinButton: p.minButton = Logical(v); RefreshFrame(w); break;
    case kStartPosition: p.startPosition = static_cast<std::uint32_t>(Choice(v)); break;
    case kMovable: {
      p.movable = Logical(v);
      GetSystemMenu(hwnd, TRUE);  // back to the platform's menu, Move included
      if (!p.movable) DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND);
      break;
    }
    case kIcon: p.icon = v.bytes; ApplyIcons(w); break;
    case kEnterMovesFocus: p.enterMovesFocus = Logical(v); break;
    case kEscCloses: p.escCloses = Logical(v); break;
    case kF1OpensHelp: p.f1OpensHelp = Logical(v); break;
    case kHelpFile: p.helpFile = v.text; break;
    case kHelpContext: p.helpContext = v.low; break;
    case kShowInTaskbar: p.showInTaskbar = Logical(v); break;
    case kDragAnywhere: p.dragAnywhere = Logical(v); break;
    case kWindowShape: p.windowShape = static_cast<std::uint32_t>(Choice(v)); break;
    case kAlwaysOnTop:
      p.alwaysOnTop = Logical(v);
      SetWindowPos(hwnd, p.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case kKeepTitleActive: p.keepTitleActive = Logical(v); break;
    case kWindowClassName: p.windowClassName = v.text; break;
    default: break;
  }
}

PropertyValue ReadProperty(const UnitObject& unit, int ownIndex, int) {
  return ReadPropertyField(kWindowPropertyFields, ObjectOf(unit).properties, ownIndex);
}

}  // namespace

const UnitTypeOperations kWindowUnitOperations = {
    .create = &Create,
    .propertyChanged = &PropertyChanged,
    .serialise = &Serialise,
    .readProperty = &ReadProperty,
    .preTranslate = &PreTranslate,
};
