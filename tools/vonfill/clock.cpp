#include "tools/vonfill/clock.h"

namespace vondal::vonfill {
namespace {

// Maximum minutes to the next contact by hour of day: [0] working days, [1] holidays.
constexpr int kInterval[2][24] = {
    {60,  360, 300, 240, 180, 120, 60,  780, 720, 660, 600, 540,
     480, 420, 360, 300, 240, 180, 120, 90,  90,  80,  80,  80},
    {30, 30, 300, 240, 180, 120, 60, 60, 40, 30, 40, 60, 60, 30, 30, 30, 40, 60, 60, 30, 20, 20, 20, 20},
};

constexpr int kDaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr int kFirstYear = 50;  // 1950, the oldest year a DATE holds

void NextDay(Clock& clock) {
  if (++clock.day > kDaysPerMonth[clock.month - 1]) {
    clock.day = 1;
    if (++clock.month > 12) {
      clock.month = 1;
      ++clock.year;
    }
  }
  const int weekday = Weekday(clock.year + 1900, clock.month, clock.day);
  clock.holiday = (clock.month == 1 && (clock.day == 2 || clock.day == 3)) || weekday == 0 || weekday == 6;
}

}  // namespace

Clock StartClock(int fullYear, int month, int records) {
  const int monthsBack = records / 1000;
  Clock clock{fullYear - 1900 - monthsBack / 12, month - monthsBack % 12, 1, 0, 0, false};
  if (clock.month < 1) {
    clock.month += 12;
    --clock.year;
  }
  if (clock.year < kFirstYear) {
    clock.year = kFirstYear;
    clock.month = 1;
  }
  return clock;
}

int IntervalLimit(const Clock& clock) { return kInterval[clock.holiday ? 1 : 0][clock.hour]; }

void Advance(Clock& clock, int minutes) {
  clock.minute += minutes;
  clock.hour += clock.minute / 60;
  clock.minute %= 60;
  while (clock.hour >= 24) {
    clock.hour -= 24;
    NextDay(clock);
  }
}

void SetTime(std::string& text, int hour, int minute, int later) {
  const int at = (hour * 60 + minute + later) % (24 * 60);
  const int hh = at / 60;
  const int mm = at % 60;
  text.resize(4);
  text[0] = static_cast<char>('0' + hh / 10);
  text[1] = static_cast<char>('0' + hh % 10);
  text[2] = static_cast<char>('0' + mm / 10);
  text[3] = static_cast<char>('0' + mm % 10);
}

int Weekday(int fullYear, int month, int day) {
  static constexpr int kMonthOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --fullYear;
  return (fullYear + fullYear / 4 - fullYear / 100 + fullYear / 400 + kMonthOffset[month - 1] + day) % 7;
}

}  // namespace vondal::vonfill
