// Where the lines of a push button's caption go: split where a character no
// longer fits (not at spaces), at "\r\n", with "&" marking a mnemonic, and
// placed by the alignment code of the button's style.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Alignment codes from a push button's style bits 0x0F00.
namespace caption_align {
constexpr int kLeftTop = 1, kCentreTop = 2, kRightTop = 4;
constexpr int kLeftMiddle = 8, kCentreMiddle = 16, kRightMiddle = 32;
constexpr int kLeftBottom = 64, kCentreBottom = 128, kRightBottom = 256;
}  // namespace caption_align

int AlignmentCode(std::uint32_t style);

struct CaptionLine {
  std::size_t start = 0;   // first byte in the text
  std::size_t length = 0;  // bytes, "&" included
  int width = 0;
  int x = 0;  // relative to the caption area
  int y = 0;
};

// The width of a run of bytes drawn as one character.
struct CaptionMeasure {
  int (*width)(void* context, const char* bytes, std::size_t length);
  void* context;
};

// Lines for text in an area of width × height with lines lineHeight high.
std::vector<CaptionLine> LayoutCaptionLines(std::string_view text, int width, int height, int lineHeight, int code,
                                            CaptionMeasure measure);

// Lines are drawn with at most this many bytes each.
constexpr std::size_t kMaxDrawnLineBytes = 1023;
