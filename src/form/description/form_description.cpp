#include "form/description/form_description.h"

#include <algorithm>
#include <utility>

#include "form/description/form_description_stream.h"

namespace {

// Turns the handler offset at p into its address; false for an offset
// outside the code.
bool RelocateHandler(std::uint8_t* p, CodeImage code) {
  std::uint32_t offset = LoadDword(p);
  if (offset == kNoHandlerOffset) {
    StoreDword(p, 0);
    return true;
  }
  if (offset >= code.size) return false;
  StoreDword(p, code.start + offset);
  return true;
}

bool RelocateRecord(std::span<std::uint8_t> record, UnitId id, CodeImage code) {
  if (IsMenuItem(id)) {
    std::optional<std::uint32_t> handler = MenuItemHandlerOffset(record);
    return handler && RelocateHandler(record.data() + *handler, code);
  }
  std::optional<UnitRecordLayout> layout = WalkUnitRecord(record);
  if (!layout) return false;
  for (std::uint32_t i = 0; i < layout->bindings.length; i += 8) {
    if (!RelocateHandler(record.data() + layout->bindings.offset + i + 4, code)) return false;
  }
  return true;
}

struct RecordPlace {
  std::size_t start;  // of the record's length dword
  std::uint32_t length;
};

// Where record index of a unit buffer is, when its length dword and its
// bytes lie inside the buffer. The caller has checked unitCount <= size / 8.
std::optional<RecordPlace> PlaceOfRecord(std::span<const std::uint8_t> buffer, std::uint32_t unitCount,
                                         std::uint32_t index) {
  std::size_t size = buffer.size();
  std::size_t tablesEnd = std::size_t{8} * unitCount;
  std::uint32_t offset = LoadDword(buffer.data() + 4 * (std::size_t{unitCount} + index));
  if (offset > size - tablesEnd || size - tablesEnd - offset < 4) return std::nullopt;
  std::size_t start = tablesEnd + offset;
  std::uint32_t length = LoadDword(buffer.data() + start);
  if (length > size - start - 4) return std::nullopt;
  return RecordPlace{start, length};
}

// Checks the unit tables and every record of a freshly read buffer and
// relocates its handlers, so that nothing later has to distrust it: the
// records lie inside the buffer, none overlaps another (a length change in
// one record then moves the others intact), and each walks to its end.
bool ValidateUnitBuffer(std::vector<std::uint8_t>& buffer, std::uint32_t unitCount, CodeImage code) {
  if (unitCount > buffer.size() / 8) return false;
  std::vector<RecordPlace> places;
  places.reserve(unitCount);
  for (std::uint32_t i = 0; i < unitCount; ++i) {
    std::optional<RecordPlace> place = PlaceOfRecord(buffer, unitCount, i);
    if (!place) return false;
    places.push_back(*place);
  }
  std::vector<RecordPlace> byStart = places;
  std::sort(byStart.begin(), byStart.end(), [](const RecordPlace& a, const RecordPlace& b) { return a.start < b.start; });
  for (std::size_t i = 1; i < byStart.size(); ++i) {
    if (byStart[i].start < byStart[i - 1].start + 4 + byStart[i - 1].length) return false;
  }
  for (std::uint32_t i = 0; i < unitCount; ++i) {
    std::span<std::uint8_t> record(buffer.data() + places[i].start + 4, places[i].length);
    if (!RelocateRecord(record, LoadDword(buffer.data() + std::size_t{4} * i), code)) return false;
  }
  return true;
}

bool ReadWindowTemplate(ByteReader& r, CodeImage code, WindowTemplate& t) {
  std::span<const std::uint8_t> units;
  if (!r.Dword(t.firstKeptValue) || !r.Dword(t.secondKeptValue) || !r.CountedText(t.firstKeptText) ||
      !r.CountedText(t.secondKeptText) || !r.Dword(t.unitCount) || !r.ByteBuffer(units))
    return false;
  t.unitBuffer.assign(units.begin(), units.end());
  return ValidateUnitBuffer(t.unitBuffer, t.unitCount, code);
}

}  // namespace

std::optional<std::vector<WindowTemplate>> ReadFormDescription(std::span<const std::uint8_t> block, CodeImage code) {
  std::vector<WindowTemplate> templates;
  if (block.empty()) return templates;
  // Addresses stay non-zero and below 2^32.
  if (code.start == 0 || (code.size != 0 && code.size - 1 > 0xFFFFFFFF - code.start)) return std::nullopt;
  ByteReader r(block);
  std::span<const std::uint8_t> table;
  if (!r.ByteBuffer(table)) return std::nullopt;
  // Each window has two table dwords: its id, and one whose stale value the
  // loaded template replaces; only the ids are read.
  std::size_t count = table.size() / 8;
  for (std::size_t i = 0; i < count; ++i) {
    WindowTemplate t;
    t.window = LoadDword(table.data() + 4 * i);
    if (!ReadWindowTemplate(r, code, t)) return std::nullopt;
    templates.push_back(std::move(t));
  }
  return templates;
}

WindowTemplate* FindWindowTemplate(std::span<WindowTemplate> templates, UnitId window) {
  if (!IsWellFormedWindowId(window)) return nullptr;
  auto it = std::find_if(templates.begin(), templates.end(), [window](const WindowTemplate& t) {
    return t.window == window;
  });
  return it != templates.end() ? &*it : nullptr;
}

std::optional<UnitEntry> UnitAt(const WindowTemplate& t, std::uint32_t index) {
  if (index >= t.unitCount || t.unitCount > t.unitBuffer.size() / 8) return std::nullopt;
  std::optional<RecordPlace> place = PlaceOfRecord(t.unitBuffer, t.unitCount, index);
  if (!place) return std::nullopt;
  return UnitEntry{index, LoadDword(t.unitBuffer.data() + std::size_t{4} * index),
                   static_cast<std::uint32_t>(place->start + 4), place->length};
}

std::optional<UnitEntry> FindUnit(const WindowTemplate& t, UnitId unit) {
  if (unit == 0) return UnitAt(t, 0);
  if (t.unitCount > t.unitBuffer.size() / 8) return std::nullopt;
  for (std::uint32_t i = 0; i < t.unitCount; ++i) {
    if (LoadDword(t.unitBuffer.data() + std::size_t{4} * i) == unit) return UnitAt(t, i);
  }
  return std::nullopt;
}

std::span<const std::uint8_t> RecordOf(const WindowTemplate& t, const UnitEntry& unit) {
  return std::span<const std::uint8_t>(t.unitBuffer).subspan(unit.recordStart, unit.recordLength);
}

std::span<std::uint8_t> RecordOf(WindowTemplate& t, const UnitEntry& unit) {
  return std::span<std::uint8_t>(t.unitBuffer).subspan(unit.recordStart, unit.recordLength);
}
