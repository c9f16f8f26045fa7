#include "tools/vonrix/vonrix.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/config_test_folder.h"
#include "log/faulty_file_system.h"
#include "tools/vonrix/command_line.h"
#include "tools/vonrix/vonrix_test_support.h"

namespace vondal {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using namespace vondal::testing;

class VonrixTest : public ::testing::Test {
 protected:
  VonrixResult Run(const std::vector<std::string>& args) { return RunOver(fs, args); }
  void SetLog(const std::vector<Contact>& contacts) { fs.SetContents("t.VD", LogOf(contacts)); }
  // The report of mode `mode` over the log set, with LF line ends.
  std::string Report(const std::string& mode, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"t", "out.txt", mode};
    args.insert(args.end(), more.begin(), more.end());
    VonrixResult result = Run(args);
    EXPECT_EQ(result.status, 0) << result.console;
    return WithoutCr(result.report);
  }

  MemoryFileSystem fs;
};

TEST_F(VonrixTest, UsageWithFewerThanThreeArguments) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"t", "out.txt"}}) {
    const VonrixResult result = Run(args);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.console, std::string("Vonrix w01.022H009641\n") + kVonrixUsage);
  }
}

// Runs over the real files of a scratch folder that holds Vondal.ini.
class VonrixConfigTest : public ::testing::Test {
 protected:
  VonrixConfigTest() {
    folder.Write("Vondal.ini", "[DEFAULT]\r\nlog=" + folder.path() +
                                   "default\r\n"
                                   "[Main]\r\nlog=" +
                                   folder.path() +
                                   "2012\r\n"
                                   "[Windows]\r\nlog=D:\\LOG\\2012\r\n"
                                   "[Bare]\r\ncaption=既定のログ\r\n");
    folder.Write("2012.VD", LogOf({{"120101", "0900", "JA1ABC"}}));
    folder.Write("other.VD", LogOf({{"120101", "0900", "W1AW"}}));
  }
  VonrixResult Run(std::vector<std::string> args) {
    VonrixContext context;
    VonrixResult result;
    context.print = [&result](std::string_view text) { result.console += text; };
    context.configFile = folder.path() + "Vondal.ini";
    if (args.size() >= 3) args[1] = folder.path() + args[1];  // the report beside the logs
    result.status = RunVonrix(args, context);
    return result;
  }
  std::string LogLine(const std::string& name) { return "\nLog=" + folder.path() + name + "\n"; }

  ConfigTestFolder folder;
};

TEST_F(VonrixConfigTest, ASetNameReadsTheLogOfItsSection) {
  EXPECT_THAT(Run({"Main", "out.txt", "C"}).console, HasSubstr(LogLine("2012.VD")));
  EXPECT_THAT(Run({"main", "out.txt", "C"}).console, HasSubstr(LogLine("2012.VD")));
  EXPECT_THAT(Run({"Windows", "out.txt", "C"}).console, HasSubstr("\nLog=D:\\LOG\\2012.VD\n"));
}

TEST_F(VonrixConfigTest, DefaultLogStandsInForASetWithoutOneButNotForALogFile) {
  const VonrixResult bare = Run({"Bare", "out.txt", "C"});
  EXPECT_THAT(bare.console,
              HasSubstr(LogLine("default.VD") + "交信回数モード\n(!) ログファイルを開けません\n"));
  EXPECT_EQ(bare.status, 255);
  const VonrixResult other = Run({folder.path() + "other", "out.txt", "C"});
  EXPECT_THAT(other.console, HasSubstr(LogLine("other.VD")));
  EXPECT_EQ(other.status, 0);
}

TEST_F(VonrixConfigTest, TheReportIsNeverWrittenOverTheLog) {
  const std::string log = LogOf({{"120101", "0900", "JA1ABC"}});
  const VonrixResult result = Run({"Main", "./2012.VD", "C"});  // the same file by another name
  EXPECT_EQ(result.status, 255);
  EXPECT_THAT(result.console, HasSubstr("(!) 出力ファイルを開けません\n"));
  std::unique_ptr<File> file = RealFileSystem().Open(folder.path() + "2012.VD", OpenMode::kRead);
  ASSERT_TRUE(file);
  std::string bytes(file->Size(), '\0');
  file->ReadAt(0, bytes.data(), bytes.size());
  EXPECT_EQ(bytes, log);
}

TEST_F(VonrixConfigTest, QuestionMarkListsTheSets) {
  const VonrixResult result = Run({"-J", "?"});
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.console, HasSubstr("[Main]"));
  EXPECT_THAT(result.console, HasSubstr("既定のログ"));
  EXPECT_TRUE(result.console.ends_with("\n"));
  EXPECT_THAT(result.console, Not(HasSubstr("使用法")));
}

TEST_F(VonrixTest, ConsoleMessagesInOrderAndTheReportInCrLf) {
  SetLog({{"120108", "0900", "JA1ABC"}, {"120101", "0900", "JA1ABC"}});
  const VonrixResult result = Run({"t", "out.txt", "i"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(
      result.console,
      "Vonrix "
      "w01.022H009641\nLog=t.VD\n交信間隔モード\n読込中\n日時が1箇所で逆転しています\nソート中\n計算中\n"
      "(remalloc(0+7/100000)\n");
  EXPECT_TRUE(result.report.starts_with(
      "Vonrix w01.022H009641\r\nLog=t.VD\r\nMode=交信間隔\r\nFilter=\r\n\r\n■交信間隔の分布■\r\n"));
  EXPECT_EQ(result.report.find("\n\n"), std::string::npos);
  EXPECT_EQ(result.report.find("\r\r"), std::string::npos);
}

TEST_F(VonrixTest, ErrorsEndWithStatus255) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"missing", "out.txt", "C"}, "ログファイルを開けません"},
      {{"t", "out.txt", "X"}, "モードの指定が不正です"},
      {{"t", "out.txt", "C", "C=x"}, "フィルタが不正です"},
      {{"t", "out.txt", "C", "=JA1*"}, "フィルタが不正です"},
      {{"t", "out.txt", "C", "JA1ABC"}, "フィルタまたはオプションが不正です"},
      {{"t", "out.txt", "C", "-J", "-D"}, "カントリーのオプションが重複しています"},
      {{"t", "out.txt", "C", "-S", "-S"}, "社団局のオプションが重複しています"},
      {{"t", "out.txt", "C", "-x"}, "未定義のオプションがあります"},
      {{"t", "t.VD", "C"}, "出力ファイルを開けません"},  // never over the log
  };
  SetLog({{"120101", "0900", "JA1ABC"}});
  for (const Case& c : cases) {
    const VonrixResult result = Run(c.args);
    EXPECT_EQ(result.status, 255) << c.message;
    EXPECT_THAT(result.console, HasSubstr(std::string("(!) ") + c.message + "\n"));
    EXPECT_THAT(result.console, Not(HasSubstr("読込中")));
  }
  EXPECT_EQ(fs.Contents("t.VD"), LogOf({{"120101", "0900", "JA1ABC"}}));
  EXPECT_FALSE(fs.Exists("out.txt"));
}

TEST_F(VonrixTest, LogOfABadSizeIsRefused) {
  fs.SetContents("t.VD", std::string(199, ' '));
  const VonrixResult result = Run({"t", "out.txt", "C"});
  EXPECT_EQ(result.status, 255);
  EXPECT_THAT(result.console, HasSubstr("(!) ログファイルのサイズが異常です\n"));
}

TEST_F(VonrixTest, ReportThatCannotBeWrittenIsAnErrorAndKeepsTheOldReport) {
  SetLog({{"120101", "0900", "JA1ABC"}});
  fs.SetContents("out.txt", "old report");
  FaultyFileSystem faulty(fs);
  faulty.faults.failOpen.insert("out.txt.tmp~");
  VonrixResult result = RunOver(faulty, {"t", "out.txt", "C"});
  EXPECT_EQ(result.status, 255);
  EXPECT_THAT(result.console, HasSubstr("(!) 出力ファイルを開けません\n"));

  faulty.faults = {};
  faulty.faults.spaceLeft = 100;
  result = RunOver(faulty, {"t", "out.txt", "C"});
  EXPECT_EQ(result.status, 255);
  EXPECT_THAT(result.console, HasSubstr("(!) 出力ファイルに書込めません\n"));
  EXPECT_EQ(fs.Contents("out.txt"), "old report");
}

TEST_F(VonrixTest, OutOfMemoryIsMallocFailed) {
  std::vector<Contact> contacts;
  for (int i = 0; i < 40000; ++i) contacts.push_back({"120101", "0900", "JA" + std::to_string(100000 + i)});
  SetLog(contacts);
  const VonrixResult result = RunOver(fs, {"t", "out.txt", "C"}, 2 * 100000);
  EXPECT_EQ(result.status, 255);
  EXPECT_THAT(result.console, HasSubstr("(!) Malloc failed\n"));
}

TEST_F(VonrixTest, GarbageOfTheRightSizeIsReadWithoutHarm) {
  std::string garbage(200 * 300, '\0');
  unsigned seed = 7;
  for (char& c : garbage) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  const std::string lead =
      "JA1ABC\x1e\x1e\x1e"
      "JA";  // a DATE that is no date, a CALLSIGN of garbage
  for (int r = 0; r < 300; r += 3) garbage.replace(r * 200, lead.size(), lead);
  fs.SetContents("t.VD", garbage);
  for (const char* mode : {"C", "I", "S", "B"}) {
    const VonrixResult result = Run({"t", "out.txt", mode, "-J"});
    EXPECT_EQ(result.status, 0) << mode << ::testing::PrintToString(result.console);
    EXPECT_THAT(result.report, HasSubstr("\r\n")) << mode;
  }
}

TEST_F(VonrixTest, FiltersCompareWithOrWithoutCase) {
  SetLog({{"120101", "0900", "JA1ABC"}, {"120102", "0900", "JH1XYZ"}, {"120103", "0900", "ja1low"}});
  EXPECT_THAT(Report("C", {"CALLSIGN=ja1*"}),
              HasSubstr("順位 回数 局\n   1    1 JA1ABC\n   1    1 ja1low\n"));
  const std::string exact = Report("C", {"CALLSIGN:ja1*"});
  EXPECT_THAT(exact, HasSubstr("Filter= CALLSIGN==ja1*\n"));
  EXPECT_THAT(exact, HasSubstr("順位 回数 局\n   1    1 ja1low\n"));
  EXPECT_THAT(Report("C", {"CALLSIGN!:JA1*"}),
              HasSubstr("順位 回数 局\n   1    1 JH1XYZ\n   1    1 ja1low\n"));
  EXPECT_THAT(Report("C", {"CALLSIGN!:JA1*", "call!=ja1*"}), HasSubstr("順位 回数 局\n   1    1 JH1XYZ\n"));
}

TEST_F(VonrixTest, CountryAndClubOptions) {
  SetLog({{"120101", "0900", "JA1ABC"},
          {"120102", "0900", "JA1YAA"},
          {"120103", "0900", "W1AW"},
          {"120104", "0900", "8J1RL"},
          {"120105", "0900", "0AB1"}});
  auto stations = [&](std::vector<std::string> options) {
    const std::string report = Report("C", options);
    const std::string heading = "順位 回数 局\n";
    return report.substr(report.find(heading) + heading.size());
  };
  EXPECT_EQ(stations({"-J"}), "   1    1 8J1RL\n   1    1 JA1ABC\n   1    1 JA1YAA\n");
  EXPECT_EQ(stations({"-D"}), "   1    1 W1AW\n");
  EXPECT_EQ(stations({"-J", "-S"}), "   1    1 JA1ABC\n");
  EXPECT_EQ(stations({"-C", "-J"}), "   1    1 8J1RL\n   1    1 JA1YAA\n");
  // Without -J the club options leave foreign stations and the others alone.
  EXPECT_EQ(stations({"-S"}), "   1    1 0AB1\n   1    1 JA1ABC\n   1    1 W1AW\n");
}

TEST_F(VonrixTest, SevenDayIntervalAndSpansInDays) {
  SetLog({{"120101", "0900", "JA1ABC"},
          {"120108", "2300", "JA1ABC/P"},
          {"120105", "1200", "W1AW"},
          {"120110", "0000", "AB/C"}});
  const std::string intervals = Report("I");
  EXPECT_THAT(intervals, HasSubstr("  0日        0      0\n  1日        0      0\n  2日～      0      0\n"
                                   "  7日～      1      1\n 31日～      0      1\n\n"));
  EXPECT_THAT(intervals,
              HasSubstr("順位  日数 交信日                局\n   1     7 2012/01/01 2012/01/08 JA1ABC\n"));
  EXPECT_THAT(intervals, Not(HasSubstr("W1AW")));

  const std::string spans = Report("S");
  EXPECT_THAT(spans, HasSubstr("  0日        1      1\n  1日        0      1\n  2日～      0      1\n"
                               "  7日～      1      2\n"));
  EXPECT_THAT(spans,
              HasSubstr("   1     7 2012/01/01 2012/01/08 JA1ABC\n   2     0 2012/01/05 2012/01/05 W1AW\n"));
}

TEST_F(VonrixTest, YearBucketsAndLongSpans) {
  SetLog({{"000101", "0000", "JA1AAA"},
          {"001231", "0000", "JA1AAA"},  // 365 days: still the 31-day bucket
          {"010101", "0000", "JA1BBB"},
          {"020102", "0000", "JA1BBB"},  // 366 days: the first year
          {"500101", "0000", "JA1CCC"},
          {"491231", "0000", "JA1CCC"}});  // the whole century
  const std::string spans = Report("S");
  EXPECT_THAT(spans, HasSubstr(" 31日～      1      1\n  1年～      1      2\n  2年～      0      2\n"));
  EXPECT_THAT(spans, HasSubstr(" 99年～      1      3\n\n"));
  EXPECT_THAT(
      spans, HasSubstr("   1 36524 1950/01/01 2049/12/31 JA1CCC\n   2   366 2001/01/01 2002/01/02 JA1BBB\n"));
}

TEST_F(VonrixTest, BandRunsAndBandList) {
  SetLog({{"120101", "0900", "JA1ABC", "7.010"},
          {"120102", "0900", "JA1ABC", "10.120"},
          {"120103", "0900", "JA1ABC/1", "14.050"},
          {"120104", "0900", "JA1ABC", "21.100"},
          {"120105", "0900", "W1AW", "3.5"},
          {"120106", "0900", "W1AW", "3.750"},
          {"120107", "0900", "W1AW", "9.000"},
          {"120108", "0900", "K1ZZ", "7.100"}});
  const std::string bands = Report("B");
  EXPECT_THAT(bands, HasSubstr("記号 バンド 初交信日   最終交信日  交信数\n"
                               "   D    3.5 2012/01/05 2012/01/05       1\n"
                               "   E    3.8 2012/01/06 2012/01/06       1\n"
                               "   F      7 2012/01/01 2012/01/08       2\n"
                               "   G     10 2012/01/02 2012/01/02       1\n"
                               "   H     14 2012/01/03 2012/01/03       1\n"
                               "   I     18\n"
                               "   J     21 2012/01/04 2012/01/04       1\n\n"));
  EXPECT_THAT(
      bands, HasSubstr("バンド数   局数\n       1      1\n       2      1\n       3      0\n       4      1\n"
                       "    合計      3\n\n"));
  EXPECT_THAT(bands, HasSubstr("順位 バンド数 局        バンド\n"
                               "   1        4 JA1ABC      FGH J 7～14 21\n"
                               "   2        2 W1AW      DE      3.5 3.8\n"
                               "   3        1 K1ZZ        F     7\n"));
}

// The top list runs from 24 bands down: a station on all 25 is counted in the distribution, and
// the station on 24 heads the list.
TEST_F(VonrixTest, TheTopListStartsAt24Bands) {
  const char* lowEnds[] = {"0.135",     "0.472",     "1.810",     "3.500",      "3.702",
                           "7.000",     "10.100",    "14.000",    "18.068",     "21.000",
                           "24.890",    "28.000",    "50.000",    "144.000",    "430.000",
                           "1260.000",  "2400.000",  "5650.000",  "10000.000",  "10450.000",
                           "24000.000", "47000.000", "75500.000", "142000.000", "248000.000"};
  std::vector<Contact> contacts;
  for (const char* freq : lowEnds) contacts.push_back({"120101", "0900", "JA1ABC", freq});
  for (size_t band = 1; band < std::size(lowEnds); ++band)
    contacts.push_back({"120101", "0900", "JA2ABC", lowEnds[band]});
  contacts.push_back({"120102", "0900", "JA1ABC", "0.134"});  // no band: not counted
  contacts.push_back({"120103", "0900", "W1AW", "0.139"});    // a station without any band
  SetLog(contacts);
  const std::string bands = Report("B");
  EXPECT_THAT(bands, HasSubstr("      24      1\n      25      1\n    合計      3\n"));
  EXPECT_THAT(bands, HasSubstr("順位 バンド数 局        バンド\n"
                               "   1       24 JA2ABC     BCDEFGHIJKLMNOPQRSTUVWXY 472k～248G\n"));
  EXPECT_THAT(bands, Not(HasSubstr("       25 JA1ABC")));
  EXPECT_THAT(bands, Not(HasSubstr("W1AW")));
}

TEST_F(VonrixTest, CountsPerThousandContactsAndPerYear) {
  std::vector<Contact> contacts;
  // 2500 contacts in 2010 and 2012 (none in 2011): the station JA1AAA every second contact.
  for (int i = 0; i < 2500; ++i) {
    char date[8];
    std::snprintf(date, sizeof date, "%02d%02d%02d", i < 1500 ? 10 : 12, 1 + i % 1500 / 125, 1 + i % 125 / 5);
    contacts.push_back({date, "0000", i % 2 == 0 ? "JA1AAA" : "JR" + std::to_string(1000 + i)});
  }
  SetLog(contacts);
  const std::string counts = Report("C");
  EXPECT_THAT(counts, HasSubstr("交信数    初    再      率   平均 中央値 最大\n"
                                "  1000   501   499   0.501 125.75   1.0   500 JA1AAA\n"
                                "  2000   500   500   0.500 375.75 251.0  1000 JA1AAA\n"
                                "  2500   250   250   0.500 563.25 501.0  1250 JA1AAA\n\n"));
  EXPECT_THAT(counts, HasSubstr("  2011     0     0   -       -      -     750 JA1AAA\n"));
  EXPECT_THAT(counts, HasSubstr("回数   局数\n   1   1250\n\n1250      1\n\n■交信回数上位局■\n"));
}

// Texts are mostly found within 16 bytes; longer ones, and dates and times of other widths, are
// split all the same.
TEST_F(VonrixTest, LongTextsAndOddWidthsSplitLikeUsualOnes) {
  const std::string longCall = "JA1ABCDEFGHIJKLMNOPQRSTU";  // 24 bytes
  SetLog({{"120101", "0900", longCall, "7.010"},
          {"120102", "0900", "KH0/" + longCall, "14.010"},
          {"1201031", "900", longCall + "/1", "7.020"},  // a DATE and START of other widths
          {"120104", "0900", "JA1ABCDEFGHIJKLMN", "7.030"},
          {"120105", "0900", "JA1ABCDEFGHIJKLMNOP/1", "21.010"}});
  const std::string counts = Report("C");
  EXPECT_THAT(counts, HasSubstr("順位 回数 局\n   1    3 " + longCall +
                                "\n   2    1 JA1ABCDEFGHIJKLMN\n"
                                "   2    1 JA1ABCDEFGHIJKLMNOP\n"));
  EXPECT_THAT(Report("C", {"FREQ=7.0*"}), HasSubstr("順位 回数 局\n   1    2 " + longCall + "\n"));
  const std::string bands = Report("B");
  EXPECT_THAT(bands, HasSubstr("   1        2 " + longCall + "F H   7 14\n"));
  EXPECT_THAT(bands, HasSubstr("   2        1 JA1ABCDEFGHIJKLMNOP    J 21\n"));
}

TEST_F(VonrixTest, MedianOfCountsFarApart) {
  std::vector<Contact> contacts;
  for (int i = 0; i < 30; ++i) contacts.push_back({"100101", "0000", "JA1AAA"});
  contacts.push_back({"120101", "0000", "JA1AAA"});  // 2012: the counts 31 and 1
  contacts.push_back({"120102", "0000", "JA1BBB"});
  contacts.push_back({"130101", "0000", "JA1AAA"});  // 2013: 32, 1 and 1
  contacts.push_back({"130102", "0000", "JA1CCC"});
  contacts.push_back({"130103", "0000", "JA1DDD"});
  SetLog(contacts);
  const std::string counts = Report("C");
  EXPECT_THAT(counts, HasSubstr("  2012     1     1   0.500  16.00  16.0    31 JA1AAA\n"));
  EXPECT_THAT(counts, HasSubstr("  2013     2     1   0.667  11.33   1.0    32 JA1AAA\n"));
}

}  // namespace
}  // namespace vondal
