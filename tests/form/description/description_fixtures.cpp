#include "description_fixtures.h"

#include <algorithm>
#include <memory>

#include "form/description/form_description_stream.h"

namespace fixtures {

WindowDescription SampleWindow() {
  UnitRecordFields window;
  window.type = 0x00010001;
  window.left = 50;
  window.top = 50;
  window.width = 794;
  window.height = 473;
  window.cursorSpec = {0, 0, 0, 0};
  window.bindings = {{0, 0x10}};

  // Texts are moved in whole: gcc 12 at -O3 warns falsely (-Wrestrict) on
  // assigning a literal to one.
  UnitRecordFields button;
  button.type = 0x0001000B;
  button.eventSourceUnit = kZip;
  button.name = std::string("b1");
  button.comment = std::string("c");
  button.left = -5;
  button.top = 7;
  button.width = 100;
  button.height = 30;
  button.parent = kWindowUnit;
  button.children = {kZip};
  button.cursorSpec = {2, 0, 0, 0};
  button.tag = std::string("tag");
  button.flags = kUnitVisible | kUnitTabStop;
  button.tabOrder = 3;
  button.bindings = {{0, 0x20}, {-7, 0xFFFFFFFF}};
  button.propertyBlob = {'x', 'y', 'z'};

  UnitRecordFields zip;
  zip.type = 0x00040001;
  zip.name = std::string("zip");
  zip.cursorSpec = {0, 0, 0, 0};

  WindowDescription w;
  w.window = kWindow;
  w.tableValue = 0x02489880;
  w.firstKeptValue = 11;
  w.secondKeptValue = 0x19010003;
  w.units = {{kWindowUnit, EncodeUnitRecord(window)},
             {kButton, EncodeUnitRecord(button)},
             {kMenuItem, MenuItemRecord(0x30)},
             {kZip, EncodeUnitRecord(zip)}};
  return w;
}

std::vector<std::uint8_t> MenuItemRecord(std::uint32_t handler) {
  std::vector<std::uint8_t> record(24);  // type, event source, reserved
  AppendTerminatedString(record, "menu");
  AppendTerminatedString(record, "");
  record.resize(record.size() + 12);
  AppendTerminatedString(record, "item");
  AppendDword(record, handler);
  AppendDword(record, 0x12345678);  // the rest of a menu item's layout
  return record;
}

std::uint32_t SampleBlock::unitCount() const { return LoadDword(bytes.data() + kUnitCount); }

std::uint32_t SampleBlock::unitBufferLength() const { return LoadDword(bytes.data() + kUnitBufferLength); }

std::size_t SampleBlock::OffsetEntry(std::uint32_t index) const {
  return kUnitBuffer + 4 * (std::size_t{unitCount()} + index);
}

std::size_t SampleBlock::RecordLength(std::uint32_t index) const {
  return kUnitBuffer + 8 * std::size_t{unitCount()} + LoadDword(bytes.data() + OffsetEntry(index));
}

std::size_t SampleBlock::Record(std::uint32_t index) const { return RecordLength(index) + 4; }

void SampleBlock::Store(std::size_t at, std::uint32_t value) { StoreDword(bytes.data() + at, value); }

SampleBlock MakeSampleBlock() {
  WindowDescription w = SampleWindow();
  SampleBlock block;
  block.bytes = EncodeFormDescription(std::span(&w, 1));
  for (const UnitDescription& u : w.units) block.records.push_back(u.record);
  return block;
}

std::optional<std::vector<WindowTemplate>> ReadExactCopy(std::span<const std::uint8_t> block, CodeImage code) {
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[block.size()]);
  std::copy(block.begin(), block.end(), copy.get());
  return ReadFormDescription({copy.get(), block.size()}, code);
}

}  // namespace fixtures
