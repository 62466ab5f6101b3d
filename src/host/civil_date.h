// Day counts to calendar dates, for the message box's date texts and the
// times that ZIP extra fields carry as Unix seconds.
#pragma once

#include <cstdint>

struct CivilDate {
  int year, month, day;
};

// The proleptic Gregorian date of a day counted from 1 March of year 0: years
// that start in March put the leap day last, so every era of 400 years is alike.
constexpr CivilDate CivilDateOf(std::int64_t daysFromMarchYearZero) {
  const std::int64_t days = daysFromMarchYearZero;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month,
          static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1)};
}

// 1 January 1970, the Unix epoch, counted from 1 March of year 0.
constexpr std::int64_t kUnixDayZeroFromMarchYearZero = 719468;
