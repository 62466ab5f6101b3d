#include "form/engine/properties.h"

#include <algorithm>

#include "form/engine/live_units.h"
#include "form/engine/loader.h"
#include "form/engine/runtime.h"
#include "form/engine/runtime_texts.h"
#include "form/engine/template_access.h"
#include "form/engine/unit_cursor.h"

namespace {

struct Located {
  WindowTemplate* t;
  std::uint32_t index;
  UnitObject* live;
};

Located Locate(UnitId window, UnitId unit) {
  WindowTemplate* t = units::FindWindow(window);
  if (t == nullptr) runtime::ReportRuntimeError(runtime_text::kPropertyWindowMissing);
  std::optional<std::uint32_t> index = units::IndexOf(*t, unit);
  if (!index) runtime::ReportRuntimeError(runtime_text::kUnitNotLoaded);
  return Located{t, *index, LiveUnit(*t, *index)};
}

// Position within the parent's client area for child windows, on the screen
// for top-level ones.
RECT RectInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool IsWindowUnit(const Located& at) { return at.index == 0; }

}  // namespace

void WriteUnitProperty(UnitId window, UnitId unit, int index, int subIndex, const PropertyValue& value) {
  Located at = Locate(window, unit);
  WindowTemplate& t = *at.t;
  if (index >= kFirstTypeProperty) {
    if (at.live == nullptr) runtime::ReportRuntimeError(runtime_text::kWindowNotLoaded);
    if (at.live->operations->propertyChanged != nullptr)
      at.live->operations->propertyChanged(*at.live, index - kFirstTypeProperty, subIndex, value);
    return;
  }
  switch (index) {
    case kPropertyLeft:
    case kPropertyTop: {
      std::int32_t v = std::clamp(value.low, -kCoordinateLimit, kCoordinateLimit);
      units::SetGeometry(t, at.index, index == kPropertyLeft ? units::Geometry::Left : units::Geometry::Top, v);
      if (at.live) {
        RECT r = RectInParent(at.live->hwnd);
        int x = index == kPropertyLeft ? v : r.left;
        int y = index == kPropertyTop ? v : r.top;
        MoveWindow(at.live->hwnd, x, y, r.right - r.left, r.bottom - r.top, TRUE);
      }
      break;
    }
    case kPropertyWidth:
    case kPropertyHeight: {
      std::int32_t v = std::clamp(value.low, 0, kCoordinateLimit);
      units::SetGeometry(t, at.index, index == kPropertyWidth ? units::Geometry::Width : units::Geometry::Height, v);
      if (at.live) {
        RECT r = RectInParent(at.live->hwnd);
        int w = index == kPropertyWidth ? v : r.right - r.left;
        int h = index == kPropertyHeight ? v : r.bottom - r.top;
        SetWindowPos(at.live->hwnd, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
      }
      break;
    }
    case kPropertyTag:
      units::SetTag(t, at.index, value.text);
      break;
    case kPropertyVisible: {
      bool visible = value.low != 0;
      std::uint32_t flags = units::FlagsOf(t, at.index);
      units::SetFlags(t, at.index, visible ? flags | kUnitVisible : flags & ~kUnitVisible);
      if (!at.live) break;
      if (!visible) {
        ShowWindow(at.live->hwnd, SW_HIDE);
      } else if (IsWindowUnit(at)) {
        ShowWindowUnit(window);
      } else {
        std::optional<units::ResolvedType> type = units::ResolveUnitType(units::TypeOf(t, at.index));
        if (!type || !(type->flags & type_flags::kHiddenAtRunTime)) ShowWindow(at.live->hwnd, SW_SHOW);
      }
      break;
    }
    case kPropertyDisabled: {
      bool disabled = value.low != 0;
      std::uint32_t flags = units::FlagsOf(t, at.index);
      units::SetFlags(t, at.index, disabled ? flags | kUnitDisabled : flags & ~kUnitDisabled);
      if (at.live) EnableWindow(at.live->hwnd, disabled ? FALSE : TRUE);
      break;
    }
    case kPropertyMousePointer: {
      units::SetCursorSpec(t, at.index, value.bytes);
      ReleaseUnitCursor(t, at.index);
      ApplyUnitCursor(t, at.index);
      if (at.live) {
        POINT p;
        GetCursorPos(&p);
        SetCursorPos(p.x, p.y);
      }
      break;
    }
    default:
      break;
  }
}

PropertyValue ReadUnitProperty(UnitId window, UnitId unit, int index, int subIndex) {
  Located at = Locate(window, unit);
  const WindowTemplate& t = *at.t;
  PropertyValue value;
  if (index >= kFirstTypeProperty) {
    if (at.live == nullptr) runtime::ReportRuntimeError(runtime_text::kWindowNotLoaded);
    if (at.live->operations->readProperty != nullptr)
      value = at.live->operations->readProperty(*at.live, index - kFirstTypeProperty, subIndex);
    return value;
  }
  switch (index) {
    case kPropertyLeft:
    case kPropertyTop:
    case kPropertyWidth:
    case kPropertyHeight:
      if (at.live) {
        RECT r = RectInParent(at.live->hwnd);
        value.low = index == kPropertyLeft ? r.left
                    : index == kPropertyTop ? r.top
                    : index == kPropertyWidth ? r.right - r.left
                                              : r.bottom - r.top;
      } else {
        static constexpr units::Geometry kWhich[] = {units::Geometry::Left, units::Geometry::Top,
                                                     units::Geometry::Width, units::Geometry::Height};
        value.low = units::GeometryOf(t, at.index, kWhich[index]);
      }
      break;
    case kPropertyTag:
      value.text = units::TagOf(t, at.index);
      break;
    case kPropertyVisible:
      value.low = at.live ? (IsWindowVisible(at.live->hwnd) ? 1 : 0) : (units::FlagsOf(t, at.index) & kUnitVisible ? 1 : 0);
      break;
    case kPropertyDisabled:
      value.low = at.live ? (IsWindowEnabled(at.live->hwnd) ? 0 : 1) : (units::FlagsOf(t, at.index) & kUnitDisabled ? 1 : 0);
      break;
    case kPropertyMousePointer:
      value.bytes = units::CursorSpecOf(t, at.index);
      break;
    default:
      break;
  }
  return value;
}
