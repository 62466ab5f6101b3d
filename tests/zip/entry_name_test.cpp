#include "zip/entry_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr std::uint8_t kWindows = 0;
constexpr std::uint8_t kUnix = 3;
constexpr std::uint8_t kMacOs = 19;

// 中文.txt in UTF-8 and in GBK.
const std::string kUtf8Name = "\xE4\xB8\xAD\xE6\x96\x87.txt";
const std::string kGbkName = "\xD6\xD0\xCE\xC4.txt";
// "â.txt": GBK has no â, and best fit would write it as a plain "a".
const std::string kBestFitBait = "\xC3\xA2.txt";

TEST(GbkEntryName, SourcesInTheirOrder) {
  struct Case {
    const char* title;
    std::string stored;
    std::uint16_t flags;
    std::uint8_t host;
    std::optional<std::string> unicodePath;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"ASCII from Windows", "data/a.txt", 0, kWindows, std::nullopt, "data/a.txt"},
      {"GBK from Windows, as stored", kGbkName, 0, kWindows, std::nullopt, kGbkName},
      {"UTF-8 flag", kUtf8Name, kUtf8NameFlag, kWindows, std::nullopt, kGbkName},
      {"undeclared UTF-8 from Unix", kUtf8Name, 0, kUnix, std::nullopt, kGbkName},
      {"undeclared UTF-8 from macOS", kUtf8Name, 0, kMacOs, std::nullopt, kGbkName},
      // A Windows tool writes its code page: bytes that look like UTF-8 stay.
      {"UTF-8 bytes from Windows without the flag", kUtf8Name, 0, kWindows, std::nullopt, kUtf8Name},
      {"GBK from Unix is not UTF-8, so stays", kGbkName, 0, kUnix, std::nullopt, kGbkName},
      {"Unicode Path field over the stored name", "fallback.txt", 0, kWindows, kUtf8Name, kGbkName},
      {"Unicode Path field over the UTF-8 flag", "x.txt", kUtf8NameFlag, kUnix, kUtf8Name, kGbkName},
      {"UTF-8 flag on invalid UTF-8", "\xC3\x28.txt", kUtf8NameFlag, kWindows, std::nullopt, std::nullopt},
      {"character the code page lacks, flagged", "\xF0\x9F\x98\x80", kUtf8NameFlag, kWindows, std::nullopt,
       std::nullopt},
      {"character the code page lacks, from Unix", kBestFitBait, 0, kUnix, std::nullopt, std::nullopt},
      {"character the code page lacks, in the Unicode Path field", "a.txt", 0, kWindows, kBestFitBait, std::nullopt},
      {"empty", "", kUtf8NameFlag, kUnix, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    ZipEntryInfo entry;
    entry.name = c.stored;
    entry.flags = c.flags;
    entry.madeOnHost = c.host;
    entry.unicodePath = c.unicodePath;
    EXPECT_EQ(GbkEntryName(entry), c.expected) << c.title;
  }
}

}  // namespace
