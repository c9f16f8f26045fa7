#include "tools/vonrix/repeat_entries.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "log/date_time.h"

namespace vondal {
namespace {

// Entries with these keys, in this log order.
std::vector<RepeatEntry> EntriesOf(const std::vector<int32_t>& keys) {
  std::vector<RepeatEntry> entries;
  for (int32_t key : keys) {
    RepeatEntry entry{};
    entry.key = key;
    entry.value = static_cast<int32_t>(entries.size());
    entries.push_back(entry);
  }
  return entries;
}

// The log positions of the entries, in their order.
std::vector<int32_t> Order(const std::vector<RepeatEntry>& entries) {
  std::vector<int32_t> order;
  for (const RepeatEntry& entry : entries) order.push_back(entry.value);
  return order;
}

// What sorting by key must give: equal keys in log order.
std::vector<int32_t> Expected(std::vector<RepeatEntry> entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const RepeatEntry& a, const RepeatEntry& b) { return a.key < b.key; });
  return Order(entries);
}

TEST(SortByKeyTest, LateContactsAreMergedInWithEqualKeysInLogOrder) {
  std::vector<RepeatEntry> entries = EntriesOf({10, 20, 30, 15, 40, 30, 50, 5, 60, 60, 20});
  EXPECT_EQ(CountReversals(entries), 4);
  const std::vector<int32_t> expected = Expected(entries);
  SortByKey(entries);
  EXPECT_EQ(Order(entries), expected);
  EXPECT_EQ(CountReversals(entries), 0);
}

TEST(SortByKeyTest, ALogOutOfOrderAllOverIsSortedWhole) {
  std::vector<int32_t> keys;
  unsigned seed = 3;
  for (int i = 0; i < 5000; ++i)
    keys.push_back(static_cast<int32_t>((seed = seed * 1103515245 + 12345) >> 20) % 400);
  for (std::vector<int32_t> order : {keys, std::vector<int32_t>(keys.rbegin(), keys.rend())}) {
    std::vector<RepeatEntry> entries = EntriesOf(order);
    const std::vector<int32_t> expected = Expected(entries);
    SortByKey(entries);
    EXPECT_EQ(Order(entries), expected);
  }
}

TEST(SortByKeyTest, AnEarlyFutureContactMakesTheRestStrays) {
  std::vector<int32_t> keys = {1000};
  for (int i = 0; i < 100; ++i) keys.push_back(i);  // all below the first: more than an eighth
  std::vector<RepeatEntry> entries = EntriesOf(keys);
  const std::vector<int32_t> expected = Expected(entries);
  SortByKey(entries);
  EXPECT_EQ(Order(entries), expected);
}

TEST(DateTimeKeysTest, SameKeysAsEachRecordOnItsOwn) {
  const std::vector<std::pair<std::string, std::string>> records = {
      {"120101", "0900"}, {"120101", "2359"},        {"120101", ""},
      {"1201011", "12"},  {"120102", "0000"},        {"120102", "9999"},
      {"500101", "0000"}, {"491231", "2359"},        {"12", "0900"},
      {"", ""},           {"\xff\x80\x01x", "\x01"}, {"991301", "0a0b"},
      {"991301", "0100"}, {"000229", "1200"}};
  DateTimeKeys keys;
  for (const auto& [date, start] : records) {
    EXPECT_EQ(keys.Of(date, start), DateTimeKey(date, start)) << date << " " << start;
  }
}

TEST(DateOfDayTest, DayNumbersFrom1950) {
  EXPECT_EQ(DateOfDay(0).year, 1950);
  const Date leap = DateOfDay(18262 + 59);  // 2000-01-01 is day 18262 of 1950, then 59 more
  EXPECT_EQ(leap.year, 2000);
  EXPECT_EQ(leap.month, 2);
  EXPECT_EQ(leap.day, 29);
  const Date last = DateOfDay(36524);
  EXPECT_EQ(last.year, 2049);
  EXPECT_EQ(last.month, 12);
  EXPECT_EQ(last.day, 31);
}

}  // namespace
}  // namespace vondal
