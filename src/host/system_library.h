// Keeping DLLs that lie beside the installer out of its process. Players
// start it from the game folder, which mod loaders fill with proxy DLLs
// (version.dll, winmm.dll, d3d9.dll, ...), and the platform looks in a
// program's own folder first for every DLL that is not one of its KnownDLLs.
#pragma once

#include <type_traits>

#include <windows.h>

// Limits every later DLL load by bare name, the platform's own included, to
// the system directory. Called first thing in the entry, before anything
// loads a DLL by name.
void RestrictDllSearchToSystem();

// The system directory's copy of library (a bare file name), loaded by full
// path and kept for the rest of the process; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* library);

// Whether Function is declared WINAPI (stdcall), as every system function
// this program looks up is. On i686 a pointer of another convention calls
// the function with the stack the callee does not expect; on x86_64 there
// is one convention and every function type passes.
template <typename Function>
struct IsWinapi : std::false_type {};
template <typename Result, typename... Arguments>
struct IsWinapi<Result WINAPI(Arguments...)> : std::true_type {};

// A function of a loaded module, typed as the system declares it: Function
// is the declaration's own type, decltype(_TrackMouseEvent) say, never one
// written again by hand. Null when the module lacks it.
template <typename Function>
Function* ModuleFunction(HMODULE module, const char* name) {
  static_assert(IsWinapi<Function>::value, "a system function is declared WINAPI");
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A function of a system DLL that is not among the KnownDLLs, which the
// program therefore does not import; null when the system lacks it.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  return ModuleFunction<Function>(LoadSystemLibrary(library), name);
}

// One function of a system DLL that the installer calls without importing
// it (app/system_imports.txt). The compiler calls it through slot, which
// holds a stub of the installer's own until the first call; the stub hands
// this record to BindImportSlot.
struct ImportSlot {
  void** slot;
  const char* function;
  const wchar_t* library;
  HMODULE* module;  // the library's handle, null until one of its functions loaded it
};

// Loads the DLL from the system directory, puts the function in its slot
// and returns it, for the stub to jump to. Where the system lacks it the
// player is told which function is missing and the process ends with
// status -1: there is nothing to call.
extern "C" void* BindImportSlot(const ImportSlot* import);
