#include "form/description/form_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "description_fixtures.h"
#include "form/description/form_description_stream.h"
#include "form/description/form_description_writer.h"

namespace {

using fixtures::kCode;
using fixtures::ReadExactCopy;
using fixtures::SampleBlock;

std::vector<std::uint8_t> TwoWindowBlock() {
  WindowDescription first = fixtures::SampleWindow();
  first.firstKeptText = "one";
  WindowDescription second;
  second.window = 0x53010002;
  second.tableValue = 0xDEADBEEF;
  second.secondKeptText = "two";
  UnitRecordFields unit;
  unit.bindings = {{0, 0xFF}};
  second.units = {{0x06010000, EncodeUnitRecord(unit)}};
  return EncodeFormDescription(std::vector{first, second});
}

TEST(ReadFormDescription, ReadsEveryWindowWithItsKeptValuesAndUnits) {
  std::vector<std::uint8_t> block = TwoWindowBlock();
  auto templates = ReadExactCopy(block);
  ASSERT_TRUE(templates);
  ASSERT_EQ(templates->size(), 2u);

  const WindowTemplate& first = (*templates)[0];
  EXPECT_EQ(first.window, fixtures::kWindow);
  EXPECT_EQ(first.firstKeptValue, 11u);
  EXPECT_EQ(first.secondKeptValue, 0x19010003u);
  EXPECT_EQ(first.firstKeptText, "one");
  EXPECT_EQ(first.secondKeptText, "");
  EXPECT_EQ(first.unitCount, 4u);
  EXPECT_TRUE(first.pristineUnitBuffer.empty());

  const WindowTemplate& second = (*templates)[1];
  EXPECT_EQ(second.window, 0x53010002u);
  EXPECT_EQ(second.secondKeptText, "two");
  EXPECT_EQ(second.unitCount, 1u);
  auto unit = UnitAt(second, 0);
  ASSERT_TRUE(unit);
  EXPECT_EQ(FindEventBinding(RecordOf(second, *unit), 0), kCode.start + 0xFF);
}

TEST(ReadFormDescription, RelocatesHandlersAndLeavesEverythingElseAsCarried) {
  SampleBlock block = fixtures::MakeSampleBlock();
  auto templates = ReadExactCopy(block.bytes);
  ASSERT_TRUE(templates);
  const WindowTemplate& t = templates->front();
  const std::uint8_t* buffer = block.bytes.data() + SampleBlock::kUnitBuffer;
  ASSERT_EQ(t.unitBuffer.size(), block.unitBufferLength());

  // Only the four handler dwords differ from the carried buffer.
  std::vector<std::size_t> handlers;
  for (std::uint32_t i : {0u, 1u, 3u}) {
    auto unit = UnitAt(t, i);
    ASSERT_TRUE(unit);
    auto layout = WalkUnitRecord(RecordOf(t, *unit));
    ASSERT_TRUE(layout);
    for (std::uint32_t at = layout->bindings.offset + 4; at < layout->bindings.offset + layout->bindings.length;
         at += 8)
      handlers.push_back(unit->recordStart + at);
  }
  auto menu = UnitAt(t, 2);
  ASSERT_TRUE(menu);
  handlers.push_back(menu->recordStart + *MenuItemHandlerOffset(RecordOf(t, *menu)));
  ASSERT_EQ(handlers.size(), 4u);
  for (std::size_t i = 0; i < t.unitBuffer.size(); ++i) {
    bool inHandler = std::any_of(handlers.begin(), handlers.end(), [i](std::size_t h) { return i >= h && i < h + 4; });
    if (!inHandler) {
      ASSERT_EQ(t.unitBuffer[i], buffer[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(LoadDword(t.unitBuffer.data() + handlers[0]), kCode.start + 0x10);
  EXPECT_EQ(LoadDword(t.unitBuffer.data() + handlers[1]), kCode.start + 0x20);
  EXPECT_EQ(LoadDword(t.unitBuffer.data() + handlers[2]), 0u) << "-1 is no handler";
  EXPECT_EQ(LoadDword(t.unitBuffer.data() + handlers[3]), kCode.start + 0x30) << "menu item";
}

TEST(ReadFormDescription, EmptyBlocksAndEmptyTablesHoldNoWindows) {
  std::vector<std::uint8_t> negativeTable = {0xFF, 0xFF, 0xFF, 0xFF};
  std::vector<std::uint8_t> shortTable = {4, 0, 0, 0, 1, 0, 1, 0x52};  // less than one window's 8 bytes
  for (const auto& block : {std::vector<std::uint8_t>{}, negativeTable, shortTable}) {
    auto templates = ReadExactCopy(block);
    ASSERT_TRUE(templates);
    EXPECT_TRUE(templates->empty());
  }
}

TEST(ReadFormDescription, IgnoresTheSecondTableDwordAndTrailingBytes) {
  SampleBlock block = fixtures::MakeSampleBlock();
  auto expected = ReadExactCopy(block.bytes);
  block.Store(8, 0xFFFFFFFF);
  block.bytes.push_back(0xAB);
  auto templates = ReadExactCopy(block.bytes);
  ASSERT_TRUE(templates && expected);
  EXPECT_EQ(templates->front().unitBuffer, expected->front().unitBuffer);
}

TEST(ReadFormDescription, RecordsMayEndInsideTheirTrailingReservedBytes) {
  // The blob of such a record is empty; nothing reads the reserved bytes.
  UnitRecordFields fields;
  std::vector<std::uint8_t> record = EncodeUnitRecord(fields);
  record.resize(record.size() - 7);
  WindowDescription w;
  w.window = fixtures::kWindow;
  w.units = {{fixtures::kWindowUnit, record}};
  auto templates = ReadExactCopy(EncodeFormDescription(std::span(&w, 1)));
  ASSERT_TRUE(templates);
  auto unit = UnitAt(templates->front(), 0);
  ASSERT_TRUE(unit);
  EXPECT_TRUE(PropertyBlobOf(RecordOf(templates->front(), *unit)).empty());
}

TEST(ReadFormDescription, RejectsACodeImageThatCouldNotTellHandlersFromNone) {
  SampleBlock block = fixtures::MakeSampleBlock();
  EXPECT_FALSE(ReadExactCopy(block.bytes, CodeImage{0, 0x100})) << "address 0 would be no handler";
  EXPECT_FALSE(ReadExactCopy(block.bytes, CodeImage{0xFFFFFF00, 0x101})) << "addresses would wrap";
  EXPECT_TRUE(ReadExactCopy(block.bytes, CodeImage{0xFFFFFF00, 0x100}));
}

// Each case damages one part of a well-formed block; the reader must refuse
// it as a whole, reading nothing outside the block (the copy is exactly as
// large as the block, so the sanitizers see any stray read).
struct MalformedCase {
  const char* name;
  std::function<void(SampleBlock&)> damage;
};

// The record of unit index, walked as it was encoded.
UnitRecordLayout LayoutOf(const SampleBlock& b, std::uint32_t index) { return *WalkUnitRecord(b.records[index]); }

void StoreInRecord(SampleBlock& b, std::uint32_t index, std::uint32_t offset, std::uint32_t value) {
  b.Store(b.Record(index) + offset, value);
}

// Gives record index a new length; the bytes after it stay where they are.
void SetRecordLength(SampleBlock& b, std::uint32_t index, std::uint32_t length) {
  b.Store(b.RecordLength(index), length);
}

const MalformedCase kMalformed[] = {
    {"window table longer than the block", [](SampleBlock& b) { b.Store(SampleBlock::kWindowTableLength, 0x7FFFFFFF); }},
    {"window table naming a window with no template",
     [](SampleBlock& b) { b.Store(SampleBlock::kWindowTableLength, 16); }},
    {"kept text longer than the block", [](SampleBlock& b) { b.Store(SampleBlock::kFirstKeptText, 0xFFFFFFFF); }},
    {"unit buffer of length 0x7FFFFFFF", [](SampleBlock& b) { b.Store(SampleBlock::kUnitBufferLength, 0x7FFFFFFF); }},
    {"unit buffer one byte longer than the block",
     [](SampleBlock& b) { b.Store(SampleBlock::kUnitBufferLength, b.unitBufferLength() + 1); }},
    {"unit count above buffer length / 8",
     [](SampleBlock& b) { b.Store(SampleBlock::kUnitCount, b.unitBufferLength() / 8 + 1); }},
    {"unit count 0xFFFFFFFF", [](SampleBlock& b) { b.Store(SampleBlock::kUnitCount, 0xFFFFFFFF); }},
    {"record offset at the buffer's end",
     [](SampleBlock& b) { b.Store(b.OffsetEntry(1), b.unitBufferLength() - 8 * b.unitCount()); }},
    {"record offset leaving no room for the length",
     [](SampleBlock& b) { b.Store(b.OffsetEntry(3), b.unitBufferLength() - 8 * b.unitCount() - 3); }},
    {"record offset 0xFFFFFFFC", [](SampleBlock& b) { b.Store(b.OffsetEntry(1), 0xFFFFFFFC); }},
    {"record length past the buffer",
     [](SampleBlock& b) { SetRecordLength(b, 3, static_cast<std::uint32_t>(b.records[3].size() + 1)); }},
    {"record length 0xFFFFFFFF", [](SampleBlock& b) { SetRecordLength(b, 0, 0xFFFFFFFF); }},
    {"two units on one record", [](SampleBlock& b) { b.Store(b.OffsetEntry(1), 0); }},
    {"record overlapping the next",
     [](SampleBlock& b) { SetRecordLength(b, 0, static_cast<std::uint32_t>(b.records[0].size() + 4)); }},
    {"record starting inside another", [](SampleBlock& b) { b.Store(b.OffsetEntry(3), 8); }},
    {"record too short for its fixed fields", [](SampleBlock& b) { SetRecordLength(b, 1, 20); }},
    {"name without NUL in the record", [](SampleBlock& b) { SetRecordLength(b, 1, UnitRecordLayout::kName + 2); }},
    {"comment without NUL in the record",
     [](SampleBlock& b) { SetRecordLength(b, 1, LayoutOf(b, 1).comment.offset + 1); }},
    {"tag whose NUL lies just past the record",
     [](SampleBlock& b) {
       UnitRecordLayout l = LayoutOf(b, 1);
       SetRecordLength(b, 1, l.tag.offset + l.tag.length);
     }},
    {"record ending before its bindings",
     [](SampleBlock& b) { SetRecordLength(b, 1, LayoutOf(b, 1).bindingCount + 2); }},
    {"child count one above what remains",
     [](SampleBlock& b) {
       UnitRecordLayout l = LayoutOf(b, 1);
       StoreInRecord(b, 1, l.childCount, static_cast<std::uint32_t>((b.records[1].size() - l.children.offset) / 4 + 1));
     }},
    {"child count whose bytes wrap 32 bits",
     [](SampleBlock& b) { StoreInRecord(b, 1, LayoutOf(b, 1).childCount, 0x40000001); }},
    {"pointer length one above what remains",
     [](SampleBlock& b) {
       UnitRecordLayout l = LayoutOf(b, 1);
       StoreInRecord(b, 1, l.cursorSpecLength, static_cast<std::uint32_t>(b.records[1].size() - l.cursorSpec.offset + 1));
     }},
    {"pointer length 0xFFFFFFFF", [](SampleBlock& b) { StoreInRecord(b, 1, LayoutOf(b, 1).cursorSpecLength, 0xFFFFFFFF); }},
    {"binding count 0xFFFFFFFF", [](SampleBlock& b) { StoreInRecord(b, 1, LayoutOf(b, 1).bindingCount, 0xFFFFFFFF); }},
    {"binding count whose bytes wrap 32 bits",
     [](SampleBlock& b) { StoreInRecord(b, 1, LayoutOf(b, 1).bindingCount, 0x20000001); }},
    {"binding count one above what remains",
     [](SampleBlock& b) {
       UnitRecordLayout l = LayoutOf(b, 1);
       StoreInRecord(b, 1, l.bindingCount, static_cast<std::uint32_t>((b.records[1].size() - l.bindings.offset) / 8 + 1));
     }},
    {"handler offset at the code's end",
     [](SampleBlock& b) { StoreInRecord(b, 1, LayoutOf(b, 1).bindings.offset + 4, kCode.size); }},
    {"handler offset 0xFFFFFFFE",
     [](SampleBlock& b) { StoreInRecord(b, 0, LayoutOf(b, 0).bindings.offset + 4, 0xFFFFFFFE); }},
    {"handler outside the code in the last unit",
     [](SampleBlock& b) {
       // The last unit has no binding: give it one by claiming the first
       // reserved bytes after the count as a binding.
       UnitRecordLayout l = LayoutOf(b, 3);
       StoreInRecord(b, 3, l.bindingCount, 1);
       StoreInRecord(b, 3, l.bindings.offset + 4, 0x7FFFFFFF);
     }},
    {"menu item handler outside the code",
     [](SampleBlock& b) { StoreInRecord(b, 2, *MenuItemHandlerOffset(b.records[2]), kCode.size + 1); }},
    {"menu item ending before its handler",
     [](SampleBlock& b) { SetRecordLength(b, 2, *MenuItemHandlerOffset(b.records[2]) + 3); }},
};

TEST(ReadFormDescription, RejectsDamagedBlocks) {
  ASSERT_TRUE(ReadExactCopy(fixtures::MakeSampleBlock().bytes));
  for (const MalformedCase& c : kMalformed) {
    SampleBlock block = fixtures::MakeSampleBlock();
    c.damage(block);
    EXPECT_FALSE(ReadExactCopy(block.bytes)) << c.name;
  }
}

TEST(ReadFormDescription, RejectsEveryTruncation) {
  std::vector<std::uint8_t> block = TwoWindowBlock();
  for (std::size_t size = 1; size < block.size(); ++size)
    ASSERT_FALSE(ReadExactCopy(std::span(block).first(size))) << "block cut to " << size << " bytes";
}

TEST(FindWindowTemplate, FindsWellFormedIdsOnly) {
  std::vector<std::uint8_t> block = TwoWindowBlock();
  auto templates = ReadExactCopy(block);
  ASSERT_TRUE(templates);
  EXPECT_EQ(FindWindowTemplate(*templates, 0x52010001), &(*templates)[0]);
  EXPECT_EQ(FindWindowTemplate(*templates, 0x53010002), &(*templates)[1]);
  EXPECT_EQ(FindWindowTemplate(*templates, 0x52010002), nullptr);

  // Ids without bits 24-27 or without bits 0-23 name no window, even in the table.
  for (UnitId id : {0x50010001u, 0x52000000u}) {
    (*templates)[1].window = id;
    EXPECT_EQ(FindWindowTemplate(*templates, id), nullptr) << std::hex << id;
  }
}

TEST(UnitLookup, ByIndexAndById) {
  SampleBlock block = fixtures::MakeSampleBlock();
  auto templates = ReadExactCopy(block.bytes);
  ASSERT_TRUE(templates);
  const WindowTemplate& t = templates->front();

  for (std::uint32_t i = 0; i < 4; ++i) {
    auto unit = UnitAt(t, i);
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->index, i);
    EXPECT_EQ(unit->recordStart, block.Record(i) - SampleBlock::kUnitBuffer);
    EXPECT_EQ(unit->recordLength, block.records[i].size());
  }
  EXPECT_FALSE(UnitAt(t, 4));
  EXPECT_EQ(UnitAt(t, 1)->id, fixtures::kButton);

  EXPECT_EQ(FindUnit(t, 0)->index, 0u) << "0 is the window unit";
  EXPECT_EQ(FindUnit(t, fixtures::kWindowUnit)->index, 0u);
  EXPECT_EQ(FindUnit(t, fixtures::kZip)->index, 3u);
  EXPECT_FALSE(FindUnit(t, 0x16010099));
}

TEST(UnitLookup, TheFirstOfTwoEqualIdsWins) {
  WindowDescription w = fixtures::SampleWindow();
  w.units[3].id = fixtures::kButton;
  auto templates = ReadExactCopy(EncodeFormDescription(std::span(&w, 1)));
  ASSERT_TRUE(templates);
  EXPECT_EQ(FindUnit(templates->front(), fixtures::kButton)->index, 1u);
}

TEST(UnitIdTests, WindowsWindowUnitsAndMenuItems) {
  EXPECT_TRUE(IsWellFormedWindowId(0x52010001));
  EXPECT_FALSE(IsWellFormedWindowId(0x50010001));
  EXPECT_FALSE(IsWellFormedWindowId(0x52000000));
  EXPECT_TRUE(IsWindowUnitId(0x06010000));
  EXPECT_TRUE(IsWindowUnitId(0));
  EXPECT_FALSE(IsWindowUnitId(0x16010002));
  EXPECT_TRUE(IsMenuItem(0x26010005));
  EXPECT_FALSE(IsMenuItem(0x16010002));
  EXPECT_FALSE(IsMenuItem(0x25010005));
  EXPECT_FALSE(IsMenuItem(0x36010005));
}

}  // namespace
