#include "host/message_value.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/civil_date.h"

namespace {

// 真 and 假 in code page 936.
constexpr char kTrue[] = "\xD5\xE6";
constexpr char kFalse[] = "\xBC\xD9";
// %d年%d月%d日, %d时%d分%d秒, %d时%d分 and %d时 in code page 936.
constexpr char kDateFormat[] = "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5";
constexpr char kHourMinuteSecondFormat[] = "%d\xCA\xB1%d\xB7\xD6%d\xC3\xEB";
constexpr char kHourMinuteFormat[] = "%d\xCA\xB1%d\xB7\xD6";
constexpr char kHourFormat[] = "%d\xCA\xB1";

// 1 January 100 and 31 December 9999, the first and the last day that the
// OLE date can show, as its day counts.
constexpr std::int64_t kFirstDay = -657434;
constexpr std::int64_t kLastDay = 2958465;
constexpr std::int64_t kSecondsPerDay = 86400;
// Day 0 of the OLE date, 30 December 1899, counted from 1 March of year 0.
constexpr std::int64_t kOleDayZeroFromMarchYearZero = 693899;

std::string DateTimeText(double date) {
  // Not a date at all: nothing to convert.
  if (std::isnan(date)) return {};
  // Only days outside the years 100 to 9999 are clamped, so that a time on
  // the first or the last day keeps its time part.
  if (date >= static_cast<double>(kLastDay + 1)) date = static_cast<double>(kLastDay);
  if (date <= static_cast<double>(kFirstDay - 1)) date = static_cast<double>(kFirstDay);
  // The integral part counts the days and the size of the fraction is the
  // time of day, for days before day 0 too: -1.25 is 29 December 1899, 6:00.
  const double dayPart = std::trunc(date);
  std::int64_t seconds = static_cast<std::int64_t>(dayPart) * kSecondsPerDay +
                         std::llround(std::fabs(date - dayPart) * static_cast<double>(kSecondsPerDay));
  // A time just before midnight of the last day must not round into year 10000.
  seconds = std::min(seconds, (kLastDay + 1) * kSecondsPerDay - 1);
  const std::int64_t day = (seconds >= 0 ? seconds : seconds - (kSecondsPerDay - 1)) / kSecondsPerDay;
  const std::int64_t secondOfDay = seconds - day * kSecondsPerDay;
  const CivilDate civil = CivilDateOf(day + kOleDayZeroFromMarchYearZero);
  const int hour = static_cast<int>(secondOfDay / 3600);
  const int minute = static_cast<int>(secondOfDay / 60 % 60);
  const int second = static_cast<int>(secondOfDay % 60);

  char buffer[100];
  const int dateLength = std::snprintf(buffer, sizeof buffer, kDateFormat, civil.year, civil.month, civil.day);
  char* time = buffer + dateLength;
  const std::size_t room = sizeof buffer - static_cast<std::size_t>(dateLength);
  if (second != 0)
    std::snprintf(time, room, kHourMinuteSecondFormat, hour, minute, second);
  else if (minute != 0)
    std::snprintf(time, room, kHourMinuteFormat, hour, minute);
  else if (hour != 0)
    std::snprintf(time, room, kHourFormat, hour);
  return buffer;
}

std::string Formatted(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// Rounded to six significant digits with halves away from zero before "%.6g",
// which on its own rounds an exact half to even: 1234565 shows 1.23457e+06.
std::string FloatText(float value) {
  double shown = value;
  if (shown != 0 && std::isfinite(shown)) {
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(shown))));
    const int shift = 5 - exponent;
    // Dividing by an exact power of ten keeps a half exactly a half.
    const double scale = std::pow(10.0, std::abs(shift));
    const double rounded =
        shift >= 0 ? std::round(shown * scale) / scale : std::round(shown / scale) * scale;
    if (std::isfinite(rounded)) shown = rounded;
  }
  return Formatted("%.6g", shown);
}

MessageValue IntegerValue(MessageValue::Kind kind, std::int64_t integer) {
  MessageValue value;
  value.kind = kind;
  value.integer = integer;
  return value;
}

MessageValue RealValue(MessageValue::Kind kind, double real) {
  MessageValue value;
  value.kind = kind;
  value.real = real;
  return value;
}

}  // namespace

MessageValue MessageValue::FromText(std::string text) {
  MessageValue value;
  value.kind = Kind::Text;
  value.text = std::move(text);
  return value;
}

MessageValue MessageValue::FromByte(std::uint8_t value) { return IntegerValue(Kind::Byte, value); }
MessageValue MessageValue::FromShort(std::int16_t value) { return IntegerValue(Kind::Short, value); }
MessageValue MessageValue::FromInteger(std::int32_t value) { return IntegerValue(Kind::Integer, value); }
MessageValue MessageValue::FromLongInteger(std::int64_t value) { return IntegerValue(Kind::LongInteger, value); }
MessageValue MessageValue::FromFloat(float value) { return RealValue(Kind::Float, value); }
MessageValue MessageValue::FromDouble(double value) { return RealValue(Kind::Double, value); }
MessageValue MessageValue::FromBoolean(std::int32_t value) { return IntegerValue(Kind::Boolean, value); }
MessageValue MessageValue::FromDateTime(double oleDate) { return RealValue(Kind::DateTime, oleDate); }

std::string ValueToDisplayText(const MessageValue& value) {
  switch (value.kind) {
    case MessageValue::Kind::Text: return value.text;
    case MessageValue::Kind::Byte:
    case MessageValue::Kind::Short:
    case MessageValue::Kind::Integer:
    case MessageValue::Kind::LongInteger: return std::to_string(value.integer);
    case MessageValue::Kind::Float: return FloatText(static_cast<float>(value.real));
    case MessageValue::Kind::Double: return Formatted("%.13g", value.real);
    case MessageValue::Kind::Boolean: return value.integer != 0 ? kTrue : kFalse;
    case MessageValue::Kind::DateTime: return DateTimeText(value.real);
    case MessageValue::Kind::Other: break;
  }
  return {};
}
