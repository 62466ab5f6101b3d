#include "form/caption_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace caption_align;

// Every single-byte character is 6 pixels wide, every double-byte one 12.
int FixedWidth(void*, const char*, std::size_t length) { return length == 2 ? 12 : 6; }
const CaptionMeasure kMeasure{&FixedWidth, nullptr};
constexpr int kLine = 13;

std::string Line(std::string_view text, const CaptionLine& line) { return std::string(text.substr(line.start, line.length)); }

TEST(CaptionLayout, PlacesOneLineByAlignmentCode) {
  // "卸载汉化": four double-byte characters, 48 pixels, in the 92 × 22 caption area.
  const std::string text = "\xD0\xB6\xD4\xD8\xBA\xBA\xBB\xAF";
  struct Case {
    int code;
    int x;
    int y;
  } cases[] = {
      {kLeftTop, 0, 0},      {kCentreTop, 22, 0},      {kRightTop, 44, 0},
      {kLeftMiddle, 0, 4},   {kCentreMiddle, 22, 4},   {kRightMiddle, 44, 4},
      {kLeftBottom, 0, 9},   {kCentreBottom, 22, 9},   {kRightBottom, 44, 9},
  };
  for (const Case& c : cases) {
    std::vector<CaptionLine> lines = LayoutCaptionLines(text, 92, 22, kLine, c.code, kMeasure);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].width, 48);
    EXPECT_EQ(lines[0].x, c.x) << c.code;
    EXPECT_EQ(lines[0].y, c.y) << c.code;
  }
}

TEST(CaptionLayout, WrapsAtTheCharacterThatDoesNotFitAndKeepsDoubleBytesWhole) {
  // 36 pixels hold six single-byte or three double-byte characters.
  std::string text = "abc defgh";
  std::vector<CaptionLine> lines = LayoutCaptionLines(text, 36, 40, kLine, kCentreMiddle, kMeasure);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(Line(text, lines[0]), "abc de");
  EXPECT_EQ(Line(text, lines[1]), "fgh");
  EXPECT_EQ(lines[0].y, (40 - 2 * kLine) / 2);
  EXPECT_EQ(lines[1].y, lines[0].y + kLine);

  // A trail byte 0x5C or 0x41 belongs to its character.
  text = "\xB1\x5C\xB1\x41\xB1\x5C\xB1\x41";
  lines = LayoutCaptionLines(text, 36, 40, kLine, kLeftTop, kMeasure);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].length, 6u);
  EXPECT_EQ(lines[1].length, 2u);
}

TEST(CaptionLayout, LineBreaksAndAmpersands) {
  std::string text = "ab\r\n&&c&d";
  std::vector<CaptionLine> lines = LayoutCaptionLines(text, 90, 40, kLine, kLeftTop, kMeasure);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(Line(text, lines[0]), "ab");
  // The first "&" takes no room, the second is drawn, the third takes no room
  // because the flag was cleared by the second.
  EXPECT_EQ(Line(text, lines[1]), "&&c&d");
  EXPECT_EQ(lines[1].width, 3 * 6);
  EXPECT_EQ(lines[1].y, kLine);
}

TEST(CaptionLayout, ALeadByteAtTheEndDoesNotReachPastTheText) {
  // The last byte would lead a double-byte character whose second byte is not
  // part of the caption: it is one character of its own.
  std::string text("ab\xB1", 3);
  std::vector<CaptionLine> lines = LayoutCaptionLines(text, 90, 22, kLine, kLeftTop, kMeasure);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].length, 3u);
  EXPECT_EQ(lines[0].width, 18);
}

TEST(CaptionLayout, AlignmentCodes) {
  EXPECT_EQ(AlignmentCode(0x44012F00), kCentreMiddle);
  EXPECT_EQ(AlignmentCode(0x0500), kLeftTop);
  EXPECT_EQ(AlignmentCode(0x0E00), kRightMiddle);
  EXPECT_EQ(AlignmentCode(0x0B00), kCentreBottom);
  EXPECT_EQ(AlignmentCode(0x0000), kCentreMiddle);
}

}  // namespace
