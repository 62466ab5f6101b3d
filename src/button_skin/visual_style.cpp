#include "button_skin/visual_style.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "button_skin/visual_style_look.h"
#include "button_skin/visual_style_paint.h"
#include "host/handle_owners.h"
#include "host/system_library.h"
#include "host/window_record.h"

using namespace control_state;

namespace {

using OwnedHook = OwnedHandle<HHOOK, UnhookWindowsHookEx>;

// The creation hook and the enumerations reach only the calling thread's
// windows, and a window's messages always arrive on its own thread: each
// thread that sets a style keeps its own.
struct VisualStyle {
  int scheme = 0;
  OwnedHook hook;  // present while the style is active
  // The records of the controls taken over, oldest first.
  std::vector<std::unique_ptr<SkinnedControl>> controls;
};
thread_local VisualStyle threadStyle;

// A taken-over control's record, found from the control as the engine finds
// a live unit.
constexpr WindowRecord<SkinnedControl> kSkinnedControlOf{L"VelmoraSkinnedControl"};

constexpr UINT kRedrawEverything = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;

// How the style draws each kind of control it takes over; a kind without a
// painter stays the platform's to draw and is not taken over.
struct KindPainter {
  ControlKind kind;
  bool (*paint)(HWND control, std::uint32_t state, HBRUSH background, const PushButtonPalette& palette);
};
constexpr KindPainter kPainters[] = {{ControlKind::PushButton, &PaintPushButton}};

const KindPainter* PainterFor(ControlKind kind) {
  for (const KindPainter& painter : kPainters)
    if (painter.kind == kind) return &painter;
  return nullptr;
}

SkinnedControl* Find(HWND window) { return kSkinnedControlOf.Of(window); }

std::unique_ptr<SkinnedControl> Unlink(HWND window) {
  const SkinnedControl* control = Find(window);
  if (control == nullptr) return nullptr;
  std::vector<std::unique_ptr<SkinnedControl>>& controls = threadStyle.controls;
  auto it = std::find_if(controls.begin(), controls.end(),
                         [control](const std::unique_ptr<SkinnedControl>& held) { return held.get() == control; });
  if (it == controls.end()) return nullptr;
  kSkinnedControlOf.Detach(window);
  std::unique_ptr<SkinnedControl> record = std::move(*it);
  controls.erase(it);
  return record;
}

// A failed paint leaves the control as it was until its next paint.
void Repaint(HWND window, bool) {
  if (const SkinnedControl* control = Find(window))
    PainterFor(control->kind)->paint(window, control->state, control->backgroundBrush,
                                     PushButtonPaletteOf(threadStyle.scheme));
}

void RepaintWhenChanged(HWND window, bool changed) {
  if (changed) Repaint(window, true);
}

void GiveBack(HWND window) {
  const std::unique_ptr<SkinnedControl> record = Unlink(window);
  if (record == nullptr) return;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previousProcedure));
  RedrawWindow(window, nullptr, nullptr, kRedrawEverything);
}

void GiveBackAfterDestroy(HWND window, bool) { GiveBack(window); }

// The newest first, as each took its procedure over from the one before.
void GiveBackAll() {
  while (!threadStyle.controls.empty()) GiveBack(threadStyle.controls.back()->window);
}

// ---- The style's window procedure ----

// State changes, made before any procedure sees the message; each answers
// whether the look may have changed.

bool KeepParentBackground(SkinnedControl& control, WPARAM) {
  const HWND window = control.window;
  const ControlDc dc(window, ControlDc::Area::Client);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(window), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(window)));
  // The parent's answer may have run any code, this control's give-back too.
  SkinnedControl* kept = Find(window);
  if (kept == nullptr) return false;
  kept->backgroundBrush = brush;
  LOGBRUSH logBrush{};
  if (brush != nullptr && GetObjectW(brush, sizeof logBrush, &logBrush) != 0) kept->backgroundColour = logBrush.lbColor;
  kept->textColour = GetTextColor(dc.get());
  return false;
}

bool SetFocused(SkinnedControl& control, WPARAM) {
  control.state |= Focused;
  return true;
}

bool ClearFocused(SkinnedControl& control, WPARAM) {
  control.state &= ~Focused;
  return true;
}

bool FollowEnabling(SkinnedControl& control, WPARAM enabled) {
  control.state = enabled ? control.state & ~Disabled : control.state | Disabled;
  return true;
}

bool FollowCheck(SkinnedControl& control, WPARAM check) {
  control.state &= ~(CheckOn | CheckMixed);
  if (check == BST_CHECKED) control.state |= CheckOn;
  if (check == BST_INDETERMINATE) control.state |= CheckMixed;
  return true;
}

bool FollowPushed(SkinnedControl& control, WPARAM pushed) {
  control.state = pushed ? control.state | Pushed : control.state & ~Pushed;
  return true;
}

bool FollowDefaultButton(SkinnedControl& control, WPARAM newStyle) {
  control.state = (newStyle & BS_DEFPUSHBUTTON) ? control.state | DefaultButton : control.state & ~DefaultButton;
  return true;
}

// comctl32 is not among the KnownDLLs: taken from the system directory, not
// imported. Without it the button is not told when the pointer leaves it.
void AskForLeaveNotice(HWND window) {
  static const auto trackMouseEvent = SystemFunction<decltype(_TrackMouseEvent)>(L"comctl32.dll", "_TrackMouseEvent");
  TRACKMOUSEEVENT leaveNotice{sizeof leaveNotice, TME_LEAVE, window, 0};
  if (trackMouseEvent != nullptr) trackMouseEvent(&leaveNotice);
}

bool BecomeHot(SkinnedControl& control, WPARAM keys) {
  // A drag that started elsewhere does not light the button up.
  if ((control.state & Hot) || (keys & MK_LBUTTON)) return false;
  AskForLeaveNotice(control.window);
  control.state |= Hot;
  return true;
}

bool StopBeingHot(SkinnedControl& control, WPARAM) {
  if (!(control.state & Hot)) return false;
  control.state &= ~Hot;
  return true;
}

enum class AnsweredBy { PreviousProcedure, DefWindowProc };

// What the style does with one message. The message reaches one procedure,
// so the previous procedure sees it at most once.
struct MessageRule {
  UINT message;
  bool (*before)(SkinnedControl& control, WPARAM wParam);
  AnsweredBy answeredBy;
  void (*after)(HWND window, bool changed);
};

constexpr MessageRule kMessageRules[] = {
    {WM_DESTROY, nullptr, AnsweredBy::PreviousProcedure, &GiveBackAfterDestroy},
    {WM_ERASEBKGND, &KeepParentBackground, AnsweredBy::PreviousProcedure, nullptr},
    // DefWindowProcW validates the update region or sets the text without the
    // platform drawing the button first.
    {WM_PAINT, nullptr, AnsweredBy::DefWindowProc, &Repaint},
    {WM_SETTEXT, nullptr, AnsweredBy::DefWindowProc, &Repaint},
    {WM_SETFOCUS, &SetFocused, AnsweredBy::PreviousProcedure, &Repaint},
    {WM_KILLFOCUS, &ClearFocused, AnsweredBy::PreviousProcedure, &Repaint},
    {WM_ENABLE, &FollowEnabling, AnsweredBy::PreviousProcedure, &Repaint},
    {BM_SETCHECK, &FollowCheck, AnsweredBy::PreviousProcedure, &Repaint},
    {BM_SETSTATE, &FollowPushed, AnsweredBy::PreviousProcedure, &Repaint},
    {BM_SETSTYLE, &FollowDefaultButton, AnsweredBy::PreviousProcedure, &Repaint},
    {WM_MOUSEMOVE, &BecomeHot, AnsweredBy::PreviousProcedure, &RepaintWhenChanged},
    {WM_MOUSELEAVE, &StopBeingHot, AnsweredBy::PreviousProcedure, &RepaintWhenChanged},
};

const MessageRule* RuleFor(UINT message) {
  for (const MessageRule& rule : kMessageRules)
    if (rule.message == message) return &rule;
  return nullptr;
}

LRESULT CALLBACK StyleProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinnedControl* control = Find(window);
  // Only a control given back while another procedure still called this one.
  if (control == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC previous = control->previousProcedure;
  const MessageRule* rule = RuleFor(message);
  if (rule == nullptr) return CallWindowProcW(previous, window, message, wParam, lParam);
  const bool changed = rule->before != nullptr && rule->before(*control, wParam);
  const LRESULT result = rule->answeredBy == AnsweredBy::PreviousProcedure
                             ? CallWindowProcW(previous, window, message, wParam, lParam)
                             : DefWindowProcW(window, message, wParam, lParam);
  if (rule->after != nullptr) rule->after(window, changed);
  return result;
}

// ---- Taking controls over ----

void TakeOver(HWND window) {
  if (Find(window) != nullptr) return;
  const ControlFacts facts = ControlFactsOf(window);
  const std::optional<ControlKind> kind = ControlKindOf(facts);
  if (!kind || PainterFor(*kind) == nullptr) return;
  // A record that cannot be made leaves the control to the platform.
  std::unique_ptr<SkinnedControl> record(new (std::nothrow) SkinnedControl);
  if (record == nullptr) return;
  record->window = window;
  record->kind = *kind;
  if (facts.style & WS_DISABLED) record->state |= Disabled;
  if (GetFocus() == window) record->state |= Focused;
  if ((facts.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) record->state |= DefaultButton;
  const LRESULT check = SendMessageW(window, BM_GETCHECK, 0, 0);
  if (check == BST_CHECKED) record->state |= CheckOn;
  if (check == BST_INDETERMINATE) record->state |= CheckMixed;
  // A Unicode procedure keeps the control a Unicode window: its texts reach
  // it in UTF-16, not through the system's code page.
  if (!kSkinnedControlOf.Attach(window, *record)) return;
  record->previousProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StyleProcedure)));
  if (record->previousProcedure == nullptr) {
    kSkinnedControlOf.Detach(window);
    return;
  }
  threadStyle.controls.push_back(std::move(record));
  RedrawWindow(window, nullptr, nullptr, kRedrawEverything);
}

BOOL CALLBACK TakeOverDescendant(HWND window, LPARAM) {
  TakeOver(window);
  return TRUE;
}

// EnumChildWindows reaches every descendant, not only the direct children.
BOOL CALLBACK TakeOverWithDescendants(HWND window, LPARAM) {
  TakeOver(window);
  EnumChildWindows(window, &TakeOverDescendant, 0);
  return TRUE;
}

LRESULT CALLBACK TakeOverAtCreation(int code, WPARAM wParam, LPARAM lParam) {
  // Before the window's own procedure sees WM_CREATE, so that it is drawn by
  // the style from its first paint.
  if (code >= 0) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_CREATE) TakeOver(call->hwnd);
  }
  return CallNextHookEx(threadStyle.hook.get(), code, wParam, lParam);
}

int Deactivate() {
  GiveBackAll();
  if (!threadStyle.hook) return 0;
  return UnhookWindowsHookEx(threadStyle.hook.release()) != FALSE ? 1 : 0;
}

void Activate() {
  EnumThreadWindows(GetCurrentThreadId(), &TakeOverWithDescendants, 0);
  threadStyle.hook.reset(SetWindowsHookExW(WH_CALLWNDPROC, &TakeOverAtCreation, nullptr, GetCurrentThreadId()));
}

}  // namespace

int SetVisualStyle(int scheme) {
  threadStyle.scheme = scheme;
  if (scheme < kNavyScheme || scheme > kLilacScheme) return Deactivate();
  // Everything is given back and taken over again, so that the new scheme
  // reaches every control and no control gets a second record.
  Deactivate();
  Activate();
  return 1;
}

const SkinnedControl* FindSkinnedControl(HWND window) { return Find(window); }

std::size_t SkinnedControlCount() { return threadStyle.controls.size(); }
