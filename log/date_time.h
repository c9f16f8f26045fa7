// Dates and times of records. DATE is YYMMDD (YY below 50 is 20YY, else 19YY, so dates run from
// 1950-01-01 to 2049-12-31) and START is HHMM. The date-time key that orders records is the
// number of minutes from 1950-01-01 00:00; it needs 26 bits (at most 52595999).
#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

namespace vondal {

inline constexpr int32_t kMaxDateTimeKey = 52595999;
// The key of every record whose DATE and START give no minute of the window: a non-digit among
// the six bytes of DATE or the four of START (a shorter text), or a day and time before
// 1950-01-01 00:00 or after 2049-12-31 23:59. Such records (joined from other files) gather at the
// head of the log once sorted, where contacts written later never fall behind them.
inline constexpr int32_t kUndatedKey = 0;
// DayMinutes of a DATE that is not six digits.
inline constexpr int32_t kNoDay = std::numeric_limits<int32_t>::min();
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

// Minutes from 1950-01-01 00:00 to the start of DATE's day, computed from its first six bytes
// without validation (month 13 runs on into the next year, so the day may lie outside the
// window); kNoDay when DATE is shorter or one of them is not a digit.
int32_t DayMinutes(std::string_view date);

// The date-time key of a DATE whose DayMinutes are `dayMinutes` and of START: the minutes to
// DATE START, computed from the digits as stored and without validation, when START begins with
// four digits and the minute lies in the window (0 … 52595999); kUndatedKey otherwise. Every text
// thus has one key, which the index file keeps in its 26 bits and which compares the same way
// signed and unsigned.
inline int32_t DateTimeKeyOfDay(int32_t dayMinutes, std::string_view start) {
  if (dayMinutes == kNoDay || start.size() < 4) return kUndatedKey;
  int digits[4];
  for (int i = 0; i < 4; ++i) {
    digits[i] = start[i] - '0';
    if (digits[i] < 0 || digits[i] > 9) return kUndatedKey;
  }
  const int64_t key = int64_t{dayMinutes} + (digits[0] * 10 + digits[1]) * 60 + digits[2] * 10 + digits[3];
  return key < 0 || key > kMaxDateTimeKey ? kUndatedKey : static_cast<int32_t>(key);
}

// Minutes from 1950-01-01 00:00 to DATE START: DateTimeKeyOfDay(DayMinutes(date), start).
// Records that pass the write checks give their minute; any other text gives a key too, inside
// the window (kUndatedKey for a text that is no date and time).
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
