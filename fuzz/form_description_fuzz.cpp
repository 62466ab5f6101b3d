// Arbitrary blocks for the form description reader. Whatever it accepts must
// hold what the engine relies on from then on: every unit's record can be
// walked, every handler is none or inside the code, a property blob that
// reads serialises back to the same properties, and a length-changing write
// to one record leaves every record walkable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/program_routines.h"
#include "form/description/button_properties.h"
#include "form/description/form_description.h"
#include "form/description/form_description_stream.h"
#include "form/description/unit_record_edit.h"
#include "form/description/window_properties.h"

namespace {

constexpr CodeImage kCode = kProgramCodeImage;

void Require(bool holds) {
  if (!holds) std::abort();
}

void CheckUnits(const WindowTemplate& t) {
  for (std::uint32_t i = 0; i < t.unitCount; ++i) {
    std::optional<UnitEntry> unit = UnitAt(t, i);
    Require(unit.has_value());
    if (IsMenuItem(unit->id)) continue;
    std::span<const std::uint8_t> record = RecordOf(t, *unit);
    std::optional<UnitRecordLayout> layout = WalkUnitRecord(record);
    Require(layout.has_value());
    for (std::uint32_t at = 4; at < layout->bindings.length; at += 8) {
      std::uint32_t handler = LoadDword(record.data() + layout->bindings.offset + at);
      Require(handler == 0 || (handler >= kCode.start && handler - kCode.start < kCode.size));
    }
  }
}

void CheckBlobs(const WindowTemplate& t) {
  for (std::uint32_t i = 0; i < t.unitCount; ++i) {
    std::span<const std::uint8_t> blob = PropertyBlobOf(RecordOf(t, *UnitAt(t, i)));
    if (std::optional<WindowProperties> p = ReadWindowProperties(blob))
      Require(ReadWindowProperties(SerialiseWindowProperties(*p)) == p);
    if (std::optional<ButtonProperties> p = ReadButtonProperties(blob))
      Require(ReadButtonProperties(SerialiseButtonProperties(*p)) == p);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<std::vector<WindowTemplate>> templates = ReadFormDescription({data, size}, kCode);
  if (!templates) return 0;
  for (WindowTemplate& t : *templates) {
    CheckUnits(t);
    CheckBlobs(t);
    for (std::uint32_t i = 0; i < t.unitCount; ++i) {
      if (IsMenuItem(UnitAt(t, i)->id)) continue;
      Require(SetUnitTag(t, i, "a longer tag than before"));
      Require(SetUnitCursorSpec(t, i, {}));
      CheckUnits(t);
      break;
    }
  }
  return 0;
}
