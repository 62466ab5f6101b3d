#include "zip/entry_target.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CheckEntryName, TableOfNames) {
  struct Case {
    std::string name;
    bool directoryByAttributes;
    NameVerdict verdict;
    // For accepted names: the path below the destination and whether it is a directory.
    std::string relative = {};
    bool directory = false;
  };
  const Case cases[] = {
      {"readme.txt", false, NameVerdict::kAccepted, "readme.txt"},
      {"video/op.wmv", false, NameVerdict::kAccepted, "video\\op.wmv"},
      {"video/", true, NameVerdict::kAccepted, "video", true},
      {"tree", true, NameVerdict::kAccepted, "tree", true},
      // A trailing separator makes a directory whatever the attributes say.
      {"META-INF/", false, NameVerdict::kAccepted, "META-INF", true},
      {"data\\", false, NameVerdict::kAccepted, "data", true},
      // "\" separates like "/".
      {"data\\x.ks", false, NameVerdict::kAccepted, "data\\x.ks"},
      {"data\\sub/x.ks", false, NameVerdict::kAccepted, "data\\sub\\x.ks"},
      // "." and empty components mean nothing; "./" is the destination itself.
      {"./readme.txt", false, NameVerdict::kAccepted, "readme.txt"},
      {"./data/", true, NameVerdict::kAccepted, "data", true},
      {"./", true, NameVerdict::kAccepted, "", true},
      {".", true, NameVerdict::kAccepted, "", true},
      {"./", false, NameVerdict::kAccepted, "", true},
      {"a/./b.txt", false, NameVerdict::kAccepted, "a\\b.txt"},
      {"a/.", false, NameVerdict::kAccepted, "a", true},
      {".\\x", false, NameVerdict::kAccepted, "x"},
      {"a//b.txt", false, NameVerdict::kAccepted, "a\\b.txt"},
      {"..foo/bar..baz.txt", false, NameVerdict::kAccepted, "..foo\\bar..baz.txt"},
      {"CONSOLE.txt", false, NameVerdict::kAccepted, "CONSOLE.txt"},
      {"COM10", false, NameVerdict::kAccepted, "COM10"},
      {"", false, NameVerdict::kNoName},
      {"", true, NameVerdict::kNoName},
      {std::string(260, 'x'), false, NameVerdict::kTooLong},
      {std::string(259, 'x'), false, NameVerdict::kAccepted, std::string(259, 'x')},
      {"../x", false, NameVerdict::kLeavesDestination},
      {"a/../b", false, NameVerdict::kLeavesDestination},
      {"a\\..\\b", false, NameVerdict::kLeavesDestination},
      {"..\\x", false, NameVerdict::kLeavesDestination},
      {"a\\..\\..\\x", false, NameVerdict::kLeavesDestination},
      {"./../x", false, NameVerdict::kLeavesDestination},
      {"..", true, NameVerdict::kLeavesDestination},
      {"./. /x", false, NameVerdict::kLeavesDestination},
      {". /x", false, NameVerdict::kLeavesDestination},
      {"... /x", false, NameVerdict::kLeavesDestination},
      {"/etc/passwd", false, NameVerdict::kLeavesDestination},
      {"\\\\server\\share\\x", false, NameVerdict::kLeavesDestination},
      {"C:x", false, NameVerdict::kDriveOrStream},
      {"C:/x", false, NameVerdict::kDriveOrStream},
      {"./C:/x", false, NameVerdict::kDriveOrStream},
      {"x.txt:hidden", false, NameVerdict::kDriveOrStream},
      {"x.txt::$DATA", false, NameVerdict::kDriveOrStream},
      {"NUL", false, NameVerdict::kDeviceName},
      {"nul.txt", false, NameVerdict::kDeviceName},
      {"dir/Con", false, NameVerdict::kDeviceName},
      {"dir\\Con\\x", false, NameVerdict::kDeviceName},
      {"lpt9.log", false, NameVerdict::kDeviceName},
      {"COM1 .txt", false, NameVerdict::kDeviceName},
      {"conin$", false, NameVerdict::kDeviceName},
      {"aux/x", false, NameVerdict::kDeviceName},
      {"a\x01.txt", false, NameVerdict::kInvalidCharacter},
      {std::string("a\0b", 3), false, NameVerdict::kInvalidCharacter},
      {"what?.txt", false, NameVerdict::kInvalidCharacter},
      {"a\"b", false, NameVerdict::kInvalidCharacter},
      {"ends in a lead byte \x81", false, NameVerdict::kInvalidCharacter},
      // A second byte of 0x5C, 0x7C or 0x3F... belongs to its character.
      {"\x81\x5C..", false, NameVerdict::kAccepted, "\x81\x5C.."},
      {"\x81\x5C/x", false, NameVerdict::kAccepted, "\x81\x5C\\x"},
      {"\x81\x5C", false, NameVerdict::kAccepted, "\x81\x5C"},
      {"\x81\x7C.txt", false, NameVerdict::kAccepted, "\x81\x7C.txt"},
      {"..\x81\x5C", false, NameVerdict::kAccepted, "..\x81\x5C"},
  };
  for (const Case& c : cases) {
    NamedPath named;
    EXPECT_EQ(CheckEntryName(c.name, c.directoryByAttributes, named), c.verdict) << '"' << c.name << '"';
    if (c.verdict != NameVerdict::kAccepted) continue;
    EXPECT_EQ(named.relative, c.relative) << '"' << c.name << '"';
    EXPECT_EQ(named.isDirectory, c.directory) << '"' << c.name << '"';
  }
}

ZipEntryInfo Entry(std::string name, std::uint16_t flags = 0, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  ZipEntryInfo info;
  info.name = std::move(name);
  info.flags = flags;
  info.attributes = attributes;
  return info;
}

TEST(ResolveEntryTarget, JoinsWithBackslashesAndConvertsUtf8Names) {
  EntryTarget target;
  ASSERT_EQ(ResolveEntryTarget("C:\\game\\", Entry("video/op.wmv"), target), NameVerdict::kAccepted);
  EXPECT_EQ(target.path(), "C:\\game\\video\\op.wmv");
  EXPECT_FALSE(target.IsDirectory());
  EXPECT_EQ(target.DirectoryBelowRoot(), "video");
  ASSERT_EQ(ResolveEntryTarget("C:\\game\\", Entry("中文/说明.txt", kUtf8NameFlag), target), NameVerdict::kAccepted);
  EXPECT_EQ(target.path(), "C:\\game\\\xD6\xD0\xCE\xC4\\\xCB\xB5\xC3\xF7.txt");
  // Without the flag the bytes are used as stored.
  ASSERT_EQ(ResolveEntryTarget("C:\\game\\", Entry("\xD6\xD0.txt"), target), NameVerdict::kAccepted);
  EXPECT_EQ(target.path(), "C:\\game\\\xD6\xD0.txt");
  // A look-alike of the solidus must not become a separator by best fit.
  EXPECT_EQ(ResolveEntryTarget("C:\\game\\", Entry("a\xEF\xBC\x8F..\xEF\xBC\x8F" "b", kUtf8NameFlag), target),
            NameVerdict::kAccepted);
  EXPECT_EQ(target.path().find('\\', 8), std::string::npos);
  EXPECT_EQ(ResolveEntryTarget("C:\\game\\", Entry("\xF0\x9F\x98\x80", kUtf8NameFlag), target),
            NameVerdict::kUnrepresentable);
}

TEST(ResolveEntryTarget, DirectoryThatMustExist) {
  struct Case {
    const char* name;
    DWORD attributes;
    const char* directory;
  };
  const Case cases[] = {
      {"top.txt", FILE_ATTRIBUTE_NORMAL, ""},
      {"a/b/c.txt", FILE_ATTRIBUTE_NORMAL, "a\\b"},
      {"./a/c.txt", FILE_ATTRIBUTE_NORMAL, "a"},
      {"a/b/", FILE_ATTRIBUTE_NORMAL, "a\\b"},
      {"a/b", FILE_ATTRIBUTE_DIRECTORY, "a\\b"},
      {"./", FILE_ATTRIBUTE_DIRECTORY, ""},
      {"\x81\x5C/\x81\x5C.txt", FILE_ATTRIBUTE_NORMAL, "\x81\x5C"},
      {"\x81\x5C", FILE_ATTRIBUTE_NORMAL, ""},
  };
  for (const Case& c : cases) {
    EntryTarget target;
    ASSERT_EQ(ResolveEntryTarget("C:\\game\\", Entry(c.name, 0, c.attributes), target), NameVerdict::kAccepted)
        << c.name;
    EXPECT_EQ(target.DirectoryBelowRoot(), c.directory) << c.name;
  }
}

TEST(ResolveEntryTarget, RefusesPathsOfTheLimitOrLonger) {
  EntryTarget target;
  std::string root = "C:\\" + std::string(200, 'd') + "\\";
  std::size_t room = MAX_PATH - 1 - root.size();
  EXPECT_EQ(ResolveEntryTarget(root, Entry(std::string(room, 'n')), target), NameVerdict::kAccepted);
  EXPECT_EQ(target.path().size(), static_cast<std::size_t>(MAX_PATH - 1));
  EXPECT_EQ(ResolveEntryTarget(root, Entry(std::string(room + 1, 'n')), target), NameVerdict::kTooLong);
  // A UTF-8 name is held to the limit as stored, too.
  EXPECT_EQ(ResolveEntryTarget("C:\\", Entry(std::string(MAX_PATH, 'n'), kUtf8NameFlag), target),
            NameVerdict::kTooLong);
}

}  // namespace
