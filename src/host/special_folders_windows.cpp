#include "host/special_folders.h"

#include <iterator>

#include <windows.h>
#include <shlobj.h>

namespace {

// Kinds 1 to 8, in kind order.
constexpr int kShellFolders[] = {
    CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
    CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA,
};
constexpr int kWindowsDirectory = 9;
constexpr int kSystemDirectory = 10;
constexpr int kTempDirectory = 11;

// The directory as the platform reports it, or empty.
std::string PlatformDirectory(int kind) {
  char buffer[MAX_PATH] = {};
  if (kind >= 1 && kind <= static_cast<int>(std::size(kShellFolders))) {
    // Asking where a folder is must not make it.
    BOOL found = SHGetSpecialFolderPathA(nullptr, buffer, kShellFolders[kind - 1], FALSE);
    return found ? std::string(buffer) : std::string();
  }
  UINT length = 0;
  switch (kind) {
    case kWindowsDirectory: length = GetWindowsDirectoryA(buffer, MAX_PATH); break;
    case kSystemDirectory: length = GetSystemDirectoryA(buffer, MAX_PATH); break;
    case kTempDirectory: length = GetTempPathA(MAX_PATH, buffer); break;
    default: return {};
  }
  // 0 is a failure; a length of MAX_PATH or more is the size the path would
  // have needed, with nothing written.
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

}  // namespace

std::string GetSpecialDirectory(int kind) { return WithTrailingBackslash(PlatformDirectory(kind)); }
