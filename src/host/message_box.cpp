#include "host/message_box.h"

#include <string>
#include <utility>

namespace {

// 信息：
constexpr char kDefaultCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";

int ShowOnPlatform(const char* text, const char* caption, UINT flags) {
  return MessageBoxA(nullptr, text, caption, flags);
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
