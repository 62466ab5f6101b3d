#include "form/engine/loader.h"

#include <map>
#include <vector>

#include "form/description/window_properties.h"
#include "form/engine/events.h"
#include "form/engine/live_units.h"
#include "form/engine/message_loop.h"
#include "form/engine/runtime.h"
#include "form/engine/runtime_texts.h"
#include "form/engine/template_access.h"
#include "form/engine/unit_cursor.h"

namespace {

// What the engine keeps for each loaded window beside its unit objects.
struct WindowLifecycle {
  bool firstShowPending = false;
  bool destroyRequested = false;
  HWND focusMemory = nullptr;
  const BusyWindow* busy = nullptr;
};

std::map<UnitId, WindowLifecycle>& Lifecycles() {
  static std::map<UnitId, WindowLifecycle> lifecycles;
  return lifecycles;
}

HWND LiveWindowOf(const WindowTemplate& t) {
  UnitObject* window = LiveUnit(t, 0);
  return window != nullptr ? window->hwnd : nullptr;
}

// The window's startPosition: 2 minimized, 3 maximized.
constexpr int kStartPositionOwnIndex = OwnIndexOf(kWindowPropertyFields, "startPosition");

void RunFirstShow(WindowTemplate& t, UnitObject& window) {
  int startPosition = 1;
  if (window.operations->readProperty != nullptr)
    startPosition = window.operations->readProperty(window, kStartPositionOwnIndex, -1).low;
  ShowWindow(window.hwnd, startPosition == 2 ? SW_SHOWMINIMIZED : startPosition == 3 ? SW_MAXIMIZE : SW_SHOW);
  HWND focus = GetFocus();
  if (focus == nullptr || (focus != window.hwnd && !IsChild(window.hwnd, focus))) return;
  for (std::uint32_t i = 0; i < units::UnitCount(t); ++i) {
    UnitObject* unit = live_units::ObjectAt(t, i);
    if (unit != nullptr && unit->hwnd == focus) {
      FireEvent(window.window, unit->unit, unit_event::kGotFocus);
      return;
    }
  }
}

// Undoes a load that could not make all of its units: what was made goes,
// the template is as it was and events flow again.
void AbandonLoad(WindowTemplate& t, const std::vector<std::uint32_t>& created) {
  for (auto it = created.rbegin(); it != created.rend(); ++it) {
    if (UnitObject* unit = LiveUnit(t, *it)) DestroyWindow(unit->hwnd);
  }
  units::RestorePristineCopy(t);
  Lifecycles().erase(units::WindowIdOf(t));
  runtime::LowerEventSuppression();
}

bool CreateUnit(WindowTemplate& t, std::uint32_t index, HWND parent, UINT controlId, bool& visible) {
  std::optional<units::ResolvedType> type = units::ResolveUnitType(units::TypeOf(t, index));
  if (!type || type->operations == nullptr || type->operations->create == nullptr) return false;
  std::uint32_t flags = units::FlagsOf(t, index);
  DWORD style = 0;
  if (type->flags & type_flags::kHiddenAtRunTime) {
    visible = false;
  } else {
    visible = (flags & kUnitVisible) != 0;
    if (flags & kUnitDisabled) style |= WS_DISABLED;
  }
  if (flags & kUnitTabStop) style |= WS_TABSTOP;

  std::vector<std::uint8_t> blob = units::PropertyBlobOf(t, index);
  UnitCreateArgs args;
  args.blob = blob.empty() ? nullptr : blob.data();
  args.blobLength = static_cast<std::uint32_t>(blob.size());
  args.style = style;
  args.parent = parent;
  args.controlId = controlId;
  args.x = units::GeometryOf(t, index, units::Geometry::Left);
  args.y = units::GeometryOf(t, index, units::Geometry::Top);
  args.width = units::GeometryOf(t, index, units::Geometry::Width);
  args.height = units::GeometryOf(t, index, units::Geometry::Height);
  args.window = units::WindowIdOf(t);
  args.unit = units::IdAt(t, index);
  std::unique_ptr<UnitObject> unit = type->operations->create(args);
  if (unit == nullptr || (index == 0 && !IsWindow(unit->hwnd))) return false;
  units::SetObjectSlot(t, index, live_units::Add(std::move(unit)));
  return true;
}

void SendToUnits(WindowTemplate& t, UINT message) {
  for (std::uint32_t i = units::UnitCount(t); i-- > 0;) {
    UnitObject* unit = live_units::ObjectAt(t, i);
    if (unit != nullptr && IsWindow(unit->hwnd)) SendMessageW(unit->hwnd, message, 0, 0);
  }
}

// A window that is loaded already comes forward (restored when minimized)
// instead of loading twice; one whose destruction is pending goes first and
// loads anew.
bool BroughtForward(WindowTemplate& t) {
  UnitId windowId = units::WindowIdOf(t);
  HWND live = LiveWindowOf(t);
  if (live == nullptr) return false;
  if (Lifecycles()[windowId].destroyRequested) {
    CarryOutDeferredDestroy(windowId);
    return false;
  }
  if (IsIconic(live))
    ShowWindow(live, SW_RESTORE);
  else
    SetActiveWindow(live);
  return true;
}

// Control ids of the units, in creation order.
constexpr UINT kFirstControlId = 100;
constexpr UINT kControlIdStep = 10;

struct CreatedUnits {
  HWND window = nullptr;
  std::vector<std::uint32_t> order;  // unit indices, as created
  std::vector<bool> visible;          // by unit index, as the units are to show
};

// The window first, then the other units from the last to the first, so
// that the earlier units of the form end up on top. Nothing when a unit
// cannot be made: then the load is undone.
std::optional<CreatedUnits> CreateUnits(WindowTemplate& t, HWND parent) {
  std::uint32_t count = units::UnitCount(t);
  CreatedUnits created{nullptr, {}, std::vector<bool>(count, false)};
  bool windowVisible = false;  // the window unit is shown by the first show, not here
  if (!CreateUnit(t, 0, parent, 0, windowVisible)) {
    AbandonLoad(t, created.order);
    return std::nullopt;
  }
  created.order.push_back(0);
  created.window = live_units::ObjectAt(t, 0)->hwnd;
  UINT controlId = kFirstControlId;
  for (std::uint32_t i = count; i-- > 1;) {
    if (IsMenuItem(units::IdAt(t, i))) continue;
    bool visible = false;
    if (!CreateUnit(t, i, created.window, controlId, visible)) {
      AbandonLoad(t, created.order);
      return std::nullopt;
    }
    created.visible[i] = visible;
    created.order.push_back(i);
    controlId += kControlIdStep;
  }
  return created;
}

// Each unit under its parent unit (or the window); the children of a tab
// container after its first page are hidden; then the z-order, each unit
// below the unit before it that has the same parent.
void ArrangeUnits(WindowTemplate& t, CreatedUnits& created) {
  std::uint32_t count = units::UnitCount(t);
  for (std::uint32_t i = 1; i < count; ++i) {
    UnitObject* unit = live_units::ObjectAt(t, i);
    if (unit == nullptr) continue;
    UnitId parentId = units::ParentOf(t, i);
    std::optional<std::uint32_t> parentIndex = parentId == 0 ? std::optional<std::uint32_t>(0)
                                                             : units::IndexOf(t, parentId);
    UnitObject* parentUnit = parentIndex ? live_units::ObjectAt(t, *parentIndex) : nullptr;
    SetParent(unit->hwnd, parentUnit != nullptr ? parentUnit->hwnd : created.window);
    std::optional<units::ResolvedType> type = units::ResolveUnitType(units::TypeOf(t, i));
    if (!type || !(type->flags & type_flags::kTabContainer)) continue;
    bool laterPage = false;
    for (UnitId child : units::ChildrenOf(t, i)) {
      if (child == 0) {
        laterPage = true;
      } else if (laterPage) {
        if (std::optional<std::uint32_t> c = units::IndexOf(t, child)) created.visible[*c] = false;
      }
    }
  }
  for (std::uint32_t i = 1; i < count; ++i) {
    UnitObject* unit = live_units::ObjectAt(t, i);
    if (unit == nullptr) continue;
    HWND above = HWND_TOP;
    for (std::uint32_t j = i; j-- > 1;) {
      UnitObject* earlier = live_units::ObjectAt(t, j);
      if (earlier != nullptr && units::ParentOf(t, j) == units::ParentOf(t, i)) {
        above = earlier->hwnd;
        break;
      }
    }
    SetWindowPos(unit->hwnd, above, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

// Pointers, the units' and the window's notices that all are made, and the
// units shown or hidden as they are to be.
void FinishUnits(WindowTemplate& t, const CreatedUnits& created) {
  for (std::uint32_t i = 0; i < units::UnitCount(t); ++i) ApplyUnitCursor(t, i);
  SendToUnits(t, kUnitsCreatedMessage);
  SendMessageW(created.window, kDockLayoutMessage, 0, 0);
  for (std::uint32_t i : created.order) {
    if (i == 0) continue;
    ShowWindow(live_units::ObjectAt(t, i)->hwnd, created.visible[i] ? SW_SHOWNA : SW_HIDE);
  }
}

// The window's created, moved and resized events, each only while the
// window still exists; then its first show when the form marks it visible
// and the units' notice that loading is over. The form's own visible flag
// decides the first show, not one that the created handler wrote: a window
// that the handler showed is shown already.
void RaiseLoadEvents(WindowTemplate& t, HWND windowHwnd) {
  UnitId windowId = units::WindowIdOf(t);
  bool visibleInForm = (units::FlagsOf(t, 0) & kUnitVisible) != 0;
  FireEvent(windowId, 0, window_event::kCreated);
  if (IsWindow(windowHwnd)) FireEvent(windowId, 0, window_event::kMoved);
  if (IsWindow(windowHwnd)) FireEvent(windowId, 0, window_event::kResized);
  if (!IsWindow(windowHwnd)) return;
  if (visibleInForm) {
    Lifecycles()[windowId].firstShowPending = false;
    RunFirstShow(t, *live_units::ObjectAt(t, 0));
  }
  HWND focus = GetFocus();
  SendToUnits(t, kLoadFinishedMessage);
  if (GetFocus() != focus && focus != nullptr && IsWindow(focus)) SetFocus(focus);
  Lifecycles()[windowId].firstShowPending = true;
}

}  // namespace

void LoadStartWindow(UnitId window) {
  WindowTemplate* t = units::FindWindow(window);
  if (t == nullptr || !LoadWindow(*t, nullptr)) runtime::ReportRuntimeError(runtime_text::kStartWindowNotLoaded);
}

bool LoadWindow(WindowTemplate& t, HWND parent) {
  if (BroughtForward(t)) return true;
  PumpWaitingMessages();
  runtime::RaiseEventSuppression();
  units::TakePristineCopy(t);
  Lifecycles()[units::WindowIdOf(t)] = WindowLifecycle{};
  std::optional<CreatedUnits> created = CreateUnits(t, parent);
  if (!created) return false;
  ArrangeUnits(t, *created);
  FinishUnits(t, *created);
  PumpWaitingMessages();
  runtime::LowerEventSuppression();
  RaiseLoadEvents(t, created->window);
  return true;
}

UnitObject& GetUnitObject(UnitId window, UnitId unit) {
  WindowTemplate* t = units::FindWindow(window);
  std::optional<std::uint32_t> index = t ? units::IndexOf(*t, unit) : std::nullopt;
  UnitObject* object = index ? LiveUnit(*t, *index) : nullptr;
  if (object == nullptr) runtime::ReportRuntimeError(runtime_text::kUnitNotLoaded);
  return *object;
}

void DestroyUnit(const UnitReference& reference, bool immediately) {
  UnitObject& unit = GetUnitObject(reference.window, reference.unit);
  if (reference.unit == 0 || IsWindowUnitId(reference.unit)) {
    Lifecycles()[reference.window].destroyRequested = true;
    if (immediately)
      CarryOutDeferredDestroy(reference.window);
    else
      PostMessageW(unit.hwnd, kDeferredDestroyMessage, 0, 0);
    return;
  }
  DestroyWindow(unit.hwnd);
}

void CarryOutDeferredDestroy(UnitId window) {
  auto it = Lifecycles().find(window);
  if (it == Lifecycles().end() || !it->second.destroyRequested) return;
  it->second.destroyRequested = false;
  WindowTemplate* t = units::FindWindow(window);
  if (HWND hwnd = t ? LiveWindowOf(*t) : nullptr) DestroyWindow(hwnd);
}

void NotifyUnitDestroyed(UnitId window, UnitId unit) {
  WindowTemplate* t = units::FindWindow(window);
  std::optional<std::uint32_t> index = t ? units::IndexOf(*t, unit) : std::nullopt;
  if (!index) return;
  ReleaseUnitCursor(*t, *index);
  live_units::Remove(units::ObjectSlotOf(*t, *index));
  units::SetObjectSlot(*t, *index, 0);
  if (*index != 0) return;

  // The window itself went last: forget what was changed while it lived.
  for (std::uint32_t i = 0; i < units::UnitCount(*t); ++i) {
    ReleaseUnitCursor(*t, i);
    live_units::Remove(units::ObjectSlotOf(*t, i));
  }
  units::RestorePristineCopy(*t);
  Lifecycles().erase(window);
  if (!AnyWindowLoaded() && runtime::LoopStarted()) PostQuitMessage(0);
}

void ShowWindowUnit(UnitId window) {
  WindowTemplate* t = units::FindWindow(window);
  UnitObject* unit = t ? live_units::ObjectAt(*t, 0) : nullptr;
  if (unit == nullptr) return;
  WindowLifecycle& lifecycle = Lifecycles()[window];
  if (lifecycle.firstShowPending) {
    lifecycle.firstShowPending = false;
    RunFirstShow(*t, *unit);
  } else {
    ShowWindow(unit->hwnd, SW_SHOW);
  }
}

HWND& FocusMemoryOf(UnitId window) { return Lifecycles()[window].focusMemory; }

const BusyWindow* BusyWindowOf(UnitId window) {
  auto it = Lifecycles().find(window);
  return it != Lifecycles().end() ? it->second.busy : nullptr;
}

void SetBusyWindow(UnitId window, const BusyWindow* busy) {
  auto it = Lifecycles().find(window);
  if (it != Lifecycles().end()) it->second.busy = busy;
}
