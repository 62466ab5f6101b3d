#include "form/engine/live_units.h"

#include "form/engine/slot_table.h"
#include "form/engine/template_access.h"

namespace live_units {

namespace {

SlotTable<UnitObject*>& Table() {
  static SlotTable<UnitObject*> table;
  return table;
}

constexpr wchar_t kUnitProperty[] = L"VelmoraUnitObject";

}  // namespace

std::uint32_t Add(UnitObject* unit) { return Table().Add(unit); }

UnitObject* Find(std::uint32_t key) {
  UnitObject* const* unit = Table().Find(key);
  return unit != nullptr ? *unit : nullptr;
}

void Remove(std::uint32_t key) { Table().Remove(key); }

UnitObject* ObjectAt(const WindowTemplate& t, std::uint32_t index) { return Find(units::ObjectSlotOf(t, index)); }

}  // namespace live_units

UnitObject* LiveUnit(const WindowTemplate& t, std::uint32_t index) {
  UnitObject* unit = live_units::ObjectAt(t, index);
  return unit != nullptr && IsWindow(unit->hwnd) ? unit : nullptr;
}

bool AnyWindowLoaded() {
  for (WindowTemplate* t : units::AllWindows())
    if (LiveUnit(*t, 0) != nullptr) return true;
  return false;
}

UnitObject* UnitOfWindow(HWND hwnd) {
  return hwnd ? static_cast<UnitObject*>(GetPropW(hwnd, live_units::kUnitProperty)) : nullptr;
}

void AttachUnitToWindow(UnitObject& unit, HWND hwnd) {
  unit.hwnd = hwnd;
  SetPropW(hwnd, live_units::kUnitProperty, &unit);
}

void DetachUnitFromWindow(HWND hwnd) { RemovePropW(hwnd, live_units::kUnitProperty); }
