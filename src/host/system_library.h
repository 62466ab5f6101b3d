// Keeping DLLs that lie beside the installer out of its process. Players
// start it from the game folder, which mod loaders fill with proxy DLLs
// (version.dll, winmm.dll, d3d9.dll, ...), and the platform looks in a
// program's own folder first for every DLL that is not one of its KnownDLLs.
#pragma once

#include <windows.h>

// Limits every later DLL load by bare name, the platform's own included, to
// the system directory. Called first thing in the entry, before anything
// loads a DLL by name.
void RestrictDllSearchToSystem();

// The system directory's copy of library (a bare file name), loaded by full
// path and kept for the rest of the process; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* library);

// A function of a system DLL that is not among the KnownDLLs, which the
// program therefore does not import; null when the system lacks it.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
  return module == nullptr ? nullptr : reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
