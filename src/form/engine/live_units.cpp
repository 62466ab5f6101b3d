#include "form/engine/live_units.h"

#include "form/engine/slot_table.h"
#include "form/engine/template_access.h"
#include "host/window_record.h"

namespace live_units {

namespace {

SlotTable<std::unique_ptr<UnitObject>>& Table() {
  static SlotTable<std::unique_ptr<UnitObject>> table;
  return table;
}

constexpr WindowRecord<UnitObject> kUnitOfWindow{L"VelmoraUnitObject"};

}  // namespace

std::uint32_t Add(std::unique_ptr<UnitObject> unit) { return Table().Add(std::move(unit)); }

UnitObject* Find(std::uint32_t key) {
  const std::unique_ptr<UnitObject>* unit = Table().Find(key);
  return unit != nullptr ? unit->get() : nullptr;
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

UnitObject* UnitOfWindow(HWND hwnd) { return live_units::kUnitOfWindow.Of(hwnd); }

void AttachUnitToWindow(UnitObject& unit, HWND hwnd) {
  unit.hwnd = hwnd;
  live_units::kUnitOfWindow.Attach(hwnd, unit);
}

void DetachUnitFromWindow(HWND hwnd) { live_units::kUnitOfWindow.Detach(hwnd); }
