// The program's form as the build lays it out from src/assets/form.txt:
// every byte of the block accounted for, each unit as the definition gives
// it (assets/form_units.h). The same checks run on a block made with two
// small stand-in pictures and, when the art is there, on the block the
// program carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/program_routines.h"
#include "app/program_types.h"
#include "assets/form_units.h"
#include "form/description/button_properties.h"
#include "form/description/form_description.h"
#include "form/description/form_description_stream.h"
#include "form/description/window_properties.h"

#ifdef FORM_BACKGROUND_FILE
#include "assets/form_block.h"
#include "support/scratch.h"
#endif

extern "C" const std::uint8_t velmora_small_form[];
extern "C" const std::uint8_t velmora_small_form_end[];

namespace {

// 《Velmora》V1.0汉化补丁安装与卸载器 BySelvane
const std::string kCaption =
    "\xA1\xB6Velmora\xA1\xB7V1.0\xBA\xBA\xBB\xAF\xB2\xB9\xB6\xA1\xB0\xB2\xD7\xB0\xD3\xEB\xD0\xB6\xD4\xD8\xC6\xF7 BySelvane";

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::uint32_t At(std::span<const std::uint8_t> bytes, std::size_t offset) { return LoadDword(bytes.data() + offset); }

bool AllZero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

WindowProperties ExpectedWindowProperties(const std::string& background, const std::string& icon) {
  WindowProperties p;  // the defaults, and this form's values where they differ
  p.pictureMode = 2;
  p.backPicture = Bytes(background);
  p.icon = Bytes(icon);
  p.caption = kCaption;
  return p;
}

void CheckRecord(const DefinedUnit& u, std::span<const std::uint8_t> record, std::span<const std::uint8_t> carried,
                 const std::string& background, const std::string& icon) {
  SCOPED_TRACE(testing::Message() << "unit " << std::hex << u.id);
  auto l = WalkUnitRecord(record);
  ASSERT_TRUE(l);
  auto nameLength = static_cast<std::uint32_t>(u.nameBytes.size());
  auto bindings = static_cast<std::uint32_t>(u.bindings.size());

  EXPECT_EQ(At(record, UnitRecordLayout::kTypeId), u.type);
  EXPECT_EQ(At(record, UnitRecordLayout::kEventSourceUnit), 0u);
  EXPECT_TRUE(AllZero(record.subspan(UnitRecordLayout::kReserved, 16)));
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(record.data()) + l->name.offset, l->name.length),
            u.nameBytes);
  EXPECT_EQ(l->comment.length, 0u);
  EXPECT_EQ(At(record, l->objectSlot), 0u);
  EXPECT_EQ(static_cast<std::int32_t>(At(record, l->left)), u.left);
  EXPECT_EQ(static_cast<std::int32_t>(At(record, l->top)), u.top);
  EXPECT_EQ(static_cast<std::int32_t>(At(record, l->width)), u.width);
  EXPECT_EQ(static_cast<std::int32_t>(At(record, l->height)), u.height);
  EXPECT_EQ(At(record, l->cursorSlot), 0u);
  EXPECT_EQ(At(record, l->parent), 0u);
  EXPECT_EQ(At(record, l->childCount), 0u);
  EXPECT_EQ(At(record, l->cursorSpecLength), 4u);
  EXPECT_TRUE(AllZero(record.subspan(l->cursorSpec.offset, 4)));
  EXPECT_EQ(l->tag.length, 0u);
  EXPECT_EQ(At(record, l->flags - 4), 0u) << "reserved";
  EXPECT_EQ(At(record, l->flags), u.flags);
  EXPECT_EQ(At(record, l->tabOrder), 0u);
  EXPECT_EQ(At(record, l->bindingCount), bindings);
  for (std::uint32_t i = 0; i < bindings && i < l->bindingCount; ++i) {
    const DefinedBinding& binding = u.bindings[i];
    std::uint32_t at = l->bindings.offset + 8 * i;
    EXPECT_EQ(static_cast<std::int32_t>(At(record, at)), binding.event);
    EXPECT_EQ(At(carried, at + 4), binding.offset) << binding.routine << " as carried";
    std::uint32_t address = binding.offset == kNoHandlerOffset ? 0 : kProgramCodeImage.start + binding.offset;
    EXPECT_EQ(At(record, at + 4), address) << binding.routine << " as read";
  }
  EXPECT_TRUE(AllZero(record.subspan(l->propertyBlob.offset - 20, 20)));

  // The fields, end to end, make up the whole record.
  std::uint32_t blobLength = l->propertyBlob.length;
  EXPECT_EQ(record.size(), 24 + (nameLength + 1) + 1 + 28 + 4 + (4 + 4) + 1 + 12 + 4 + 8 * bindings + 20 + blobLength);

  std::span<const std::uint8_t> blob = PropertyBlobOf(record);
  EXPECT_EQ(blob.size(), blobLength);
  if (u.type == kWindowTypeId) {
    EXPECT_EQ(At(blob, 0), 6u) << "version";
    EXPECT_EQ(blob.size(), 19 * 4 + 4 + (4 + background.size()) + (4 + icon.size()) + 4 + (4 + kCaption.size()) + 4);
    auto p = ReadWindowProperties(blob);
    ASSERT_TRUE(p);
    EXPECT_EQ(*p, ExpectedWindowProperties(background, icon));
    EXPECT_EQ(SerialiseWindowProperties(*p), std::vector<std::uint8_t>(blob.begin(), blob.end()));
  } else if (u.type == kButtonTypeId) {
    EXPECT_EQ(At(blob, 0), 1u) << "version";
    auto p = ReadButtonProperties(blob);
    ASSERT_TRUE(p);
    EXPECT_EQ(blob.size(), 4 * 4 + 4 + 4 + 4 + p->caption.size());
    ButtonProperties expected;  // the defaults, but for the caption
    expected.caption = p->caption;
    EXPECT_FALSE(p->caption.empty());
    EXPECT_EQ(*p, expected);
    EXPECT_EQ(SerialiseButtonProperties(*p), std::vector<std::uint8_t>(blob.begin(), blob.end()));
  } else {
    EXPECT_EQ(u.type, kZipTypeId);
    EXPECT_TRUE(blob.empty());
  }
}

void CheckCarriedForm(std::span<const std::uint8_t> block, const std::string& background, const std::string& icon) {
  // The program has one window; its units are the definition's, in its order.
  const UnitId window = kFormUnits[0].window;
  const auto count = static_cast<std::uint32_t>(std::size(kFormUnits));
  for (const DefinedUnit& u : kFormUnits) ASSERT_EQ(u.window, window);

  // Window table, template head, unit buffer: nothing before, between or after.
  ASSERT_GE(block.size(), 36u);
  EXPECT_EQ(At(block, 0), 8u);
  EXPECT_EQ(At(block, 4), window);
  EXPECT_EQ(At(block, 8), 0x02489880u);
  EXPECT_EQ(At(block, 12), 11u);
  EXPECT_EQ(At(block, 16), 0x19010003u);
  EXPECT_EQ(At(block, 20), 0u);
  EXPECT_EQ(At(block, 24), 0u);
  EXPECT_EQ(At(block, 28), count);
  std::uint32_t bufferLength = At(block, 32);
  EXPECT_EQ(block.size(), 36u + bufferLength);
  std::span<const std::uint8_t> carried = block.subspan(36);

  auto templates = ReadFormDescription(block, kProgramCodeImage);
  ASSERT_TRUE(templates);
  ASSERT_EQ(templates->size(), 1u);
  WindowTemplate& t = templates->front();
  EXPECT_EQ(FindWindowTemplate(*templates, window), &t);
  EXPECT_EQ(t.firstKeptValue, 11u);
  EXPECT_EQ(t.secondKeptValue, 0x19010003u);
  EXPECT_TRUE(t.firstKeptText.empty());
  EXPECT_TRUE(t.secondKeptText.empty());
  ASSERT_EQ(t.unitCount, count);
  ASSERT_EQ(t.unitBuffer.size(), bufferLength);

  // Ids, offsets, and the records filling the buffer exactly, in index order.
  const std::uint32_t tables = 8 * count;
  std::uint32_t next = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    EXPECT_EQ(At(carried, 4 * i), kFormUnits[i].id);
    EXPECT_EQ(At(carried, 4 * count + 4 * i), next);
    auto unit = UnitAt(t, i);
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->id, kFormUnits[i].id);
    EXPECT_EQ(FindUnit(t, kFormUnits[i].id)->index, i);
    ASSERT_EQ(unit->recordStart, tables + next + 4);
    CheckRecord(kFormUnits[i], RecordOf(t, *unit), carried.subspan(unit->recordStart, unit->recordLength), background,
                icon);
    next += 4 + unit->recordLength;
  }
  EXPECT_EQ(tables + next, bufferLength);
}

TEST(CarriedForm, LaidOutWithSmallPictures) {
  std::span<const std::uint8_t> block(velmora_small_form,
                                      static_cast<std::size_t>(velmora_small_form_end - velmora_small_form));
  CheckCarriedForm(block, SMALL_BACKGROUND, SMALL_ICON);
}

#ifdef FORM_BACKGROUND_FILE
TEST(CarriedForm, TheProgramsOwn) {
  using testing_support::HostPath;
  using testing_support::ReadWholeFile;
  CheckCarriedForm(FormDescriptionBlock(), ReadWholeFile(HostPath(FORM_BACKGROUND_FILE)),
                   ReadWholeFile(HostPath(FORM_ICON_FILE)));
}
#endif

}  // namespace
