#include "host/message_box.h"

#include <string>
#include <utility>

#include "host/wide_text.h"

namespace {

// 信息：
constexpr char kDefaultCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";

// The box shows its texts in UTF-16, whatever the system's code page.
int ShowOnPlatform(const char* text, const char* caption, UINT flags) {
  return MessageBoxW(nullptr, text::WideForDisplay(text).c_str(), text::WideForDisplay(caption).c_str(), flags);
}

MessageBoxSeam platformSeam{&ShowOnPlatform};

}  // namespace

MessageBoxResult ShowMessageBox(const MessageValue& message, UINT flags, const char* caption) {
  const std::string text = ValueToDisplayText(message);
  const UINT shownFlags = MessageBoxFlags(flags);
  return MessageBoxResultOf(platformSeam.show(text.c_str(), caption != nullptr ? caption : kDefaultCaption, shownFlags),
                            shownFlags);
}

MessageBoxSeam SetMessageBoxSeam(MessageBoxSeam seam) { return std::exchange(platformSeam, seam); }
