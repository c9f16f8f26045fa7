#include "editor/contest.h"

#include <gtest/gtest.h>

namespace vondal {
namespace {

Record Contact(const char* callsign, const char* freq, const char* mode, const char* rrst) {
  Record r;
  r[CALLSIGN] = callsign;
  r[FREQ] = freq;
  r[MODE] = mode;
  r[rRST] = rrst;
  return r;
}

TEST(ContestTest, TablesLineUp) {
  EXPECT_EQ(MultiplierArea(10), 1);  // Tokyo
  EXPECT_EQ(KcjCode(10), "TK");
  EXPECT_EQ(MultiplierArea(13), 1);  // Saitama
  EXPECT_EQ(KcjCode(13), "ST");
  EXPECT_EQ(MultiplierArea(1), 8);    // Hokkaido
  EXPECT_EQ(MultiplierArea(8), 10);   // Niigata: ":" stands for area 10
  EXPECT_EQ(MultiplierArea(48), 11);  // Ogasawara
  EXPECT_EQ(MultiplierArea(20), 2);
  EXPECT_EQ(MultiplierArea(64), 8);  // 114
  for (char mode : std::string("ASFZXYKL")) EXPECT_EQ(std::string(ContestBandRule(mode)).size(), 25u) << mode;
}

TEST(ContestTest, ModeAllJaChecksAreaBandReportPowerAndNumber) {
  ContestCheck c = CheckContestRecord('A', Contact("JA1ABC", "7.050", "SSB", "5913M"));
  EXPECT_EQ(c.refusal, "");
  EXPECT_EQ(c.multiplier, 13);
  EXPECT_EQ(c.report, "59");
  EXPECT_EQ(c.number, "13");
  EXPECT_EQ(CheckContestRecord('A', Contact("JA1ABC", "7.050", "SSB", "5913")).refusal, "7電力が不明です");
  EXPECT_EQ(CheckContestRecord('A', Contact("W1AW", "7.050", "SSB", "5913M")).refusal, "3DX局です");
  // In CW the report is three digits: 591 leaves "3", too short a number.
  EXPECT_EQ(CheckContestRecord('A', Contact("JA1ABC", "7.050", "CW", "5913M")).refusal, "7ﾏﾙﾁが不明です");
}

TEST(ContestTest, ReportsByModeAndBandRules) {
  // CW reports take three digits.
  EXPECT_EQ(CheckContestRecord('A', Contact("JA1ABC", "7.010", "CW", "59913M")).multiplier, 13);
  EXPECT_EQ(CheckContestRecord('A', Contact("JA1ABC", "7.010", "CW", "6991M")).refusal, "7RS/Tが不明です");
  EXPECT_EQ(CheckContestRecord('S', Contact("JA1ABC", "7.050", "SSB", "5913M")).refusal, "4対象外ﾊﾞﾝﾄﾞです");
  EXPECT_EQ(CheckContestRecord('A', Contact("JA1ABC", "999", "SSB", "5913M")).refusal, "4対象外ﾊﾞﾝﾄﾞです");
  // A city band ("-") takes 4 to 6 characters and counts no prefecture.
  const ContestCheck city = CheckContestRecord('Z', Contact("JA1ABC", "7.050", "SSB", "591001M"));
  EXPECT_EQ(city.refusal, "");
  EXPECT_EQ(city.multiplier, 0);
  EXPECT_EQ(CheckContestRecord('Z', Contact("JA1ABC", "7.050", "SSB", "5913M")).refusal, "7ﾏﾙﾁが不明です");
}

TEST(ContestTest, AreaEightAndMismatchedAreas) {
  EXPECT_EQ(CheckContestRecord('A', Contact("JA8ABC", "7.050", "SSB", "59105M")).multiplier, 55);  // 105
  EXPECT_EQ(CheckContestRecord('A', Contact("JA8ABC", "7.050", "SSB", "59115M")).refusal, "7ﾏﾙﾁが不明です");
  EXPECT_EQ(CheckContestRecord('A', Contact("JA8ABC", "7.050", "SSB", "5913M")).refusal, "7ﾏﾙﾁが不明です");
  EXPECT_EQ(CheckContestRecord('A', Contact("JA1ABC", "7.050", "SSB", "5920M")).refusal,
            "7ｴﾘｱが一致しません");
  EXPECT_EQ(CheckContestRecord('A', Contact("JA1ABC", "7.050", "SSB", "59X3M")).refusal, "7ﾏﾙﾁが不明です");
}

TEST(ContestTest, KcjCodesAndXpoWithoutPower) {
  const ContestCheck kcj = CheckContestRecord('K', Contact("JA1ABC", "7.050", "SSB", "59TK"));
  EXPECT_EQ(kcj.refusal, "");
  EXPECT_EQ(kcj.multiplier, 10);
  EXPECT_EQ(CheckContestRecord('K', Contact("JA1ABC", "7.050", "SSB", "59OS")).refusal, "7ｴﾘｱが一致しません");
  EXPECT_EQ(CheckContestRecord('K', Contact("JA1ABC", "7.050", "SSB", "59QQ")).refusal, "7ﾏﾙﾁが不明です");
  EXPECT_EQ(CheckContestRecord('K', Contact("W1AW", "7.050", "SSB", "59TK")).multiplier,
            0);  // no area: accepted
  EXPECT_EQ(CheckContestRecord('L', Contact("JA1ABC", "7.050", "SSB", "59tkx")).multiplier,
            10);  // cut to two
  EXPECT_EQ(CheckContestRecord('X', Contact("JA1ABC", "7.050", "SSB", "5913")).multiplier, 13);
}

TEST(ContestTest, CacheCoversTwoThousandRecordsFromTheFirst) {
  ContestMode contest;
  MemoryFileSystem fs;
  WriteCounters counters;
  RecordIndex index(counters);
  SafetyFile safety(fs, counters);
  LogUi ui;
  LogFile log(fs, counters, index, safety, ui);
  ASSERT_EQ(log.OpenLog("C.VD"), "");
  contest.Start('A', 5, log);
  EXPECT_FALSE(contest.Covers(4));
  EXPECT_TRUE(contest.Covers(5));
  EXPECT_TRUE(contest.Covers(2004));
  EXPECT_FALSE(contest.Covers(2005));
  EXPECT_EQ(contest.Check(Contact("JA1ABC", "7.050", "SSB", "5913M"), 7), "");
  EXPECT_EQ(contest.Check(Contact("JA2ABC", "7.050", "SSB", "5920M"), 8), "");
  EXPECT_EQ(contest.Check(Contact("JA1ABC", "14.050", "SSB", "5913M"), 9), "");
  std::vector<bool> worked;
  EXPECT_EQ(contest.CountOnBand(5, worked), 2);  // 7 MHz
  EXPECT_TRUE(worked[13]);
  EXPECT_TRUE(worked[20]);
  EXPECT_FALSE(worked[14]);
  contest.Start('N', 0, log);
  EXPECT_FALSE(contest.Covers(7));
}

}  // namespace
}  // namespace vondal
