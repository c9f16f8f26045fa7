#include "editor/search.h"

#include <gtest/gtest.h>

#include "editor/search_filter.h"
#include "editor/search_history.h"
#include "editor/search_request.h"
#include "editor/search_summary.h"
#include "log/file_system.h"
#include "log/log_format.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

bool Finds(int key, std::string_view typed, std::string_view callsign) {
  const SearchRequest request = RequestOfKey(key, CALLSIGN);
  return CallsignMatcher(BuildPattern(request, typed), request.variant).Matches(callsign);
}

TEST(SearchRequestTest, PatternsOfTheKeys) {
  EXPECT_EQ(BuildPattern(RequestOfKey(' ', CALLSIGN), "QZ1ABC/3"), "*QZ1ABC/3*");
  EXPECT_EQ(BuildPattern(RequestOfKey('\\', CALLSIGN), "QZ1ABC/3"), "QZ1ABC");
  EXPECT_EQ(BuildPattern(RequestOfKey(']', CALLSIGN), "QZ1ABC/3"), "QZ1ABC*");
  EXPECT_EQ(BuildPattern(RequestOfKey('[', CALLSIGN), "QZ1ABC/3"), "*QZ1ABC/3");
  EXPECT_EQ(BuildPattern(RequestOfKey(']', CALLSIGN), "QZ1ABC%/3"), "QZ1ABC%/3*");  // an escaped "/" stays
  EXPECT_EQ(BuildPattern(RequestOfKey('=', CALLSIGN), "JA1*"), "JA1*");
  EXPECT_EQ(BuildPattern(RequestOfKey('A', CALLSIGN), "JA1ABC"), "*");
  // "-" is "="; in DATE, START and END the four keys search by date.
  EXPECT_EQ(RequestOfKey('-', CALLSIGN).key, '=');
  EXPECT_EQ(RequestOfKey('-', DATE).field, DATE);
  EXPECT_EQ(RequestOfKey('=', END).field, START);
  EXPECT_EQ(RequestOfKey('[', START).position, 'F');
  EXPECT_TRUE(RequestOfKey(',', DATE).key == ',' && RequestOfKey(',', DATE).field == CALLSIGN);
  EXPECT_TRUE(RequestOfKey('x', CALLSIGN).empty());
}

TEST(SearchRequestTest, VariantsOnTheirExamples) {
  // Blank: anywhere inside.
  EXPECT_TRUE(Finds(' ', "QZ1ABC/3", "QZ1ABC/3"));
  EXPECT_TRUE(Finds(' ', "QZ1ABC/3", "XQZ1ABC/3P"));
  EXPECT_FALSE(Finds(' ', "QZ1ABC/3", "QZ1ABC"));
  // "\": with or without a portable suffix.
  EXPECT_TRUE(Finds('\\', "QZ1ABC/3", "QZ1ABC"));
  EXPECT_TRUE(Finds('\\', "QZ1ABC/3", "QZ1ABC/QRP"));
  EXPECT_FALSE(Finds('\\', "QZ1ABC/3", "QZ1ABCD"));
  // "]": every call sign beginning with it.
  EXPECT_TRUE(Finds(']', "QZ1ABC/3", "QZ1ABCD"));
  EXPECT_FALSE(Finds(']', "QZ1ABC/3", "JQZ1ABC"));
  // ",": same length, one character may differ; ".": begins alike.
  EXPECT_TRUE(Finds(',', "QZ1ABD", "QZ1ABC"));
  EXPECT_FALSE(Finds(',', "QZ1ABD", "QZ1ABCD"));
  EXPECT_FALSE(Finds(',', "QZ1ABD", "QZ2ABC"));
  EXPECT_TRUE(Finds('.', "QZ1ABD", "QZ1ABCD"));
  EXPECT_FALSE(Finds('.', "QZ1ABDX", "QZ1ABD"));
  EXPECT_TRUE(Finds(',', "QZ#ABC", "QZ7ABC"));  // "#" a digit, "@" a letter, "?" anything
  EXPECT_TRUE(Finds(',', "@@1ABC", "JA1ABD"));
  // ":": the characters in any order, one may be missing.
  EXPECT_TRUE(Finds(':', "ABC1", "1CBA"));
  EXPECT_TRUE(Finds(':', "ABC1", "XBC1"));
  EXPECT_FALSE(Finds(':', "ABC1", "XYC1"));
  // ";": in order, one may be missing.
  EXPECT_TRUE(Finds(';', "JA1ABC", "JA1ABC"));
  EXPECT_TRUE(Finds(';', "JA1ABC", "JA1AXC"));
  EXPECT_TRUE(Finds(';', "JA1ABC", "JA1AC"));
  EXPECT_FALSE(Finds(';', "JA1ABC", "JA1CBA"));
  EXPECT_TRUE(Finds(';', "JA1ABC", ""));  // an empty call sign passes
}

TEST(SearchTest, DateCompletion) {
  std::string date, time;
  ASSERT_TRUE(CompleteDateTime("2403", "", false, date, time));
  EXPECT_EQ(date, "240301");
  EXPECT_EQ(time, "0000");
  ASSERT_TRUE(CompleteDateTime("24", "09", true, date, time));
  EXPECT_EQ(date, "240101");
  EXPECT_EQ(time, "0900");
  ASSERT_TRUE(CompleteDateTime("240305", "0907", true, date, time));
  EXPECT_EQ(time, "0907");
  ASSERT_TRUE(CompleteDateTime("240305", "x9", true, date, time));
  EXPECT_EQ(time, "0000");
  EXPECT_FALSE(CompleteDateTime("x40305", "", false, date, time));
  EXPECT_FALSE(CompleteDateTime("2", "", false, date, time));
  EXPECT_EQ(CountText(0, 0, false, ""), "該当なし");
  EXPECT_EQ(CountText(7, 0, false, ":中断"), "7交信:中断");
  EXPECT_EQ(CountText(3, 12, true, ":続く"), "3/12交信:続く");
}

TEST(SearchHistoryTest, NewestFirstWithoutRepeatsAndCappedAt200) {
  SearchHistory history;
  history.Store("JA", 1, 1);  // too short
  EXPECT_EQ(history.size(), 0);
  history.Store("JA1ABC", 9, 7);
  history.Store("JA1ABC", 9, 8);  // the same: one entry, its time updated
  ASSERT_EQ(history.size(), 1);
  EXPECT_EQ(history[0].minute, 8);
  history.Store("JH2XYZ", 10, 0);
  EXPECT_EQ(history[0].callsign, "JH2XYZ");
  EXPECT_EQ(history[1].callsign, "JA1ABC");
  for (int i = 0; i < 250; ++i) history.Store("JA" + std::to_string(1000 + i), 0, 0);
  EXPECT_EQ(history.size(), SearchHistory::kCapacity);
  EXPECT_EQ(history[0].callsign, "JA1249");
  EXPECT_EQ(history[199].callsign, "JA1050");
}

TEST(SearchFilterTest, FirstOccurrenceParts) {
  EXPECT_EQ(FirstOccurrencePart("QZ1ABC/3", 'A'), "QZ1ABC/3");
  EXPECT_EQ(FirstOccurrencePart("3/QZ1ABC", 'B'), "QZ1ABC");
  EXPECT_EQ(FirstOccurrencePart("JA1ABC/QRP", 'B'), "JA1ABC");
  EXPECT_EQ(FirstOccurrencePart("QZ1ABC", 'P'), "QZ1");
  EXPECT_EQ(FirstOccurrencePart("QZ1ABC", 'S'), "ABC");
  EXPECT_EQ(FirstOccurrencePart("7K3XYZ", 'P'), "7K3");
  EXPECT_EQ(FirstOccurrencePart("7K3XYZ", 'S'), "XYZ");
  EXPECT_EQ(FirstOccurrencePart("JA/1", 'B'), std::nullopt);  // no piece of three characters
  EXPECT_EQ(FirstOccurrencePart("ABC1", 'S'), "");            // an empty suffix is a part too
  EXPECT_EQ(FirstOccurrencePart("CBA", 'S'), "");
  EXPECT_EQ(FirstOccurrencePart("CBA", 'P'), "CBA");
  FirstOccurrenceTable table;
  EXPECT_TRUE(table.Enter(*FirstOccurrencePart("QZ1ABC", 'S')));
  EXPECT_FALSE(table.Enter(*FirstOccurrencePart("QY2ABC", 'S')));  // the same suffix
  EXPECT_TRUE(table.Enter(*FirstOccurrencePart("QY2ABD", 'S')));
  table.Clear();
  EXPECT_TRUE(table.Enter("ABC"));
}

// A regression: a record whose suffix was empty failed although no empty suffix came before.
TEST(SearchFilterTest, TheFirstEmptySuffixPassesAndTheNextFails) {
  MemoryFileSystem fs;
  testing::LogSet set(fs);
  ASSERT_EQ(set.log.OpenLog("S.VD"), "");
  const char* calls[] = {"ABC1", "JA1ZZZ", "CBA", "JA2ZZZ", "QZ1ABC", "QY2ABC"};
  for (const char* call : calls) {
    Record record = testing::ValidRecord(call);
    ASSERT_TRUE(set.log.WriteRecord(set.log.RecordCount(), record).written);
  }
  EditorContext context{set.log, set.index};
  SearchConditions conditions;
  conditions.firstOccurrence = 'S';
  RecordFilter filter(context, conditions, false);
  std::string passed;
  for (int n = 0; n < 6; ++n) {
    if (filter.Passes(n)) passed += std::string(calls[n]) + " ";
  }
  EXPECT_EQ(passed, "ABC1 JA1ZZZ QZ1ABC ");
}

TEST(SearchFilterTest, ImitationMaskWithNegationAndMatchersByAttribute) {
  ResetFieldTable();
  Record record;
  record[CALLSIGN] = "JA1ABC";
  record[sRST] = "579";
  record[QTH] = "Tokyo";
  const RecordImage image = EncodeRecord(record);
  RecordReader reader;
  const RecordTexts& texts = reader.Split(image.data());
  Record mask;
  mask[sRST] = "!59*";
  EXPECT_TRUE(RecordFilter::MaskAccepts(mask, texts));
  mask[sRST] = "!57*";
  EXPECT_FALSE(RecordFilter::MaskAccepts(mask, texts));
  mask[sRST] = "";
  mask[QTH] = "tokyo";  // case ignored unless the field's case letter is S
  EXPECT_TRUE(RecordFilter::MaskAccepts(mask, texts));
  ActiveFieldTable()[QTH].attributes[kMaskCase] = 'S';
  EXPECT_FALSE(RecordFilter::MaskAccepts(mask, texts));
  mask[QTH] = "";
  mask[CALLSIGN] = "ja1*";  // CALLSIGN: always the call-sign matcher, with case
  EXPECT_FALSE(RecordFilter::MaskAccepts(mask, texts));
  mask[CALLSIGN] = "JA#@BC";
  EXPECT_TRUE(RecordFilter::MaskAccepts(mask, texts));
  ResetFieldTable();
}

}  // namespace
}  // namespace vondal

namespace vondal {
namespace {

// A regression: a FREQ in no band was counted one row before the table.
TEST(SearchSummaryTest, FrequenciesInNoBandCountInTheLastRow) {
  SearchSummary summary;
  summary.Count("1.900", "CW");  // between two ranges of 160 m
  summary.Count("", "FT8");
  summary.Count("7.025", "SSB");
  EXPECT_EQ(summary.counts[SearchSummary::kRows - 1][0], 1);
  EXPECT_EQ(summary.counts[SearchSummary::kRows - 1][3], 1);
  EXPECT_EQ(summary.counts[5][1], 1);
  EXPECT_TRUE(summary.bandUsed[SearchSummary::kRows - 1]);
}

}  // namespace
}  // namespace vondal
