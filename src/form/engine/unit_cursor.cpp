#include "form/engine/unit_cursor.h"

#include "form/engine/slot_table.h"
#include "form/engine/template_access.h"
#include "picture/picture_cursor.h"

namespace {

SlotTable<UnitCursor>& Cursors() {
  static SlotTable<UnitCursor> cursors;
  return cursors;
}

}  // namespace

void ApplyUnitCursor(WindowTemplate& t, std::uint32_t index) {
  std::vector<std::uint8_t> pointerData = units::CursorSpecOf(t, index);
  UnitCursor cursor = MakeUnitCursor(pointerData.data(), pointerData.size());
  units::SetCursorSlot(t, index, cursor ? Cursors().Add(std::move(cursor)) : 0);
}

void ReleaseUnitCursor(WindowTemplate& t, std::uint32_t index) {
  Cursors().Remove(units::CursorSlotOf(t, index));
  units::SetCursorSlot(t, index, 0);
}

bool ShowUnitCursor(const UnitObject& unit) {
  WindowTemplate* t = units::FindWindow(unit.window);
  std::optional<std::uint32_t> index = t ? units::IndexOf(*t, unit.unit) : std::nullopt;
  const UnitCursor* cursor = index ? Cursors().Find(units::CursorSlotOf(*t, *index)) : nullptr;
  if (cursor == nullptr) return false;
  SetCursor(cursor->get());
  return true;
}
