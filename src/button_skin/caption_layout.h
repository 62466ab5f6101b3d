// Where the lines of a push button's caption go: broken at "\r\n" and where a
// character no longer fits (not at spaces), with "&" marking a mnemonic, and
// placed in the caption area by the alignment of the button's style. Captions
// are the controls' own window texts in UTF-16: the program's, and those the
// platform gives its message boxes' buttons in the player's language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Alignment codes, from a push button's style bits 0x0F00.
namespace caption_align {
constexpr int kLeftTop = 1, kCentreTop = 2, kRightTop = 4;
constexpr int kLeftMiddle = 8, kCentreMiddle = 16, kRightMiddle = 32;
constexpr int kLeftBottom = 64, kCentreBottom = 128, kRightBottom = 256;
}  // namespace caption_align

int AlignmentCode(std::uint32_t style);

struct CaptionSize {
  int width = 0;
  int height = 0;
};

// Measures a run of characters drawn as one piece, in the font the caption
// is drawn with.
struct CaptionMeasure {
  CaptionSize (*measure)(void* context, std::wstring_view characters);
  void* context;
};

struct CaptionLine {
  std::size_t start = 0;   // first unit in the text
  std::size_t length = 0;  // units to draw, "&" included
  int width = 0;
  int x = 0;  // from the caption area's left edge
  int y = 0;  // from its top edge
};

struct CaptionLayout {
  int lineHeight = 0;  // the height of "a"
  std::vector<CaptionLine> lines;
};

// Lines are drawn with at most this many units each.
constexpr std::size_t kMaxDrawnLineUnits = 1023;

// The lines of text in a caption area of width × height.
CaptionLayout LayoutCaption(std::wstring_view text, int width, int height, int alignmentCode, CaptionMeasure measure);
