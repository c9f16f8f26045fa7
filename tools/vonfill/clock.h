// The clock that dates the generated contacts: it starts about one month back per 1000 records and
// moves forward by a random interval after every contact, longer on working days than on holidays.
#pragma once

#include <string>

namespace vondal::vonfill {

struct Clock {
  int year;   // years since 1900
  int month;  // 1-12
  int day;
  int hour;
  int minute;
  bool holiday;
};

// The clock for a log of `records` records made in `month` (1-12) of `fullYear`: m = records /
// 1000 months back, day 1, 00:00, a working day. A log that would reach back before January 1950
// starts there instead: DATE holds only the years 1950-2049, and an earlier year would read as
// 20YY and put the oldest contacts after the newest.
Clock StartClock(int fullYear, int month, int records);

// The most minutes to the next contact at the clock's hour, from the interval table of working
// days or holidays.
int IntervalLimit(const Clock& clock);

// Moves the clock `minutes` (0-1439) forward, carrying into hour, day, month and year (February
// always has 28 days). After a change of day the holiday flag says whether the new day is 2 or
// 3 January, a Saturday or a Sunday.
void Advance(Clock& clock, int minutes);

// START or END: "HHMM" of hour:minute plus `later` minutes (0-1439), past midnight from "00" on
// again. A contact that runs past midnight keeps START's date: 23:55 + 10 ends at "0005".
void SetTime(std::string& text, int hour, int minute, int later = 0);

// The weekday of a Gregorian date, 0 = Sunday.
int Weekday(int fullYear, int month, int day);

}  // namespace vondal::vonfill
