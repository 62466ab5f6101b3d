#include "host/message_box.h"

namespace {

// 信息：
constexpr char kDefaultCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";

MessageBoxSeam seam{[](const char* text, const char* caption, UINT flags) {
  return MessageBoxA(nullptr, text, caption, flags);
}};

}  // namespace

int ShowMessageBox(const MessageValue& message, UINT flags, const char* caption) {
  std::string text = ValueToDisplayText(message);
  return MessageBoxResult(seam.show(text.c_str(), caption ? caption : kDefaultCaption, MessageBoxFlags(flags)));
}

MessageBoxSeam SetMessageBoxSeam(MessageBoxSeam replacement) {
  MessageBoxSeam previous = seam;
  seam = replacement;
  return previous;
}
