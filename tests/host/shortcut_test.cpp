#include "host/shortcut.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// GBK: 《Velmora》, and 盶, a character whose trail byte is a backslash.
const std::string kVelmora = "\xA1\xB6Velmora\xA1\xB7";
const std::string kTrail5C = "\xB1\x5C";

TEST(ShortcutFileName, LooksForTheDotInTheFinalComponentOnly) {
  struct Case {
    std::string linkPath;
    std::string expected;
  } cases[] = {
      {"C:\\Desktop\\" + kVelmora, "C:\\Desktop\\" + kVelmora + ".lnk"},
      {"C:\\Desktop\\game.lnk", "C:\\Desktop\\game.lnk"},
      {"C:\\Desktop\\readme.txt", "C:\\Desktop\\readme.txt"},
      {kVelmora, kVelmora + ".lnk"},
      // A dot in a directory name (a profile folder) is not an extension.
      {"C:\\Users\\john.doe\\Desktop\\" + kVelmora, "C:\\Users\\john.doe\\Desktop\\" + kVelmora + ".lnk"},
      {"C:\\john." + kTrail5C + "\\" + kVelmora, "C:\\john." + kTrail5C + "\\" + kVelmora + ".lnk"},
      // The 0x5C that trails 盶 separates nothing: the dot before it is in
      // the final component.
      {"C:\\Desktop\\v1." + kTrail5C + "x", "C:\\Desktop\\v1." + kTrail5C + "x"},
      {"C:\\a.b\\" + kTrail5C, "C:\\a.b\\" + kTrail5C + ".lnk"},
      // No file name at all.
      {"", ""},
      {"C:\\Desktop\\", ""},
      {"C:\\a.b\\" + kTrail5C + "\\", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortcutFileName(c.linkPath), c.expected) << c.linkPath;
}

TEST(ShortcutFileName, RejectsANameThatLeavesNoRoomForItsExtension) {
  const std::string fits = "C:\\" + std::string(252, 'a');  // 255 bytes, 259 with ".lnk"
  EXPECT_EQ(ShortcutFileName(fits), fits + ".lnk");
  EXPECT_EQ(ShortcutFileName(fits + "a"), "");
  // With a dot of its own, a long name is the platform's to judge.
  const std::string withDot = "C:\\" + std::string(300, 'a') + ".lnk";
  EXPECT_EQ(ShortcutFileName(withDot), withDot);
}

}  // namespace
