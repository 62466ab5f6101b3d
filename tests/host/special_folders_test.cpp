#include "host/special_folders.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "\xB1\x5C" is one GBK character (盶) whose trail byte is a backslash.
const std::string kTrail5C = "\xB1\x5C";

TEST(WithTrailingBackslash, AddsOneSeparatorAfterTheLastCharacter) {
  struct Case {
    std::string directory;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"C:\\windows", "C:\\windows\\"},
      {"C:\\users\\me\\Temp\\", "C:\\users\\me\\Temp\\"},
      {"C:\\users\\" + kTrail5C, "C:\\users\\" + kTrail5C + "\\"},
      {"C:\\users\\" + kTrail5C + "\\", "C:\\users\\" + kTrail5C + "\\"},
      // Room for the separator and the terminator in the 260-byte buffer...
      {std::string(258, 'a'), std::string(258, 'a') + "\\"},
      {std::string(258, 'a') + "\\", std::string(258, 'a') + "\\"},
      // ...and none: no path rather than one that loses its separator.
      {std::string(259, 'a'), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(WithTrailingBackslash(c.directory), c.expected) << c.directory;
}

}  // namespace
