#include "tools/vonfill/clock.h"

#include <gtest/gtest.h>

namespace vondal::vonfill {
namespace {

std::string Date(const Clock& c) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d%s", c.year + 1900, c.month, c.day, c.hour,
                c.minute, c.holiday ? " holiday" : "");
  return text;
}

TEST(ClockTest, StartsOneMonthBackPerThousandRecords) {
  EXPECT_EQ(Date(StartClock(2026, 12, 999)), "2026-12-01 00:00");
  EXPECT_EQ(Date(StartClock(2026, 12, 2000)), "2026-10-01 00:00");
  EXPECT_EQ(Date(StartClock(2026, 3, 5000)), "2025-10-01 00:00");
  EXPECT_EQ(Date(StartClock(2026, 3, 700000)), "1967-11-01 00:00");
}

TEST(ClockTest, NeverStartsBeforeTheYearsADateHolds) {
  // 1,000,000 records would reach back to 1943, which DATE "43…" would read as 2043.
  EXPECT_EQ(Date(StartClock(2026, 12, 1000000)), "1950-01-01 00:00");
  EXPECT_EQ(Date(StartClock(2010, 1, 721000)), "1950-01-01 00:00");
}

TEST(ClockTest, AdvanceCarriesIntoDayMonthAndYear) {
  Clock c{125, 1, 1, 23, 55, false};
  Advance(c, 10);
  EXPECT_EQ(Date(c), "2025-01-02 00:05 holiday");  // 2 January
  c = {125, 2, 28, 20, 0, false};
  Advance(c, 780);
  EXPECT_EQ(Date(c), "2025-03-01 09:00 holiday");  // February always has 28 days; a Saturday
  c = {125, 12, 31, 23, 59, false};
  Advance(c, 1);
  EXPECT_EQ(Date(c), "2026-01-01 00:00");  // New Year's Day itself is a working day
  Advance(c, 1439);
  EXPECT_EQ(Date(c), "2026-01-01 23:59");
}

TEST(ClockTest, HolidaysAreTheSecondAndThirdOfJanuaryAndWeekends) {
  Clock c{125, 1, 3, 12, 0, true};
  Advance(c, 720);  // Saturday 4 January 2025
  EXPECT_TRUE(c.holiday);
  Advance(c, 1440 - 1);
  Advance(c, 1);  // Sunday
  EXPECT_TRUE(c.holiday);
  Advance(c, 1439);
  Advance(c, 1);  // Monday
  EXPECT_FALSE(c.holiday);
  EXPECT_EQ(IntervalLimit(c), 60);
  c.hour = 7;
  EXPECT_EQ(IntervalLimit(c), 780);
  c.holiday = true;
  EXPECT_EQ(IntervalLimit(c), 60);
  EXPECT_EQ(Weekday(2000, 1, 1), 6);
  EXPECT_EQ(Weekday(2024, 2, 29), 4);
  EXPECT_EQ(Weekday(1950, 1, 1), 0);
}

TEST(ClockTest, TimesWrapPastMidnightOnTheSameDate) {
  std::string text;
  SetTime(text, 23, 55, 10);
  EXPECT_EQ(text, "0005");
  SetTime(text, 9, 7);
  EXPECT_EQ(text, "0907");
  SetTime(text, 12, 50, 14);
  EXPECT_EQ(text, "1304");
}

}  // namespace
}  // namespace vondal::vonfill
