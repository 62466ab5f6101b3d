// The real installer on a system whose code page is the one this run's locale
// gives (936, 932, 950 or 1252): one whole install and uninstall, with every
// text and name read back through the wide functions, as Explorer, the title
// bar and accessibility tools read them. Three game folders install at once,
// each from an archive that names its entries another way: in GBK, in UTF-8
// with the flag, and as Info-ZIP zip writes them on Linux.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "installer_driver.h"
#include "support/corpus_cases.h"
#include "support/scratch.h"

namespace {

using namespace installer_driver;
using testing_support::CorpusCase;
using testing_support::HostPath;

std::wstring WideOf(UINT codePage, const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                   wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return wide;
}

std::wstring WideHostPath(const char* unixPath) { return WideOf(CP_UTF8, HostPath(unixPath)); }

// Directories and files below root by relative path ("a\\b"), as the
// platform lists them: contents absent for a directory.
using Tree = std::map<std::wstring, std::optional<std::string>>;

std::string ContentsOf(const std::wstring& path) {
  return testing_support::ReadWholeFile(path).value_or("<unreadable>");
}

void ListTree(const std::wstring& root, const std::wstring& relative, Tree& tree) {
  const std::wstring directory = relative.empty() ? root : root + L"\\" + relative;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> subdirectories;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      tree[path] = std::nullopt;
      subdirectories.push_back(path);
    } else {
      tree[path] = ContentsOf(root + L"\\" + path);
    }
  } while (FindNextFileW(search, &data));
  FindClose(search);
  for (const std::wstring& path : subdirectories) ListTree(root, path, tree);
}

Tree TreeUnder(const std::wstring& root) {
  Tree tree;
  ListTree(root, L"", tree);
  return tree;
}

// A corpus case's tree with its GBK names in UTF-16 and "\\" separators.
Tree ExpectedTree(const CorpusCase& c) {
  Tree tree;
  for (const auto& [name, contents] : c.tree) {
    std::wstring wide = WideOf(936, name);
    for (wchar_t& ch : wide) ch = ch == L'/' ? L'\\' : ch;
    tree[wide] = contents;
  }
  return tree;
}

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring inner = path + L"\\" + name;
      SetFileAttributesW(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(inner);
      else
        DeleteFileW(inner.c_str());
    } while (FindNextFileW(search, &data));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

// Where a shortcut leads, read through the shell's own link object.
struct ShortcutTarget {
  std::wstring path;
  std::wstring workingDirectory;
};

std::optional<ShortcutTarget> ReadShortcut(const std::wstring& file) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return std::nullopt;
  IPersistFile* persist = nullptr;
  std::optional<ShortcutTarget> target;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
    wchar_t path[MAX_PATH] = {};
    wchar_t directory[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(directory, MAX_PATH)))
      target = ShortcutTarget{path, directory};
  }
  if (persist != nullptr) persist->Release();
  link->Release();
  return target;
}

// A game folder: the game's data archive, the patch archive and the installer
// under a Chinese name, as a group hands it out.
struct GameFolder {
  std::wstring path;
  std::string archive;  // of the corpus
  std::optional<Installer> installer;
  HWND window = nullptr;
};

constexpr wchar_t kInstallerName[] = L"《Velmora》汉化补丁安装器.exe";

// The handler of a click has run to its end once the buttons it disabled
// are enabled again.
bool WaitUntilEnabled(HWND button) {
  for (int i = 0; i < 600; ++i) {
    if (IsWindowEnabled(button)) return true;
    Sleep(50);
  }
  return false;
}

class InstallerInLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"velmora-locale-" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW(DesktopShortcut().c_str());
  }
  void TearDown() override {
    for (GameFolder& game : games_) game.installer.reset();
    RemoveTree(root_);
    DeleteFileW(DesktopShortcut().c_str());
    CoUninitialize();
  }

  std::wstring root_;
  GameFolder games_[3] = {{L"\\游戏\\《Velmora》汉化", "explorer.zip", {}, nullptr},
                          {L"\\游戏\\utf8", "utf8-flag.zip", {}, nullptr},
                          {L"\\游戏\\infozip", "zip-r.zip", {}, nullptr}};
};

TEST_F(InstallerInLocale, InstallsAndUninstallsWithChineseTextsAndNames) {
  const char* expectedCodePage = std::getenv("VELMORA_EXPECTED_CODE_PAGE");
  ASSERT_NE(expectedCodePage, nullptr);
  ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expectedCodePage))) << "the locale did not take effect";

  const std::string corpus = HostPath(ZIP_CORPUS_DIR);
  std::map<std::string, CorpusCase> cases;
  for (CorpusCase& c : testing_support::ReadCorpusCases(corpus + "\\cases.txt")) cases[c.archive] = c;
  const std::string gameExe = ContentsOf(WideHostPath(PAYLOAD_GAME_EXE_FILE));
  const std::string patchDll = ContentsOf(WideHostPath(PAYLOAD_PATCH_DLL_FILE));

  ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((root_ + L"\\游戏").c_str(), nullptr));
  for (GameFolder& game : games_) {
    SCOPED_TRACE(game.archive);
    ASSERT_TRUE(cases.count(game.archive)) << "no corpus: run the zip_corpus test first";
    game.path = root_ + game.path;
    ASSERT_TRUE(CreateDirectoryW(game.path.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(WideHostPath(INSTALLER_EXE).c_str(), (game.path + L"\\" + kInstallerName).c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(WideOf(CP_UTF8, corpus + "\\" + game.archive).c_str(), (game.path + L"\\dt.bin").c_str(),
                          FALSE));
    HANDLE data = CreateFileW((game.path + L"\\evimage.xp3").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(data, INVALID_HANDLE_VALUE);
    CloseHandle(data);
  }

  // Started as a player starts it, from its folder; the window found by its
  // caption and the buttons by theirs.
  for (GameFolder& game : games_) {
    game.installer.emplace(game.path + L"\\" + kInstallerName, game.path);
    ASSERT_TRUE(game.installer->started());
  }
  for (GameFolder& game : games_) {
    game.window = game.installer->MainWindow();
    ASSERT_NE(game.window, nullptr) << game.archive << ": no window captioned " << WindowCaption();
    EXPECT_EQ(TextOf(game.window), WindowCaption());
    for (const wchar_t* caption : {L"安装汉化", L"卸载汉化", L"访问汉化组贴吧"})
      EXPECT_NE(ButtonCaptioned(game.window, caption), nullptr) << caption;
  }
  for (GameFolder& game : games_) Click(ButtonCaptioned(game.window, L"安装汉化"));
  std::vector<Box> installed;
  for (GameFolder& game : games_) {
    installed.push_back(game.installer->WaitForBox(60000));
    ASSERT_NE(installed.back().hwnd, nullptr) << game.archive;
    EXPECT_EQ(installed.back().text, L"汉化安装成功，请运行桌面的快捷方式进入游戏") << game.archive;
    EXPECT_EQ(installed.back().caption, L"成功啦") << game.archive;
  }
  // Each shortcut follows its message; the first folder's comes last, so
  // that it is the one the desktop keeps.
  for (int i : {1, 2, 0}) {
    if (i == 0) DeleteFileW(DesktopShortcut().c_str());
    games_[i].installer->Dismiss(installed[i]);
    EXPECT_TRUE(WaitUntilEnabled(ButtonCaptioned(games_[i].window, L"安装汉化"))) << games_[i].archive;
  }

  // The same tree from each archive, by the names the platform lists.
  std::map<std::wstring, std::optional<std::string>> filesOfFirst;
  for (GameFolder& game : games_) {
    SCOPED_TRACE(game.archive);
    Tree expected = ExpectedTree(cases[game.archive]);
    expected[kInstallerName] = ContentsOf(WideHostPath(INSTALLER_EXE));
    expected[L"dt.bin"] = ContentsOf(WideOf(CP_UTF8, corpus + "\\" + game.archive));
    expected[L"evimage.xp3"] = "";
    expected[L"video"] = std::nullopt;
    expected[L"brivan_chs.exe"] = gameExe;
    expected[L"KrkrUniversalPatch.dll"] = patchDll;
    const Tree found = TreeUnder(game.path);
    for (const auto& [path, contents] : expected) {
      auto there = found.find(path);
      if (there == found.end())
        ADD_FAILURE() << "missing " << path;
      else if (there->second != contents)
        ADD_FAILURE() << path << " differs";
    }
    for (const auto& [path, contents] : found)
      if (!expected.count(path)) ADD_FAILURE() << "unexpected " << path;
    std::map<std::wstring, std::optional<std::string>> files;
    for (const auto& [path, contents] : ExpectedTree(cases[game.archive]))
      if (contents) files[path] = contents;
    if (&game == &games_[0])
      filesOfFirst = files;
    else
      EXPECT_EQ(files, filesOfFirst) << "another tree than from " << games_[0].archive;
  }

  // The shortcut on the desktop, under its Chinese name, leads to the
  // localised game in the Chinese-named game folder.
  const std::optional<ShortcutTarget> shortcut = ReadShortcut(DesktopShortcut());
  ASSERT_TRUE(shortcut.has_value()) << "no shortcut " << DesktopShortcut();
  wchar_t longTarget[MAX_PATH] = {};
  GetLongPathNameW(shortcut->path.c_str(), longTarget, MAX_PATH);
  EXPECT_EQ(std::wstring(longTarget), games_[0].path + L"\\brivan_chs.exe") << "the target is " << shortcut->path;
  EXPECT_EQ(shortcut->workingDirectory, games_[0].path + L"\\");

  // Uninstall in the Chinese-named folder.
  GameFolder& first = games_[0];
  Click(ButtonCaptioned(first.window, L"卸载汉化"));
  Box uninstalled = first.installer->WaitForBox(60000);
  EXPECT_EQ(uninstalled.text, L"《Velmora》汉化卸载成功，感谢使用！");
  EXPECT_EQ(uninstalled.caption, L"成功");
  first.installer->Dismiss(uninstalled);
  EXPECT_FALSE(testing_support::Exists(first.path + L"\\brivan_chs.exe"));
  EXPECT_FALSE(testing_support::Exists(first.path + L"\\KrkrUniversalPatch.dll"));
  EXPECT_TRUE(testing_support::Exists(first.path + L"\\evimage.xp3"));

  for (GameFolder& game : games_) {
    PostMessageW(game.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(game.installer->WaitForExit(), 0) << game.archive;
  }
}

}  // namespace
