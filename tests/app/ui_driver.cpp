// ui_driver demo INSTALLER OUTPUT_DIR
// Runs the installer as a player would for the demo: waits for its window,
// saves a screenshot, clicks "安装汉化", saves a screenshot of the window
// while its progress bar is part way, and one of the message it answers
// with, dismisses it and closes the installer.
#include <algorithm>
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

// For the terminal the demo runs in.
std::string Utf8(const std::wstring& text) {
  std::string utf8(text.size() * 3, '\0');
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                   static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(std::max(length, 0)));
  return utf8;
}

int Fail(const char* what) {
  std::fprintf(stderr, "ui_driver: %s\n", what);
  return 1;
}

}  // namespace

// The arguments come wide: the installer's path holds Chinese characters,
// which the system's code page may not have.
int wmain(int argc, wchar_t** argv) {
  if (argc != 4 || std::wstring(argv[1]) != L"demo") return Fail("usage: ui_driver demo INSTALLER OUTPUT_DIR");
  std::wstring exe = argv[2], out = argv[3];
  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  Installer installer(exe, folder);
  if (!installer.started()) return Fail("the installer did not start");
  HWND window = installer.MainWindow();
  if (window == nullptr) {
    Box box = installer.WaitForBox(2000);
    std::fprintf(stderr, "ui_driver: the installer answered: %s\n", Utf8(box.text).c_str());
    return Fail("no installer window");
  }
  Sleep(1000);  // the first paint
  RECT rect;
  GetWindowRect(window, &rect);
  SaveScreenRect(rect, out + L"\\window.bmp");
  std::printf("Window shown: %ld x %ld at (%ld, %ld)\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
              rect.top);
  Click(ButtonCaptioned(window, L"安装汉化"));
  ProgressBarSeen bar;
  for (int i = 0; i < 1200 && !(bar.filled > 0 && !bar.full()); ++i) {
    Sleep(50);
    bar = ReadProgressBar(window);
  }
  if (!bar.shown || bar.filled == 0) return Fail("no progress shown during the install");
  SaveScreenRect(rect, out + L"\\progress.bmp");
  std::printf("Mid-install: the bar %d of %d filled.\n", bar.filled, bar.width);
  Box box = installer.WaitForBox(60000);
  if (box.hwnd == nullptr) return Fail("no message after the install");
  SaveScreenRect(Union(window, box.hwnd), out + L"\\installed.bmp");
  std::printf("The installer answered with a message box.\n");
  installer.Dismiss(box);
  Sleep(1000);
  PostMessageW(window, WM_CLOSE, 0, 0);
  long status = installer.WaitForExit();
  std::printf("Installer exit status: %ld\n", status);
  return status == 0 ? 0 : 1;
}
