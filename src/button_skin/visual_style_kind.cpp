#include "button_skin/visual_style_kind.h"

#include <iterator>

#include "host/text.h"
#include "host/wide_text.h"

namespace {

// Button styles.
constexpr std::uint32_t kTypeMask = 0xF;  // BS_TYPEMASK
constexpr std::uint32_t kIcon = 0x40;     // BS_ICON
constexpr std::uint32_t kBitmap = 0x80;   // BS_BITMAP
constexpr std::uint32_t kPushLike = 0x1000;  // BS_PUSHLIKE
// WS_CHILD | WS_TABSTOP and nothing else.
constexpr std::uint32_t kBareChildStyle = 0x40010000;
constexpr std::uint32_t kSimpleComboBox = 0x1;  // CBS_SIMPLE

bool SameClass(const std::string& className, const char* name) {
  return text::EqualsIgnoringAsciiCase(className, name);
}

std::optional<ControlKind> ButtonKind(const ControlFacts& control) {
  // An image button shows its own picture, which the drawn face would cover.
  if (control.style & (kBitmap | kIcon)) return std::nullopt;
  const bool pushLike = (control.style & kPushLike) != 0;
  switch (control.style & kTypeMask) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      if (!control.hasText && control.style == kBareChildStyle) return std::nullopt;
      return ControlKind::PushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return pushLike ? ControlKind::PushButton : ControlKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return pushLike ? ControlKind::PushButton : ControlKind::RadioButton;
    case BS_GROUPBOX: return ControlKind::GroupBox;
    default: return std::nullopt;  // user buttons, owner-drawn buttons and later types
  }
}

std::optional<ControlKind> EditKind(const ControlFacts& control) {
  // The fields of an IP address control belong to it.
  if (SameClass(control.parentClassName, "SysIPAddress32")) return std::nullopt;
  return ControlKind::Edit;
}

std::optional<ControlKind> ComboBoxKind(const ControlFacts& control) {
  if ((control.style & 0x3) == kSimpleComboBox) return std::nullopt;
  return ControlKind::ComboBox;
}

template <ControlKind kind>
std::optional<ControlKind> Always(const ControlFacts&) {
  return kind;
}

struct ClassRule {
  const char* className;
  std::optional<ControlKind> (*kindOf)(const ControlFacts& control);
};

// Classes not listed ("msctls_hotkey32", "SysIPAddress32", "ListBox",
// "SysListView32", "SysTreeView32", "SysDateTimePick32" and every other) are
// no kind.
constexpr ClassRule kClassRules[] = {
    {"Button", &ButtonKind},
    {"Edit", &EditKind},
    {"ComboBox", &ComboBoxKind},
    {"msctls_updown32", &Always<ControlKind::UpDown>},
    {"ScrollBar", &Always<ControlKind::ScrollBar>},
    {"SysMonthCal32", &Always<ControlKind::MonthCalendar>},
    {"SysTabControl32", &Always<ControlKind::TabControl>},
    {"msctls_progress32", &Always<ControlKind::Progress>},
    {"msctls_trackbar32", &Always<ControlKind::Trackbar>},
    {"ComboLBox", &Always<ControlKind::ComboList>},
};

// A class name that GBK cannot spell is none of the classes above.
std::string ClassNameOf(HWND window) {
  wchar_t name[64] = {};
  const int length = window == nullptr ? 0 : GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return text::GbkFromWide(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0)).value_or("");
}

}  // namespace

std::optional<ControlKind> ControlKindOf(const ControlFacts& control) {
  for (const ClassRule& rule : kClassRules)
    if (SameClass(control.className, rule.className)) return rule.kindOf(control);
  return std::nullopt;
}

ControlFacts ControlFactsOf(HWND window) {
  return {ClassNameOf(window), static_cast<std::uint32_t>(GetWindowLongW(window, GWL_STYLE)),
          GetWindowTextLengthW(window) > 0, ClassNameOf(GetParent(window))};
}
