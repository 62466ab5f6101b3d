// What crosses over to the platform's message box: the style word it is
// shown with, and the button that closed it as a 0-based code.
#pragma once

// The button that closed a box, numbered from 0.
enum class MessageBoxResult { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

// The style word handed to the platform: flags with MB_TASKMODAL added
// unless they ask for MB_SYSTEMMODAL, so that the box holds up the program's
// own windows.
unsigned MessageBoxFlags(unsigned flags);

// The code for what the platform answered (IDOK to IDNO give Ok to No;
// anything else, the failure value 0 included, gives Ok) to a box shown with
// flags.
MessageBoxResult MessageBoxResultOf(int platformResult, unsigned flags);
