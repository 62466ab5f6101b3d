// The real installer, started as a player starts it, driven from outside as
// a player drives it: its window found by caption, its buttons clicked, every
// message box read and dismissed, the game folder checked on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "install_failure.h"
#include "installer_driver.h"
#include "support/scratch.h"

namespace {

using testing_support::Exists;
using testing_support::FileContentsUnder;
using testing_support::HostPath;
using testing_support::ReadWholeFile;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;
using namespace installer_driver;

class InstallerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = game_ / "setup.exe";
    ASSERT_TRUE(CopyFileA(HostPath(INSTALLER_EXE).c_str(), exe_.c_str(), FALSE));
    DeleteFileW(DesktopShortcut().c_str());
  }
  void TearDown() override { DeleteFileW(DesktopShortcut().c_str()); }

  void MakeGameFolder() {
    WriteWholeFile(game_ / "evimage.xp3", "game data");
    WriteWholeFile(game_ / "patch.xp3", "stale patch");
    ASSERT_TRUE(WriteArchive(game_ / "dt.bin", archive_));
  }

  // Starts the installer from another directory, as a shortcut would.
  Installer Start() { return Installer(exe_, elsewhere_.path()); }

  const std::vector<ArchiveEntry> archive_ = {{"patch_chs.xp3", std::string(50000, 'p')},
                                              {"video/brivanop_chs.wmv", "movie"},
                                              {"data/", "", true},
                                              {"data/readme.txt", "hello"}};

  ScratchDirectory game_;
  ScratchDirectory elsewhere_;
  std::string exe_;
};

struct Rejection {
  bool archive;
  bool imageArchive;
  const wchar_t* message;
};

TEST_F(InstallerEndToEnd, RejectsAFolderThatIsNotTheGameFolder) {
  const Rejection cases[] = {
      {false, true, L"没有找到所需要的补丁文件，请确认补丁文件是否完整"},
      {true, false,
       L"请把该补丁放到《Velmora》的游戏目录下运行安装\r\n或者你还没有安装游戏\r\n请安装游戏后再安装本汉化补丁"},
      {false, false, L"没有找到所需要的补丁文件，请确认补丁文件是否完整"},
  };
  for (const Rejection& c : cases) {
    DeleteFileA((game_ / "dt.bin").c_str());
    DeleteFileA((game_ / "evimage.xp3").c_str());
    if (c.archive) WriteWholeFile(game_ / "DT.BIN", "not even a zip");
    if (c.imageArchive) WriteWholeFile(game_ / "evimage.xp3", "game data");
    Installer installer = Start();
    ASSERT_TRUE(installer.started());
    Box box = installer.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr) << c.message;
    EXPECT_EQ(box.text, c.message);
    EXPECT_EQ(box.caption, L"没有找到文件");
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_FALSE(installer.MainWindowVisible());
    installer.Dismiss(box);
    EXPECT_EQ(installer.WaitForExit(), 0) << c.message;
    DeleteFileA((game_ / "DT.BIN").c_str());
  }
}

TEST_F(InstallerEndToEnd, InstallsUninstallsAndCloses) {
  MakeGameFolder();
  Installer installer = Start();
  ASSERT_TRUE(installer.started());
  HWND window = installer.MainWindow();
  ASSERT_NE(window, nullptr);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 794);
  EXPECT_EQ(r.bottom - r.top, 473);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 794) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 473) / 2);

  Click(ButtonCaptioned(window, L"安装汉化"));
  Box installed = installer.WaitForBox(30000);
  EXPECT_EQ(installed.text, L"汉化安装成功，请运行桌面的快捷方式进入游戏");
  EXPECT_EQ(installed.caption, L"成功啦");
  EXPECT_EQ(installed.icon, Icon::Information);
  EXPECT_EQ(ReadWholeFile(game_ / "patch_chs.xp3"), std::string(50000, 'p'));
  EXPECT_EQ(ReadWholeFile(game_ / "video\\brivanop_chs.wmv"), "movie");
  EXPECT_EQ(ReadWholeFile(game_ / "data\\readme.txt"), "hello");
  EXPECT_FALSE(Exists(game_ / "patch.xp3"));
  EXPECT_TRUE(ReadWholeFile(game_ / "brivan_chs.exe") == ReadWholeFile(HostPath(PAYLOAD_GAME_EXE_FILE)));
  EXPECT_TRUE(ReadWholeFile(game_ / "KrkrUniversalPatch.dll") == ReadWholeFile(HostPath(PAYLOAD_PATCH_DLL_FILE)));
  // The shortcut follows the message, once the player has read it.
  EXPECT_FALSE(Exists(DesktopShortcut()));
  installer.Dismiss(installed);
  for (int i = 0; i < 100 && !Exists(DesktopShortcut()); ++i) Sleep(50);
  EXPECT_TRUE(Exists(DesktopShortcut()));

  Click(ButtonCaptioned(window, L"卸载汉化"));
  Box uninstalled = installer.WaitForBox(30000);
  EXPECT_EQ(uninstalled.text, L"《Velmora》汉化卸载成功，感谢使用！");
  EXPECT_EQ(uninstalled.caption, L"成功");
  EXPECT_FALSE(Exists(game_ / "brivan_chs.exe"));
  EXPECT_FALSE(Exists(game_ / "KrkrUniversalPatch.dll"));
  EXPECT_FALSE(Exists(game_ / "video\\brivanop_chs.wmv"));
  EXPECT_TRUE(Exists(game_ / "evimage.xp3"));
  installer.Dismiss(uninstalled);

  Click(ButtonCaptioned(window, L"卸载汉化"));
  Box notInstalled = installer.WaitForBox(30000);
  EXPECT_EQ(notInstalled.text, L"您还没有安装汉化");
  EXPECT_EQ(notInstalled.caption, L"错误");
  EXPECT_EQ(notInstalled.icon, Icon::Information);
  installer.Dismiss(notInstalled);

  // Esc closes the window and ends the program.
  PostMessageW(ButtonCaptioned(window, L"卸载汉化"), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(installer.WaitForExit(), 0);
}

// Explorer's "Compressed (zipped) folder" on a Chinese Windows: files only,
// in folders that no entry lists, names in the code page, made on MS-DOS.
TEST_F(InstallerEndToEnd, InstallsAnArchiveMadeByExplorer) {
  WriteWholeFile(game_ / "evimage.xp3", "game data");
  std::string picture(30000, 'b');
  ASSERT_TRUE(WriteArchive(game_ / "dt.bin", {{"patch_chs.xp3", "patch"},
                                              {Gbk("数据/剧本/第一章/开场.ks"), "*start"},
                                              {Gbk("数据/剧本/第二章.ks"), "*second"},
                                              {"data/image/ui/button.png", picture},
                                              {"video/brivanop_chs.wmv", "movie"}}));
  Installer installer = Start();
  HWND window = installer.MainWindow();
  ASSERT_NE(window, nullptr);
  Click(ButtonCaptioned(window, L"安装汉化"));
  Box installed = installer.WaitForBox(30000);
  EXPECT_EQ(installed.text, L"汉化安装成功，请运行桌面的快捷方式进入游戏");
  EXPECT_EQ(ReadWholeFile(game_ / "patch_chs.xp3"), "patch");
  EXPECT_EQ(ReadWholeFile(game_ / Gbk("数据\\剧本\\第一章\\开场.ks")), "*start");
  EXPECT_EQ(ReadWholeFile(game_ / Gbk("数据\\剧本\\第二章.ks")), "*second");
  EXPECT_TRUE(ReadWholeFile(game_ / "data\\image\\ui\\button.png") == picture);
  EXPECT_EQ(ReadWholeFile(game_ / "video\\brivanop_chs.wmv"), "movie");
  EXPECT_TRUE(Exists(game_ / "brivan_chs.exe"));
  installer.Dismiss(installed);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.WaitForExit(), 0);
}

TEST_F(InstallerEndToEnd, ADamagedArchiveIsReportedAndGetsNoShortcut) {
  MakeGameFolder();
  std::string archive = ReadWholeFile(game_ / "dt.bin");
  archive[60] = static_cast<char>(archive[60] ^ 0x55);  // inside the first entry's data
  WriteWholeFile(game_ / "dt.bin", archive);
  Installer installer = Start();
  ExpectInstallFails(installer);
}

// The installer as it ships, with payloads of the real sizes (35 MB and
// 120 KB): it installs them whole. How long it takes to show its window is
// printed beside the small image's, the best of three starts each.
TEST_F(InstallerEndToEnd, TheImageAsItShipsInstallsItsPayloadsWhole) {
  MakeGameFolder();
  const auto startUp = [this](const char* image) {
    EXPECT_TRUE(CopyFileA(HostPath(image).c_str(), exe_.c_str(), FALSE));
    long best = -1;
    for (int run = 0; run < 3; ++run) {
      const auto started = std::chrono::steady_clock::now();
      Installer installer = Start();
      HWND window = installer.MainWindow();
      const auto shown = std::chrono::steady_clock::now();
      EXPECT_NE(window, nullptr) << image;
      using std::chrono::milliseconds;
      const long took = static_cast<long>(std::chrono::duration_cast<milliseconds>(shown - started).count());
      if (best < 0 || took < best) best = took;
      PostMessageW(window, WM_CLOSE, 0, 0);
      EXPECT_EQ(installer.WaitForExit(), 0) << image;
    }
    return best;
  };
  const long small = startUp(INSTALLER_EXE);
  const long full = startUp(FULL_SIZE_INSTALLER_EXE);
  std::printf("Start-up to the window shown, under Wine: small image (%ld bytes) %ld ms, "
              "the image as it ships (%ld bytes) %ld ms, %.2f times as long\n",
              static_cast<long>(ReadWholeFile(HostPath(INSTALLER_EXE)).size()), small,
              static_cast<long>(ReadWholeFile(exe_).size()), full, small > 0 ? double(full) / small : 0.0);

  Installer installer = Start();
  HWND window = installer.MainWindow();
  ASSERT_NE(window, nullptr);
  Click(ButtonCaptioned(window, L"安装汉化"));
  Box installed = installer.WaitForBox(60000);
  EXPECT_EQ(installed.text, L"汉化安装成功，请运行桌面的快捷方式进入游戏");
  // Compared whole, but not printed: 35 MB.
  EXPECT_TRUE(ReadWholeFile(game_ / "brivan_chs.exe") == ReadWholeFile(HostPath(FULL_SIZE_GAME_EXE_FILE)));
  EXPECT_TRUE(ReadWholeFile(game_ / "KrkrUniversalPatch.dll") == ReadWholeFile(HostPath(FULL_SIZE_PATCH_DLL_FILE)));
  installer.Dismiss(installed);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.WaitForExit(), 0);
}

// The game, running from the game folder, holds its executable until it ends.
class RunningGame {
 public:
  explicit RunningGame(std::string exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    exe = "\"" + exe + "\"";
    started_ = CreateProcessA(nullptr, exe.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process_) != FALSE;
    Sleep(1000);  // until it has mapped its executable
  }
  ~RunningGame() {
    if (!started_) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  RunningGame(const RunningGame&) = delete;
  RunningGame& operator=(const RunningGame&) = delete;
  bool started() const { return started_; }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

TEST_F(InstallerEndToEnd, TheRunningGameKeepsItsExecutableAndTheInstallSaysSo) {
  MakeGameFolder();
  const std::string game = ReadWholeFile(HostPath(RUNNING_GAME_EXE));
  WriteWholeFile(game_ / "brivan_chs.exe", game);
  RunningGame running(game_ / "brivan_chs.exe");
  ASSERT_TRUE(running.started());
  const FolderFiles before = FileContentsUnder(game_.path());

  Installer installer = Start();
  ExpectInstallFails(installer);

  EXPECT_TRUE(ReadWholeFile(game_ / "brivan_chs.exe") == game) << "the running game's executable was replaced";
  const FolderFiles intended = InstalledFiles(archive_, ReadWholeFile(HostPath(PAYLOAD_GAME_EXE_FILE)),
                                              ReadWholeFile(HostPath(PAYLOAD_PATCH_DLL_FILE)));
  EXPECT_EQ(CutLeftOrLost(before, FileContentsUnder(game_.path()), intended), std::vector<std::string>{});
}

}  // namespace
