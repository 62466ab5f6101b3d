/* Stands in for the localised game executable when the build is given none. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  MessageBoxW(NULL, L"这是汉化版《Velmora》的替身程序：真正的游戏程序在构建时提供。", L"《Velmora》",
              MB_OK | MB_ICONINFORMATION);
  return 0;
}
