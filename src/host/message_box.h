// The installer's only way of talking to the user in words: a modal platform
// message box without an owner, task-modal so that the program's windows wait
// for it.
#pragma once

#include <windows.h>

#include "host/message_box_codes.h"
#include "host/message_value.h"

// Shows the message's display text with flags and caption ("信息：" when none
// is given) and answers with the button that closed the box.
MessageBoxResult ShowMessageBox(const MessageValue& message, UINT flags = 0, const char* caption = nullptr);

// The one way a box reaches the platform: MessageBoxW with no owner, given
// the GBK text and caption. Tests put in their own to see the exact text,
// caption and flags and to answer for a person.
struct MessageBoxSeam {
  int (*show)(const char* text, const char* caption, UINT flags);
};

// Puts seam in place and gives back the one it replaces.
MessageBoxSeam SetMessageBoxSeam(MessageBoxSeam seam);
