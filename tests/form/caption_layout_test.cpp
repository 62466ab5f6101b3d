// Where a push button's caption lines go, measured with a fixed-width font:
// "a" is 6 × 13, every other single-byte character 6 wide, a double-byte one 12.
#include "form/caption_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace caption_align;

constexpr int kLineHeight = 13;

CaptionSize FixedWidth(void*, std::string_view characters) {
  return {characters.size() == 2 ? 12 : 6, characters == "a" ? kLineHeight : 20};
}
const CaptionMeasure kFixedWidth{&FixedWidth, nullptr};

std::string LineText(std::string_view text, const CaptionLine& line) {
  return std::string(text.substr(line.start, line.length));
}

std::vector<std::string> LineTexts(std::string_view text, const CaptionLayout& layout) {
  std::vector<std::string> texts;
  for (const CaptionLine& line : layout.lines) texts.push_back(LineText(text, line));
  return texts;
}

TEST(LayoutCaption, PlacesLinesByAlignmentCode) {
  // 卸载汉化: 48 pixels wide, one line of 13 in the 92 × 22 caption area of a
  // 100 × 30 button; then with a second line "ab" in a 92 × 40 area.
  const std::string oneLine = "\xD0\xB6\xD4\xD8\xBA\xBA\xBB\xAF";
  const std::string twoLines = oneLine + "\r\nab";
  struct Case {
    int code;
    int x, y;
    int secondX, twoLinesY;
  } cases[] = {
      {kLeftTop, 0, 0, 0, 0},       {kCentreTop, 22, 0, 40, 0},      {kRightTop, 44, 0, 80, 0},
      {kLeftMiddle, 0, 4, 0, 7},    {kCentreMiddle, 22, 4, 40, 7},   {kRightMiddle, 44, 4, 80, 7},
      {kLeftBottom, 0, 9, 0, 14},   {kCentreBottom, 22, 9, 40, 14},  {kRightBottom, 44, 9, 80, 14},
  };
  for (const Case& c : cases) {
    CaptionLayout layout = LayoutCaption(oneLine, 92, 22, c.code, kFixedWidth);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].width, 48);
    EXPECT_EQ(layout.lines[0].x, c.x) << c.code;
    EXPECT_EQ(layout.lines[0].y, c.y) << c.code;
    layout = LayoutCaption(twoLines, 92, 40, c.code, kFixedWidth);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0].x, c.x) << c.code;
    EXPECT_EQ(layout.lines[1].x, c.secondX) << c.code;
    EXPECT_EQ(layout.lines[0].y, c.twoLinesY) << c.code;
    EXPECT_EQ(layout.lines[1].y, c.twoLinesY + kLineHeight) << c.code;
    // Two lines are 26 high, more than a 22 high area: they start at its top.
    layout = LayoutCaption(twoLines, 92, 22, c.code, kFixedWidth);
    EXPECT_EQ(layout.lines[0].y, 0) << c.code;
  }
}

TEST(LayoutCaption, LinesAreAsHighAsTheLetterA) {
  const CaptionLayout layout = LayoutCaption("xy\r\nz", 92, 100, kLeftTop, kFixedWidth);
  EXPECT_EQ(layout.lineHeight, kLineHeight);
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(layout.lines[1].y, kLineHeight);
}

TEST(LayoutCaption, WrapsAtTheCharacterThatDoesNotFit) {
  // 36 pixels hold six single-byte or three double-byte characters.
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"abc defgh", {"abc de", "fgh"}},                    // not at the space
      {"abcdef", {"abcdef"}},                              // exactly full
      {"\xB0\xB2\xD7\xB0\xB3\xC9\xB9\xA6", {"\xB0\xB2\xD7\xB0\xB3\xC9", "\xB9\xA6"}},  // 安装成功
      // A trail byte "\" or "A" belongs to its character.
      {"\xB1\x5C\xB1\x41\xB1\x5C\xB1\x41", {"\xB1\x5C\xB1\x41\xB1\x5C", "\xB1\x41"}},
      {"abcde\xB0\xB2", {"abcde", "\xB0\xB2"}},           // the whole character moves on
      {"ab\r\n\r\ncd", {"ab", "", "cd"}},
      {"\r\nab", {"", "ab"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LineTexts(c.text, LayoutCaption(c.text, 36, 100, kLeftTop, kFixedWidth)), c.lines) << c.text;
}

TEST(LayoutCaption, AmpersandsTakeNoRoomUntilDoubled) {
  struct Case {
    std::string text;
    int width;
  } cases[] = {
      {"&Yes", 3 * 6},
      {"a&&b", 3 * 6},
      // The second "&" clears the flag, so the third takes no room again.
      {"&&c&d", 3 * 6},
      {"&", 0},
  };
  for (const Case& c : cases) {
    const CaptionLayout layout = LayoutCaption(c.text, 90, 22, kLeftTop, kFixedWidth);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].length, c.text.size()) << c.text;
    EXPECT_EQ(layout.lines[0].width, c.width) << c.text;
  }
}

// Every run of bytes that the layout asked to have measured; single bytes
// are 5 wide here, double-byte characters 12.
std::vector<std::string_view> measured;
CaptionSize RecordingWidth(void*, std::string_view characters) {
  measured.push_back(characters);
  return {characters.size() == 2 ? 12 : 5, kLineHeight};
}

TEST(LayoutCaption, NeverMeasuresPastTheText) {
  // Each caption ends in a byte that could lead a double-byte character; the
  // byte after it is not the caption's. 0xFF leads none in code page 936.
  const std::string memory = std::string("ab\xB1", 3) + "Z" + "\xFF" + "a";
  struct Case {
    std::string_view text;
    int width;
  } cases[] = {
      {std::string_view(memory).substr(0, 3), 3 * 5},
      {std::string_view(memory).substr(2, 1), 5},
      {std::string_view(memory).substr(4, 2), 2 * 5},
  };
  for (const Case& c : cases) {
    measured.clear();
    const CaptionLayout layout = LayoutCaption(c.text, 90, 22, kLeftTop, CaptionMeasure{&RecordingWidth, nullptr});
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].length, c.text.size());
    EXPECT_EQ(layout.lines[0].width, c.width);
    for (std::string_view piece : measured) {
      if (piece == "a") continue;  // the line height
      EXPECT_GE(piece.data(), c.text.data());
      EXPECT_LE(piece.data() + piece.size(), c.text.data() + c.text.size());
    }
  }
}

TEST(LayoutCaption, DrawsAtMost1023BytesOfALine) {
  const std::string text(2000, 'x');
  const CaptionLayout layout = LayoutCaption(text, 100000, 22, kLeftTop, kFixedWidth);
  ASSERT_EQ(layout.lines.size(), 1u);
  EXPECT_EQ(layout.lines[0].length, 1023u);
  EXPECT_EQ(layout.lines[0].width, 2000 * 6);
}

TEST(AlignmentCode, FromTheStyleBits) {
  struct Case {
    std::uint32_t style;
    int code;
  } cases[] = {
      {0x0500, kLeftTop},     {0x0700, kCentreTop},    {0x0600, kRightTop},      {0x0D00, kLeftMiddle},
      {0x0E00, kRightMiddle}, {0x0900, kLeftBottom},   {0x0B00, kCentreBottom},  {0x0A00, kRightBottom},
      {0x44012F00, kCentreMiddle},                     {0x0000, kCentreMiddle},  {0x0100, kCentreMiddle},
      {0x0C00, kCentreMiddle},
  };
  for (const Case& c : cases) EXPECT_EQ(AlignmentCode(c.style), c.code) << std::hex << c.style;
}

}  // namespace
