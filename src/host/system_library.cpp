#include "host/system_library.h"

#include <string>

#include "host/wide_text.h"

namespace {

// 本程序无法在此系统上运行，系统缺少函数 
constexpr char kSystemFunctionMissing[] =
    "\xb1\xbe\xb3\xcc\xd0\xf2\xce\xde\xb7\xa8\xd4\xda\xb4\xcb\xcf\xb5\xcd\xb3\xc9\xcf\xd4\xcb\xd0\xd0\xa3\xac\xcf\xb5"
    "\xcd\xb3\xc8\xb1\xc9\xd9\xba\xaf\xca\xfd ";
// 错误
constexpr char kErrorCaption[] = "\xb4\xed\xce\xf3";

// Windows 8 and later, and Windows 7 with KB2533623; looked up at run time so
// that the program still starts on a Windows 7 without that update.
using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD directoryFlags);

[[noreturn]] void SystemFunctionMissing(const ImportSlot& import) {
  std::wstring text = text::WideForDisplay(kSystemFunctionMissing);
  text += import.library;
  text += L'!';
  text += text::WideForDisplay(import.function);
  // Looked up directly: its own slot may be the one that cannot be bound.
  if (auto* messageBox = SystemFunction<decltype(MessageBoxW)>(L"user32.dll", "MessageBoxW")) {
    messageBox(nullptr, text.c_str(), text::WideForDisplay(kErrorCaption).c_str(), MB_ICONHAND);
  }
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

void RestrictDllSearchToSystem() {
  // kernel32 is loaded in every process, so asking for it loads nothing.
  auto* setDefaultDirectories = ModuleFunction<SetDefaultDllDirectoriesFunction>(
      GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
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

void* BindImportSlot(const ImportSlot* import) {
  if (*import->module == nullptr) *import->module = LoadSystemLibrary(import->library);
  HMODULE module = *import->module;
  FARPROC function = module == nullptr ? nullptr : GetProcAddress(module, import->function);
  if (function == nullptr) SystemFunctionMissing(*import);
  *import->slot = reinterpret_cast<void*>(function);
  return *import->slot;
}
