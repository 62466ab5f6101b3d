#include "zip/entry_name.h"

#include <algorithm>

#include <windows.h>

#include "host/wide_text.h"

namespace {

// Hosts in the upper byte of "version made by" whose tools write UTF-8 names
// without setting the flag (Info-ZIP zip on Linux, Archive Utility).
constexpr std::uint8_t kUnixHost = 3;
constexpr std::uint8_t kMacOsHost = 19;

// Nothing when the bytes are not valid UTF-8.
std::optional<std::wstring> WideFromUtf8(std::string_view utf8) {
  // A UTF-8 byte gives at most one UTF-16 unit.
  std::wstring wide(utf8.size(), L'\0');
  int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                   wide.data(), static_cast<int>(wide.size()));
  if (length <= 0) return std::nullopt;
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

bool IsPlainAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::string> GbkFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  std::optional<std::wstring> wide = WideFromUtf8(utf8);
  if (!wide) return std::nullopt;
  return text::GbkFromWide(*wide);
}

std::optional<std::string> GbkEntryName(const ZipEntryInfo& entry) {
  if (entry.unicodePath) return GbkFromUtf8(*entry.unicodePath);
  if (entry.HasUtf8Name()) return GbkFromUtf8(entry.name);
  if ((entry.madeOnHost == kUnixHost || entry.madeOnHost == kMacOsHost) && !IsPlainAscii(entry.name)) {
    // Bytes of another code page are hardly ever valid UTF-8: such a name
    // keeps its bytes.
    if (std::optional<std::wstring> wide = WideFromUtf8(entry.name)) return text::GbkFromWide(*wide);
  }
  return entry.name;
}
