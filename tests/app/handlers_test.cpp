// The installer's handlers on the real form, with the message box and the
// pauses observed through their seams. This program lives in a folder of its
// own, which is its run directory: the game folder of these tests.
#include "app/handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form_ids.h"
#include "app/program_types.h"
#include "assets/constant_pool.h"
#include "assets/form_block.h"
#include "form/engine/engine_start.h"
#include "form/engine/loader.h"
#include "host/file_services.h"
#include "host/message_box.h"
#include "installer_driver.h"
#include "support/scratch.h"

namespace {

using installer_driver::Gbk;
using testing_support::Exists;
using testing_support::ReadWholeFile;
using testing_support::WriteWholeFile;

// Everything the handlers did that a player would notice, in order.
std::vector<std::string> happened;

bool ButtonsEnabled() {
  bool all = true;
  for (UnitId b : {form_ids::kUninstallButton, form_ids::kForumButton, form_ids::kInstallButton})
    all &= IsWindowEnabled(GetUnitObject(form_ids::kStartWindow, b).hwnd) != FALSE;
  return all;
}

int RecordBox(const char* text, const char* caption, UINT flags) {
  char line[64];
  std::snprintf(line, sizeof line, " flags=%#x buttons=%s shortcut=%s", flags, ButtonsEnabled() ? "on" : "off",
                Exists(installer_driver::DesktopShortcut()) ? "yes" : "no");
  happened.push_back(std::string("box ") + caption + "|" + text + line);
  return IDOK;
}

void RecordDelay(DWORD milliseconds, const KeepAlive*) { happened.push_back("delay " + std::to_string(milliseconds)); }

std::string Box(const char* caption, const char* text, const char* rest) {
  return "box " + Gbk(caption) + "|" + Gbk(text) + rest;
}

// A failed install: the two pauses, then the failure message while the
// buttons are off, and no shortcut.
std::vector<std::string> InstallFailed() {
  return {"delay 3000", "delay 3000",
          Box("错误", "汉化安装失败，请确认补丁文件完整、游戏未在运行并且磁盘空间充足后重新安装",
              " flags=0x2010 buttons=off shortcut=no")};
}

std::string Game(const char* name) { return GetRunDirectory() + "\\" + name; }

void WritePatchArchive() {
  ASSERT_TRUE(installer_driver::WriteArchive(
      Game("dt.bin"), {{"video/brivanop_chs.wmv", "movie"}, {"data/", "", true}, {"data/scenario.txt", "script"}}));
}

class Handlers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetMessageBoxSeam({&RecordBox});
    SetDelaySeam({&RecordDelay});
    InitializeRuntime(InstallerCode(), ProgramUnitTypes(), FormDescriptionBlock());
    WriteWholeFile(Game("evimage.xp3"), "game data");
    WritePatchArchive();
    LoadStartWindow(form_ids::kStartWindow);
  }
  // The payloads are i386 images whatever the build: none stays among the
  // build's own executables.
  static void TearDownTestSuite() {
    DeleteFileA(Game("brivan_chs.exe").c_str());
    DeleteFileA(Game("KrkrUniversalPatch.dll").c_str());
  }
  void SetUp() override {
    happened.clear();
    DeleteFileW(installer_driver::DesktopShortcut().c_str());
  }
};

TEST_F(Handlers, StartUpShowsTheWindowInTheGameFolder) {
  EXPECT_TRUE(IsWindowVisible(GetUnitObject(form_ids::kStartWindow, 0).hwnd));
}

TEST_F(Handlers, InstallRunsItsStepsInOrder) {
  WriteWholeFile(Game("patch.xp3"), "stale");
  OnInstallClicked();
  const std::vector<std::string> expected = {
      "delay 3000", "delay 3000",
      Box("成功啦", "汉化安装成功，请运行桌面的快捷方式进入游戏", " flags=0x2040 buttons=off shortcut=no")};
  EXPECT_EQ(happened, expected);
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_TRUE(Exists(installer_driver::DesktopShortcut()));
  EXPECT_FALSE(Exists(Game("patch.xp3")));
  EXPECT_TRUE(Exists(Game("brivan_chs.exe")));
}

TEST_F(Handlers, UninstallRemovesWhatInstallBroughtAndReportsWhatItCouldNot) {
  OnInstallClicked();
  happened.clear();
  // The game running holds its executable.
  HANDLE game = CreateFileA(Game("brivan_chs.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  OnUninstallClicked();
  CloseHandle(game);
  std::vector<std::string> expected = {
      "delay 3000", "delay 3000",
      Box("错误", "部分汉化文件无法删除，请关闭游戏后重新卸载", " flags=0x2010 buttons=off shortcut=yes")};
  EXPECT_EQ(happened, expected);

  happened.clear();
  OnUninstallClicked();
  expected = {"delay 3000", "delay 3000",
              Box("成功", "《Velmora》汉化卸载成功，感谢使用！", " flags=0x2040 buttons=off shortcut=yes")};
  EXPECT_EQ(happened, expected);
  EXPECT_FALSE(Exists(Game("brivan_chs.exe")));
  EXPECT_FALSE(Exists(Game("KrkrUniversalPatch.dll")));
  // Uninstall leaves the shortcut, as it leaves the rest of the patch.
  EXPECT_TRUE(Exists(installer_driver::DesktopShortcut()));

  happened.clear();
  OnUninstallClicked();
  expected = {Box("错误", "您还没有安装汉化", " flags=0x2040 buttons=off shortcut=yes")};
  EXPECT_EQ(happened, expected);
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(Handlers, AFailedExtractionGetsNoSuccessAndNoShortcut) {
  WriteWholeFile(Game("dt.bin"), std::string("PK\x03\x04", 4) + std::string(60, '\x01'));
  OnInstallClicked();
  EXPECT_EQ(happened, InstallFailed());
  EXPECT_FALSE(Exists(installer_driver::DesktopShortcut()));
  WritePatchArchive();
}

TEST_F(Handlers, ADirectoryWhereThePatchLibraryGoesFailsTheInstall) {
  DeleteFileA(Game("KrkrUniversalPatch.dll").c_str());
  ASSERT_TRUE(CreateDirectoryA(Game("KrkrUniversalPatch.dll").c_str(), nullptr));
  OnInstallClicked();
  EXPECT_EQ(happened, InstallFailed());
  EXPECT_FALSE(Exists(installer_driver::DesktopShortcut()));
  EXPECT_TRUE(testing_support::IsDirectory(Game("KrkrUniversalPatch.dll")));
  // What was written before the failing step is whole.
  ByteSetView payload = PoolBytes(pool::Bytes::PayloadGameExe);
  std::string game(reinterpret_cast<const char*>(payload.bytes), payload.size);
  EXPECT_TRUE(ReadWholeFile(Game("brivan_chs.exe")) == game);
  EXPECT_EQ(testing_support::FilesUnder(Game("KrkrUniversalPatch.dll")), std::vector<std::string>{});
  RemoveDirectoryA(Game("KrkrUniversalPatch.dll").c_str());
}

}  // namespace
