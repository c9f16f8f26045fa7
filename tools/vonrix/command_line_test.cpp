#include "tools/vonrix/command_line.h"

#include <gtest/gtest.h>

#include "log/field_table.h"

namespace vondal {
namespace {

Selection Select(const std::vector<std::string>& args, std::string* refusal = nullptr) {
  Selection selection;
  const std::string message = ParseSelection(args, selection);
  if (refusal != nullptr) *refusal = message;
  EXPECT_TRUE(refusal != nullptr || message.empty()) << message;
  return selection;
}

std::string RefusalOf(const std::vector<std::string>& args) {
  std::string refusal;
  Select(args, &refusal);
  return refusal;
}

TEST(VonrixFilterTest, FieldNameIsTheBeginningOfExactlyOneName) {
  Filter filter;
  ASSERT_TRUE(ParseFilter("call=JA1*", filter));
  EXPECT_EQ(filter.field, CALLSIGN);
  EXPECT_FALSE(filter.exact);
  EXPECT_EQ(filter.keyword, "JA1*");
  ASSERT_TRUE(ParseFilter("myq!:東京*", filter));
  EXPECT_EQ(filter.field, MyQTH);
  EXPECT_TRUE(filter.negated);
  EXPECT_TRUE(filter.exact);
  EXPECT_EQ(filter.keyword, "東京*");
  ASSERT_TRUE(ParseFilter("QTH=", filter));  // an empty keyword matches an empty field
  EXPECT_EQ(filter.field, QTH);
  EXPECT_EQ(filter.keyword, "");

  EXPECT_FALSE(ParseFilter("C=x", filter));          // CALLSIGN or CONTEST
  EXPECT_FALSE(ParseFilter("My=x", filter));         // MyQTH or MyRIG
  EXPECT_FALSE(ParseFilter("=x", filter));           // no field at all
  EXPECT_FALSE(ParseFilter("CALLSIGNX=x", filter));  // longer than any name
  EXPECT_FALSE(ParseFilter("AUX1=x", filter));       // not a stored field
  EXPECT_FALSE(ParseFilter("CALL SIGN=x", filter));
  EXPECT_FALSE(ParseFilter("CALL!!=x", filter));
}

TEST(VonrixFilterTest, EqualsIgnoresCaseColonComparesExactlyBangNegates) {
  Filter filter;
  ASSERT_TRUE(ParseFilter("CALLSIGN=ja1*", filter));
  EXPECT_TRUE(Passes(filter, "JA1ABC"));
  ASSERT_TRUE(ParseFilter("CALLSIGN:ja1*", filter));
  EXPECT_FALSE(Passes(filter, "JA1ABC"));
  ASSERT_TRUE(ParseFilter("CALLSIGN!:JA1*", filter));
  EXPECT_FALSE(Passes(filter, "JA1ABC"));
  EXPECT_TRUE(Passes(filter, "JH1ABC"));
  EXPECT_TRUE(Passes(filter, "ja1abc"));
  ASSERT_TRUE(ParseFilter("QTH=ソ*", filter));  // ソ ends in "\": a whole character all the same
  EXPECT_TRUE(Passes(filter, "ソウル"));
  EXPECT_FALSE(Passes(filter, "ゾウ"));
}

TEST(VonrixSelectionTest, FiltersAndOptionsInAnyOrder) {
  const Selection selection = Select({"call=JA*", "-j", "QTH!:東京*", "-S"});
  ASSERT_EQ(selection.filters.size(), 2u);
  EXPECT_EQ(selection.filters[0].field, QTH);  // the most recent first
  EXPECT_EQ(selection.country, 'J');
  EXPECT_EQ(selection.club, 'S');
  EXPECT_EQ(DescribeSelection(selection), "Filter= -J -S QTH!==東京* CALLSIGN=JA*");
  EXPECT_EQ(DescribeSelection(Select({})), "Filter=");
  EXPECT_EQ(DescribeSelection(Select({"-C"})), "Filter= -C");
}

TEST(VonrixSelectionTest, RefusalsNameTheFault) {
  EXPECT_EQ(RefusalOf({"-J", "-D"}), "カントリーのオプションが重複しています");
  EXPECT_EQ(RefusalOf({"-d", "-D"}), "カントリーのオプションが重複しています");
  EXPECT_EQ(RefusalOf({"-S", "-c"}), "社団局のオプションが重複しています");
  EXPECT_EQ(RefusalOf({"-x"}), "未定義のオプションがあります");
  EXPECT_EQ(RefusalOf({"-JD"}), "未定義のオプションがあります");
  EXPECT_EQ(RefusalOf({"-"}), "未定義のオプションがあります");
  EXPECT_EQ(RefusalOf({"JA1ABC"}), "フィルタまたはオプションが不正です");
  EXPECT_EQ(RefusalOf({""}), "フィルタまたはオプションが不正です");
  EXPECT_EQ(RefusalOf({"C=x"}), "フィルタが不正です");
  EXPECT_EQ(RefusalOf({"-J=x"}), "フィルタが不正です");  // "=" makes it a filter
}

TEST(VonrixCommandLineTest, ModeByItsFirstLetter) {
  AnalysisMode mode;
  ASSERT_TRUE(ParseMode("c", mode));
  EXPECT_EQ(mode, AnalysisMode::kCounts);
  ASSERT_TRUE(ParseMode("Interval", mode));
  EXPECT_EQ(mode, AnalysisMode::kIntervals);
  ASSERT_TRUE(ParseMode("s", mode));
  EXPECT_EQ(ModeName(mode), "交信期間");
  EXPECT_FALSE(ParseMode("X", mode));
  EXPECT_FALSE(ParseMode("", mode));
}

}  // namespace
}  // namespace vondal
