// What a message box shows for each kind of value, and the codes that cross
// over to the platform's box.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "host/message_box_codes.h"
#include "host/message_value.h"

namespace {

// 年 月 日 时 分 秒 in code page 936.
#define YEAR "\xC4\xEA"
#define MONTH "\xD4\xC2"
#define DAY "\xC8\xD5"
#define HOUR "\xCA\xB1"
#define MINUTE "\xB7\xD6"
#define SECOND "\xC3\xEB"

constexpr double kSecond = 1.0 / 86400;

TEST(ValueToDisplayText, EveryKindOfValue) {
  struct Case {
    MessageValue value;
    std::string text;
  } cases[] = {
      {MessageValue::FromText("\xB3\xC9\xB9\xA6"), "\xB3\xC9\xB9\xA6"},  // 成功
      {MessageValue::FromText(""), ""},
      {MessageValue::FromByte(255), "255"},
      {MessageValue::FromShort(-32768), "-32768"},
      {MessageValue::FromInteger(-5), "-5"},
      {MessageValue::FromLongInteger(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808"},
      {MessageValue::FromBoolean(1), "\xD5\xE6"},   // 真
      {MessageValue::FromBoolean(-7), "\xD5\xE6"},  // 真
      {MessageValue::FromBoolean(0), "\xBC\xD9"},   // 假
      {MessageValue::FromFloat(2.5f), "2.5"},
      {MessageValue::FromFloat(0.333333343f), "0.333333"},
      // An exact half at the sixth digit goes away from zero, where "%.6g"
      // alone would give 1.23456e+06 and -1.23456e+06.
      {MessageValue::FromFloat(1234565.0f), "1.23457e+06"},
      {MessageValue::FromFloat(-1234565.0f), "-1.23457e+06"},
      {MessageValue::FromFloat(999999.5f), "1e+06"},
      {MessageValue::FromFloat(-0.0000123456789f), "-1.23457e-05"},
      {MessageValue::FromDouble(3.14159265358979), "3.14159265359"},
      {MessageValue::FromDouble(1e20), "1e+20"},
      {MessageValue{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ValueToDisplayText(c.value), c.text) << c.text;
}

TEST(ValueToDisplayText, DateTimes) {
  // Day 45000 is 15 March 2023.
  struct Case {
    double date;
    std::string text;
  } cases[] = {
      {45000.0, "2023" YEAR "3" MONTH "15" DAY},
      {45000.0 + (14 * 3600 + 5 * 60) * kSecond, "2023" YEAR "3" MONTH "15" DAY "14" HOUR "5" MINUTE},
      {45000.0 + (14 * 3600 + 7) * kSecond, "2023" YEAR "3" MONTH "15" DAY "14" HOUR "0" MINUTE "7" SECOND},
      {45000.0 + 14 * 3600 * kSecond, "2023" YEAR "3" MONTH "15" DAY "14" HOUR},
      {45000.0 + 59 * 60 * kSecond, "2023" YEAR "3" MONTH "15" DAY "0" HOUR "59" MINUTE},
      {0.0, "1899" YEAR "12" MONTH "30" DAY},
      {60.0, "1900" YEAR "2" MONTH "28" DAY},
      {-1.25, "1899" YEAR "12" MONTH "29" DAY "6" HOUR},
      // The last and the first day keep their time; beyond them, the day.
      {3000000.0, "9999" YEAR "12" MONTH "31" DAY},
      {std::numeric_limits<double>::infinity(), "9999" YEAR "12" MONTH "31" DAY},
      {2958465.5, "9999" YEAR "12" MONTH "31" DAY "12" HOUR},
      {2958465.0 + 86399.6 * kSecond, "9999" YEAR "12" MONTH "31" DAY "23" HOUR "59" MINUTE "59" SECOND},
      {-700000.0, "100" YEAR "1" MONTH "1" DAY},
      {-657434.5, "100" YEAR "1" MONTH "1" DAY "12" HOUR},
      {std::nan(""), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ValueToDisplayText(MessageValue::FromDateTime(c.date)), c.text) << c.date;
}

TEST(MessageBoxCodes, TaskModalUnlessSystemModal) {
  EXPECT_EQ(MessageBoxFlags(0), 0x2000u);
  EXPECT_EQ(MessageBoxFlags(48), 0x2030u);
  EXPECT_EQ(MessageBoxFlags(64), 0x2040u);
  EXPECT_EQ(MessageBoxFlags(0x1030), 0x1030u);
}

TEST(MessageBoxCodes, ResultsCountFromZero) {
  constexpr unsigned kYesNoCancel = 0x3;
  struct Case {
    int platform;
    MessageBoxResult result;
  } cases[] = {
      {1, MessageBoxResult::Ok},    {2, MessageBoxResult::Cancel}, {3, MessageBoxResult::Abort},
      {4, MessageBoxResult::Retry}, {5, MessageBoxResult::Ignore}, {6, MessageBoxResult::Yes},
      {7, MessageBoxResult::No},    {0, MessageBoxResult::Ok},     {8, MessageBoxResult::Ok},
      {-1, MessageBoxResult::Ok},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageBoxResultOf(c.platform, kYesNoCancel), c.result) << c.platform;
  EXPECT_EQ(static_cast<int>(MessageBoxResult::No), 6);
  // A box with only an OK button, closed with Esc or its close box.
  EXPECT_EQ(MessageBoxResultOf(2, 0x2030), MessageBoxResult::Ok);
}

}  // namespace
