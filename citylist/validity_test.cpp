#include "citylist/validity.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

TEST(ValidityTest, DayNumbersCountFrom1950AndKeepTheOrderOfDates) {
  EXPECT_EQ(ListDayNumber(24, 3, 1), 51681);
  EXPECT_LT(ListDayNumber(99, 12, 31), ListDayNumber(0, 1, 1));
  EXPECT_LT(ListDayNumber(49, 12, 31), kOpenEnd);
  EXPECT_GT(ListDayNumber(50, 1, 1), kOpenStart);
  EXPECT_EQ(DayNumberOfDate("240301"), 51681);
  EXPECT_EQ(DayNumberOfDate("24031"), std::nullopt);
  EXPECT_EQ(DayNumberOfDate("2403x1"), std::nullopt);
}

TEST(ValidityTest, StartAndEndWithTheirPartialForms) {
  struct Case {
    std::string_view column;
    Validity expected;
  } cases[] = {
      {"240401-", {ListDayNumber(24, 4, 1), kOpenEnd}},
      {"-2403xx", {kOpenStart, ListDayNumber(24, 3, 31)}},  // no start: its seventh character is no "-"
      {"-731130", {kOpenStart, ListDayNumber(73, 11, 30)}},
      {"240101-240331", {ListDayNumber(24, 1, 1), ListDayNumber(24, 3, 31)}},
      {"24xxxx-", {ListDayNumber(24, 1, 1), kOpenEnd}},      // no month: 1 January
      {"2405xx-", {ListDayNumber(24, 5, 1), kOpenEnd}},      // no day: the 1st
      {"24xx15-", {ListDayNumber(24, 1, 1), kOpenEnd}},      // a day without a month is not used
      {"-24xxxx", {kOpenStart, ListDayNumber(24, 12, 31)}},  // no month: 31 December
      {"-24xx15", {kOpenStart, ListDayNumber(24, 12, 31)}},
      {"-2402", {}},  // too short to be an end
      {"2404", {}},
      {"", {}},
      {"Sapporo", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseValidity(c.column), c.expected) << c.column;
}

TEST(ValidityTest, AnEndBeforeTheStartMeansAlways) {
  EXPECT_EQ(ParseValidity("240101-231231"), Validity{});
  EXPECT_EQ(ParseValidity("240101-240101"), (Validity{ListDayNumber(24, 1, 1), ListDayNumber(24, 1, 1)}));
}

TEST(ValidityTest, TwoByteCharactersNeverTakeTheEndDateApart) {
  // The end is the six characters after the "-" that the shape "-##????" found, even when
  // two-byte characters stand among them or an earlier "-" stands before it.
  EXPECT_EQ(ParseValidity("-24年度末迄"), (Validity{kOpenStart, ListDayNumber(24, 12, 31)}));
  EXPECT_EQ(ParseValidity("x-y-240331"), (Validity{kOpenStart, ListDayNumber(24, 3, 31)}));
  EXPECT_EQ(ParseValidity("\x81-2403"), Validity{});
}

}  // namespace
}  // namespace vondal
