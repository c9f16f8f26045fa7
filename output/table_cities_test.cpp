#include "output/table_cities.h"

#include "output/exchange_city_number.h"
#include "output/table_test_support.h"

namespace vondal {
namespace {

using testing::ExpectReport;

class CityTableTest : public testing::TableTest {
 protected:
  CityTableTest() {
    EXPECT_TRUE(list.LoadFile(VONDAL_SOURCE_DIR "/data/CGlist3.TXT"));
    context.contest.families[kFamilyJarl] = {"ALL*"};
  }

  static Record Contact(std::string date, std::string call, std::string qth, std::string contest = "",
                        std::string received = "") {
    Record r = testing::ValidRecord(call, date);
    r[QTH] = qth;
    r[CONTEST] = contest;
    r[rRST] = received;
    r[MODE] = "SSB";
    return r;
  }

  std::string Table(int items, int order = 0) {
    TheOutputParameters()[31].Choose(items);
    TheOutputParameters()[32].Choose(order);
    OutputJob job(context, {6, 7, 8, 31, 32});
    job.parameters[kTarget].Choose(kAllRecords);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("C.TXT", OutputFile::Mode::kReplace));
    EXPECT_TRUE(WriteCityTable(job, list));
    return Report(job);
  }

  CityList list;
};

TEST_F(CityTableTest, ProblemLinesAndWhatIsCounted) {
  UseRecords(
      {Contact("240101", "JA8AAA", "札幌市中央区"), Contact("240101", "JA1ABC", "札幌市"),
       Contact("740101", "JA8AAB", "亀田市"), Contact("240101", "W1AW", "札幌市"),
       Contact("240102", "JA1ZZZ", "", "ALLJA", "5910H"), Contact("240102", "JA1ZZY", "", "ALLJA", "5910"),
       Contact("240102", "JA1ZZX", "", "ALLJA", "5999H"), Contact("240102", "JA1ZZW", "", "QSO", "5910H")});
  const std::string text = Table(2);  // 交信した市郡
  EXPECT_EQ(text.substr(0, text.find("        ")),
            "240101 0907 JA1ABC エリアが違います\t札幌市\r\n"
            "740101 0907 JA8AAB 消滅後です\t亀田市\r\n"
            "240102 0907 JA1ZZY 出力が不明です\tALLJA\t5910\r\n"
            "240102 0907 JA1ZZX 番号が違います\tALLJA\t5999H\r\n");
  EXPECT_NE(text.find("北海道        1     1     1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("東京都        1     1     1\r\n"), std::string::npos);
  EXPECT_NE(text.find("合計          2     2     2\r\n"), std::string::npos);
  // Only the contacted entries, each under its kind: a ward of Sapporo, no city.
  EXPECT_NE(text.find("010101 札幌市中央          1     1     1\r\n"), std::string::npos);
  EXPECT_EQ(text.find("\n0102"), std::string::npos);
  EXPECT_NE(text.find("       合計                0\r\n"), std::string::npos);
  EXPECT_NE(text.find("       合計                1     1     1\r\n"), std::string::npos);
}

// Locations are kept per exchange: a club station's exchange of the months whose rule reads the
// call sign must not take the result of an ordinary station's equal exchange, nor the reverse.
TEST_F(CityTableTest, EqualExchangesOfClubAndOrdinaryStationsAreTakenApartEachTime) {
  UseRecords({Contact("960101", "JA1ABC", "", "ALLJA", "5913100"),
              Contact("960101", "JA1YAA", "", "ALLJA", "5913100"),
              Contact("960101", "JA1ABD", "", "ALLJA", "5913100"),
              Contact("990101", "JA1YAA", "", "ALLJA", "5913H")});
  const std::string text = Table(2);
  EXPECT_EQ(text.substr(0, text.find("        ")),
            "960101 0907 JA1YAA 運用者名がありません\tALLJA\t5913100\r\n")
      << text;
  EXPECT_NE(text.find("合計          3     3     3\r\n"), std::string::npos) << text;
}

TEST_F(CityTableTest, EndedPlacesAreMarkedAndCanBeLeftOut) {
  UseRecords({Contact("700101", "JA8AAB", "亀田市"), Contact("240101", "JA8AAA", "札幌市")});
  const std::string all = Table(0);
  EXPECT_NE(all.find("0132  !亀田                1     1     1\r\n"), std::string::npos) << all;
  EXPECT_NE(all.find("0102   旭川                0     -     -\r\n"), std::string::npos);
  const std::string withoutEnded = Table(1);
  EXPECT_EQ(withoutEnded.find("0132"), std::string::npos);
  EXPECT_NE(withoutEnded.find("北海道        2     2     2\r\n"), std::string::npos);  // still counted there
  const std::string prefecturesOnly = Table(4);
  EXPECT_EQ(prefecturesOnly.find("0101"), std::string::npos);
  EXPECT_NE(prefecturesOnly.find("沖縄県        0     -     -\r\n"), std::string::npos);
}

TEST_F(CityTableTest, ByPrefectureEachPrefectureIsABlock) {
  UseRecords({Contact("240101", "JA8AAA", "札幌市"), Contact("240101", "JA1AAA", "横浜市鶴見区")});
  const std::string text = Table(2, 1);
  EXPECT_NE(text.find("北海道               "
                      "   合計   SSB    7M\r\n0101   札幌  "),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("110101 横浜市鶴見          1     1     1\r\n"), std::string::npos);
  EXPECT_NE(text.find("         合計              1     1     1\r\n"), std::string::npos);
}

TEST_F(CityTableTest, WithoutTheListThereIsNoTable) {
  CityList empty;
  OutputJob job(context, {6, 7, 8, 31, 32});
  job.parameters[kTarget].Choose(kAllRecords);
  job.file = std::make_unique<OutputFile>(fs);
  ASSERT_TRUE(job.file->Open("C.TXT", OutputFile::Mode::kReplace));
  EXPECT_FALSE(WriteCityTable(job, empty));
  EXPECT_EQ(screen.RowText(kOutputNoticeRow).substr(0, 24), " CGlist3.TXTが読めません");
}

TEST(ExchangeCityNumberTest, FamiliesAndTheirRules) {
  ContestSettings settings;
  settings.families[kFamilyJarl] = {"ALLJA"};
  settings.families[kFamilyP] = {"*PARTY"};
  settings.families[kFamilyV] = {"V*"};
  settings.families[kFamilyKcj] = {"KCJ"};
  auto number = [&](std::string contest, std::string received, int area, std::string call = "JA1ABC") {
    Record r = testing::ValidRecord(call, "240101");
    r[CONTEST] = contest;
    r[rRST] = received;
    r[MODE] = "CW";
    RecordTexts texts;
    for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
    const ExchangeCityNumber found = CityNumberOfExchange(texts, area, settings);
    return found.number.empty() ? found.message : found.number;
  };
  EXPECT_EQ(number("allja", "59910M", 1), "10");
  EXPECT_EQ(number("ALLJA", "599108H", 8, "JA8ABC"), "01");
  EXPECT_EQ(number("ALLJA", "59910", 1), "出力が不明です");
  EXPECT_EQ(number("ALLJA", "599", 1), "ナンバーがありません");
  EXPECT_EQ(number("QSO PARTY", "599123", 1), "12");
  EXPECT_EQ(number("QSO PARTY", "599123", 8, "JA8ABC"), "01");
  EXPECT_EQ(number("VHF", "5991001", 1), "1001");
  EXPECT_EQ(number("VHF", "599104", 8, "JA8ABC"), "01");
  EXPECT_EQ(number("KCJ", "599TK", 1), "10");
  EXPECT_EQ(number("KCJ", "59948", 11, "JD1ABC"), "10007");
  EXPECT_EQ(number("OTHER", "59910", 1), "");
}

TEST_F(CityTableTest, FixtureReport) {
  TheOutputParameters()[31].Choose(2);
  OutputJob job = Job({6, 7, 8, 31, 32}, "県市郡区別交信数");
  ASSERT_TRUE(WriteCityTable(job, list));
  ExpectReport("cities_contacted.TXT", Report(job));
}

}  // namespace
}  // namespace vondal
