// Started by open_url_test through the shell's "open" verb. Leaves a marker
// file where VELMORA_OPEN_URL_MARKER says, complete before it has its name.
#include <string>

#include <windows.h>

int main() {
  char marker[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("VELMORA_OPEN_URL_MARKER", marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string partial = std::string(marker) + ".partial";
  HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(file);
  return MoveFileA(partial.c_str(), marker) ? 0 : 1;
}
