#include "output/contest_run.h"

#include <gtest/gtest.h>

#include "output/contest_test_records.h"

namespace vondal {
namespace {

using testing::Contact;
using testing::RecordOf;
using testing::Scored;
using testing::TextsOf;

std::string Number(char kind, const Contact& c) { return ReceivedNumber(kind, TextsOf(RecordOf(c))); }

TEST(ContestRunTest, JarlNumbersByPowerLetterAndLength) {
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "59"}), "?nul?");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "5913M"}), "13");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "59 13m"}), "13");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "59 13 M"}), "13");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "5913"}), "?pwr?");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA8ABC", "7.050", "SSB", "59", "59101H"}), "101");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC/8", "7.050", "SSB", "59", "59101H"}), "101");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA8ABC", "7.050", "SSB", "59", "5901H"}), "?sht?");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "CW", "599", "599101M"}), "?len?");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "CW", "599", "5991M"}), "?sht?");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "CW", "599", "5991001001M"}), "?lng?");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "CW", "599", "599100101M"}), "100101");
  EXPECT_EQ(Number('J', {"240601", "1200", "JA1ABC", "7.050", "CW", "599", "599M"}), "?nul?");
}

TEST(ContestRunTest, JarlNumbersBefore1998CarryThePower) {
  // Before October 1995 three digits of power end the number.
  EXPECT_EQ(Number('J', {"950901", "1200", "JA1ABC", "7.050", "CW", "599", "59913010"}), "13");
  EXPECT_EQ(Number('J', {"950901", "1200", "JA1ABC", "7.050", "CW", "599", "59913M"}), "?pwr?");
  // Until March 1998 club stations send an operator name behind the number.
  EXPECT_EQ(Number('J', {"971101", "1200", "JA1YAA", "7.050", "CW", "599", "59913100TARO"}), "13");
  EXPECT_EQ(Number('J', {"971101", "1200", "JA1YAA", "7.050", "CW", "599", "599131KWTARO"}), "13");
  EXPECT_EQ(Number('J', {"971101", "1200", "JA1YAA", "7.050", "CW", "599", "59913100"}), "?opn?");
  EXPECT_EQ(Number('J', {"971101", "1200", "JA1ABC", "7.050", "CW", "599", "59913100TARO"}), "?nop?");
  EXPECT_EQ(Number('J', {"971101", "1200", "JA1ABC", "7.050", "CW", "599", "599131kw"}), "13");
  // 1998 is 19YY for the rule, not 2098.
  EXPECT_EQ(Number('J', {"980301", "1200", "JA1ABC", "7.050", "CW", "599", "59913050"}), "13");
}

TEST(ContestRunTest, OtherKindsTakeTheNumberAsItIs) {
  EXPECT_EQ(Number('K', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "59TK"}), "TK");
  EXPECT_EQ(Number('K', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "59T"}), "?sht?");
  EXPECT_EQ(Number('O', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "59 1"}), "1");
  EXPECT_EQ(Number('O', {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "59  "}), "?nul?");
}

TEST(ContestRunTest, PointsAndMultipliersPerBand) {
  const ContestRun run = Scored('J', {
                                         {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "5913M"},
                                         {"240601", "1201", "JA1ABC", "14.200", "SSB", "59", "5913M"},
                                         {"240601", "1202", "JA1ABC", "7.050", "SSB", "59", "5913M"},
                                         {"240601", "1203", "JA1XYZ", "7.050", "SSB", "59", "5913M"},
                                         {"240601", "1204", "JA2AAA", "7.050", "SSB", "59", "5920M"},
                                     });
  ASSERT_EQ(run.entries.size(), 5u);
  EXPECT_EQ(run.entries[0].point, 1);
  EXPECT_EQ(run.entries[1].point, 1);  // the same station on another band
  EXPECT_EQ(run.entries[2].point, 0);
  EXPECT_EQ(run.entries[2].multiplier, "");
  EXPECT_EQ(run.entries[3].multiplier, "");  // 13 worked already on 7 MHz
  EXPECT_EQ(run.entries[4].multiplier, "20");
  EXPECT_EQ(run.bands[5].contacts, 4);
  EXPECT_EQ(run.bands[5].points, 3);
  EXPECT_EQ(run.bands[5].multipliers, 2);
  EXPECT_EQ(run.bands[kBandTotal].contacts, 5);
  EXPECT_EQ(run.bands[kBandTotal].points, 4);
  EXPECT_EQ(run.bands[kBandTotal].multipliers, 3);
  EXPECT_FALSE(run.AnyError());
}

TEST(ContestRunTest, RepeatedContactBringsNoNewMultiplier) {
  // The first contact's number was wrong; the repeat must not add 13 to the band.
  const ContestRun run = Scored('J', {
                                         {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "5913"},
                                         {"240601", "1210", "JA1ABC", "7.050", "SSB", "59", "5913M"},
                                     });
  EXPECT_EQ(run.entries[0].multiplier, "?pwr?");
  EXPECT_EQ(run.entries[1].multiplier, "?dup?");
  EXPECT_TRUE(run.entries[1].error);
  EXPECT_EQ(run.bands[kBandTotal].multipliers, 0);
  EXPECT_EQ(run.bands[kBandTotal].points, 1);
}

TEST(ContestRunTest, ExchangesTakeHandleAndName) {
  ContestSettings settings;
  settings.handle = "TARO";
  const ContestRun run = Scored('O',
                                {{"240601", "1200", "JA1ABC", "7.050", "CW", "599", "599", "HANAKO"},
                                 {"240601", "1201", "JA1ABD", "7.050", "CW", "59913", "59914"}},
                                settings);
  EXPECT_EQ(run.entries[0].sent, "599TARO");
  EXPECT_EQ(run.entries[0].received, "599HANAKO");
  // The number comes from rRST alone: a bare report has none.
  EXPECT_EQ(run.entries[0].multiplier, "?nul?");
  EXPECT_EQ(run.entries[1].sent, "59913");
  EXPECT_EQ(run.entries[1].received, "59914");
}

TEST(ContestRunTest, OperatingDaysCountUtcDays) {
  // Three UTC days over two bands; 0800 JST on the 2nd is still the 1st in UTC.
  const std::vector<Contact> contacts = {
      {"240601", "1200", "JA1AAA", "7.050", "CW", "599", "599"},
      {"240602", "0800", "JA1AAB", "7.050", "CW", "599", "599"},
      {"240602", "1200", "JA1AAC", "14.050", "CW", "599", "599"},
      {"240603", "1200", "JA1AAD", "7.050", "CW", "599", "599"},
      {"240601", "1300", "JA1AAE", "14.050", "CW", "599", "599"},
  };
  const ContestRun utc = Scored('D', contacts, {}, kPlainLog, true);
  EXPECT_EQ(utc.days, 3);
  EXPECT_EQ(utc.entries[1].multiplier, "");
  EXPECT_EQ(utc.entries[2].multiplier, "240602");
  EXPECT_EQ(utc.TotalMultipliers(), 3);
  EXPECT_EQ(utc.bands[kBandTotal].multipliers, 4);  // per band: 7 MHz two days, 14 MHz two
  EXPECT_EQ(utc.entries[4].multiplier, "240601");
  const ContestRun jst = Scored('D', contacts);
  EXPECT_EQ(jst.days, 3);
  EXPECT_EQ(jst.entries[1].multiplier, "240602");
}

TEST(ContestRunTest, ScoreTableWithLegend) {
  const ContestRun run = Scored('J', {
                                         {"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "5913M"},
                                         {"240601", "1201", "JA1ABC", "7.050", "SSB", "59", "5913M"},
                                         {"240601", "1202", "JA2ABC", "7.050", "SSB", "59", "59"},
                                         {"240601", "1203", "JA3ABC", "144.20", "FM", "59", "5925H"},
                                         {"240601", "1204", "JA3ABC", "1.5", "FM", "59", "5925H"},
                                     });
  EXPECT_EQ(ScoreTable(run, true),
            "受信ナンバーにエラーがあります\r\n 記号 意味\r\n?nul? 受信ナンバーがない\r\n"
            "?opn? 社団局でオペレータ名が無い(1995年10月～1997年)\r\n"
            "?nop? 社団局でないのにオペレータ名がある(同上期間)\r\n"
            "?pwr? JARLコンテストで電力の表示がない，または間違い\r\n?sht? ナンバーが短すぎる\r\n"
            "?lng? ナンバーが長すぎる\r\n?len? ナンバーの長さが不正\r\n"
            "?dup? 新マルチプライヤなのにコールサインが既出\r\n\r\n"
            "得点集計---------------------\r\n"
            " バンド  交信数  得点  マルチ\r\n"
            " 7M         3       2       1\r\n"
            " 144M       1       1       1\r\n"
            " 合計       5       4       3\r\n"
            "-----------------------------\r\n");
  const ContestRun clean = Scored('P', {{"240601", "1200", "JA1ABC", "7.050", "SSB", "59", "5913M"}});
  EXPECT_EQ(ScoreTable(clean, false),
            "得点集計---------------------\r\n"
            " バンド  交信数  得点  マルチ\r\n"
            " 7M         1       1       0\r\n"
            " 合計       1       1       0\r\n"
            "-----------------------------\r\n"
            "ここまでの行は提出前に削除してください\r\n\r\n");
}

}  // namespace
}  // namespace vondal
