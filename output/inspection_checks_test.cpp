#include "output/inspection_checks.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "log/date_time.h"
#include "log/field_table.h"

namespace vondal {
namespace {

using Fields = std::initializer_list<std::pair<int, const char*>>;

// A contact that passes every check at every level, with some fields changed.
Record Contact(Fields changes = {}) {
  Record r;
  r[DATE] = "240601";
  r[START] = "1200";
  r[END] = "1205";
  r[CALLSIGN] = "JA1ABC";
  r[FREQ] = "7.050";
  r[MODE] = "CW";
  r[sRST] = "599";
  r[rRST] = "599";
  for (const auto& [field, text] : changes) r[field] = text;
  return r;
}

RecordTexts Texts(const Record& r) {
  RecordTexts texts;
  for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
  return texts;
}

// "FIELD:message" of each finding, one a line.
std::string Said(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings)
    text += std::string(DefaultFieldTable()[f.field].name) + ":" + f.message + "\n";
  return text;
}

class InspectionChecksTest : public ::testing::Test {
 protected:
  InspectionChecksTest() {
    const std::string list =
        "10\t東京都\tTokyo\t1\r\n1001\t八王子\tx\r\n1002\t古市\tx\t-100331\r\n1003\t新市\tx\t150101-\r\n"
        "1004\t府中\tx\r\n11\t神奈川県\tKanagawa\t1\r\n1101\t府中\tx\r\n27\t兵庫県\tHyogo\t3\r\n2701\t神戸\tx"
        "\r\n";
    EXPECT_TRUE(cities.LoadText(list));
    settings.families[kFamilyJarl] = {"ALLJA*", "*JARL*"};
    settings.families[kFamilyP] = {"PREF*"};
    settings.families[kFamilyV] = {"VOL*"};
    settings.families[kFamilyKcj] = {"KCJ*"};
  }

  // The findings of one record at `level`, inspected on its own (position 5, no neighbour).
  std::string Check(int level, Fields changes, bool compatible = false) {
    Inspector inspector(level, compatible, settings, cities);
    const Record r = Contact(changes);
    return Said(inspector.Inspect(5, Texts(r), 0));
  }

  ContestSettings settings;
  CityList cities;
};

TEST_F(InspectionChecksTest, ACleanContactPassesEveryLevel) {
  for (int level = 0; level <= 3; ++level) EXPECT_EQ(Check(level, {}), "") << level;
}

TEST_F(InspectionChecksTest, AdjacentDuplicates) {
  const Record plain = Contact(), otherQsl = Contact({{sQSL, "J"}}), otherRig = Contact({{RIG, "IC-7300"}});
  const Record late = Contact({{START, "1260"}, {END, "1300"}});
  for (int level = 0; level <= 3; ++level) {
    Inspector inspector(level, false, settings, cities);
    EXPECT_EQ(Said(inspector.Inspect(7, Texts(plain), 0)), "");
    // Differing only in sQSL is an exact duplicate.
    EXPECT_EQ(Said(inspector.Inspect(8, Texts(otherQsl), 0)), level >= 1 ? "DATE:重複記録です\n" : "");
    // Differing in RIG (same date, time, call sign, mode and band) may be one.
    EXPECT_EQ(Said(inspector.Inspect(9, Texts(otherRig), 0)),
              level >= 2 ? "DATE:重複記録の可能性があります\n" : "");
    // A duplicate gets no other finding.
    EXPECT_EQ(Said(inspector.Inspect(10, Texts(late), 0)), "START:分が違います\n");
    EXPECT_EQ(Said(inspector.Inspect(11, Texts(late), 0)),
              level >= 1 ? "DATE:重複記録です\n" : "START:分が違います\n");
    // Only the record right after the one inspected before is compared.
    EXPECT_EQ(Said(inspector.Inspect(13, Texts(late), 0)), "START:分が違います\n");
  }
  Inspector wide(2, false, settings, cities);
  EXPECT_EQ(Said(wide.Inspect(0, Texts(plain), 0)), "");
  EXPECT_EQ(Said(wide.Inspect(1, Texts(Contact({{RIG, "X"}, {FREQ, "14.050"}})), 0)), "") << "another band";
}

TEST_F(InspectionChecksTest, DatesAndTimes) {
  EXPECT_EQ(Check(0, {{DATE, "24060"}}), "DATE:形式が違います\n");
  EXPECT_EQ(Check(0, {{DATE, "241301"}}), "DATE:月が違います\n");
  EXPECT_EQ(Check(0, {{DATE, "240631"}}), "DATE:日が違います\n");
  EXPECT_EQ(Check(0, {{START, "2400"}, {END, "930"}}), "START:時が違います\n");
  EXPECT_EQ(Check(1, {{START, "1260"}, {END, "930"}}), "START:分が違います\nEND:形式が違います\n");
  EXPECT_EQ(Check(3, {{START, "0900"}, {END, "1600"}}), "END:極端に長い交信です\n");
  EXPECT_EQ(Check(3, {{START, "2300"}, {END, "0100"}}), "");
  EXPECT_EQ(Check(3, {{START, "2000"}, {END, "0300"}}), "END:時刻逆転の可能性があります\n");
  EXPECT_EQ(Check(2, {{START, "0900"}, {END, "1600"}}), "");
  // The record before in the log is later.
  const Record r = Contact();
  const int32_t later = DateTimeKey("240601", "1300");
  EXPECT_EQ(Said(Inspector(2, false, settings, cities).Inspect(5, Texts(r), later)),
            "START:前レコードより時間が前です\n");
  EXPECT_EQ(Said(Inspector(1, false, settings, cities).Inspect(5, Texts(r), later)), "");
  EXPECT_EQ(Said(Inspector(2, false, settings, cities).Inspect(0, Texts(r), later)), "")
      << "no record before";
}

TEST_F(InspectionChecksTest, CallSigns) {
  EXPECT_EQ(Check(3, {{CALLSIGN, "CQ"}}), "");
  EXPECT_EQ(Check(0, {{CALLSIGN, "JA"}}), "CALLSIGN:短すぎます\n");
  EXPECT_EQ(Check(0, {{CALLSIGN, "JA1ABC/"}}), "CALLSIGN:不正な斜線記号です\n");
  EXPECT_EQ(Check(0, {{CALLSIGN, "W1//AW"}}), "CALLSIGN:不正な斜線記号です\n");
  EXPECT_EQ(Check(0, {{CALLSIGN, "1234"}}), "CALLSIGN:英字がありません\n");
  EXPECT_EQ(Check(0, {{CALLSIGN, "ABCD"}}), "CALLSIGN:数字がありません\n");
  EXPECT_EQ(Check(0, {{CALLSIGN, "JA1AB1"}}), "CALLSIGN:不正なJAコールサインです\n");
  EXPECT_EQ(Check(0, {{CALLSIGN, "ja1abc"}}), "CALLSIGN:不正な文字があります\nCALLSIGN:英字がありません\n");
  EXPECT_EQ(Check(0, {{CALLSIGN, "JA1ＡB"}}),
            "CALLSIGN:不正な文字があります\nCALLSIGN:不正なJAコールサインです\n")
      << "a two-byte letter is no letter, and its second byte is not taken for one";
  EXPECT_EQ(Check(3, {{CALLSIGN, "W1ABCDEFGHIJKL"}}), "CALLSIGN:極端に長いコールサインです\n");
  EXPECT_EQ(Check(2, {{CALLSIGN, "W1ABCDEFGHIJKL"}}), "");
  EXPECT_EQ(Check(0, {{CALLSIGN, "W1ABCDEFGHIJKLMN"}}, true), "CALLSIGN:長さ制限を超えます\n");
  for (const char* good :
       {"8J1RL", "JA1AB", "JA1AB/1", "JH1ABC", "JH1ABC/P", "7K1ABC", "JR6AB", "JA1TOKYO"}) {
    EXPECT_EQ(Check(0, {{CALLSIGN, good}}), "") << good;
  }
}

TEST_F(InspectionChecksTest, FrequencyModeAndReport) {
  EXPECT_EQ(Check(0, {{FREQ, ""}}), "FREQ:データがありません\n");
  EXPECT_EQ(Check(0, {{FREQ, "7"}}), "FREQ:小数点がありません\n");
  EXPECT_EQ(Check(0, {{FREQ, "7.0.1"}}), "FREQ:小数点が多すぎます\n");
  EXPECT_EQ(Check(0, {{FREQ, "8.000"}}), "FREQ:周波数が違います\n");
  EXPECT_EQ(Check(3, {{FREQ, "7."}}), "FREQ:詳しい周波数がありません\n");
  EXPECT_EQ(Check(2, {{FREQ, "7."}}), "");
  EXPECT_EQ(Check(0, {{MODE, ""}, {sRST, "9"}}), "MODE:データがありません\n");
  EXPECT_EQ(Check(2, {{MODE, "cw"}}), "MODE:モードが違います\n");
  EXPECT_EQ(Check(1, {{MODE, "cw"}}), "");
  EXPECT_EQ(Check(1, {{sRST, "59"}}), "sRST:モードと適合しません\n");
  EXPECT_EQ(Check(1, {{sRST, "590"}}), "sRST:モードと適合しません\n");
  EXPECT_EQ(Check(1, {{rRST, "699"}}), "rRST:形式が違います\n");
  EXPECT_EQ(Check(1, {{MODE, "SSB"}}), "sRST:モードと適合しません\nrRST:モードと適合しません\n");
  EXPECT_EQ(Check(1, {{MODE, "RTTY"}, {sRST, "5"}}), "");
  EXPECT_EQ(Check(0, {{sRST, "59"}}), "");
  EXPECT_EQ(Check(1, {{sRST, "59"}, {CONTEST, "OTHER"}}), "") << "contest exchanges are numbers";
}

TEST_F(InspectionChecksTest, QthAgainstTheCityList) {
  EXPECT_EQ(Check(1, {{QTH, "八王子市(駅前)"}}), "");
  EXPECT_EQ(Check(0, {{QTH, "不明"}}), "") << "level 0 does not look up";
  EXPECT_EQ(Check(1, {{QTH, "神戸市"}}), "QTH:エリアが違います\n");
  EXPECT_EQ(Check(1, {{QTH, "府中市"}}), "QTH:複数の候補があります\n");
  EXPECT_EQ(Check(1, {{QTH, "不明"}}), "QTH:認識できません\n");
  EXPECT_EQ(Check(1, {{QTH, "Tokyo"}}), "");
  EXPECT_EQ(Check(1, {{QTH, "古市市"}}), "QTH:消滅後です\n");
  EXPECT_EQ(Check(1, {{QTH, "古市市"}, {DATE, "100331"}}), "");
  EXPECT_EQ(Check(1, {{QTH, "新市市"}, {DATE, "141231"}}), "QTH:発足前です\n");
  EXPECT_EQ(Check(1, {{QTH, "不明"}, {CALLSIGN, "W1AW"}}), "") << "no call area";
  CityList none;
  EXPECT_EQ(Said(Inspector(3, false, settings, none).Inspect(5, Texts(Contact({{QTH, "不明"}})), 0)), "");
}

TEST_F(InspectionChecksTest, ContestNumbersByFamily) {
  const Fields jarl = {{CONTEST, "alljA1"}, {MODE, "SSB"}, {sRST, "5910M"}, {rRST, ""}};
  auto number = [&](const char* rRst, const char* call = "JA1ABC", const char* contest = "ALLJA1",
                    const char* date = "240601") {
    return Check(
        2,
        {{CONTEST, contest}, {MODE, "SSB"}, {sRST, "5910M"}, {rRST, rRst}, {CALLSIGN, call}, {DATE, date}});
  };
  EXPECT_EQ(Check(2, jarl), "rRST:ナンバーがありません\n") << "said once";
  EXPECT_EQ(Check(1, jarl), "") << "numbers from level 2";
  EXPECT_EQ(Check(2, {{CONTEST, "X"}, {sRST, ""}, {rRST, ""}}),
            "sRST:ナンバーがありません\nrRST:ナンバーがありません\n");
  EXPECT_EQ(number("59"), "rRST:ナンバーがありません\n");
  EXPECT_EQ(number("5910M"), "");
  EXPECT_EQ(number("5910"), "rRST:出力が不明です\n");
  EXPECT_EQ(number("591001M"), "");
  EXPECT_EQ(number("59100198M"), "rRST:番号が違います\n");
  EXPECT_EQ(number("591002M"), "rRST:消滅後です\n");
  EXPECT_EQ(number("591003M", "JA1ABC", "ALLJA1", "141231"), "rRST:発足前です\n");
  EXPECT_EQ(number("59XYM"), "rRST:形式が違います\n");
  EXPECT_EQ(number("59101M", "JA8ABC"), "") << "a district of area 8 is prefecture 01";
  EXPECT_EQ(number("5913100", "JA1YAA", "ALLJA1", "960101"), "rRST:運用者名がありません\n");
  EXPECT_EQ(number("5913100TARO", "JA1ABC", "ALLJA1", "960101"), "rRST:不要な文字列があります\n");
  EXPECT_EQ(number("59102M", "JA1ABC", "PREF"), "") << "P: the first two characters";
  EXPECT_EQ(number("591001", "JA1ABC", "VOL"), "");
  EXPECT_EQ(number("59101", "JA8ABC", "VOL"), "");
  EXPECT_EQ(number("59TK", "JA1ABC", "KCJ"), "") << "TK is Tokyo, 10";
  EXPECT_EQ(number("59ZZ", "JA1ABC", "KCJ"), "rRST:形式が違います\n");
  EXPECT_EQ(number("59TK", "JA1ABC", "ELSE"), "") << "no family, no number rule";
  EXPECT_EQ(number("59XX", "W1AW", "ALLJA1"), "") << "no call area";
}

TEST_F(InspectionChecksTest, TextsOfEveryField) {
  EXPECT_EQ(Check(2, {{REMARKS, "QSL(via"}, {NAME, "\"TARO"}, {RIG, "IC-7300 [100W] {"}}),
            "NAME:引用符が閉じていません\nRIG:括弧が閉じていません\nREMARKS:括弧が閉じていません\n");
  EXPECT_EQ(Check(2, {{REMARKS, "a<b 'c"}}), "");
  EXPECT_EQ(Check(1, {{REMARKS, "QSL(via"}}), "");
  EXPECT_EQ(Check(2, {{REMARKS, "表("}}), "REMARKS:括弧が閉じていません\n");
  EXPECT_EQ(Check(2, {{REMARKS, "ソ表"}}), "") << "second bytes 0x5B and 0x5C are not brackets";
  EXPECT_EQ(Check(3, {{REMARKS, " x"}, {NAME, "TARO　"}, {RIG, "A  B"}, {MyRIG, "A;"}, {MyQTH, "a,,b"}}),
            "NAME:不要な空白文字があります\nRIG:不要な空白文字があります\nREMARKS:不要な空白文字があります\n"
            "MyQTH:不要な区切文字があります\nMyRIG:不要な区切文字があります\n");
  EXPECT_EQ(Check(2, {{REMARKS, " x"}}), "");
}

TEST(ContestFamilyTest, FirstListThatMatches) {
  ContestSettings settings;
  settings.families[kFamilyP] = {"*TEST*"};
  settings.families[kFamilyV] = {"ALL*"};
  EXPECT_EQ(ContestFamilyOf(settings, "all test"), kFamilyP);
  EXPECT_EQ(ContestFamilyOf(settings, "ALLJA"), kFamilyV);
  EXPECT_EQ(ContestFamilyOf(settings, "FD"), kNoFamily);
}

}  // namespace
}  // namespace vondal
