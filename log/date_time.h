// Dates and times of records. DATE is YYMMDD (YY below 50 is 20YY, else 19YY, so dates run from
// 1950-01-01 to 2049-12-31) and START is HHMM. The date-time key that orders records is the
// number of minutes from 1950-01-01 00:00; it needs 26 bits (at most 52595999).
#pragma once

#include <cstdint>
#include <string_view>

namespace vondal {

inline constexpr int32_t kMaxDateTimeKey = 52595999;
inline constexpr int kDayOf1950 = 18262;  // day number of 1950-01-01 counted from 1900-01-01

struct DateTime {
  int year;  // full year
  int month;
  int day;
  int hour;
  int minute;
};

// Days from 1900-01-01 to the given Gregorian date (1900-01-01 is day 0).
int DayNumber(int year, int month, int day);

// The full year of a two-digit year: 20YY below 50, 19YY otherwise.
constexpr int FullYear(int yy) { return yy < 50 ? 2000 + yy : 1900 + yy; }

// Minutes from 1950-01-01 00:00 to DATE START, computed from the digit characters as stored and
// without validation (a missing character counts as "0"). Checked records give 0 … 52595999.
int32_t DateTimeKey(std::string_view date, std::string_view start);

// The inverse of DateTimeKey for keys 0 … 52595999.
DateTime KeyToDateTime(int32_t key);

// 0 valid; 1 a non-digit among the first six bytes (a text shorter than six bytes fails here);
// 2 month outside 1-12; 3 day outside 1 to the month's length. Bytes after the sixth are not
// looked at.
int CheckDate(std::string_view date);

// Days in a month of the 1950-2049 window (February has 29 days in years divisible by 4).
int DaysInMonth(int year, int month);

}  // namespace vondal
