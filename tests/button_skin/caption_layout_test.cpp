// Where a push button's caption lines go, measured with a fixed-width font:
// "a" is 6 × 13, every other Latin character 6 wide, any other one (Chinese,
// or a pair of surrogates) 12.
#include "button_skin/caption_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace caption_align;

constexpr int kLineHeight = 13;

bool IsLatin(std::wstring_view characters) { return characters.size() == 1 && characters[0] <= 0xFF; }

CaptionSize FixedWidth(void*, std::wstring_view characters) {
  return {IsLatin(characters) ? 6 : 12, characters == L"a" ? kLineHeight : 20};
}
const CaptionMeasure kFixedWidth{&FixedWidth, nullptr};

std::wstring LineText(std::wstring_view text, const CaptionLine& line) {
  return std::wstring(text.substr(line.start, line.length));
}

std::vector<std::wstring> LineTexts(std::wstring_view text, const CaptionLayout& layout) {
  std::vector<std::wstring> texts;
  for (const CaptionLine& line : layout.lines) texts.push_back(LineText(text, line));
  return texts;
}

TEST(LayoutCaption, PlacesLinesByAlignmentCode) {
  // 卸载汉化: 48 pixels wide, one line of 13 in the 92 × 22 caption area of a
  // 100 × 30 button; then with a second line "ab" in a 92 × 40 area.
  const std::wstring oneLine = L"\u5378\u8F7D\u6C49\u5316";
  const std::wstring twoLines = oneLine + L"\r\nab";
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
  const CaptionLayout layout = LayoutCaption(L"xy\r\nz", 92, 100, kLeftTop, kFixedWidth);
  EXPECT_EQ(layout.lineHeight, kLineHeight);
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(layout.lines[1].y, kLineHeight);
}

TEST(LayoutCaption, WrapsAtTheCharacterThatDoesNotFit) {
  // 36 pixels hold six Latin or three Chinese characters.
  struct Case {
    std::wstring text;
    std::vector<std::wstring> lines;
  } cases[] = {
      {L"abc defgh", {L"abc de", L"fgh"}},                                      // not at the space
      {L"abcdef", {L"abcdef"}},                                                 // exactly full
      {L"\u5B89\u88C5\u6210\u529F", {L"\u5B89\u88C5\u6210", L"\u529F"}},  // 安装成功
      {L"abcde\u5B89", {L"abcde", L"\u5B89"}},  // the whole character moves on
      // A character beyond the BMP is one, in UTF-16 a pair of units.
      {L"abcde\U00020000", {L"abcde", L"\U00020000"}},
      {L"ab\r\n\r\ncd", {L"ab", L"", L"cd"}},
      {L"\r\nab", {L"", L"ab"}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(LineTexts(cases[i].text, LayoutCaption(cases[i].text, 36, 100, kLeftTop, kFixedWidth)), cases[i].lines)
        << "case " << i;
}

TEST(LayoutCaption, AmpersandsTakeNoRoomUntilDoubled) {
  struct Case {
    std::wstring text;
    int width;
  } cases[] = {
      {L"&Yes", 3 * 6},
      {L"a&&b", 3 * 6},
      // The second "&" clears the flag, so the third takes no room again.
      {L"&&c&d", 3 * 6},
      {L"&", 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const CaptionLayout layout = LayoutCaption(cases[i].text, 90, 22, kLeftTop, kFixedWidth);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].length, cases[i].text.size()) << "case " << i;
    EXPECT_EQ(layout.lines[0].width, cases[i].width) << "case " << i;
  }
}

// Every run of units that the layout asked to have measured; single units
// are 5 wide here, pairs 12.
std::vector<std::wstring_view> measured;
CaptionSize RecordingWidth(void*, std::wstring_view characters) {
  measured.push_back(characters);
  return {characters.size() == 2 ? 12 : 5, kLineHeight};
}

TEST(LayoutCaption, NeverMeasuresPastTheText) {
  // Each caption ends in a high surrogate; the low one after it in memory is
  // not the caption's.
  const std::wstring memory = std::wstring(L"ab\xD840") + L"\xDC00" + L"\xD840" + L"\xDC00";
  struct Case {
    std::wstring_view text;
    int width;
  } cases[] = {
      {std::wstring_view(memory).substr(0, 3), 3 * 5},
      {std::wstring_view(memory).substr(2, 1), 5},
      {std::wstring_view(memory).substr(4, 1), 5},
  };
  for (const Case& c : cases) {
    measured.clear();
    const CaptionLayout layout = LayoutCaption(c.text, 90, 22, kLeftTop, CaptionMeasure{&RecordingWidth, nullptr});
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].length, c.text.size());
    EXPECT_EQ(layout.lines[0].width, c.width);
    for (std::wstring_view piece : measured) {
      if (piece == L"a") continue;  // the line height
      EXPECT_GE(piece.data(), c.text.data());
      EXPECT_LE(piece.data() + piece.size(), c.text.data() + c.text.size());
    }
  }
}

TEST(LayoutCaption, DrawsAtMost1023UnitsOfALine) {
  const std::wstring text(2000, L'x');
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
