#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/description/button_properties.h"
#include "form/description/form_description_stream.h"
#include "form/description/window_properties.h"

namespace {

// A window with no field at its default, pictures holding NUL and 0xFF bytes.
WindowProperties Unusual() {
  WindowProperties p;
  p.borderStyle = 6;
  p.pictureMode = 3;
  p.backColor = 0x00123456;
  p.maxButton = true;
  p.minButton = true;
  p.controlBox = false;
  p.startPosition = 3;
  p.movable = false;
  p.musicPlayCount = 2;
  p.enterMovesFocus = true;
  p.escCloses = false;
  p.f1OpensHelp = true;
  p.helpContext = -42;
  p.showInTaskbar = false;
  p.dragAnywhere = true;
  p.windowShape = 29;
  p.alwaysOnTop = true;
  p.keepTitleActive = true;
  p.windowClassName = "MyClass";
  p.backPicture = {0xFF, 0xD8, 0x00, 0xFF};
  p.icon = {0, 0, 1, 0};
  p.backMusic = {'R', 'I', 'F', 'F'};
  p.caption = "\xB0\xB4";
  p.helpFile = "help.chm";
  return p;
}

// A window blob as an older version wrote it: fields 1-14, then those of
// 15-20 that version has, then 21-25.
std::vector<std::uint8_t> OldWindowBlob(std::uint32_t version, const std::vector<std::uint32_t>& newerFields,
                                        const std::string& className) {
  std::vector<std::uint8_t> blob;
  for (std::uint32_t v : {version, 0u, 3u, 0x00ABCDEFu, 1u, 1u, 0u, 2u, 0u, 1u, 1u, 0u, 1u, 77u}) AppendDword(blob, v);
  for (std::uint32_t v : newerFields) AppendDword(blob, v);
  if (version >= 6) AppendCountedText(blob, className);
  AppendByteBuffer(blob, std::vector<std::uint8_t>{1, 2, 3});
  AppendByteBuffer(blob, {});
  AppendDword(blob, 0xFFFFFFFF);  // a negative length: empty, nothing follows
  AppendCountedText(blob, "cap");
  AppendCountedText(blob, "");
  return blob;
}

TEST(WindowProperties, AnEmptyBlobGivesTheDefaults) {
  auto p = ReadWindowProperties({});
  ASSERT_TRUE(p);
  EXPECT_EQ(*p, WindowProperties{});
  EXPECT_EQ(p->borderStyle, 2u);
  EXPECT_EQ(p->pictureMode, 1u);
  EXPECT_EQ(p->backColor, 0xFF000000u);
  EXPECT_TRUE(p->controlBox);
  EXPECT_EQ(p->startPosition, 1u);
  EXPECT_TRUE(p->movable);
  EXPECT_TRUE(p->escCloses);
  EXPECT_TRUE(p->showInTaskbar);
  EXPECT_EQ(p->windowShape, 0u);
  EXPECT_TRUE(p->windowClassName.empty());
  EXPECT_TRUE(p->caption.empty());
}

TEST(WindowProperties, EachVersionReadsOnlyTheFieldsItHas) {
  struct VersionCase {
    std::uint32_t version;
    std::vector<std::uint32_t> newerFields;  // 15-19 as far as the version has them
  };
  const VersionCase cases[] = {
      {0, {}}, {1, {}}, {2, {0}}, {3, {0, 1, 7}}, {4, {0, 1, 7, 1}}, {5, {0, 1, 7, 1, 1}}, {6, {0, 1, 7, 1, 1}},
  };
  for (const VersionCase& c : cases) {
    auto p = ReadWindowProperties(OldWindowBlob(c.version, c.newerFields, "Cls"));
    ASSERT_TRUE(p) << "version " << c.version;
    WindowProperties expected;
    expected.pictureMode = 3;
    expected.backColor = 0x00ABCDEF;
    expected.maxButton = true;
    expected.minButton = true;
    expected.controlBox = false;
    expected.startPosition = 2;
    expected.movable = false;
    expected.musicPlayCount = 1;
    expected.enterMovesFocus = true;
    expected.escCloses = false;
    expected.f1OpensHelp = true;
    expected.helpContext = 77;
    expected.borderStyle = 0;
    if (c.version >= 2) expected.showInTaskbar = false;
    if (c.version >= 3) {
      expected.dragAnywhere = true;
      expected.windowShape = 7;
    }
    if (c.version >= 4) expected.alwaysOnTop = true;
    if (c.version >= 5) expected.keepTitleActive = true;
    if (c.version >= 6) expected.windowClassName = "Cls";
    expected.backPicture = {1, 2, 3};
    expected.caption = "cap";
    EXPECT_EQ(*p, expected) << "version " << c.version;
  }
}

TEST(WindowProperties, RefusesAVersionAboveSix) {
  EXPECT_FALSE(ReadWindowProperties(OldWindowBlob(7, {0, 1, 7, 1, 1}, "")));
}

TEST(WindowProperties, RefusesEveryTruncation) {
  std::vector<std::uint8_t> blob = SerialiseWindowProperties(Unusual());
  for (std::size_t size = 1; size < blob.size(); ++size)
    EXPECT_FALSE(ReadWindowProperties(std::span(blob).first(size))) << size;
}

TEST(WindowProperties, SerialisingIsTheExactInverseOfReading) {
  for (const WindowProperties& p : {WindowProperties{}, Unusual()}) {
    std::vector<std::uint8_t> blob = SerialiseWindowProperties(p);
    auto read = ReadWindowProperties(blob);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, p);
    EXPECT_EQ(SerialiseWindowProperties(*read), blob);
  }
}

TEST(WindowProperties, BlobLayoutOfVersionSix) {
  std::vector<std::uint8_t> blob = SerialiseWindowProperties(Unusual());
  // 19 dwords, the class name, the three byte buffers, caption, help file.
  EXPECT_EQ(blob.size(), 19u * 4 + (4 + 7) + 3 * (4 + 4) + (4 + 2) + (4 + 8));
  EXPECT_EQ(LoadDword(blob.data()), 6u);
  EXPECT_EQ(LoadDword(blob.data() + 4 * 13), static_cast<std::uint32_t>(-42)) << "help context, field 14";
  EXPECT_EQ(LoadDword(blob.data() + 4 * 16), 29u) << "window shape, field 17";
}

ButtonProperties UnusualButton() {
  ButtonProperties p;
  p.buttonKind = 1;
  p.hAlign = 2;
  p.vAlign = 0;
  p.picture = {0x89, 'P', 'N', 'G', 0};
  p.font = std::vector<std::uint8_t>(60, 0xFF);
  p.caption = "\xB0\xB2\xD7\xB0\xBA\xBA\xBB\xAF";  // 安装汉化
  return p;
}

TEST(ButtonProperties, AnEmptyBlobGivesTheDefaults) {
  auto p = ReadButtonProperties({});
  ASSERT_TRUE(p);
  EXPECT_EQ(p->buttonKind, 0u);
  EXPECT_EQ(p->hAlign, 1u);
  EXPECT_EQ(p->vAlign, 1u);
  EXPECT_TRUE(p->picture.empty());
  EXPECT_TRUE(p->font.empty());
  EXPECT_EQ(p->caption, "\xB0\xB4\xC5\xA5");  // 按钮
}

TEST(ButtonProperties, BlobOfVersionOne) {
  std::vector<std::uint8_t> blob = SerialiseButtonProperties(UnusualButton());
  ASSERT_EQ(blob.size(), 4u * 4 + (4 + 5) + (4 + 60) + (4 + 8));
  EXPECT_EQ(LoadDword(blob.data()), 1u);
  EXPECT_EQ(LoadDword(blob.data() + 4), 1u);
  EXPECT_EQ(LoadDword(blob.data() + 8), 2u);
  EXPECT_EQ(LoadDword(blob.data() + 12), 0u);
  auto p = ReadButtonProperties(blob);
  ASSERT_TRUE(p);
  EXPECT_EQ(*p, UnusualButton());
  EXPECT_EQ(SerialiseButtonProperties(*p), blob);
}

TEST(ButtonProperties, RefusesVersionTwoAndEveryTruncation) {
  std::vector<std::uint8_t> blob = SerialiseButtonProperties(UnusualButton());
  for (std::size_t size = 1; size < blob.size(); ++size)
    EXPECT_FALSE(ReadButtonProperties(std::span(blob).first(size))) << size;
  StoreDword(blob.data(), 2);
  EXPECT_FALSE(ReadButtonProperties(blob));
}

}  // namespace
