// ui_driver demo INSTALLER OUTPUT_DIR
// Runs the installer as a player would for the demo: waits for its window,
// saves a screenshot, clicks "安装汉化", saves a screenshot of the window
// while its progress bar is part way, and one of the message it answers
// with, dismisses it and closes the installer.
#include <cstdio>
#include <string>

#include "installer_driver.h"

using namespace installer_driver;

namespace {

RECT Union(HWND a, HWND b) {
  RECT ra{}, rb{}, both{};
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  UnionRect(&both, &ra, &rb);
  return both;
}

int Fail(const char* what) {
  std::fprintf(stderr, "ui_driver: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "demo") return Fail("usage: ui_driver demo INSTALLER OUTPUT_DIR");
  std::string exe = argv[2], out = argv[3];
  std::string folder = exe.substr(0, exe.find_last_of('\\'));
  Installer installer(exe, folder);
  if (!installer.started()) return Fail("the installer did not start");
  HWND window = installer.MainWindow();
  if (window == nullptr) {
    Box box = installer.WaitForBox(2000);
    std::fprintf(stderr, "ui_driver: the installer answered: %s\n", box.text.c_str());
    return Fail("no installer window");
  }
  Sleep(1000);  // the first paint
  RECT rect;
  GetWindowRect(window, &rect);
  SaveScreenRect(rect, out + "\\window.bmp");
  std::printf("Window shown: %ld x %ld at (%ld, %ld)\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
              rect.top);
  Click(ButtonCaptioned(window, Ansi("安装汉化")));
  ProgressBarSeen bar;
  for (int i = 0; i < 1200 && !(bar.filled > 0 && !bar.full()); ++i) {
    Sleep(50);
    bar = ReadProgressBar(window);
  }
  if (!bar.shown || bar.filled == 0) return Fail("no progress shown during the install");
  SaveScreenRect(rect, out + "\\progress.bmp");
  std::printf("Mid-install: the bar %d of %d filled.\n", bar.filled, bar.width);
  Box box = installer.WaitForBox(60000);
  if (box.hwnd == nullptr) return Fail("no message after the install");
  SaveScreenRect(Union(window, box.hwnd), out + "\\installed.bmp");
  std::printf("The installer answered with a message box.\n");
  installer.Dismiss(box);
  Sleep(1000);
  PostMessageA(window, WM_CLOSE, 0, 0);
  long status = installer.WaitForExit();
  std::printf("Installer exit status: %ld\n", status);
  return status == 0 ? 0 : 1;
}
