#include "form/description/form_description_writer.h"

#include "form/description/form_description_stream.h"

std::vector<std::uint8_t> EncodeUnitRecord(const UnitRecordFields& f) {
  std::vector<std::uint8_t> out;
  AppendDword(out, f.type);
  AppendDword(out, f.eventSourceUnit);
  out.resize(out.size() + 16);
  AppendTerminatedString(out, f.name);
  AppendTerminatedString(out, f.comment);
  for (std::uint32_t value : {f.objectSlot, static_cast<std::uint32_t>(f.left), static_cast<std::uint32_t>(f.top),
                              static_cast<std::uint32_t>(f.width), static_cast<std::uint32_t>(f.height),
                              f.cursorSlot, f.parent, static_cast<std::uint32_t>(f.children.size())})
    AppendDword(out, value);
  for (UnitId child : f.children) AppendDword(out, child);
  AppendDword(out, static_cast<std::uint32_t>(f.cursorSpec.size()));
  AppendBytes(out, f.cursorSpec);
  AppendTerminatedString(out, f.tag);
  for (std::uint32_t value : {0u, f.flags, f.tabOrder, static_cast<std::uint32_t>(f.bindings.size())})
    AppendDword(out, value);
  for (const EventBinding& b : f.bindings) {
    AppendDword(out, static_cast<std::uint32_t>(b.event));
    AppendDword(out, b.handler);
  }
  out.resize(out.size() + 20);
  AppendBytes(out, f.propertyBlob);
  return out;
}

std::vector<std::uint8_t> EncodeFormDescription(std::span<const WindowDescription> windows) {
  std::vector<std::uint8_t> out;
  AppendDword(out, static_cast<std::uint32_t>(8 * windows.size()));
  for (const WindowDescription& w : windows) AppendDword(out, w.window);
  for (const WindowDescription& w : windows) AppendDword(out, w.tableValue);
  for (const WindowDescription& w : windows) {
    AppendDword(out, w.firstKeptValue);
    AppendDword(out, w.secondKeptValue);
    AppendCountedText(out, w.firstKeptText);
    AppendCountedText(out, w.secondKeptText);
    AppendDword(out, static_cast<std::uint32_t>(w.units.size()));
    std::vector<std::uint8_t> buffer;
    for (const UnitDescription& u : w.units) AppendDword(buffer, u.id);
    std::uint32_t offset = 0;
    for (const UnitDescription& u : w.units) {
      AppendDword(buffer, offset);
      offset += 4 + static_cast<std::uint32_t>(u.record.size());
    }
    for (const UnitDescription& u : w.units) AppendByteBuffer(buffer, u.record);
    AppendByteBuffer(out, buffer);
  }
  return out;
}
