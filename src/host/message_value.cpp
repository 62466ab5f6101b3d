#include "host/message_value.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace {

constexpr unsigned kSystemModal = 0x1000;
constexpr unsigned kTaskModal = 0x2000;

// 真, 假 and the date-time units 年 月 日 时 分 秒, in code page 936.
constexpr char kTrue[] = "\xD5\xE6";
constexpr char kFalse[] = "\xBC\xD9";
constexpr char kDateFormat[] = "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5";
constexpr char kHourMinuteSecond[] = "%d\xCA\xB1%d\xB7\xD6%d\xC3\xEB";
constexpr char kHourMinute[] = "%d\xCA\xB1%d\xB7\xD6";
constexpr char kHour[] = "%d\xCA\xB1";

// 0001-01-01 to 31 December 9999 and 1 January 100 as day counts of the OLE
// date, whose day 0 is 30 December 1899.
constexpr double kLastDay = 2958465;
constexpr double kFirstDay = -657434;

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr std::int64_t kOleEpochFromUnixEpoch = -25569;  // 1899-12-30

std::string DateTimeText(double date) {
  if (std::isnan(date)) return {};
  // Only what lies outside the years 100 to 9999 is clamped, so a time on the
  // first or the last day keeps its time part.
  if (date >= kLastDay + 1) date = kLastDay;
  if (date <= kFirstDay - 1) date = kFirstDay;
  // The day is the integral part; the time of day is the fraction's size,
  // also for days before 1899-12-30.
  double dayPart = std::trunc(date);
  std::int64_t seconds = std::llround(std::fabs(date - dayPart) * 86400.0);
  std::int64_t days = static_cast<std::int64_t>(dayPart);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += date < 0 ? -1 : 1;
  }
  int year = 0, month = 0, day = 0;
  CivilFromDays(days + kOleEpochFromUnixEpoch, year, month, day);
  int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60),
      second = static_cast<int>(seconds % 60);
  char buffer[100];
  int n = std::snprintf(buffer, sizeof buffer, kDateFormat, year, month, day);
  if (second != 0)
    std::snprintf(buffer + n, sizeof buffer - n, kHourMinuteSecond, hour, minute, second);
  else if (minute != 0)
    std::snprintf(buffer + n, sizeof buffer - n, kHourMinute, hour, minute);
  else if (hour != 0)
    std::snprintf(buffer + n, sizeof buffer - n, kHour, hour);
  return buffer;
}

// Rounded to six significant digits, halves away from zero, before "%.6g"
// (which on its own would round halves to even).
std::string FloatText(float value) {
  double v = value;
  if (v != 0 && std::isfinite(v)) {
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    double scale = std::pow(10.0, 5 - exponent);
    double rounded = std::round(v * scale) / scale;
    if (std::isfinite(rounded)) v = rounded;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g", v);
  return buffer;
}

std::string Printf(const char* format, auto value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

MessageValue MessageValue::FromText(std::string text) {
  MessageValue v;
  v.kind = Kind::Text;
  v.text = std::move(text);
  return v;
}

MessageValue MessageValue::FromInteger(Kind kind, std::int64_t value) {
  MessageValue v;
  v.kind = kind;
  v.integer = value;
  return v;
}

MessageValue MessageValue::FromReal(Kind kind, double value) {
  MessageValue v;
  v.kind = kind;
  v.real = value;
  return v;
}

std::string ValueToDisplayText(const MessageValue& value) {
  switch (value.kind) {
    case MessageValue::Kind::Text: return value.text;
    case MessageValue::Kind::Byte: return Printf("%u", static_cast<unsigned>(static_cast<std::uint8_t>(value.integer)));
    case MessageValue::Kind::Short: return Printf("%d", static_cast<int>(static_cast<std::int16_t>(value.integer)));
    case MessageValue::Kind::Integer: return Printf("%d", static_cast<int>(static_cast<std::int32_t>(value.integer)));
    case MessageValue::Kind::LongInteger: return Printf("%" PRId64, value.integer);
    case MessageValue::Kind::Float: return FloatText(static_cast<float>(value.real));
    case MessageValue::Kind::Double: return Printf("%.13g", value.real);
    case MessageValue::Kind::Boolean: return value.integer != 0 ? kTrue : kFalse;
    case MessageValue::Kind::DateTime: return DateTimeText(value.real);
    default: return {};
  }
}

unsigned MessageBoxFlags(unsigned flags) { return (flags & kSystemModal) ? flags : flags | kTaskModal; }

int MessageBoxResult(int platformResult) { return platformResult >= 1 && platformResult <= 7 ? platformResult - 1 : 0; }
