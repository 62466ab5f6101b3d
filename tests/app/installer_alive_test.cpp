// The real installer as it ships, kept alive while it works, seen from
// outside as the system and the player see it: every 100 ms a sample asks the
// window whether it lives (as Windows asks before it calls a window hung),
// reads the progress bar off the screen and looks at the buttons. Requests to
// close made in the middle change nothing, and what the install and the
// uninstall leave, say and make is what they always have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

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

// Longer than this, and a player notices the window lagging behind.
constexpr long kLongestAnswer = 250;

// A patch of many small scripts and a movie that takes many chunks.
std::vector<ArchiveEntry> PatchOfManyEntries() {
  std::vector<ArchiveEntry> entries{{"data/", "", true}, {"data/scenario/", "", true}};
  for (int i = 0; i < 2000; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "data/scenario/%04d.ks", i);
    std::string script;
    for (int line = 0; script.size() < 1500; ++line)
      script += "*scene" + std::to_string(i) + "_" + std::to_string(line) + "|[cm]\r\n";
    entries.push_back({name, script});
  }
  std::string movie(24 << 20, '\0');
  for (std::size_t i = 0; i < movie.size(); ++i) movie[i] = static_cast<char>((i * i >> 9) & 0x3F);
  entries.push_back({"video/brivanop_chs.wmv", movie});
  return entries;
}

// What the samples of one sequence saw.
struct Samples {
  int taken = 0;
  int unanswered = 0;
  long worstAnswer = 0;
  bool buttonsEnabled = false;
  bool windowGone = false;
  // The bar's filled columns, sample by sample, where it was shown.
  std::vector<int> fills;
};

// Samples the window every 100 ms, doing meanwhile(n) after sample n, until
// done() says the sequence has come as far as wanted.
Samples SampleUntil(HWND window, const std::function<bool()>& done,
                    const std::function<void(int)>& meanwhile = [](int) {}) {
  Samples samples;
  for (int n = 0; n < 600; ++n) {
    const DWORD start = GetTickCount();
    if (done()) break;
    const long answer = AnswerTime(window);
    ++samples.taken;
    if (answer < 0)
      ++samples.unanswered;
    else
      samples.worstAnswer = std::max(samples.worstAnswer, answer);
    samples.windowGone |= !IsWindow(window);
    samples.buttonsEnabled |= !ButtonsDisabled(window);
    if (ProgressBarSeen bar = ReadProgressBar(window); bar.shown) samples.fills.push_back(bar.filled);
    meanwhile(n);
    const DWORD spent = GetTickCount() - start;
    if (spent < 100) Sleep(100 - spent);
  }
  return samples;
}

// Every way a player or another program asks the window to close, and a
// click on another button.
void AskToCloseAndClick(HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 << 29);  // Alt+F4
  PostMessageW(ButtonCaptioned(window, L"安装汉化"), WM_KEYDOWN, VK_ESCAPE, 0);
  Click(ButtonCaptioned(window, L"卸载汉化"));
}

void ExpectAlive(const Samples& samples, const char* sequence) {
  std::printf("%s: %d samples, the slowest answer %ld ms, %d unanswered\n", sequence, samples.taken,
              samples.worstAnswer, samples.unanswered);
  EXPECT_EQ(samples.unanswered, 0) << sequence;
  EXPECT_LE(samples.worstAnswer, kLongestAnswer) << sequence;
  EXPECT_FALSE(samples.windowGone) << sequence;
  EXPECT_FALSE(samples.buttonsEnabled) << sequence;
}

// After the message the install makes its shortcut, and only then gives the
// buttons back. (The message box takes two seconds to go here: with no window
// manager on the virtual display, Wine waits that long for one to withdraw
// the box; it is no part of the installer, and no sample is taken then.)
bool ShortcutBeforeButtons(HWND window) {
  for (int i = 0; i < 500 && ButtonsDisabled(window); ++i) Sleep(20);
  return !ButtonsDisabled(window) && Exists(DesktopShortcut());
}

TEST(InstallerAlive, TheWindowLivesShowsProgressAndStaysWhileItInstallsAndUninstalls) {
  ScratchDirectory game, elsewhere;
  const std::string exe = game / "setup.exe";
  ASSERT_TRUE(CopyFileA(HostPath(FULL_SIZE_INSTALLER_EXE).c_str(), exe.c_str(), FALSE));
  DeleteFileW(DesktopShortcut().c_str());
  WriteWholeFile(game / "evimage.xp3", "game data");
  WriteWholeFile(game / "patch.xp3", "stale patch");
  const std::vector<ArchiveEntry> archive = PatchOfManyEntries();
  ASSERT_TRUE(WriteArchive(game / "dt.bin", archive));
  const FolderFiles before = FileContentsUnder(game.path());

  Installer installer(exe, elsewhere.path());
  HWND window = installer.MainWindow();
  ASSERT_NE(window, nullptr);
  Sleep(500);  // the first paint
  EXPECT_FALSE(ReadProgressBar(window).shown) << "a bar before anything started";

  // The install, asked to close twice in the middle: in the first pause and
  // once the bar has started to fill.
  Click(ButtonCaptioned(window, L"安装汉化"));
  Box installed;
  bool askedWhileFilling = false;
  Samples install = SampleUntil(
      window, [&] { return (installed = installer.WaitForBox(1)).hwnd != nullptr; },
      [&](int n) {
        if (n == 10) AskToCloseAndClick(window);
        if (!askedWhileFilling && ReadProgressBar(window).filled > 0) {
          AskToCloseAndClick(window);
          askedWhileFilling = true;
        }
      });
  ExpectAlive(install, "install");
  EXPECT_TRUE(askedWhileFilling);
  const ProgressBarSeen atTheMessage = ReadProgressBar(window);
  EXPECT_TRUE(atTheMessage.full()) << "filled " << atTheMessage.filled << " of " << atTheMessage.width;
  // Seen partly filled at two moments at least, and never going back.
  std::set<int> partly;
  for (int fill : install.fills)
    if (fill > 0 && fill < atTheMessage.width) partly.insert(fill);
  EXPECT_GE(partly.size(), 2u);
  EXPECT_TRUE(std::is_sorted(install.fills.begin(), install.fills.end()));
  std::printf("install: the bar seen at %zu fillings on its way to full\n", partly.size());

  ASSERT_NE(installed.hwnd, nullptr);
  EXPECT_EQ(installed.text, L"汉化安装成功，请运行桌面的快捷方式进入游戏");
  EXPECT_EQ(installed.caption, L"成功啦");
  EXPECT_EQ(installed.icon, Icon::Information);
  EXPECT_FALSE(Exists(DesktopShortcut()));
  PressOk(installed);
  EXPECT_TRUE(ShortcutBeforeButtons(window)) << "the buttons came back before the shortcut was made";
  Sleep(300);  // the repaint where the bar was
  EXPECT_FALSE(ReadProgressBar(window).shown) << "the bar outlived the install";
  // An uninstall started by the click would have disabled the buttons and
  // removed the game's executable at once.
  EXPECT_FALSE(ButtonsDisabled(window)) << "a click made during the install started something";

  const FolderFiles intended = InstalledFiles(archive, ReadWholeFile(HostPath(FULL_SIZE_GAME_EXE_FILE)),
                                              ReadWholeFile(HostPath(FULL_SIZE_PATCH_DLL_FILE)));
  const FolderFiles after = FileContentsUnder(game.path());
  EXPECT_EQ(CutLeftOrLost(before, after, intended), std::vector<std::string>{});
  for (const auto& [name, bytes] : intended) EXPECT_TRUE(after.count(name) && after.at(name) == bytes) << name;
  EXPECT_FALSE(Exists(game / "patch.xp3"));

  // The uninstall, asked to close in its first pause.
  Click(ButtonCaptioned(window, L"卸载汉化"));
  Box uninstalled;
  Samples uninstall = SampleUntil(
      window, [&] { return (uninstalled = installer.WaitForBox(1)).hwnd != nullptr; },
      [&](int n) {
        if (n == 10) AskToCloseAndClick(window);
      });
  ExpectAlive(uninstall, "uninstall");
  EXPECT_EQ(uninstall.fills, std::vector<int>{}) << "uninstall has no bar";
  ASSERT_NE(uninstalled.hwnd, nullptr);
  EXPECT_EQ(uninstalled.text, L"《Velmora》汉化卸载成功，感谢使用！");
  EXPECT_EQ(uninstalled.caption, L"成功");
  EXPECT_EQ(uninstalled.icon, Icon::Information);
  installer.Dismiss(uninstalled);
  Sleep(300);
  EXPECT_FALSE(ButtonsDisabled(window)) << "a click made during the uninstall started something";
  EXPECT_EQ(installer.WaitForBox(1).hwnd, nullptr) << "a click made during the uninstall started something";
  EXPECT_FALSE(Exists(game / "brivan_chs.exe"));
  EXPECT_FALSE(Exists(game / "KrkrUniversalPatch.dll"));
  EXPECT_FALSE(Exists(game / "video\\brivanop_chs.wmv"));
  EXPECT_TRUE(Exists(DesktopShortcut()));

  // Once the sequences are over, closing works again.
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.WaitForExit(), 0);
  DeleteFileW(DesktopShortcut().c_str());
}

}  // namespace
