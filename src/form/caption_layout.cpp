#include "form/caption_layout.h"

#include <algorithm>

#include "host/text.h"

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

std::vector<CaptionLine> LayoutCaptionLines(std::string_view text, int width, int height, int lineHeight, int code,
                                            CaptionMeasure measure) {
  std::vector<CaptionLine> lines;
  CaptionLine line;
  bool ampersandPending = false;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      lines.push_back(line);
      line = CaptionLine{i + 2};
      i += 2;
      continue;
    }
    // A double-byte character only when the code page says its first byte
    // leads one and its second byte is part of the text.
    std::size_t length = text::CharLengthAt(text, i);
    if (text[i] == '&' && !ampersandPending) {
      ampersandPending = true;
      line.length += 1;
      i += 1;
      continue;
    }
    if (text[i] == '&') ampersandPending = false;
    int w = measure.width(measure.context, text.data() + i, length);
    if (line.length > 0 && line.width + w > width) {
      lines.push_back(line);
      line = CaptionLine{i};
    }
    line.width += w;
    line.length += length;
    i += length;
  }
  lines.push_back(line);

  int lineCount = static_cast<int>(lines.size());
  int total = std::min(lineCount * lineHeight, height);
  bool top = code == kLeftTop || code == kCentreTop || code == kRightTop;
  bool bottom = code == kLeftBottom || code == kCentreBottom || code == kRightBottom;
  bool left = code == kLeftTop || code == kLeftMiddle || code == kLeftBottom;
  bool right = code == kRightTop || code == kRightMiddle || code == kRightBottom;
  int firstY = top ? 0 : bottom ? height - total : (height - total) / 2;
  for (int i = 0; i < lineCount; ++i) {
    CaptionLine& l = lines[static_cast<std::size_t>(i)];
    l.x = left ? 0 : right ? width - l.width : (width - l.width) / 2;
    l.y = firstY + i * lineHeight;
  }
  return lines;
}
