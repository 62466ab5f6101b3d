#include "host/text.h"

#include <algorithm>

#include <windows.h>

namespace text {

bool IsLeadByte(unsigned char b) { return IsDBCSLeadByteEx(kCodePage, b) != FALSE; }

std::size_t CharLengthAt(std::string_view s, std::size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

namespace {

// Position of the last character whose first byte isWanted accepts; callers
// ask for ASCII bytes, which never lead a double-byte character.
template <typename Predicate>
std::size_t FindLastCharacter(std::string_view s, Predicate isWanted) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i += CharLengthAt(s, i))
    if (isWanted(s[i])) found = i;
  return found;
}

}  // namespace

std::size_t FindLastBackslash(std::string_view s) {
  return FindLastCharacter(s, [](char c) { return c == '\\'; });
}

bool EndsWithBackslash(std::string_view s) {
  return !s.empty() && FindLastBackslash(s) == s.size() - 1;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&upper](char x, char y) { return upper(x) == upper(y); });
}

}  // namespace text
