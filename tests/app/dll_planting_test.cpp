// DLLs planted in the game folder, as mod loaders leave proxy DLLs there,
// must not run inside the installer. Which DLLs the installer loads is read
// from Wine's loader trace of a real run; a DLL of ours goes into the game
// folder under each name that is not one of Windows' KnownDLLs, and Wine is
// told to prefer such files to its own, as Windows, which looks in a
// program's folder first, does. A DLL of ours that is loaded leaves a
// marker file beside itself. That planting works at all is shown first: a
// probe program in the game folder loads a planted DLL.
//
// Two steps, run one after the other by the script planted_dlls, which
// hands the names found by the first to the second in WINEDLLOVERRIDES.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "support/child_process.h"
#include "support/scratch.h"

namespace {

using testing_support::Exists;
using testing_support::HostPath;
using testing_support::ProgramRun;
using testing_support::ReadWholeFile;
using testing_support::RunProgram;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;
using namespace installer_driver;

// Windows 10's KnownDLLs: the Session Manager's list, the DLLs that the
// system maps into \KnownDlls with them because they import them, and ntdll,
// which is in every process before any search. Wine keeps no such list.
const std::set<std::string> kKnownDlls = {
    "advapi32.dll",     "bcryptprimitives.dll", "cfgmgr32.dll",   "clbcatq.dll",   "combase.dll",
    "comdlg32.dll",     "coml2.dll",            "difxapi.dll",    "gdi32.dll",     "gdi32full.dll",
    "gdiplus.dll",      "imagehlp.dll",         "imm32.dll",      "kernel.appcore.dll", "kernel32.dll",
    "kernelbase.dll",   "msctf.dll",            "msvcp_win.dll",  "msvcrt.dll",    "normaliz.dll",
    "nsi.dll",          "ntdll.dll",            "ole32.dll",      "oleaut32.dll",  "powrprof.dll",
    "profapi.dll",      "psapi.dll",            "rpcrt4.dll",     "sechost.dll",   "setupapi.dll",
    "shcore.dll",       "shell32.dll",          "shlwapi.dll",    "ucrtbase.dll",  "user32.dll",
    "win32u.dll",       "windows.storage.dll",  "wldap32.dll",    "wow64.dll",     "wow64win.dll",
    "ws2_32.dll",
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The DLL file names that process loaded, from Wine's loader trace with
// process ids, whose lines read
//   0104:0108:trace:loaddll:build_module Loaded L"C:\\windows\\system32\\msimg32.dll" at ...: builtin
// (the shortcut's helper, winemenubuilder, traces into the same file).
std::set<std::string> LoadedDlls(const std::string& trace, DWORD process) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%04lx:", static_cast<unsigned long>(process));
  std::set<std::string> names;
  std::istringstream lines(trace);
  const std::string opening = "trace:loaddll:build_module Loaded L\"";
  for (std::string line; std::getline(lines, line);) {
    std::size_t at = line.find(opening);
    if (line.rfind(prefix, 0) != 0 || at == std::string::npos) continue;
    std::size_t start = at + opening.size();
    std::string path = line.substr(start, line.find('"', start) - start);
    std::string name = Lower(path.substr(path.find_last_of('\\') + 1));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) names.insert(name);
  }
  return names;
}

std::string Joined(const std::set<std::string>& names, const char* separator) {
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty()) joined += separator;
    joined += name;
  }
  return joined;
}

class PlantedDlls : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = game_ / "setup.exe";
    ASSERT_TRUE(CopyFileA(HostPath(INSTALLER_EXE).c_str(), exe_.c_str(), FALSE));
    WriteWholeFile(game_ / "evimage.xp3", "game data");
    ASSERT_TRUE(WriteArchive(game_ / "dt.bin",
                             {{"video/brivanop_chs.wmv", "movie"}, {"data/", "", true}, {"data/scenario.txt", "x"}}));
    DeleteFileW(DesktopShortcut().c_str());
  }
  void TearDown() override { DeleteFileW(DesktopShortcut().c_str()); }

  // Start-up, a full install and an uninstall, as a player goes through
  // them; what did not go as it should, in words. The process id goes to
  // process.
  std::vector<std::string> RunThrough(const StartOptions& options, DWORD* process = nullptr) {
    Installer installer(exe_, elsewhere_.path(), options);
    if (process != nullptr) *process = installer.processId();
    HWND window = installer.started() ? installer.MainWindow() : nullptr;
    if (window == nullptr) return {"no installer window"};
    std::vector<std::string> faults;
    // The pointer over a button lights it up, which asks the system for the
    // notice that it left (comctl32).
    HWND install = ButtonCaptioned(window, L"安装汉化");
    RECT r;
    GetWindowRect(install, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(500);
    Click(install);
    Box installed = installer.WaitForBox(60000);
    if (installed.text != L"汉化安装成功，请运行桌面的快捷方式进入游戏") faults.push_back("install: another message");
    installer.Dismiss(installed);
    for (int i = 0; i < 100 && !Exists(DesktopShortcut()); ++i) Sleep(50);
    if (!Exists(DesktopShortcut())) faults.push_back("no shortcut");
    Click(ButtonCaptioned(window, L"卸载汉化"));
    Box uninstalled = installer.WaitForBox(60000);
    if (uninstalled.text != L"《Velmora》汉化卸载成功，感谢使用！") faults.push_back("uninstall: another message");
    installer.Dismiss(uninstalled);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (installer.WaitForExit() != 0) faults.push_back("no clean exit");
    return faults;
  }

  ScratchDirectory game_;
  ScratchDirectory elsewhere_;
  std::string exe_;
};

// Step 1: the names to plant, into PLANT_LIST as Wine's override list wants
// them ("comctl32,msimg32,...").
TEST_F(PlantedDlls, TraceWhatTheInstallerLoads) {
  // Wine hands WINEDEBUG on to the Unix side of the program it starts, whose
  // standard error the runner sends to LOADER_TRACE.
  DWORD process = 0;
  std::vector<std::string> faults = RunThrough({{"WINEDEBUG=+pid,+loaddll"}}, &process);
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
  std::set<std::string> loaded = LoadedDlls(ReadWholeFile(HostPath(LOADER_TRACE)), process);
  // Without the trace the test would prove nothing.
  ASSERT_TRUE(loaded.count("kernel32.dll")) << "no loader trace of the installer in " << LOADER_TRACE;
  std::set<std::string> planted;
  for (const std::string& name : loaded)
    if (!kKnownDlls.count(name)) planted.insert(name.substr(0, name.size() - 4));
  std::printf("The installer loads: %s\nNot known to Windows, so planted: %s\n", Joined(loaded, " ").c_str(),
              Joined(planted, " ").c_str());
  ASSERT_FALSE(planted.empty());
  WriteWholeFile(HostPath(PLANT_LIST), Joined(planted, ","));
}

// Step 2, with WINEDLLOVERRIDES naming those DLLs native-first.
TEST_F(PlantedDlls, NoneRunsInsideTheInstaller) {
  const std::string names = ReadWholeFile(HostPath(PLANT_LIST));
  const char* overrides = std::getenv("WINEDLLOVERRIDES");
  ASSERT_TRUE(overrides != nullptr && std::string(overrides).find(names + "=n,b") != std::string::npos)
      << "run by tests/app/planted_dlls, which sets WINEDLLOVERRIDES";
  std::set<std::string> planted;
  std::istringstream list(names);
  for (std::string name; std::getline(list, name, ',');) {
    planted.insert(name);
    ASSERT_TRUE(CopyFileA(HostPath(PLANTED_DLL).c_str(), (game_ / (name + ".dll")).c_str(), FALSE)) << name;
  }

  // Without planting that works the installer would pass for nothing: a
  // program that does not keep the game folder out loads what lies there.
  const std::string probe = game_ / "probe.exe";
  const std::string control = *planted.begin() + ".dll";
  ASSERT_TRUE(CopyFileA(HostPath(PLANTING_PROBE).c_str(), probe.c_str(), FALSE));
  ProgramRun run = RunProgram("\"" + probe + "\" " + control, elsewhere_.path().c_str());
  ASSERT_TRUE(run.started && run.exitCode == 0) << "the probe could not load " << control << ": " << run.output;
  ASSERT_TRUE(Exists(game_ / (control + ".loaded")))
      << "a program in the game folder loaded " << control << " but not the planted copy: planting does not work";
  ASSERT_TRUE(DeleteFileA((game_ / (control + ".loaded")).c_str()));

  std::vector<std::string> faults = RunThrough({});

  std::set<std::string> loaded;
  for (const std::string& name : planted)
    if (Exists(game_ / (name + ".dll.loaded"))) loaded.insert(name + ".dll");
  EXPECT_TRUE(loaded.empty()) << "planted DLLs ran inside the installer: " << Joined(loaded, ", ");
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

}  // namespace
