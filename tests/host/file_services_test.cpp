#include "host/file_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "host/wide_text.h"
#include "support/keep_alive_log.h"
#include "support/scratch.h"

namespace {

using testing_support::ReadWholeFile;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;

ByteSetView View(const std::string& bytes) {
  return ByteSetView{reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size())};
}

TEST(FindMatchingFile, ReturnsTheNameAsTheDirectoryListsIt) {
  ScratchDirectory dir;
  WriteWholeFile(dir / "DT.BIN", "x");
  FileSearchHandle search;
  EXPECT_EQ(FindMatchingFile(dir / "dt.bin", search), "DT.BIN");
  EXPECT_TRUE(search.IsOpen());
  CloseFileSearch(search);
  EXPECT_FALSE(search.IsOpen());
}

TEST(FindMatchingFile, SkipsDirectoriesAndEndsTheSearch) {
  ScratchDirectory dir;
  ASSERT_TRUE(MakeDirectory(dir / "dt.bin"));
  FileSearchHandle search;
  EXPECT_EQ(FindMatchingFile(dir / "dt.bin", search), "");
  EXPECT_FALSE(search.IsOpen());
  // A pattern matching a directory and a file delivers the file.
  WriteWholeFile(dir / "dt.bim", "x");
  EXPECT_EQ(FindMatchingFile(dir / "dt.bi?", search), "dt.bim");
  CloseFileSearch(search);
}

TEST(FindMatchingFile, MissingFileOrDirectoryGivesEmpty) {
  ScratchDirectory dir;
  FileSearchHandle search;
  EXPECT_EQ(FindMatchingFile(dir / "absent.xp3", search), "");
  EXPECT_EQ(FindMatchingFile(dir / "no\\such\\dir.xp3", search), "");
  EXPECT_FALSE(search.IsOpen());
  // An empty path continues nothing when no search is open.
  EXPECT_EQ(FindMatchingFile("", search), "");
}

TEST(FindMatchingFile, NewPathReplacesTheSearchAndEmptyPathContinuesIt) {
  ScratchDirectory dir;
  WriteWholeFile(dir / "a.txt", "a");
  WriteWholeFile(dir / "b.txt", "b");
  FileSearchHandle search;
  EXPECT_EQ(FindMatchingFile(dir / "a.txt", search), "a.txt");
  std::string first = FindMatchingFile(dir / "*.txt", search);
  std::string second = FindMatchingFile("", search);
  EXPECT_NE(first, second);
  EXPECT_TRUE((first == "a.txt" && second == "b.txt") || (first == "b.txt" && second == "a.txt"));
  EXPECT_EQ(FindMatchingFile("", search), "");
  EXPECT_FALSE(search.IsOpen());
}

// 数据 and 剧本.ks in GBK; the second character of 数 has the trail byte 0x5C.
const std::string kGbkFolder = "\xCA\xFD\xBE\xDD";
const std::string kGbkFile = "\xBE\xE7\xB1\xBE.ks";

// The names of a folder's entries as the platform's wide listing gives them.
std::vector<std::wstring> WideNamesIn(const std::string& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((*text::WideFromGbk(folder) + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return names;
}

TEST(FileServices, GbkNamesAreTheNamesThePlatformListsInUtf16) {
  ScratchDirectory dir;
  ASSERT_TRUE(MakeDirectory(dir / kGbkFolder));
  const std::string file = dir / (kGbkFolder + "\\" + kGbkFile);
  const std::string bytes = "*start";
  ASSERT_TRUE(WriteBytesToFile(file, {View(bytes)}));
  EXPECT_EQ(WideNamesIn(dir.path()), std::vector<std::wstring>{L"\u6570\u636E"});
  EXPECT_EQ(WideNamesIn(dir / kGbkFolder), std::vector<std::wstring>{L"\u5267\u672C.ks"});
#ifndef _WIN32
  // Linux names the same file in UTF-8.
  std::string linuxPath = dir.path() + "/\xE6\x95\xB0\xE6\x8D\xAE/\xE5\x89\xA7\xE6\x9C\xAC.ks";
  std::replace(linuxPath.begin(), linuxPath.end(), '\\', '/');
  struct stat st{};
  EXPECT_EQ(stat(linuxPath.c_str(), &st), 0);
#endif
  FileSearchHandle search;
  EXPECT_EQ(FindMatchingFile(dir / (kGbkFolder + "\\*.ks"), search), kGbkFile);
  CloseFileSearch(search);
  EXPECT_TRUE(RemoveFile(file));
  EXPECT_EQ(WideNamesIn(dir / kGbkFolder), std::vector<std::wstring>{});
}

TEST(FileServices, NamesGbkCannotSpellAreNeitherMadeNorFound) {
  ScratchDirectory dir;
  // A name the platform has that GBK cannot spell (Hangul), beside one it can.
  const std::wstring hangul = *text::WideFromGbk(dir.path()) + L"\\\uAC00.txt";
  HANDLE made = CreateFileW(hangul.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);
  WriteWholeFile(dir / "z.txt", "z");
  FileSearchHandle search;
  EXPECT_EQ(FindMatchingFile(dir / "*.txt", search), "z.txt");
  EXPECT_EQ(FindMatchingFile("", search), "");
  // Bytes that are no GBK name no file: nothing is made or removed.
  for (const std::string& bad : {std::string("\x81\x7F"), std::string("ab\x81")}) {
    EXPECT_FALSE(MakeDirectory(dir / bad));
    EXPECT_FALSE(WriteBytesToFile(dir / bad, {View("x")}));
    EXPECT_FALSE(RemoveFile(dir / "z.txt\x81"));
  }
  EXPECT_EQ(WideNamesIn(dir.path()).size(), 2u);
}

TEST(MakeDirectory, CreatesTheLastComponentOnly) {
  ScratchDirectory dir;
  EXPECT_TRUE(MakeDirectory(dir / "video"));
  EXPECT_TRUE(testing_support::IsDirectory(dir / "video"));
  EXPECT_FALSE(MakeDirectory(dir / "video"));
  EXPECT_FALSE(MakeDirectory(dir / "a\\b"));
  EXPECT_FALSE(testing_support::Exists(dir / "a"));
}

TEST(RemoveFile, DeletesFilesOnly) {
  ScratchDirectory dir;
  WriteWholeFile(dir / "patch.xp3", "old");
  ASSERT_TRUE(MakeDirectory(dir / "video"));
  EXPECT_TRUE(RemoveFile(dir / "patch.xp3"));
  EXPECT_FALSE(testing_support::Exists(dir / "patch.xp3"));
  EXPECT_FALSE(RemoveFile(dir / "patch.xp3"));
  EXPECT_FALSE(RemoveFile(""));
  EXPECT_FALSE(RemoveFile(dir / "video"));
  EXPECT_FALSE(RemoveFile(dir.path() + "\\"));
  EXPECT_TRUE(testing_support::IsDirectory(dir / "video"));
}

TEST(WriteBytesToFile, WritesEachPartInOrderAndTruncates) {
  ScratchDirectory dir;
  std::string path = dir / "out.bin";
  WriteWholeFile(path, std::string(1000, 'z'));
  std::string a = "MZ", empty, b = std::string("\0\1\2", 3);
  EXPECT_TRUE(WriteBytesToFile(path, {View(a), View(empty), View(b)}));
  EXPECT_EQ(ReadWholeFile(path), a + b);
  EXPECT_TRUE(WriteBytesToFile(path, {View(empty)}));
  EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(WriteBytesToFile, FailsWithoutTouchingAnything) {
  ScratchDirectory dir;
  std::string data = "new";
  EXPECT_FALSE(WriteBytesToFile("", {View(data)}));

  // The game running holds its files open.
  std::string held = dir / "brivan_chs.exe";
  WriteWholeFile(held, "old");
  HANDLE game = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(game, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteBytesToFile(held, {View(data)}));
  EXPECT_FALSE(RemoveFile(held));
  CloseHandle(game);
  EXPECT_EQ(ReadWholeFile(held), "old");

#ifndef _WIN32
  // Windows refuses to overwrite a read-only file; Wine running as root (as
  // the test machines do) does not, so this case is checked natively only.
  std::string readOnly = dir / "readonly.dll";
  WriteWholeFile(readOnly, "old");
  ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteBytesToFile(readOnly, {View(data)}));
  EXPECT_EQ(ReadWholeFile(readOnly), "old");
#endif

  // A directory where the patch library goes stays a directory.
  ASSERT_TRUE(MakeDirectory(dir / "KrkrUniversalPatch.dll"));
  EXPECT_FALSE(WriteBytesToFile(dir / "KrkrUniversalPatch.dll", {View(data)}));
  EXPECT_TRUE(testing_support::IsDirectory(dir / "KrkrUniversalPatch.dll"));

  EXPECT_FALSE(WriteBytesToFile(dir / "missing\\file.dll", {View(data)}));
  EXPECT_FALSE(testing_support::Exists(dir / "missing"));
  // Nothing written is left beside the files that could not be replaced.
#ifdef _WIN32
  EXPECT_EQ(testing_support::FilesUnder(dir.path()), std::vector<std::string>{"brivan_chs.exe"});
#else
  EXPECT_EQ(testing_support::FilesUnder(dir.path()), (std::vector<std::string>{"brivan_chs.exe", "readonly.dll"}));
#endif
}

TEST(WriteBytesToFile, WritesAGamePayloadSizedPartWhole) {
  ScratchDirectory dir;
  std::string payload(35289088, '\0');
  for (std::size_t i = 0; i < payload.size(); i += 4093) payload[i] = static_cast<char>(i / 4093);
  std::string path = dir / "brivan_chs.exe";
  ASSERT_TRUE(WriteBytesToFile(path, {View(payload)}));
  EXPECT_TRUE(ReadWholeFile(path) == payload);
}

TEST(WriteBytesToFile, TellsEveryPieceItWrites) {
  ScratchDirectory dir;
  const std::string first(600000, 'a'), second(300000, 'b');
  testing_support::KeepAliveLog log;
  std::string path = dir / "brivan_chs.exe";
  ASSERT_TRUE(WriteBytesToFile(path, {View(first), View(""), View(second)}, log.get()));
  EXPECT_TRUE(ReadWholeFile(path) == first + second);
  EXPECT_EQ(log.pieces, (std::vector<std::uint64_t>{262144, 262144, 75712, 262144, 37856}));
  EXPECT_EQ(log.expectations.size(), 0u);
}

DWORD lastSleep = 1;

TEST(Delay, NegativeCountIsNoDelay) {
  DelaySeam real = SetDelaySeam({[](DWORD ms, const KeepAlive*) { lastSleep = ms; }});
  // Passed on unchanged, -5 would block for about 49 days.
  Delay(-5);
  EXPECT_EQ(lastSleep, 0u);
  Delay(3000);
  EXPECT_EQ(lastSleep, 3000u);
  SetDelaySeam(real);
  Delay(-5);
}

TEST(Delay, WaitsThroughTheKeepAliveWhenOneIsGiven) {
  testing_support::KeepAliveLog log;
  Delay(3000, log.get());
  Delay(-5, log.get());
  EXPECT_EQ(log.waits, (std::vector<DWORD>{3000, 0}));
}

}  // namespace
