#include "button_skin/caption_layout.h"

#include <algorithm>

using namespace caption_align;

int AlignmentCode(std::uint32_t style) {
  switch (style & 0x0F00) {
    case 0x0500: return kLeftTop;
    case 0x0700: return kCentreTop;
    case 0x0600: return kRightTop;
    case 0x0D00: return kLeftMiddle;
    case 0x0E00: return kRightMiddle;
    case 0x0900: return kLeftBottom;
    case 0x0B00: return kCentreBottom;
    case 0x0A00: return kRightBottom;
    default: return kCentreMiddle;
  }
}

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Units (1 or 2) of the character that starts at pos: a character beyond the
// Basic Multilingual Plane is a pair of surrogates in UTF-16, measured and
// kept on a line as one. A high surrogate at the very end never takes the
// unit past it.
std::size_t CharacterUnitsAt(std::wstring_view text, std::size_t pos) {
  return IsHighSurrogate(text[pos]) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1]) ? 2 : 1;
}

// Splits the text into lines no wider than width where that can be done.
std::vector<CaptionLine> BreakIntoLines(std::wstring_view text, int width, CaptionMeasure measure) {
  std::vector<CaptionLine> lines;
  CaptionLine line;
  // The first "&" of a pair marks a mnemonic and takes no room; the second is
  // drawn.
  bool ampersandPending = false;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i, 2) == L"\r\n") {
      lines.push_back(line);
      i += 2;
      line = CaptionLine{i};
      continue;
    }
    if (text[i] == L'&' && !ampersandPending) {
      ampersandPending = true;
      ++line.length;
      ++i;
      continue;
    }
    if (text[i] == L'&') ampersandPending = false;
    const std::size_t length = CharacterUnitsAt(text, i);
    const int characterWidth = measure.measure(measure.context, text.substr(i, length)).width;
    // A character wider than the whole area stays on a line of its own rather
    // than leaving an empty line before it.
    if (line.length > 0 && line.width + characterWidth > width) {
      lines.push_back(line);
      line = CaptionLine{i};
    }
    line.width += characterWidth;
    line.length += length;
    i += length;
  }
  lines.push_back(line);
  return lines;
}

}  // namespace

CaptionLayout LayoutCaption(std::wstring_view text, int width, int height, int alignmentCode, CaptionMeasure measure) {
  CaptionLayout layout{measure.measure(measure.context, L"a").height, BreakIntoLines(text, width, measure)};
  const int lineCount = static_cast<int>(layout.lines.size());
  const int total = std::min(lineCount * layout.lineHeight, height);
  const int code = alignmentCode;
  const bool top = code == kLeftTop || code == kCentreTop || code == kRightTop;
  const bool bottom = code == kLeftBottom || code == kCentreBottom || code == kRightBottom;
  const bool left = code == kLeftTop || code == kLeftMiddle || code == kLeftBottom;
  const bool right = code == kRightTop || code == kRightMiddle || code == kRightBottom;
  const int firstY = top ? 0 : bottom ? height - total : (height - total) / 2;
  for (int i = 0; i < lineCount; ++i) {
    CaptionLine& line = layout.lines[static_cast<std::size_t>(i)];
    line.x = left ? 0 : right ? width - line.width : (width - line.width) / 2;
    line.y = firstY + i * layout.lineHeight;
    line.length = std::min(line.length, kMaxDrawnLineUnits);
  }
  return layout;
}
