/* A DLL of ours, planted beside the installer under the name of a DLL that
 * the installer loads, as a mod loader's proxy DLL lies in a game folder.
 * Loaded into a process, it leaves the file "<its own path>.loaded". */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    WCHAR marker[MAX_PATH + 8];
    DWORD length = GetModuleFileNameW(instance, marker, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      lstrcpyW(marker + length, L".loaded");
      HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return TRUE;
}
