#include "form/live_units.h"

#include <vector>

#include "form/template_access.h"

namespace live_units {

namespace {

// Index + 1 is the key; freed places are reused.
std::vector<UnitObject*>& Table() {
  static std::vector<UnitObject*> table;
  return table;
}

constexpr wchar_t kUnitProperty[] = L"VelmoraUnitObject";

}  // namespace

std::uint32_t Add(UnitObject* unit) {
  std::vector<UnitObject*>& table = Table();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i] == nullptr) {
      table[i] = unit;
      return static_cast<std::uint32_t>(i + 1);
    }
  }
  table.push_back(unit);
  return static_cast<std::uint32_t>(table.size());
}

UnitObject* Find(std::uint32_t key) {
  std::vector<UnitObject*>& table = Table();
  return key >= 1 && key <= table.size() ? table[key - 1] : nullptr;
}

void Remove(std::uint32_t key) {
  std::vector<UnitObject*>& table = Table();
  if (key >= 1 && key <= table.size()) table[key - 1] = nullptr;
}

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
