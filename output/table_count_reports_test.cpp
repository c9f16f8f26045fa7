#include "output/table_count_reports.h"

#include "output/band_table.h"
#include "output/table_counts.h"
#include "output/table_test_support.h"

namespace vondal {
namespace {

using testing::ExpectReport;

class CountReportsTest : public testing::TableTest {
 protected:
  static Record Contact(std::string date, std::string start, std::string end, std::string call,
                        std::string freq, std::string mode) {
    return testing::CountedContact(date, start, end, call, freq, mode);
  }

  // The report of a body without its header.
  std::string Table(const std::vector<int>& list, void (*body)(OutputJob&)) {
    OutputJob job(context, list);
    job.parameters[kTarget].Choose(kAllRecords);
    job.file = std::make_unique<OutputFile>(fs);
    EXPECT_TRUE(job.file->Open("B.TXT", OutputFile::Mode::kReplace));
    body(job);
    return Report(job);
  }
};

TEST(CountLinesTest, HeaderAndCountLineShowNonZeroColumnsWithHyphensForZero) {
  CountRow totals;
  totals.Add(kOutsideBands, kModeCW);
  totals.Add(BandOf("14.050"), kModeOther);
  const std::vector<int> cells = ShownCells(totals);
  EXPECT_EQ(CountHeader("    ", cells), "       合計    CW     *   14M     *\r\n");
  CountRow row;
  row.Add(BandOf("14.050"), kModeOther);
  EXPECT_EQ(CountLine(row, cells), "      1     -     1     1     -\r\n");
  EXPECT_EQ(CountLine(row, cells, 7), "      1      -      1      1      -\r\n");
  EXPECT_EQ(ShownCells(totals, true), (std::vector<int>{kFirstModeCell, kFirstModeCell + kModeOther}));
}

TEST(CountLinesTest, PercentCellRoundsItsHundredths) {
  EXPECT_EQ(PercentCell(2, 3), "  66.67");
  EXPECT_EQ(PercentCell(1, 3), "  33.33");
  EXPECT_EQ(PercentCell(3, 3), " 100.00");
  EXPECT_EQ(PercentCell(0, 3), "      -");
  EXPECT_EQ(PercentCell(19999, 20000), " 100.00");  // 99.995 rounds up into the whole part
  EXPECT_EQ(PercentCell(1, 8), "  12.50");
}

TEST(CountLinesTest, ATableWiderThanItsLineGoesOnInASecondBlock) {
  CountTable table;
  table.heading = "    ";
  table.totalLabel = "合計";
  CountRow row;
  for (int b = 0; b <= kOutsideBands; ++b) row.Add(b, b % kModeCount);
  table.rows.emplace_back("JA1 ", row);
  table.totals = row;
  const std::string text = CountTableText(table);
  // 33 columns of 6 behind 11 columns of labels and total: 31 fit in 200 characters.
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0].size(), 4 + 7 + 31 * 6 + 1u);  // with its CR
  EXPECT_LE(lines[0].size() - 1, static_cast<size_t>(kCountLineWidth));
  EXPECT_EQ(lines[4], "\r");
  EXPECT_EQ(lines[5], "       合計  248G     *\r");
  EXPECT_EQ(lines[6], "JA1      26     1     1\r");
  EXPECT_EQ(lines[8], "合計     26     1     1\r");
}

TEST_F(CountReportsTest, YearTableKeepsAnEmptyYearUnlessEmptyPeriodsAreLeftOut) {
  UseRecords({Contact("110101", "1200", "1210", "JA1ABC", "7.010", "CW"),
              Contact("130101", "1200", "1210", "JA1ABC", "9.000", "SSB")});
  TheOutputParameters()[14].Choose(0);
  const std::string kept = Table({6, 7, 8, 14, 15}, WriteYearMonthTable);
  EXPECT_EQ(kept,
            "  年   合計    CW   SSB    7M     *\r\n"
            "2011      1     1     -     1     -\r\n"
            "2012      0     -     -     -     -\r\n"
            "2013      1     -     1     -     1\r\n"
            "  年   合計    CW   SSB    7M     *\r\n"
            "合計      2     1     1     1     1\r\n");
  TheOutputParameters()[15].Choose(1);
  const std::string left = Table({6, 7, 8, 14, 15}, WriteYearMonthTable);
  EXPECT_EQ(left.find("2012"), std::string::npos);
  EXPECT_NE(left.find("2013      1"), std::string::npos);
}

TEST_F(CountReportsTest, TimeTablesCountAcrossMidnightAndKnowBadTimes) {
  UseRecords({Contact("130501", "2350", "0010", "JA1ABC", "7.010", "CW"),
              Contact("130502", "2460", "2470", "JA1ABC", "7.010", "CW"),
              Contact("130502", "2500", "2510", "JA1ABC", "7.010", "CW"),
              Contact("130503", "1200", "", "JA1ABC", "7.010", "CW")});
  TheOutputParameters()[16].Choose(11);  // 60 minutes
  const std::string starts = Table({6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'S'); });
  EXPECT_NE(starts.find("0100      1     1     1\r\n"), std::string::npos) << starts;  // START 2500
  EXPECT_NE(starts.find("2300      1     1     1\r\n"), std::string::npos);
  EXPECT_NE(
      starts.find(
          "合計      3     3     3\r\n\r\n開始時刻が不正なレコード数 1\r\n終了時刻が不正なレコード数 0\r\n"),
      std::string::npos);

  TheOutputParameters()[16].Choose(0);  // every minute
  const std::string onAir = Table({6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'T'); });
  for (const char* minute : {"2350", "2359", "0000", "0010"}) {
    EXPECT_NE(onAir.find(std::string(minute) + "      1"), std::string::npos) << minute;
  }
  EXPECT_NE(onAir.find("0011      0"), std::string::npos);
  EXPECT_NE(onAir.find("2349      0"), std::string::npos);
  EXPECT_NE(onAir.find("合計      2"), std::string::npos);  // one a record, not one a minute
  EXPECT_NE(onAir.find("終了時刻が不正なレコード数 1\r\n"), std::string::npos);

  const std::string lengths = Table({6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'L'); });
  EXPECT_NE(lengths.find("  分   合計    CW    7M\r\n"), std::string::npos);
  EXPECT_NE(lengths.find("  10      1     1     1\r\n"), std::string::npos);      // 2500-2510
  EXPECT_NE(lengths.find("  20      1     1     1\r\n  分"), std::string::npos);  // the longest ends the rows
}

TEST_F(CountReportsTest, AStartOfHour29AfterItsEndLastsLessThanADay) {
  UseRecords({Contact("130501", "2950", "0010", "JA1ABC", "7.010", "CW")});
  const std::string lengths = Table({6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'L'); });
  EXPECT_NE(lengths.find("1100      1"),
            std::string::npos);  // 29:50 (05:50 of the day after) to 00:10 of the next
}

// END hours 24-29 let a contact last a day or more: its length counts in row (length mod 1440),
// and the rows still run up to the longest length, those past the day empty.
TEST_F(CountReportsTest, ALengthOfADayOrMoreCountsInItsRowModuloADay) {
  UseRecords({Contact("240101", "0000", "2400", "JA1ABC", "7.012", "CW"),
              Contact("240101", "0000", "2959", "JA1ABC", "7.012", "CW")});
  TheOutputParameters()[16].Choose(11);  // 60 minutes
  const std::string lengths = Table({6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'L'); });
  EXPECT_NE(lengths.find("\n   0      1     1     1\r\n"), std::string::npos) << lengths;  // 1440
  EXPECT_NE(lengths.find("\n 300      1     1     1\r\n"), std::string::npos);             // 1799
  EXPECT_NE(lengths.find("\n1440      0     -     -\r\n"), std::string::npos);
  EXPECT_NE(lengths.find("\n1740      0     -     -\r\n  分"), std::string::npos);
  EXPECT_NE(lengths.find("合計      2     2     2\r\n"), std::string::npos);
  const std::string onAir = Table({6, 7, 8, 16}, [](OutputJob& job) { WriteTimeTable(job, 'T'); });
  // Minute 0 and minutes 0-359 of the second contact come round twice: 2 + 2 + 59 × 3.
  EXPECT_NE(onAir.find("0000    181   181   181\r\n"), std::string::npos) << onAir;
}

TEST_F(CountReportsTest, CallAreasOfPortableAndSpecialPrefixes) {
  UseRecords({Contact("130501", "1200", "", "JA1ABC/0", "7.010", "CW"),
              Contact("130501", "1200", "", "7K1XYZ", "7.010", "CW"),
              Contact("130501", "1200", "", "JD1ABC", "7.010", "CW"),
              Contact("130501", "1200", "", "W1AW", "7.010", "CW")});
  const std::string text = Table({6, 7, 8}, WriteCallAreaTable);
  EXPECT_NE(text.find("JA1       1     1     1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("JA0       1     1     1\r\n"), std::string::npos);
  EXPECT_NE(text.find("JD1       1     1     1\r\n"), std::string::npos);
  EXPECT_NE(text.find("合計      3     3     3\r\n"), std::string::npos);
}

TEST_F(CountReportsTest, OperatingDaysCountADayOnceABandAndAMode) {
  UseRecords({Contact("130501", "1200", "", "JA1ABC", "7.010", "CW"),
              Contact("130501", "1300", "", "JA2ABC", "7.020", "CW"),
              Contact("130502", "1300", "", "JA2ABC", "14.020", "CW")});
  TheOutputParameters()[14].Choose(1);
  EXPECT_EQ(Table({6, 7, 8, 14, 15}, WriteOperatingDaysTable),
            "  年  月   合計    CW    7M   14M\r\n"
            "2013   5      2     2     1     1\r\n"
            "  年  月   合計    CW    7M   14M\r\n"
            "合計          2     2     1     1\r\n");
}

TEST_F(CountReportsTest, ARecordWithoutADateIsInNoDateRow) {
  UseRecords({Contact("131301", "1200", "", "JA1ABC", "7.010", "CW"),
              Contact("13", "1200", "", "JA1ABC", "7.010", "CW"),
              Contact("130230", "1200", "", "JA1ABC", "7.010", "CW"),
              Contact("130501", "1200", "", "JA1ABC", "7.010", "CW")});
  TheOutputParameters()[14].Choose(1);
  EXPECT_NE(Table({6, 7, 8, 14, 15}, WriteYearMonthTable).find("合計          2     2     2\r\n"),
            std::string::npos);
  EXPECT_NE(Table({6, 7, 8, 14, 15}, WriteOperatingDaysTable).find("合計          1     1     1\r\n"),
            std::string::npos);
  EXPECT_NE(Table({6, 7, 8}, WriteDayOfWeekTable).find("合計      1     1     1\r\n"), std::string::npos);
}

TEST_F(CountReportsTest, FixtureReports) {
  struct Case {
    const char* file;
    const char* title;
    std::vector<int> list;
    void (*body)(OutputJob&);
    int unit = 1;   // parameter 14
    int empty = 0;  // parameter 15
    int interval = 0;
  };
  const std::vector<Case> cases = {
      {"yearmonth_month.TXT", "年月別交信数", {6, 7, 8, 14, 15}, WriteYearMonthTable},
      {"yearmonth_year.TXT", "年月別交信数", {6, 7, 8, 14, 15}, WriteYearMonthTable, 0},
      {"yearmonth_year_left_out.TXT", "年月別交信数", {6, 7, 8, 14, 15}, WriteYearMonthTable, 0, 1},
      {"dayofweek.TXT", "曜日別交信数", {6, 7, 8}, WriteDayOfWeekTable},
      {"callarea.TXT", "コールエリア別交信数", {6, 7, 8}, WriteCallAreaTable},
      {"bandmode.TXT", "バンド・モード別交信数", {6, 7, 8}, WriteBandModeTable},
      {"time_start.TXT",
       "交信開始時刻",
       {6, 7, 8, 16},
       [](OutputJob& job) { WriteTimeTable(job, 'S'); },
       1,
       0,
       8},
      {"time_on_air.TXT",
       "交信継続時刻",
       {6, 7, 8, 16},
       [](OutputJob& job) { WriteTimeTable(job, 'T'); },
       1,
       0,
       10},
      {"time_length.TXT",
       "交信長(分単位)",
       {6, 7, 8, 16},
       [](OutputJob& job) { WriteTimeTable(job, 'L'); },
       1,
       0,
       2},
      {"dates_month.TXT", "交信日数", {6, 7, 8, 14, 15}, WriteOperatingDaysTable, 1, 1},
  };
  for (const Case& c : cases) {
    TheOutputParameters()[14].Choose(c.unit);
    TheOutputParameters()[15].Choose(c.empty);
    TheOutputParameters()[16].Choose(c.interval);
    OutputJob job = Job(c.list, c.title);
    c.body(job);
    ExpectReport(c.file, Report(job));
  }
}

}  // namespace
}  // namespace vondal
