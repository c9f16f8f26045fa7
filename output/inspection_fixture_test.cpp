#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "output/inspection.h"
#include "output/table_test_support.h"

namespace vondal {
namespace {

using Fields = std::initializer_list<std::pair<int, const char*>>;

constexpr int kLevel = 33;  // 検査ﾚﾍﾞﾙ

// A log built for the inspection: one contact per finding, each a clean contact (JA1ABC on 7 MHz
// CW at 12mm, the minute counting the records) with the fields that raise its message changed.
// The contacts keep date-time order, so only the one meant to be out of order is, and the two whose
// DATE or START are too short for a key (the undated key, which comes before every other); the
// contacts whose digits are no valid date or time come last, in the order of their keys.
std::vector<Record> InspectionFixtureRecords() {
  std::vector<Record> records;
  auto add = [&records](Fields changes) {
    char start[8];
    char end[8];
    std::snprintf(start, sizeof start, "12%02d", static_cast<int>(records.size()));
    std::snprintf(end, sizeof end, "13%02d", static_cast<int>(records.size()));
    Record r = testing::CountedContact("240601", start, end, "JA1ABC", "7.050", "CW");
    r[sRST] = "599";
    r[rRST] = "599";
    for (const auto& [field, value] : changes) r[field] = value;
    records.push_back(r);
  };
  auto contest = [&add](const char* date, const char* call, const char* rRst) {
    add({{DATE, date}, {CALLSIGN, call}, {CONTEST, "ALLJA1"}, {MODE, "SSB"}, {sRST, "5910M"}, {rRST, rRst}});
  };
  contest("960101", "JA1YAA", "5913100");      // 運用者名がありません
  contest("960101", "JA1ABC", "5913100TARO");  // 不要な文字列があります
  add({{DATE, "141231"}, {QTH, "新市市"}});    // 発足前です (QTH)
  contest("141231", "JA1ABC", "591003M");      // 発足前です (rRST)
  add({{DATE, "24060"}});                      // 形式が違います (DATE); undated, so out of order
  add({});
  records.push_back(records.back());  // 重複記録です
  records.push_back(records.back());
  records.back()[RIG] = "IC-7300";        // 重複記録の可能性があります
  add({{CALLSIGN, "JA"}});                // 短すぎます
  add({{CALLSIGN, "W1ABCDEFGHIJKLMN"}});  // 長さ制限を超えます (the log is compatible)
  add({{CALLSIGN, "W1ABCDEFGHIJKL"}});    // 極端に長いコールサインです
  add({{CALLSIGN, "W1A-W"}});             // 不正な文字があります
  add({{CALLSIGN, "JA1ABC/"}});           // 不正な斜線記号です
  add({{CALLSIGN, "1234"}});              // 英字がありません
  add({{CALLSIGN, "ABCD"}});              // 数字がありません
  add({{CALLSIGN, "JA1AB1"}});            // 不正なJAコールサインです
  add({{FREQ, ""}});                      // データがありません (FREQ)
  add({{FREQ, "7"}});                     // 小数点がありません
  add({{FREQ, "7.0.1"}});                 // 小数点が多すぎます
  add({{FREQ, "8.000"}});                 // 周波数が違います
  add({{FREQ, "7."}});                    // 詳しい周波数がありません
  add({{MODE, ""}});                      // データがありません (MODE)
  add({{MODE, "cw"}});                    // モードが違います
  add({{sRST, "59"}});                    // モードと適合しません
  add({{rRST, "699"}});                   // 形式が違います (rRST)
  add({{QTH, "神戸市"}});                 // エリアが違います
  add({{QTH, "府中市"}});                 // 複数の候補があります
  add({{QTH, "不明"}});                   // 認識できません
  add({{QTH, "古市市"}});                 // 消滅後です (QTH)
  add({{CONTEST, "ALLJA1"}, {MODE, "SSB"}, {sRST, ""}, {rRST, "5910M"}});  // ナンバーがありません (sRST)
  contest("240601", "JA1ABC", "59");         // ナンバーがありません (rRST, the report alone)
  contest("240601", "JA1ABC", "");           // ナンバーがありません (rRST, empty)
  contest("240601", "JA1ABC", "5910");       // 出力が不明です
  contest("240601", "JA1ABC", "59100198M");  // 番号が違います
  contest("240601", "JA1ABC", "591002M");    // 消滅後です (rRST)
  contest("240601", "JA1ABC", "59XYM");      // 形式が違います (rRST, a number)
  add({{REMARKS, "QSL(via"}});               // 括弧が閉じていません
  add({{NAME, "\"TARO"}});                   // 引用符が閉じていません
  add({{REMARKS, " x"}});                    // 不要な空白文字があります
  add({{MyRIG, "A;"}});                      // 不要な区切文字があります
  add({{START, "1100"}});                    // 前レコードより時間が前です
  add({{END, "1900"}});                      // 極端に長い交信です
  add({{END, "0100"}});                      // 時刻逆転の可能性があります
  add({{END, "930"}});                       // 形式が違います (END)
  add({{START, "1260"}});                    // 分が違います; its key is 13:00
  add({{START, "2400"}, {END, "0100"}});     // 時が違います; its key is the next day
  add({{START, "930"}});                     // 形式が違います (START); undated, so out of order
  add({{DATE, "240631"}});                   // 日が違います; its key is 1 July
  add({{DATE, "241301"}});                   // 月が違います; its key is in 2025
  return records;
}

class InspectionFixtureTest : public testing::TableTest {
 protected:
  InspectionFixtureTest() {
    UseRecords(InspectionFixtureRecords());
    set.log.options.compatible = true;
    context.contest.families[kFamilyJarl] = {"ALLJA*"};
    const std::string list =
        "10\t東京都\tTokyo\t1\r\n1001\t八王子\tx\r\n1002\t古市\tx\t-100331\r\n1003\t新市\tx\t150101-\r\n"
        "1004\t府中\tx\r\n11\t神奈川県\tKanagawa\t1\r\n1101\t府中\tx\r\n27\t兵庫県\tHyogo\t3\r\n2701\t神戸\tx"
        "\r\n";
    EXPECT_TRUE(cities.LoadText(list));
  }

  // The report as the output job writes it at `level`, header first.
  std::string Inspect(int level) {
    TheOutputParameters()[kLevel].Choose(level);
    OutputJob job = Job({kTableFile, kTarget, kSelection, kLevel}, "エラー検査");
    WriteInspection(job, cities);
    return Report(job);
  }

  CityList cities;
};

TEST_F(InspectionFixtureTest, EveryMessageAtEveryLevel) {
  for (int level = 0; level <= 3; ++level) {
    testing::ExpectReport("inspection_level" + std::to_string(level) + ".TXT", Inspect(level));
  }
}

}  // namespace
}  // namespace vondal
