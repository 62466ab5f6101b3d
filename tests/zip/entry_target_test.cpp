#include "zip/entry_target.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CheckEntryName, TableOfNames) {
  struct Case {
    std::string name;
    bool directory;
    NameVerdict verdict;
  };
  const Case cases[] = {
      {"readme.txt", false, NameVerdict::kAccepted},
      {"video/op.wmv", false, NameVerdict::kAccepted},
      {"video/", true, NameVerdict::kAccepted},
      {"a//b.txt", false, NameVerdict::kAccepted},
      {"..foo/bar..baz.txt", false, NameVerdict::kAccepted},
      {"CONSOLE.txt", false, NameVerdict::kAccepted},
      {"COM10", false, NameVerdict::kAccepted},
      {"", false, NameVerdict::kNoName},
      {"video/", false, NameVerdict::kNoName},
      {std::string(260, 'x'), false, NameVerdict::kTooLong},
      {std::string(259, 'x'), false, NameVerdict::kAccepted},
      {"../x", false, NameVerdict::kLeavesDestination},
      {"a/../b", false, NameVerdict::kLeavesDestination},
      {"a\\..\\b", false, NameVerdict::kLeavesDestination},
      {"..", true, NameVerdict::kLeavesDestination},
      {"./x", false, NameVerdict::kLeavesDestination},
      {"... /x", false, NameVerdict::kLeavesDestination},
      {"/etc/passwd", false, NameVerdict::kLeavesDestination},
      {"\\\\server\\share\\x", false, NameVerdict::kLeavesDestination},
      {"C:x", false, NameVerdict::kDriveOrStream},
      {"C:/x", false, NameVerdict::kDriveOrStream},
      {"x.txt:hidden", false, NameVerdict::kDriveOrStream},
      {"x.txt::$DATA", false, NameVerdict::kDriveOrStream},
      {"NUL", false, NameVerdict::kDeviceName},
      {"nul.txt", false, NameVerdict::kDeviceName},
      {"dir/Con", false, NameVerdict::kDeviceName},
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
      {"\x81\x5C..", false, NameVerdict::kAccepted},
      {"\x81\x5C/x", false, NameVerdict::kAccepted},
      {"\x81\x7C.txt", false, NameVerdict::kAccepted},
      {"..\x81\x5C", false, NameVerdict::kAccepted},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckEntryName(c.name, c.directory), c.verdict) << '"' << c.name << '"';
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
