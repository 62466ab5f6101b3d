#include "form/unit_cursor.h"

#include <vector>

#include "form/picture_cursor.h"
#include "form/template_access.h"

namespace {

// Index + 1 is the key; freed places are reused.
std::vector<UnitCursor>& Cursors() {
  static std::vector<UnitCursor> cursors;
  return cursors;
}

const UnitCursor* CursorByKey(std::uint32_t key) {
  std::vector<UnitCursor>& cursors = Cursors();
  return key >= 1 && key <= cursors.size() && cursors[key - 1] ? &cursors[key - 1] : nullptr;
}

std::uint32_t Keep(UnitCursor cursor) {
  std::vector<UnitCursor>& cursors = Cursors();
  for (std::size_t i = 0; i < cursors.size(); ++i) {
    if (!cursors[i]) {
      cursors[i] = std::move(cursor);
      return static_cast<std::uint32_t>(i + 1);
    }
  }
  cursors.push_back(std::move(cursor));
  return static_cast<std::uint32_t>(cursors.size());
}

}  // namespace

void ApplyUnitCursor(WindowTemplate& t, std::uint32_t index) {
  std::vector<std::uint8_t> pointerData = units::CursorSpecOf(t, index);
  UnitCursor cursor = MakeUnitCursor(pointerData.data(), pointerData.size());
  units::SetCursorSlot(t, index, cursor ? Keep(std::move(cursor)) : 0);
}

void ReleaseUnitCursor(WindowTemplate& t, std::uint32_t index) {
  std::uint32_t key = units::CursorSlotOf(t, index);
  if (key >= 1 && key <= Cursors().size()) Cursors()[key - 1] = UnitCursor();
  units::SetCursorSlot(t, index, 0);
}

bool ShowUnitCursor(const UnitObject& unit) {
  WindowTemplate* t = units::FindWindow(unit.window);
  std::optional<std::uint32_t> index = t ? units::IndexOf(*t, unit.unit) : std::nullopt;
  const UnitCursor* cursor = index ? CursorByKey(units::CursorSlotOf(*t, *index)) : nullptr;
  if (cursor == nullptr) return false;
  SetCursor(cursor->get());
  return true;
}
