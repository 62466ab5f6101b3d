// The well-known directories of the user's shell and of the system.
#pragma once

#include <string>
#include <string_view>

// The directory of one kind, ending in "\": 1 documents, 2 favourites,
// 3 desktop, 4 fonts, 5 start menu, 6 start menu programs, 7 startup,
// 8 application data, 9 Windows, 10 system, 11 temporary files. Empty for any
// other kind, for a folder that does not exist (it is never created) and for
// any platform failure. The installer asks for the desktop alone; the other
// kinds are the service's for any caller.
std::string GetSpecialDirectory(int kind);
inline constexpr int kDesktopDirectory = 3;

// directory with a "\" after it unless its last character (not merely its
// last byte) already is one. Empty when directory is empty or the result and
// its terminator would not fit the platform's path limit.
std::string WithTrailingBackslash(std::string_view directory);
