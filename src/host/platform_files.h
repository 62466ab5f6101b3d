// kernel32's file calls by GBK path: each converts its paths from code page
// 936 and calls the wide function, and each name the platform hands back is
// converted to code page 936, so that a name means the same file whatever the
// system's code page. A path that is not valid GBK names no file, and a name
// that code page 936 cannot spell is never handed on in another spelling: the
// call fails instead (ERROR_NO_UNICODE_TRANSLATION), touching nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

namespace platform_files {

// CreateFileW, without security attributes or template: an open handle, or
// INVALID_HANDLE_VALUE.
HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// GetFileAttributesW: INVALID_FILE_ATTRIBUTES when there is nothing there.
DWORD Attributes(const std::string& path);
bool SetAttributes(const std::string& path, DWORD attributes);
// CreateDirectoryW with default security: the last level only.
bool NewDirectory(const std::string& path);
bool Delete(const std::string& path);
// MoveFileExW with MOVEFILE_REPLACE_EXISTING.
bool MoveReplacing(const std::string& from, const std::string& to);
bool ChangeDirectory(const std::string& path);

// The program's own full path; empty when it does not fit the platform's
// path limit or code page 936 cannot spell it, even in its short form.
std::string ModulePath();

// A path the platform gave (a folder of the shell, the program's own) in
// GBK: as it is, or where code page 936 cannot spell it (an "é" in a user's
// name, on a Western system) its short 8.3 form, when that exists and can be.
std::optional<std::string> GbkPath(std::wstring_view path);

// One entry of a file search: its attributes and its name, which is nothing
// when code page 936 cannot spell it.
struct FoundEntry {
  DWORD attributes = 0;
  std::optional<std::string> name;
};

// FindFirstFileW: the search, with its first entry, or INVALID_HANDLE_VALUE.
HANDLE FindFirst(const std::string& pattern, FoundEntry& entry);
// FindNextFileW: false when no entry is left.
bool FindNext(HANDLE search, FoundEntry& entry);

}  // namespace platform_files
