#include "log/date_time.h"

namespace vondal {
namespace {

int TwoDigits(std::string_view text, size_t i) { return (text[i] - '0') * 10 + (text[i + 1] - '0'); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int DayNumber(int year, int month, int day) {
  // Days from 0000-03-01 (the civil-from-days method), shifted to 1900-01-01.
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  constexpr int kDaysTo1900 = 693901;  // from 0000-03-01 to 1900-01-01
  return era * 146097 + dayOfEra - kDaysTo1900;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int32_t DayMinutes(std::string_view date) {
  if (date.size() < 6) return kNoDay;
  for (size_t i = 0; i < 6; ++i) {
    if (date[i] < '0' || date[i] > '9') return kNoDay;
  }
  const int year = FullYear(TwoDigits(date, 0));
  const int month = TwoDigits(date, 2);
  const int day = TwoDigits(date, 4);
  return (DayNumber(year, month, day) - kDayOf1950) * 1440;
}

int32_t DateTimeKey(std::string_view date, std::string_view start) {
  return DateTimeKeyOfDay(DayMinutes(date), start);
}

DateTime KeyToDateTime(int32_t key) {
  DateTime result{};
  int days = key / 1440 + kDayOf1950;
  const int minutes = key % 1440;
  result.hour = minutes / 60;
  result.minute = minutes % 60;
  // Civil date from the day count (inverse of DayNumber).
  constexpr int kDaysTo1900 = 693901;
  const int z = days + kDaysTo1900;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int dayOfEra = z - era * 146097;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int mp = (5 * dayOfYear + 2) / 153;
  result.day = dayOfYear - (153 * mp + 2) / 5 + 1;
  result.month = mp < 10 ? mp + 3 : mp - 9;
  result.year = yearOfEra + era * 400 + (result.month <= 2 ? 1 : 0);
  return result;
}

int CheckDate(std::string_view date) {
  for (size_t i = 0; i < 6; ++i) {
    if (i >= date.size() || date[i] < '0' || date[i] > '9') return 1;
  }
  const int month = TwoDigits(date, 2);
  if (month < 1 || month > 12) return 2;
  const int day = TwoDigits(date, 4);
  if (day < 1 || day > DaysInMonth(FullYear(TwoDigits(date, 0)), month)) return 3;
  return 0;
}

}  // namespace vondal
