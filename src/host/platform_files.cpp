#include "host/platform_files.h"

#include <cwchar>

#include "host/wide_text.h"

namespace platform_files {

namespace {

// A path in UTF-16, or nothing (with the platform's error for a name it
// cannot translate) when the GBK bytes are not valid.
std::optional<std::wstring> WidePath(const std::string& path) {
  std::optional<std::wstring> wide = text::WideFromGbk(path);
  if (!wide) SetLastError(ERROR_NO_UNICODE_TRANSLATION);
  return wide;
}

void Take(const WIN32_FIND_DATAW& data, FoundEntry& entry) {
  entry.attributes = data.dwFileAttributes;
  entry.name = text::GbkFromWide(std::wstring_view(data.cFileName, wcsnlen(data.cFileName, MAX_PATH)));
}

}  // namespace

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return INVALID_HANDLE_VALUE;
  return CreateFileW(wide->c_str(), access, share, nullptr, disposition, flags, nullptr);
}

DWORD Attributes(const std::string& path) {
  std::optional<std::wstring> wide = WidePath(path);
  return wide ? GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool SetAttributes(const std::string& path, DWORD attributes) {
  std::optional<std::wstring> wide = WidePath(path);
  return wide && SetFileAttributesW(wide->c_str(), attributes) != FALSE;
}

bool NewDirectory(const std::string& path) {
  std::optional<std::wstring> wide = WidePath(path);
  return wide && CreateDirectoryW(wide->c_str(), nullptr) != FALSE;
}

bool Delete(const std::string& path) {
  std::optional<std::wstring> wide = WidePath(path);
  return wide && DeleteFileW(wide->c_str()) != FALSE;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  std::optional<std::wstring> wideFrom = WidePath(from);
  std::optional<std::wstring> wideTo = wideFrom ? WidePath(to) : std::nullopt;
  return wideTo && MoveFileExW(wideFrom->c_str(), wideTo->c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool ChangeDirectory(const std::string& path) {
  std::optional<std::wstring> wide = WidePath(path);
  return wide && SetCurrentDirectoryW(wide->c_str()) != FALSE;
}

std::string ModulePath() {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  // A path that did not fit is cut short by the platform; its directory
  // part would name the wrong place.
  if (length == 0 || length >= MAX_PATH) return {};
  return GbkPath(std::wstring_view(path, length)).value_or(std::string());
}

std::optional<std::string> GbkPath(std::wstring_view path) {
  if (std::optional<std::string> gbk = text::GbkFromWide(path)) return gbk;
  std::wstring full(path);
  wchar_t shortPath[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(full.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return text::GbkFromWide(std::wstring_view(shortPath, length));
}

HANDLE FindFirst(const std::string& pattern, FoundEntry& entry) {
  std::optional<std::wstring> wide = WidePath(pattern);
  if (!wide) return INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(wide->c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) Take(data, entry);
  return search;
}

bool FindNext(HANDLE search, FoundEntry& entry) {
  WIN32_FIND_DATAW data;
  if (!FindNextFileW(search, &data)) return false;
  Take(data, entry);
  return true;
}

}  // namespace platform_files
