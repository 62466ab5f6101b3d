// Drives the real installer from outside, as a player would: starts it,
// finds its window and its message boxes, clicks, reads and dismisses them.
// Shared by the end-to-end tests and the demo. Texts are read through the
// wide functions, as the system and accessibility tools read them, so that
// the driver sees the same in every locale.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace installer_driver {

// A UTF-8 text in GBK, as the program carries its texts and names its files.
std::string Gbk(const char* utf8);

// The installer window's title.
const std::wstring& WindowCaption();

enum class Icon { None, Exclamation, Information, Hand };

struct Box {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;
  Icon icon = Icon::None;
};

std::wstring TextOf(HWND hwnd);

// How the installer is started beyond its folder: variables set in its
// environment on top of this process's own ("NAME=value" each).
struct StartOptions {
  std::vector<std::string> environment;
};

class Installer {
 public:
  Installer(const std::wstring& exe, const std::wstring& currentDirectory, const StartOptions& options = {});
  // The same for paths in GBK.
  Installer(const std::string& exe, const std::string& currentDirectory, const StartOptions& options = {});
  ~Installer();
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  bool started() const { return started_; }
  DWORD processId() const { return process_.dwProcessId; }
  // The next message box of the installer within the timeout (hwnd null when none came).
  Box WaitForBox(DWORD timeoutMs = 20000);
  // Presses OK and waits until the box is gone.
  void Dismiss(const Box& box);
  // The installer's main window once it is visible, or null.
  HWND MainWindow(DWORD timeoutMs = 20000);
  bool MainWindowVisible() const;
  // Exit status, or -2 when it did not end in time.
  long WaitForExit(DWORD timeoutMs = 20000);

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

// Presses the box's OK without waiting for it to go.
void PressOk(const Box& box);

HWND ButtonCaptioned(HWND window, const std::wstring& caption);
void Click(HWND button);

// The desktop shortcut that a successful install makes.
std::wstring DesktopShortcut();

struct ArchiveEntry {
  std::string name;
  std::string data;
  bool directory = false;
};
// A ZIP archive of the entries, as a patch archive is made.
bool WriteArchive(const std::string& path, const std::vector<ArchiveEntry>& entries);

// Files by path relative to the game folder ("data\\x.txt"), with their bytes.
using FolderFiles = std::map<std::string, std::string>;

// What an install writes into the game folder: the archive's files and the
// two payloads, with the bytes it writes.
FolderFiles InstalledFiles(const std::vector<ArchiveEntry>& archive, const std::string& gameExe,
                           const std::string& patchDll);

// The files in after that are neither as they were before nor whole as the
// install writes them (intended), and those of before that are gone though
// the install does not remove them: cut files, leftovers, losses. patch.xp3
// is removed on purpose.
std::vector<std::string> CutLeftOrLost(const FolderFiles& before, const FolderFiles& after,
                                       const FolderFiles& intended);

// Saves what the screen shows of rect as a 24-bit BMP file.
bool SaveScreenRect(const RECT& rect, const std::wstring& path);

// How long the window took to answer WM_NULL sent as the system sends it
// before it calls a window hung (SMTO_ABORTIFHUNG), in milliseconds; -1 when
// it gave no answer within two seconds.
long AnswerTime(HWND window);

// The install's progress bar below the window's buttons, as the screen shows
// it: whether it is there, and how many of its inner columns are filled.
struct ProgressBarSeen {
  bool shown = false;
  int filled = 0;
  int width = 0;
  bool full() const { return shown && filled == width; }
};
ProgressBarSeen ReadProgressBar(HWND window);

// Whether every button of the window is disabled.
bool ButtonsDisabled(HWND window);

}  // namespace installer_driver
