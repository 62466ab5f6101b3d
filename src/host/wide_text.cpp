#include "host/wide_text.h"

#include <windows.h>

#include "host/text.h"

namespace text {

namespace {

std::optional<std::wstring> Widen(std::string_view gbk, DWORD flags) {
  if (gbk.empty()) return std::wstring();
  // A byte of a double-byte code page gives at most one UTF-16 unit.
  std::wstring wide(gbk.size(), L'\0');
  int length = MultiByteToWideChar(kCodePage, flags, gbk.data(), static_cast<int>(gbk.size()), wide.data(),
                                   static_cast<int>(wide.size()));
  if (length <= 0) return std::nullopt;
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

}  // namespace

std::optional<std::wstring> WideFromGbk(std::string_view gbk) { return Widen(gbk, MB_ERR_INVALID_CHARS); }

std::wstring WideForDisplay(std::string_view gbk) { return Widen(gbk, 0).value_or(std::wstring()); }

std::optional<std::string> GbkFromWide(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  // A UTF-16 unit gives at most two bytes of code page 936.
  std::string gbk(wide.size() * 2, '\0');
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                   gbk.data(), static_cast<int>(gbk.size()), nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  gbk.resize(static_cast<std::size_t>(length));
  return gbk;
}

}  // namespace text
