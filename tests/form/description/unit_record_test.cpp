#include "form/description/unit_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "description_fixtures.h"
#include "form/description/form_description_stream.h"
#include "form/description/unit_record_edit.h"

namespace {

using fixtures::kCode;

std::uint32_t DwordAt(std::span<const std::uint8_t> record, std::uint32_t offset) {
  return LoadDword(record.data() + offset);
}

std::string TextAt(std::span<const std::uint8_t> record, RecordSpan span) {
  return {reinterpret_cast<const char*>(record.data()) + span.offset, span.length};
}

std::vector<std::uint8_t> BytesAt(std::span<const std::uint8_t> record, RecordSpan span) {
  auto part = record.subspan(span.offset, span.length);
  return {part.begin(), part.end()};
}

TEST(WalkUnitRecord, FindsEveryFieldOfARecord) {
  // The sample button: name "b1", comment "c", one child, a 4-byte pointer,
  // tag "tag", two bindings, a 3-byte blob.
  std::vector<std::uint8_t> record = fixtures::SampleWindow().units[1].record;
  ASSERT_EQ(record.size(), 132u);
  auto l = WalkUnitRecord(record);
  ASSERT_TRUE(l);

  EXPECT_EQ(DwordAt(record, UnitRecordLayout::kTypeId), 0x0001000Bu);
  EXPECT_EQ(DwordAt(record, UnitRecordLayout::kEventSourceUnit), fixtures::kZip);
  EXPECT_EQ(l->name.offset, 24u);
  EXPECT_EQ(TextAt(record, l->name), "b1");
  EXPECT_EQ(l->comment.offset, 27u);
  EXPECT_EQ(TextAt(record, l->comment), "c");
  EXPECT_EQ(l->objectSlot, 29u);
  EXPECT_EQ(l->left, 33u);
  EXPECT_EQ(l->top, 37u);
  EXPECT_EQ(l->width, 41u);
  EXPECT_EQ(l->height, 45u);
  EXPECT_EQ(l->cursorSlot, 49u);
  EXPECT_EQ(l->parent, 53u);
  EXPECT_EQ(l->childCount, 57u);
  EXPECT_EQ(l->children.offset, 61u);
  EXPECT_EQ(l->children.length, 4u);
  EXPECT_EQ(l->cursorSpecLength, 65u);
  EXPECT_EQ(l->cursorSpec.offset, 69u);
  EXPECT_EQ(l->cursorSpec.length, 4u);
  EXPECT_EQ(l->tag.offset, 73u);
  EXPECT_EQ(TextAt(record, l->tag), "tag");
  EXPECT_EQ(l->flags, 81u);
  EXPECT_EQ(l->tabOrder, 85u);
  EXPECT_EQ(l->bindingCount, 89u);
  EXPECT_EQ(l->bindings.offset, 93u);
  EXPECT_EQ(l->bindings.length, 16u);
  EXPECT_EQ(l->propertyBlob.offset, 129u);
  EXPECT_EQ(l->propertyBlob.length, 3u);

  EXPECT_EQ(static_cast<std::int32_t>(DwordAt(record, l->left)), -5);
  EXPECT_EQ(DwordAt(record, l->top), 7u);
  EXPECT_EQ(DwordAt(record, l->width), 100u);
  EXPECT_EQ(DwordAt(record, l->height), 30u);
  EXPECT_EQ(DwordAt(record, l->parent), fixtures::kWindowUnit);
  EXPECT_EQ(DwordAt(record, l->children.offset), fixtures::kZip);
  EXPECT_EQ(DwordAt(record, l->flags), kUnitVisible | kUnitTabStop);
  EXPECT_EQ(DwordAt(record, l->tabOrder), 3u);
  EXPECT_EQ(DwordAt(record, l->bindingCount), 2u);
  EXPECT_EQ(BytesAt(record, l->propertyBlob), (std::vector<std::uint8_t>{'x', 'y', 'z'}));
  EXPECT_EQ(BytesAt(record, {l->propertyBlob.offset - 20, 20}), std::vector<std::uint8_t>(20, 0));
}

TEST(FindEventBinding, FirstBindingForTheEventWins) {
  UnitRecordFields fields;
  fields.bindings = {{3, 0x401010}, {-7, 0}, {3, 0x401020}};
  std::vector<std::uint8_t> record = EncodeUnitRecord(fields);
  EXPECT_EQ(FindEventBinding(record, 3), 0x401010u);
  EXPECT_EQ(FindEventBinding(record, -7), 0u) << "listed without a handler";
  EXPECT_FALSE(FindEventBinding(record, 0));
}

// The records of a template in the order their offsets give, each walked.
void ExpectWalkableAndApart(const WindowTemplate& t) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> extents;
  for (std::uint32_t i = 0; i < t.unitCount; ++i) {
    auto unit = UnitAt(t, i);
    ASSERT_TRUE(unit) << i;
    if (!IsMenuItem(unit->id)) {
      ASSERT_TRUE(WalkUnitRecord(RecordOf(t, *unit))) << i;
    }
    extents.emplace_back(unit->recordStart - 4, unit->recordStart + unit->recordLength);
  }
  std::sort(extents.begin(), extents.end());
  for (std::size_t i = 1; i < extents.size(); ++i) EXPECT_LE(extents[i - 1].second, extents[i].first);
}

std::vector<std::uint8_t> RecordBytes(const WindowTemplate& t, std::uint32_t index) {
  auto record = RecordOf(t, *UnitAt(t, index));
  return {record.begin(), record.end()};
}

WindowTemplate SampleTemplate() { return std::move(fixtures::ReadExactCopy(fixtures::MakeSampleBlock().bytes)->front()); }

TEST(SetUnitTag, GrowsAndShrinksTheRecordAndMovesTheOnesBehind) {
  for (const std::string& tag : {std::string("a much longer tag"), std::string()}) {
    WindowTemplate t = SampleTemplate();
    std::vector<std::uint8_t> before = RecordBytes(t, 1);
    auto oldLayout = *WalkUnitRecord(before);
    std::vector<std::vector<std::uint8_t>> others = {RecordBytes(t, 0), RecordBytes(t, 2), RecordBytes(t, 3)};

    ASSERT_TRUE(SetUnitTag(t, 1, tag));
    ExpectWalkableAndApart(t);
    std::vector<std::uint8_t> after = RecordBytes(t, 1);
    auto layout = *WalkUnitRecord(after);
    EXPECT_EQ(TextAt(after, layout.tag), tag);
    EXPECT_EQ(after.size(), before.size() - 3 + tag.size());
    // Everything but the tag is as it was.
    std::vector<std::uint8_t> expected(before.begin(), before.begin() + oldLayout.tag.offset);
    expected.insert(expected.end(), tag.begin(), tag.end());
    expected.insert(expected.end(), before.begin() + oldLayout.tag.offset + 3, before.end());
    EXPECT_EQ(after, expected);
    EXPECT_EQ(others, (std::vector<std::vector<std::uint8_t>>{RecordBytes(t, 0), RecordBytes(t, 2), RecordBytes(t, 3)}));
  }
}

TEST(SetUnitTag, KeepsTheTextBeforeANul) {
  WindowTemplate t = SampleTemplate();
  ASSERT_TRUE(SetUnitTag(t, 3, std::string("ab\0cd", 5)));
  std::vector<std::uint8_t> record = RecordBytes(t, 3);
  EXPECT_EQ(TextAt(record, WalkUnitRecord(record)->tag), "ab");
  ExpectWalkableAndApart(t);
}

TEST(SetUnitTag, RefusesAMissingUnit) {
  WindowTemplate t = SampleTemplate();
  EXPECT_FALSE(SetUnitTag(t, 4, "x"));
}

TEST(SetUnitCursorSpec, ReplacesLengthAndBytes) {
  WindowTemplate t = SampleTemplate();
  std::vector<std::uint8_t> cursorSpec = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(SetUnitCursorSpec(t, 0, cursorSpec));
  ExpectWalkableAndApart(t);
  std::vector<std::uint8_t> record = RecordBytes(t, 0);
  auto layout = *WalkUnitRecord(record);
  EXPECT_EQ(DwordAt(record, layout.cursorSpecLength), cursorSpec.size());
  EXPECT_EQ(BytesAt(record, layout.cursorSpec), cursorSpec);
  EXPECT_EQ(FindEventBinding(record, 0), kCode.start + 0x10);

  ASSERT_TRUE(SetUnitCursorSpec(t, 0, {}));
  record = RecordBytes(t, 0);
  EXPECT_EQ(WalkUnitRecord(record)->cursorSpec.length, 0u);
  ExpectWalkableAndApart(t);
}

TEST(SetUnitTag, MovesRecordsByWhereTheyLieNotByTheirIndex) {
  // Records laid out last index first: a change to index 2 moves 1 and 0.
  WindowDescription w = fixtures::SampleWindow();
  WindowTemplate t;
  t.unitCount = 3;
  std::vector<std::uint32_t> ids = {fixtures::kWindowUnit, fixtures::kButton, fixtures::kZip};
  std::vector<std::vector<std::uint8_t>> records = {w.units[0].record, w.units[1].record, w.units[3].record};
  for (UnitId id : ids) AppendDword(t.unitBuffer, id);
  std::uint32_t at = 0;
  std::vector<std::uint32_t> offsets(3);
  for (int i = 2; i >= 0; --i) {
    offsets[i] = at;
    at += 4 + static_cast<std::uint32_t>(records[i].size());
  }
  for (std::uint32_t offset : offsets) AppendDword(t.unitBuffer, offset);
  for (int i = 2; i >= 0; --i) AppendByteBuffer(t.unitBuffer, records[i]);

  ASSERT_TRUE(SetUnitTag(t, 2, "moved"));
  ExpectWalkableAndApart(t);
  EXPECT_EQ(RecordBytes(t, 0), records[0]);
  EXPECT_EQ(RecordBytes(t, 1), records[1]);
}

}  // namespace
