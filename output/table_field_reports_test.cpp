#include "output/table_field_reports.h"

#include "output/table_test_support.h"
#include "output/table_word_specs.h"

namespace vondal {
namespace {

using testing::ExpectReport;

TEST(NextDateTest, MonthEndsLeapYearsAndTheCentury) {
  EXPECT_EQ(NextDate("240228"), "240229");
  EXPECT_EQ(NextDate("240229"), "240301");
  EXPECT_EQ(NextDate("230228"), "230301");
  EXPECT_EQ(NextDate("240430"), "240501");
  EXPECT_EQ(NextDate("991231"), "000101");
  EXPECT_EQ(NextDate("2403"), "");
  EXPECT_EQ(NextDate("240231"), "");
}

class FieldReportsTest : public testing::TableTest {
 protected:
  void Records(const std::vector<std::pair<std::string, std::string>>& dateAndRemarks) {
    std::vector<Record> records;
    for (const auto& [date, remarks] : dateAndRemarks) {
      Record r = testing::ValidRecord("JA1ABC", date);
      r[REMARKS] = remarks;
      records.push_back(r);
    }
    UseRecords(records);
    TheOutputParameters()[kWordField].Choose(REMARKS);
  }

  std::string Table(void (*body)(OutputJob&)) {
    OutputJob job(context, {6, 7, 8});
    job.parameters[kTarget].Choose(kAllRecords);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("F.TXT", OutputFile::Mode::kReplace));
    body(job);
    return Report(job);
  }
};

TEST_F(FieldReportsTest, ContinuityRunsEndAtAnotherValueABlankRecordAndADayWithoutRecords) {
  Records(
      {{"240301", "A"}, {"240302", "A"}, {"240304", "A"}, {"240304", ""}, {"240305", "A"}, {"240305", "B"}});
  EXPECT_EQ(Table(WriteContinuityTable),
            "開始日 終了日 交信数 REMARKS\r\n"
            "240301 240302      2 A\r\n"
            "240304             1 A\r\n"
            "240305             1 A\r\n"
            "240305             1 B\r\n"
            "合計     4日       5交信\r\n");
  TheOutputParameters()[29].Choose(1);  // blank records ignored
  TheOutputParameters()[30].Choose(1);  // days without records ignored
  EXPECT_EQ(Table(WriteContinuityTable),
            "開始日 終了日 交信数 REMARKS\r\n"
            "240301 240305      4 A\r\n"
            "240305             1 B\r\n"
            "合計     4日       5交信\r\n");
}

TEST_F(FieldReportsTest, ContinuityOfASubfieldSkipsRecordsWithoutIt) {
  Records({{"240301", "QSL[J]"}, {"240302", "none"}, {"240302", "x;QSL[J]"}});
  TheOutputParameters()[kSubfield].value = "QSL[]";
  EXPECT_EQ(Table(WriteContinuityTable),
            "開始日 終了日 交信数 REMARKS\r\n"
            "240301 240302      2 J\r\n"
            "合計     2日       2交信\r\n");
}

TEST_F(FieldReportsTest, CharacterCensusByteAndTwoByteCounts) {
  Records({{"240301",
            "Aｱ漢\x01"
            "A"}});
  EXPECT_EQ(Table(WriteCharacterTable),
            "\r\n総文字数              5\r\n"
            "総バイト数            6\r\n"
            "\r\ncode-ch----text----binary\r\n"
            "01   ^A       1=       1\r\n"
            "41    A       2=       2\r\n"
            "8a            0        1\r\n"
            "b1    ｱ       1=       1\r\n"
            "bf    \xBF       0        1\r\n"
            "\r\ncode-ch---kanji\r\n"
            "8abf 漢       1\r\n");
}

TEST_F(FieldReportsTest, CharacterCensusCountsTheUserDefinedArea) {
  Records({{"240301", "\xF0\x40\xFC\x4B"}});
  const std::string text = Table(WriteCharacterTable);
  EXPECT_NE(text.find("f040 \xF0\x40       1\r\nfc4b \xFC\x4B       1\r\n"), std::string::npos);
}

TEST_F(FieldReportsTest, DataVolumeRanksEqualSumsAlike) {
  Records({{"240301", "abc"}, {"240301", ""}, {"240302", "abc"}});
  const std::string text = Table(WriteDataVolumeTable);
  // ValidRecord: DATE 6, START 4, END 4, CALLSIGN 6, FREQ 5, MODE 2, sRST 3, rRST 3, QTH 14, NAME 4.
  EXPECT_NE(text.find("REMARKS     0    2.000    3.000    3        6          2\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("sQSL        0    0.000    -        0        0          0\r\n"), std::string::npos);
  EXPECT_NE(text.find("合計       51   53.000            54      159          3\r\n"), std::string::npos);
  EXPECT_NE(text.find("REMARKS  1 0 0 2\r\n"), std::string::npos);
  EXPECT_NE(
      text.find("順位  量 レコード コールサイン\r\n   1  54        0 JA1ABC\r\n   1  54        2 JA1ABC\r\n"
                "   3  51        1 JA1ABC\r\n"),
      std::string::npos);
}

TEST_F(FieldReportsTest, FixtureReports) {
  TheOutputParameters()[kWordField].Choose(REMARKS);
  OutputJob runs = Job({6, 7, 8, 17, 18, 19, 29, 30}, "連続データ");
  WriteContinuityTable(runs);
  ExpectReport("continuity.TXT", Report(runs));
  OutputJob volume = Job({6, 7, 8}, "データ量");
  WriteDataVolumeTable(volume);
  ExpectReport("volume.TXT", Report(volume));
  OutputJob census = Job({6, 7, 8, 17, 18, 19}, "文字");
  WriteCharacterTable(census);
  ExpectReport("characters.TXT", Report(census));
}

}  // namespace
}  // namespace vondal
