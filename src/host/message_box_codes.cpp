#include "host/message_box_codes.h"

namespace {

constexpr unsigned kSystemModal = 0x1000;  // MB_SYSTEMMODAL
constexpr unsigned kTaskModal = 0x2000;    // MB_TASKMODAL
constexpr unsigned kButtonsMask = 0xF;     // MB_TYPEMASK
constexpr unsigned kOkButtonOnly = 0x0;    // MB_OK
constexpr int kFirstButton = 1;            // IDOK
constexpr int kLastButton = 7;             // IDNO

}  // namespace

unsigned MessageBoxFlags(unsigned flags) { return (flags & kSystemModal) != 0 ? flags : flags | kTaskModal; }

MessageBoxResult MessageBoxResultOf(int platformResult, unsigned flags) {
  // A box with only an OK button can be answered with nothing but OK. Windows
  // reports IDOK when such a box is closed with Esc or its close box; Wine
  // reports IDCANCEL.
  if ((flags & kButtonsMask) == kOkButtonOnly) return MessageBoxResult::Ok;
  if (platformResult < kFirstButton || platformResult > kLastButton) return MessageBoxResult::Ok;
  return static_cast<MessageBoxResult>(platformResult - kFirstButton);
}
