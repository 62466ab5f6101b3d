#include "host/system_library.h"

#include <string>

namespace {

// Windows 8 and later, and Windows 7 with KB2533623; looked up at run time so
// that the program still starts on a Windows 7 without that update.
using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD directoryFlags);

}  // namespace

void RestrictDllSearchToSystem() {
  // kernel32 is loaded in every process, so asking for it loads nothing.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto* setDefaultDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction*>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefaultDirectories != nullptr) setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Where the call above is missing this at least takes the current
  // directory out of the search.
  SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* library) {
  wchar_t directory[MAX_PATH];
  UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(directory, length);
  path += L'\\';
  path += library;
  // Altered search: the library's own imports are looked for in the system
  // directory, not in the program's folder, even without the restriction.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
