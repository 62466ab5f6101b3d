#include "form/description/unit_record_edit.h"

#include <optional>
#include <vector>

#include "form/description/form_description_stream.h"

namespace {

// A unit buffer is carried as a byte buffer, whose length is a signed dword.
constexpr std::size_t kLargestUnitBuffer = 0x7FFFFFFF;

// Replaces length bytes at offset at of the unit's record.
bool ReplaceInRecord(WindowTemplate& t, const UnitEntry& unit, std::uint32_t at, std::uint32_t length,
                     std::span<const std::uint8_t> replacement) {
  std::vector<std::uint8_t>& buffer = t.unitBuffer;
  if (replacement.size() > length && replacement.size() - length > kLargestUnitBuffer - buffer.size()) return false;
  auto first = buffer.begin() + unit.recordStart + at;
  first = buffer.erase(first, first + length);
  buffer.insert(first, replacement.begin(), replacement.end());

  std::uint32_t growth = static_cast<std::uint32_t>(replacement.size()) - length;  // modulo 2^32
  StoreDword(buffer.data() + unit.recordStart - 4, unit.recordLength + growth);
  std::uint8_t* offsets = buffer.data() + std::size_t{4} * t.unitCount;
  std::uint32_t own = LoadDword(offsets + std::size_t{4} * unit.index);
  for (std::uint32_t i = 0; i < t.unitCount; ++i) {
    std::uint32_t offset = LoadDword(offsets + std::size_t{4} * i);
    if (offset > own) StoreDword(offsets + std::size_t{4} * i, offset + growth);
  }
  return true;
}

struct WalkedUnit {
  UnitEntry entry;
  UnitRecordLayout layout;
};

std::optional<WalkedUnit> Walk(const WindowTemplate& t, std::uint32_t index) {
  std::optional<UnitEntry> unit = UnitAt(t, index);
  if (!unit) return std::nullopt;
  std::optional<UnitRecordLayout> layout = WalkUnitRecord(RecordOf(t, *unit));
  if (!layout) return std::nullopt;
  return WalkedUnit{*unit, *layout};
}

}  // namespace

bool SetUnitTag(WindowTemplate& t, std::uint32_t index, std::string_view tag) {
  std::optional<WalkedUnit> unit = Walk(t, index);
  if (!unit) return false;
  tag = tag.substr(0, tag.find('\0'));
  return ReplaceInRecord(t, unit->entry, unit->layout.tag.offset, unit->layout.tag.length,
                         {reinterpret_cast<const std::uint8_t*>(tag.data()), tag.size()});
}

bool SetUnitCursorSpec(WindowTemplate& t, std::uint32_t index, std::span<const std::uint8_t> cursorSpec) {
  std::optional<WalkedUnit> unit = Walk(t, index);
  if (!unit) return false;
  std::vector<std::uint8_t> field;
  AppendDword(field, static_cast<std::uint32_t>(cursorSpec.size()));
  AppendBytes(field, cursorSpec);
  return ReplaceInRecord(t, unit->entry, unit->layout.cursorSpecLength, 4 + unit->layout.cursorSpec.length, field);
}
