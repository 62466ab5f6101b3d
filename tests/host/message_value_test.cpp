#include "host/message_value.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Kind = MessageValue::Kind;

// 年 月 日 时 分 秒 真 假 in code page 936.
#define Y "\xC4\xEA"
#define MO "\xD4\xC2"
#define D "\xC8\xD5"
#define H "\xCA\xB1"
#define MI "\xB7\xD6"
#define S "\xC3\xEB"

TEST(ValueToDisplayText, EveryKindOfValue) {
  struct Case {
    MessageValue value;
    std::string text;
  } cases[] = {
      {MessageValue::FromText("\xB3\xC9\xB9\xA6"), "\xB3\xC9\xB9\xA6"},
      {MessageValue::FromText(""), ""},
      {MessageValue::FromInteger(Kind::Byte, 255), "255"},
      {MessageValue::FromInteger(Kind::Short, -32768), "-32768"},
      {MessageValue::FromInteger(Kind::Integer, -5), "-5"},
      {MessageValue::FromInteger(Kind::LongInteger, -9223372036854775807LL - 1), "-9223372036854775808"},
      {MessageValue::FromInteger(Kind::Boolean, 1), "\xD5\xE6"},
      {MessageValue::FromInteger(Kind::Boolean, -7), "\xD5\xE6"},
      {MessageValue::FromInteger(Kind::Boolean, 0), "\xBC\xD9"},
      {MessageValue::FromReal(Kind::Float, 2.5f), "2.5"},
      {MessageValue::FromReal(Kind::Float, 1234567.0f), "1.23457e+06"},
      {MessageValue::FromReal(Kind::Float, 0.333333343f), "0.333333"},
      {MessageValue::FromReal(Kind::Double, 3.14159265358979), "3.14159265359"},
      {MessageValue::FromReal(Kind::Double, 1e20), "1e+20"},
      {MessageValue::FromReal(Kind::Float, -0.0000123456789f), "-1.23457e-05"},
      {MessageValue{}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ValueToDisplayText(c.value), c.text) << c.text;
}

TEST(ValueToDisplayText, DateTimes) {
  // 45000 is 2023-03-15.
  struct Case {
    double date;
    std::string text;
  } cases[] = {
      {45000.0, "2023" Y "3" MO "15" D},
      {45000.0 + (14 * 3600 + 5 * 60) / 86400.0, "2023" Y "3" MO "15" D "14" H "5" MI},
      {45000.0 + (14 * 3600 + 7) / 86400.0, "2023" Y "3" MO "15" D "14" H "0" MI "7" S},
      {45000.0 + 14 / 24.0, "2023" Y "3" MO "15" D "14" H},
      {0.0, "1899" Y "12" MO "30" D},
      {-1.25, "1899" Y "12" MO "29" D "6" H},
      {3000000.0, "9999" Y "12" MO "31" D},
      {2958465.5, "9999" Y "12" MO "31" D "12" H},
      {-700000.0, "100" Y "1" MO "1" D},
      {-657434.5, "100" Y "1" MO "1" D "12" H},
      {std::nan(""), ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ValueToDisplayText(MessageValue::FromReal(Kind::DateTime, c.date)), c.text) << c.date;
}

TEST(MessageBox, FlagsAndResults) {
  EXPECT_EQ(MessageBoxFlags(48), 0x2030u);
  EXPECT_EQ(MessageBoxFlags(64), 0x2040u);
  EXPECT_EQ(MessageBoxFlags(0x1030), 0x1030u);
  const int platform[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, -1};
  const int code[] = {0, 0, 1, 2, 3, 4, 5, 6, 0, 0};
  for (std::size_t i = 0; i < std::size(platform); ++i) EXPECT_EQ(MessageBoxResult(platform[i]), code[i]);
}

}  // namespace
