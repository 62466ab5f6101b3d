// The installer's only way of talking to the user in words: a modal platform
// message box without owner, task-modal so that the window waits for it.
#pragma once

#include <windows.h>

#include "host/message_value.h"

// Shows the message with flags and caption (or "信息：" when none is given)
// and returns the 0-based code of the button that closed the box.
int ShowMessageBox(const MessageValue& message, UINT flags = 0, const char* caption = nullptr);

// How the box reaches the platform; tests put in their own to see exactly
// what is shown without a person to press OK.
struct MessageBoxSeam {
  int (*show)(const char* text, const char* caption, UINT flags);
};
MessageBoxSeam SetMessageBoxSeam(MessageBoxSeam seam);
