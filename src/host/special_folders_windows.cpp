#include "host/special_folders.h"

#include <iterator>

#include <windows.h>
#include <shlobj.h>

#include "host/platform_files.h"

namespace {

// Kinds 1 to 8, in kind order.
constexpr int kShellFolders[] = {
    CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
    CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA,
};
constexpr int kWindowsDirectory = 9;
constexpr int kSystemDirectory = 10;
constexpr int kTempDirectory = 11;

// The directory as the platform reports it, in UTF-16, or empty.
std::wstring WidePlatformDirectory(int kind) {
  wchar_t buffer[MAX_PATH] = {};
  if (kind >= 1 && kind <= static_cast<int>(std::size(kShellFolders))) {
    // Asking where a folder is must not make it.
    BOOL found = SHGetSpecialFolderPathW(nullptr, buffer, kShellFolders[kind - 1], FALSE);
    return found ? std::wstring(buffer) : std::wstring();
  }
  UINT length = 0;
  switch (kind) {
    case kWindowsDirectory: length = GetWindowsDirectoryW(buffer, MAX_PATH); break;
    case kSystemDirectory: length = GetSystemDirectoryW(buffer, MAX_PATH); break;
    case kTempDirectory: length = GetTempPathW(MAX_PATH, buffer); break;
    default: return {};
  }
  // 0 is a failure; a length of MAX_PATH or more is the size the path would
  // have needed, with nothing written.
  return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

// The directory in GBK; empty when GBK cannot spell it in any form.
std::string PlatformDirectory(int kind) {
  const std::wstring wide = WidePlatformDirectory(kind);
  return wide.empty() ? std::string() : platform_files::GbkPath(wide).value_or(std::string());
}

}  // namespace

std::string GetSpecialDirectory(int kind) { return WithTrailingBackslash(PlatformDirectory(kind)); }
