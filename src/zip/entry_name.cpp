#include "zip/entry_name.h"

#include <algorithm>
#include <vector>

#include <windows.h>

namespace {

// Hosts in the upper byte of "version made by" whose tools write UTF-8 names
// without setting the flag (Info-ZIP zip on Linux, Archive Utility).
constexpr std::uint8_t kUnixHost = 3;
constexpr std::uint8_t kMacOsHost = 19;

// Nothing when the bytes are not valid UTF-8.
std::optional<std::vector<WCHAR>> WideFromUtf8(std::string_view utf8) {
  // A UTF-8 byte gives at most one UTF-16 unit.
  std::vector<WCHAR> wide(utf8.size());
  int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                   wide.data(), static_cast<int>(wide.size()));
  if (length <= 0) return std::nullopt;
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

// The one place where a name leaves UTF-16 for the ANSI code page.
std::optional<std::string> AnsiFromWide(const std::vector<WCHAR>& wide) {
  // A UTF-16 unit gives at most two bytes of the double-byte code page.
  std::string ansi(wide.size() * 2, '\0');
  BOOL usedDefault = FALSE;
  // No best fit: it would turn look-alikes such as U+2215 or U+FF0F into real
  // separators, and U+00E9 into a plain "e" that names another file. Windows
  // puts a default character in place of one the code page lacks and says so;
  // the native stand-in fails instead.
  int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                   ansi.data(), static_cast<int>(ansi.size()), nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  ansi.resize(static_cast<std::size_t>(length));
  return ansi;
}

bool IsPlainAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::string> AnsiFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  std::optional<std::vector<WCHAR>> wide = WideFromUtf8(utf8);
  if (!wide) return std::nullopt;
  return AnsiFromWide(*wide);
}

std::optional<std::string> AnsiEntryName(const ZipEntryInfo& entry) {
  if (entry.unicodePath) return AnsiFromUtf8(*entry.unicodePath);
  if (entry.HasUtf8Name()) return AnsiFromUtf8(entry.name);
  if ((entry.madeOnHost == kUnixHost || entry.madeOnHost == kMacOsHost) && !IsPlainAscii(entry.name)) {
    // Bytes of another code page are hardly ever valid UTF-8: such a name
    // keeps its bytes.
    if (std::optional<std::vector<WCHAR>> wide = WideFromUtf8(entry.name)) return AnsiFromWide(*wide);
  }
  return entry.name;
}
