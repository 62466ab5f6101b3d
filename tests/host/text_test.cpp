#include "host/text.h"

#include <gtest/gtest.h>

#include "host/file_services.h"

namespace {

// "\xB1\x5C" is a GBK character (U+7C7A) whose trail byte is a backslash.
const std::string kTrail5C = "\xB1\x5C";

TEST(Text, BackslashesAreCharactersNotBytes) {
  struct Case {
    std::string s;
    std::size_t last;
    bool endsWithBackslash;
  } cases[] = {
      {"", std::string::npos, false},
      {"abc", std::string::npos, false},
      {"a\\b\\c", 3, false},
      {"C:\\games\\", 8, true},
      {"C:\\" + kTrail5C, 2, false},
      {"C:\\" + kTrail5C + "\\", 5, true},
      {"\xB1", std::string::npos, false},  // lead byte with nothing after it
      {"a\\\xB1", 1, false},                // ...and after a separator
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::FindLastBackslash(c.s), c.last) << c.s;
    EXPECT_EQ(text::EndsWithBackslash(c.s), c.endsWithBackslash) << c.s;
  }
}

TEST(RunDirectory, IsEverythingBeforeTheLastSeparator) {
  struct Case {
    std::string modulePath;
    std::string runDirectory;
  } cases[] = {
      {"C:\\Games\\Velmora\\setup.exe", "C:\\Games\\Velmora"},
      {"E:\\setup.exe", "E:"},
      {"setup.exe", ""},
      {"C:\\Games\\" + kTrail5C + "\\setup.exe", "C:\\Games\\" + kTrail5C},
      {"C:\\Games\\" + kTrail5C + "setup.exe", "C:\\Games"},
  };
  for (const Case& c : cases) EXPECT_EQ(RunDirectoryFromModulePath(c.modulePath), c.runDirectory) << c.modulePath;
}

}  // namespace
