// Text helpers shared by the whole program. Texts are byte strings in GBK,
// code page 936, whatever the system's own code page is: a byte that leads a
// double-byte character takes the next byte with it, so a 0x5C trail byte is
// never a path separator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// The code page of every text the program carries, shows and names files by.
inline constexpr unsigned kCodePage = 936;

// Whether b leads a double-byte character of code page 936.
bool IsLeadByte(unsigned char b);

// Length in bytes (1 or 2) of the character that starts at pos. A lead byte
// whose trail byte would lie past the end counts as a single byte.
std::size_t CharLengthAt(std::string_view s, std::size_t pos);

// Position of the last "\" that is a character of its own, or npos.
std::size_t FindLastBackslash(std::string_view s);

// Whether the last character of s (not merely its last byte) is "\".
bool EndsWithBackslash(std::string_view s);

// Whether a and b are the same but for the case of ASCII letters, as the
// platform compares the names of devices and window classes.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace text
