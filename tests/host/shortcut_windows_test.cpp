// Real shortcuts, saved by the platform's shell-link object and read back
// through it and from the bytes on disk.
#include "host/shortcut.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <shlobj.h>

#include "host/handle_owners.h"
#include "host/special_folders.h"
#include "support/scratch.h"

namespace {

using testing_support::Exists;
using testing_support::FilesUnder;
using testing_support::ReadWholeFile;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;

// GBK texts: 《Velmora》, Tarnwick汉化组, and 盶, whose trail byte is 0x5C.
const std::string kVelmora = "\xA1\xB6Velmora\xA1\xB7";
const std::string kGroup = "Tarnwick\xBA\xBA\xBB\xAF\xD7\xE9";
const std::string kTrail5C = "\xB1\x5C";

std::wstring Utf16(const std::string& ansi) {
  int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), length);
  wide.pop_back();
  return wide;
}

// What the shell-link object reads back from a saved shortcut.
struct LoadedShortcut {
  std::string target, description, arguments, workingDirectory;
};

std::optional<LoadedShortcut> LoadShortcut(const std::string& fileName) {
  ComReference<IShellLinkA> link;
  ComReference<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Receive())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.Receive())) ||
      FAILED(file->Load(Utf16(fileName).c_str(), STGM_READ)))
    return std::nullopt;
  LoadedShortcut loaded;
  char buffer[INFOTIPSIZE] = {};
  link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
  loaded.target = buffer;
  buffer[0] = '\0';
  link->GetDescription(buffer, INFOTIPSIZE);
  loaded.description = buffer;
  buffer[0] = '\0';
  link->GetArguments(buffer, INFOTIPSIZE);
  loaded.arguments = buffer;
  buffer[0] = '\0';
  link->GetWorkingDirectory(buffer, MAX_PATH);
  loaded.workingDirectory = buffer;
  return loaded;
}

std::uint32_t ReadLittleEndian32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= std::uint32_t{static_cast<unsigned char>(bytes.at(offset + i))} << (8 * i);
  return value;
}

// The fixed header of a shell-link file: its LinkFlags say which optional
// strings the file holds, and the show command is stored as it is.
constexpr std::size_t kLinkFlagsOffset = 0x14;
constexpr std::size_t kShowCommandOffset = 0x3C;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;

// The program's start-up enters the COM apartment; so does each test.
class Shortcut : public testing::Test {
 protected:
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(OleInitialize(nullptr)); }
  void TearDown() override { OleUninitialize(); }

  // A target that exists, in a folder whose GBK name has a 0x5C trail byte.
  std::string MakeTarget() {
    std::string folder = dir / ("game" + kTrail5C);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteWholeFile(folder + "\\brivan_chs.exe", "MZ");
    return folder + "\\brivan_chs.exe";
  }

  ScratchDirectory dir;
};

TEST_F(Shortcut, ReadsBackEverythingItWasGiven) {
  const std::string target = MakeTarget();
  const std::string workingDirectory = dir / ("game" + kTrail5C + "\\");
  ASSERT_TRUE(CreateShortcut(dir / kVelmora, target, kGroup, std::string("-chs"), workingDirectory));

  ASSERT_EQ(FilesUnder(dir.path()),
            (std::vector<std::string>{"game" + kTrail5C + "\\brivan_chs.exe", kVelmora + ".lnk"}));
  std::optional<LoadedShortcut> loaded = LoadShortcut(dir / (kVelmora + ".lnk"));
  ASSERT_TRUE(loaded);
  EXPECT_STRCASEEQ(loaded->target.c_str(), target.c_str());
  EXPECT_EQ(loaded->description, kGroup);
  EXPECT_EQ(loaded->arguments, "-chs");
  EXPECT_EQ(loaded->workingDirectory, workingDirectory);
  // Readers of the format take any show command but 1, 3 and 7 for
  // SW_SHOWNORMAL, so SW_SHOW is seen on disk only.
  EXPECT_EQ(ReadLittleEndian32(ReadWholeFile(dir / (kVelmora + ".lnk")), kShowCommandOffset),
            static_cast<std::uint32_t>(SW_SHOW));
}

TEST_F(Shortcut, OmittedFieldsStayOutOfTheFileGivenOnesGoIn) {
  const std::string target = MakeTarget();
  struct Case {
    std::optional<std::string> description, arguments, workingDirectory;
    std::uint32_t flags;
  } cases[] = {
      {std::nullopt, std::nullopt, std::nullopt, 0},
      {kGroup, std::nullopt, std::nullopt, kHasName},
      {std::nullopt, std::string("-chs"), std::nullopt, kHasArguments},
      {std::nullopt, std::nullopt, dir.path(), kHasWorkingDir},
      {kGroup, std::string("-chs"), dir.path(), kHasName | kHasArguments | kHasWorkingDir},
  };
  for (const Case& c : cases) {
    const std::string link = dir / "case";
    ASSERT_TRUE(CreateShortcut(link, target, c.description, c.arguments, c.workingDirectory));
    std::string bytes = ReadWholeFile(link + ".lnk");
    EXPECT_EQ(ReadLittleEndian32(bytes, kLinkFlagsOffset) & (kHasName | kHasArguments | kHasWorkingDir), c.flags);
    std::optional<LoadedShortcut> loaded = LoadShortcut(link + ".lnk");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->description, c.description.value_or(""));
    EXPECT_EQ(loaded->arguments, c.arguments.value_or(""));
    EXPECT_EQ(loaded->workingDirectory, c.workingDirectory.value_or(""));
  }
}

TEST_F(Shortcut, SavingTheSameShortcutAgainReplacesIt) {
  const std::string target = MakeTarget();
  ASSERT_TRUE(CreateShortcut(dir / kVelmora, target, std::string("first, and longer than the second"), std::nullopt,
                             std::nullopt));
  ASSERT_TRUE(CreateShortcut(dir / kVelmora, target, std::string("second"), std::nullopt, std::nullopt));
  std::optional<LoadedShortcut> loaded = LoadShortcut(dir / (kVelmora + ".lnk"));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->description, "second");
  EXPECT_EQ(FilesUnder(dir.path()).size(), 2u);  // the target and one shortcut
}

TEST_F(Shortcut, IsSavedUnderTheNameItsFinalComponentCalls) {
  struct Case {
    std::string folder;  // made first, "" for none
    std::string linkPath;
    std::string saved;
  } cases[] = {
      {"", kVelmora, kVelmora + ".lnk"},
      {"", "game.lnk", "game.lnk"},
      {"john.doe", "john.doe\\" + kVelmora, "john.doe\\" + kVelmora + ".lnk"},
      {"john." + kTrail5C, "john." + kTrail5C + "\\" + kVelmora, "john." + kTrail5C + "\\" + kVelmora + ".lnk"},
      {"", "v1." + kTrail5C + "x", "v1." + kTrail5C + "x"},
  };
  for (const Case& c : cases) {
    ScratchDirectory root;
    if (!c.folder.empty()) {
      ASSERT_TRUE(CreateDirectoryA((root / c.folder).c_str(), nullptr));
    }
    ASSERT_TRUE(CreateShortcut(root / c.linkPath, MakeTarget(), std::nullopt, std::nullopt, std::nullopt))
        << c.linkPath;
    EXPECT_EQ(FilesUnder(root.path()), std::vector<std::string>{c.saved}) << c.linkPath;
  }
}

TEST_F(Shortcut, ALinkPathWithNoRoomForItsExtensionIsRefused) {
  const std::string target = MakeTarget();
  const std::string fits = dir / std::string(255 - dir.path().size() - 1, 'a');  // 255 bytes, 259 with ".lnk"
  ASSERT_EQ(fits.size(), 255u);
  EXPECT_TRUE(CreateShortcut(fits, target, std::nullopt, std::nullopt, std::nullopt));
  EXPECT_TRUE(Exists(fits + ".lnk"));
  const std::string tooLong = fits + "b";
  EXPECT_FALSE(CreateShortcut(tooLong, target, std::nullopt, std::nullopt, std::nullopt));
  EXPECT_EQ(FilesUnder(dir.path()).size(), 2u);  // the target and the one that fitted
}

TEST_F(Shortcut, NothingIsSavedWhereTheLinkPathNamesNoFile) {
  const std::string target = MakeTarget();
  EXPECT_FALSE(CreateShortcut(dir / "missing\\" + kVelmora, target, std::nullopt, std::nullopt, std::nullopt));
  EXPECT_FALSE(CreateShortcut(dir.path() + "\\", target, std::nullopt, std::nullopt, std::nullopt));
  EXPECT_FALSE(CreateShortcut("", target, std::nullopt, std::nullopt, std::nullopt));
  EXPECT_EQ(FilesUnder(dir.path()).size(), 1u);
}

// Where the installer puts it: the desktop folder's path followed directly by
// the name. The name is this test's own, so that it cannot meet the
// installer's shortcut of a test running beside it.
TEST_F(Shortcut, LandsDirectlyOnTheDesktop) {
  const std::string desktop = GetSpecialDirectory(3);
  ASSERT_FALSE(desktop.empty());
  const std::string name = kVelmora + "shortcut-test-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateShortcut(desktop + name, MakeTarget(), kGroup, std::nullopt, dir.path() + "\\"));
  EXPECT_TRUE(Exists(desktop + name + ".lnk"));
  EXPECT_TRUE(DeleteFileA((desktop + name + ".lnk").c_str()));
}

// Entering the apartment is start-up's job; without it there is no
// shell-link object and no file.
TEST(ShortcutWithoutCom, SavesNothing) {
  ScratchDirectory dir;
  EXPECT_FALSE(CreateShortcut(dir / kVelmora, dir / "target.exe", std::nullopt, std::nullopt, std::nullopt));
  EXPECT_TRUE(FilesUnder(dir.path()).empty());
}

}  // namespace
