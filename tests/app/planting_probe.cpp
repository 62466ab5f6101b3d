// A program in the game folder that loads one DLL by its bare name through
// the default search order, as a game or a mod loader does: where planting
// works, the copy planted beside it is the one it loads.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  return LoadLibraryW(argv[1]) != nullptr ? 0 : 1;
}
