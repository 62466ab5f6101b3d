#include "form/description/unit_record.h"

#include "form/description/form_description_stream.h"

namespace {

constexpr std::size_t kBindingSize = 8;
constexpr std::size_t kTrailingReserved = 20;

// Offsets into a record are dwords, as the record's own length is. (Two
// shifts, because a shift by the full width of a 32-bit size is undefined.)
bool FitsDwordOffsets(std::span<const std::uint8_t> record) { return (record.size() >> 16 >> 16) == 0; }

std::uint32_t At(const ByteReader& r) { return static_cast<std::uint32_t>(r.position()); }

bool TerminatedSpan(ByteReader& r, RecordSpan& span) {
  span.offset = At(r);
  std::span<const std::uint8_t> text;
  if (!r.TerminatedString(text)) return false;
  span.length = static_cast<std::uint32_t>(text.size());
  return true;
}

// A count dword followed by count items of itemSize bytes.
bool CountedSpan(ByteReader& r, std::size_t itemSize, std::uint32_t& countAt, RecordSpan& span) {
  countAt = At(r);
  std::uint32_t count = 0;
  if (!r.Dword(count) || count > r.remaining() / itemSize) return false;
  span = {At(r), static_cast<std::uint32_t>(count * itemSize)};
  return r.Skip(span.length);
}

}  // namespace

std::optional<UnitRecordLayout> WalkUnitRecord(std::span<const std::uint8_t> record) {
  if (!FitsDwordOffsets(record)) return std::nullopt;
  ByteReader r(record);
  UnitRecordLayout l;
  if (!r.Skip(UnitRecordLayout::kName) || !TerminatedSpan(r, l.name) || !TerminatedSpan(r, l.comment))
    return std::nullopt;
  l.objectSlot = At(r);
  l.left = l.objectSlot + 4;
  l.top = l.objectSlot + 8;
  l.width = l.objectSlot + 12;
  l.height = l.objectSlot + 16;
  l.cursorSlot = l.objectSlot + 20;
  l.parent = l.objectSlot + 24;
  if (!r.Skip(28) || !CountedSpan(r, 4, l.childCount, l.children) ||
      !CountedSpan(r, 1, l.cursorSpecLength, l.cursorSpec) || !TerminatedSpan(r, l.tag))
    return std::nullopt;
  l.flags = At(r) + 4;
  l.tabOrder = At(r) + 8;
  if (!r.Skip(12) || !CountedSpan(r, kBindingSize, l.bindingCount, l.bindings)) return std::nullopt;
  if (r.Skip(kTrailingReserved))
    l.propertyBlob = {At(r), static_cast<std::uint32_t>(r.remaining())};
  else
    l.propertyBlob = {static_cast<std::uint32_t>(record.size()), 0};
  return l;
}

std::optional<std::uint32_t> MenuItemHandlerOffset(std::span<const std::uint8_t> record) {
  if (!FitsDwordOffsets(record)) return std::nullopt;
  ByteReader r(record);
  std::span<const std::uint8_t> text;
  if (!r.Skip(UnitRecordLayout::kName) || !r.TerminatedString(text) || !r.TerminatedString(text) || !r.Skip(12) ||
      !r.TerminatedString(text) || r.remaining() < 4)
    return std::nullopt;
  return At(r);
}

std::span<const std::uint8_t> PropertyBlobOf(std::span<const std::uint8_t> record) {
  std::optional<UnitRecordLayout> layout = WalkUnitRecord(record);
  if (!layout) return {};
  return record.subspan(layout->propertyBlob.offset, layout->propertyBlob.length);
}

std::optional<std::uint32_t> FindEventBinding(std::span<const std::uint8_t> record, std::int32_t event) {
  std::optional<UnitRecordLayout> layout = WalkUnitRecord(record);
  if (!layout) return std::nullopt;
  for (std::uint32_t at = layout->bindings.offset; at < layout->bindings.offset + layout->bindings.length;
       at += kBindingSize) {
    if (static_cast<std::int32_t>(LoadDword(record.data() + at)) == event) return LoadDword(record.data() + at + 4);
  }
  return std::nullopt;
}
