// Stands in for the game while it runs: started as brivan_chs.exe from the
// game folder, it holds that file, as a running program does, until it is
// ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(INFINITE);
  return 0;
}
