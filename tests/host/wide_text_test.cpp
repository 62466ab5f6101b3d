#include "host/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "host/text.h"

namespace {

// 数\据 (its first character's trail byte is 0x5C) and 剧本.ks in GBK and in
// UTF-16.
const std::string kGbkName = "\xCA\xFD\x5C\xBE\xDD\xBE\xE7\xB1\xBE.ks";
const std::wstring kWideName = L"\u6570\\\u636E\u5267\u672C.ks";

TEST(WideText, GbkAndUtf16RoundTrip) {
  EXPECT_EQ(text::WideFromGbk(kGbkName), kWideName);
  EXPECT_EQ(text::WideForDisplay(kGbkName), kWideName);
  EXPECT_EQ(text::GbkFromWide(kWideName), kGbkName);
  EXPECT_EQ(text::WideFromGbk(""), std::wstring());
  EXPECT_EQ(text::GbkFromWide(L""), std::string());
  // 《Velmora》 and a full-width colon: the characters of the carried texts
  // beyond Chinese.
  EXPECT_EQ(text::WideFromGbk("\xA1\xB6Velmora\xA1\xB7\xA3\xBA"), L"\u300AVelmora\u300B\uFF1A");
}

TEST(WideText, BytesThatAreNoGbkNameNothingButStillShow) {
  // A lead byte at the end, and one followed by a byte that cannot trail.
  for (const std::string& bad : {std::string("ab\x81"), std::string("a\x81\x7F" "b")}) {
    EXPECT_EQ(text::WideFromGbk(bad), std::nullopt) << bad;
    const std::wstring shown = text::WideForDisplay(bad);
    EXPECT_EQ(shown.substr(0, 1), L"a") << bad;
    EXPECT_GT(shown.size(), 1u) << bad;
  }
}

// The bait proves the rule only where best fit would really turn it into
// ASCII: on Windows and Wine, not in the native stand-in.
TEST(WideText, CharactersGbkCannotSpellAreRefusedNotApproximated) {
  const std::wstring bait = L"\u00E2.txt";
#ifdef _WIN32
  char bestFit[8] = {};
  ASSERT_EQ(WideCharToMultiByte(text::kCodePage, 0, bait.c_str(), 1, bestFit, sizeof bestFit, nullptr, nullptr), 1);
  ASSERT_EQ(bestFit[0], 'a');
#endif
  EXPECT_EQ(text::GbkFromWide(bait), std::nullopt);
  EXPECT_EQ(text::GbkFromWide(L"\U0001F600"), std::nullopt);
  EXPECT_EQ(text::GbkFromWide(L"\uAC00"), std::nullopt);  // Hangul
  // FULLWIDTH SOLIDUS is a GBK character of its own, not "/".
  EXPECT_EQ(text::GbkFromWide(L"a\uFF0Fb"), std::string("a\xA3\xAF" "b"));
}

}  // namespace
