// The join of ADIF files: the processing menu's own export back into a log, byte for byte, and
// the files other programs write (WSJT-X's log, a LoTW download, UTF-8 and CP932 files), written
// here from the formats' public descriptions.
#include <gtest/gtest.h>

#include "adif/standard_writer.h"
#include "app/text/charset.h"
#include "editor/join_read.h"
#include "editor/join_report.h"
#include "editor/join_test_support.h"
#include "log/date_time.h"
#include "log/log_format.h"
#include "output/export_format.h"
#include "output/field_selection.h"

namespace vondal {
namespace {

using testing::Image;
using testing::JoinBench;

Record Contact(std::vector<std::string> texts) {
  Record r;
  for (size_t i = 0; i < texts.size(); ++i) r[static_cast<int>(i)] = texts[i];
  return r;
}

// A log with every field, Japanese texts, a contest, short forms of FREQ and the midnight, month
// and year ends that a conversion to UTC moves across.
std::vector<Record> EveryField() {
  return {
      Contact({"240101", "0000", "0015", "JA1ABC", "7.025", "CW", "599", "579", "東京都千代田区", "鈴木太郎",
               "IC-7300", "", "初QSO;QSL[JARL]", "ﾖｺﾊﾏｼ", "FT-991A", "J", "JD"}),
      Contact({"240301", "0859", "0901", "JA2XYZ", "1.9", "SSB", "5913M", "5907H", "愛知県", "ﾀﾅｶ", "",
               "ALLJA1", std::string(100, 'r'), "", "", "", ""}),
      Contact(
          {"000101", "0500", "12AB", "K1ABC", "14.07412", "FT8", "", "", "", "", "", "", "", "", "", "", ""}),
      Contact({"991231", "2359", "0003", "JA3AAA", "10.", "cw", "599", "599", "大阪", "", "", "", "", "", "",
               "", ""}),
      // The same contact twice: the file's own records are all joined.
      Contact({"991231", "2359", "0003", "JA3AAA", "10.", "cw", "599", "599", "大阪", "", "", "", "", "", "",
               "", ""}),
      Contact({"490305", "1200", "1230", "8J1RL", "430.", "FM", "59", "59", "南極", "", "", "", "", "", "",
               "", ""}),
  };
}

std::string Export(const std::vector<Record>& records, bool jstToUtc) {
  std::string file = AdifHeader(jstToUtc);
  const FieldSelection all = ParseFieldSelection("DATE-rQSL");
  for (const Record& r : records) {
    RecordTexts texts;
    for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
    AppendAdifRecord(file, texts, all, ";", jstToUtc);
  }
  return file;
}

std::string Images(const std::vector<Record>& records) {
  std::string bytes;
  for (const Record& r : records) bytes += Image(r);
  return bytes;
}

TEST(AdifJoinTest, TheOwnExportComesBackByteForByte) {
  for (bool jstToUtc : {false, true}) {
    SCOPED_TRACE(jstToUtc);
    JoinBench bench("");
    const JoinResult result = bench.Join("/in/T.ADI", Export(EveryField(), jstToUtc));
    ASSERT_TRUE(result.joined) << result.reason << " " << result.detail;
    EXPECT_EQ(bench.Log(), Images(EveryField()));
    EXPECT_EQ(result.records, 6);
    EXPECT_EQ(result.duplicates, 0);
    EXPECT_TRUE(result.notes.empty());
    EXPECT_EQ(result.charset, TextCharset::kCp932);
  }
  // A log kept in UTC takes the JST export nine hours back.
  JoinBench utc("");
  ASSERT_TRUE(utc.Join("/in/T.adif", Export({EveryField()[0]}, false), TimeZone::kUtc).joined);
  Record back = EveryField()[0];
  back[DATE] = "231231", back[START] = "1500", back[END] = "1515";
  EXPECT_EQ(utc.Log(), Image(back));
}

// The standard form of ADIF 3.1 (adif/standard_writer.h) of a log kept in JST or in UTC.
std::string StandardExport(const std::vector<Record>& records, bool logInUtc) {
  std::string file = StandardAdifHeader("20240315 030405");
  StandardAdifWriter writer(logInUtc);
  for (const Record& r : records) {
    RecordTexts texts;
    for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
    writer.AppendRecord(file, texts);
  }
  return file;
}

// Beside every field: ADIF's submodes and a mode it does not know, QSL marks, Japanese texts in
// every field that has an _INTL twin, a Japanese contest name, decibel reports.
std::vector<Record> EveryFieldInTheStandardForm() {
  std::vector<Record> log = EveryField();
  log.push_back(Contact({"240315", "2130", "2135", "JH1XYZ", "14.070", "PSK31", "599", "599", "横浜市", "ﾀﾛｳ",
                         "ＩＣ－７０５", "", "表示ソフト～", "千葉市", "ﾓｰﾋﾞﾙ 50W", "N", "Y"}));
  log.push_back(Contact({"240316", "0005", "0006", "VK2DEF", "7.047", "FT4", "-05", "+02", "", "", "", "", "",
                         "", "", "R", "V"}));
  log.push_back(Contact(
      {"240316", "0910", "0915", "JA1LSB", "7.150", "LSB", "59", "57", "", "", "", "", "", "", "", "", ""}));
  log.push_back(Contact({"240316", "1010", "1015", "W1JT", "50.310", "JT65A", "-12", "-15", "", "", "", "",
                         "", "", "", "", ""}));
  log.push_back(Contact(
      {"240316", "1110", "1111", "JR1DV", "430.", "DV", "59", "59", "", "", "", "", "", "", "", "", ""}));
  log.push_back(Contact({"240317", "2000", "2001", "JA0AAA", "3.8", "SSB", "5910013", "5920014", "", "", "",
                         "全市全郡", "", "", "", "", ""}));
  return log;
}

// Through the standard form and back into an empty log, the records come back as they were: the
// join moves the UTC times back to the log's clock, and takes from the APP_Vondal_ fields the
// texts the standard fields would change (the mode ADIF does not know, the marks, short forms).
TEST(AdifJoinTest, TheStandardExportComesBackByteForByte) {
  for (const TimeZone logClock : {TimeZone::kJst, TimeZone::kUtc}) {
    SCOPED_TRACE(logClock == TimeZone::kUtc ? "UTC log" : "JST log");
    JoinBench bench("");
    const std::vector<Record> log = EveryFieldInTheStandardForm();
    const JoinResult result =
        bench.Join("/in/T.ADI", StandardExport(log, logClock == TimeZone::kUtc), logClock);
    ASSERT_TRUE(result.joined) << result.reason << " " << result.detail;
    EXPECT_EQ(result.records, static_cast<int>(log.size()));
    EXPECT_EQ(result.charset, TextCharset::kUtf8);
    EXPECT_TRUE(result.notes.empty()) << (result.notes.empty() ? "" : result.notes.front().text);
    for (size_t n = 0; n < log.size(); ++n) {
      EXPECT_EQ(bench.Log().substr(n * kRecordSize, kRecordSize), Image(log[n])) << "record " << n;
    }
  }
}

// A log as WSJT-X keeps it (wsjtx_log.adi).
std::string WsjtxLog(int contacts) {
  std::string file = "WSJT-X ADIF Export<eoh>\n";
  const char* records[] = {
      "<call:5>K1ABC <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-15 <qso_date:8>20240115 "
      "<time_on:6>101530 <qso_date_off:8>20240115 <time_off:6>101645 <band:3>20m <freq:9>14.075123 "
      "<station_callsign:6>JA1XYZ <my_gridsquare:6>PM95RQ <tx_pwr:2>50 <comment:3>tnx <eor>\n",
      "<call:6>VK2DEF <gridsquare:4>QF56 <mode:4>MFSK <submode:3>FT4 <rst_sent:3>+02 <rst_rcvd:3>-07 "
      "<qso_date:8>20240115 <time_on:6>153010 <qso_date_off:8>20240115 <time_off:6>153100 <band:3>15m "
      "<freq:9>21.140456 <station_callsign:6>JA1XYZ <my_gridsquare:6>PM95RQ <eor>\n",
      "<call:6>JA6GHI <mode:3>FT8 <rst_sent:3>-20 <rst_rcvd:3>-18 <qso_date:8>20240116 <time_on:6>000005 "
      "<time_off:6>000105 <band:3>40m <freq:8>7.074321 <eor>\n",
  };
  for (int i = 0; i < contacts; ++i) file += records[i];
  return file;
}

TEST(AdifJoinTest, WsjtxLogJoinedAgainAddsOnlyItsNewContacts) {
  JoinBench bench(Image(testing::ValidRecord()));
  JoinResult result = bench.Join("/home/op/.local/share/WSJT-X/wsjtx_log.adi", WsjtxLog(2));
  ASSERT_TRUE(result.joined) << result.reason;
  EXPECT_EQ(result.records, 2);
  EXPECT_EQ(result.charset, TextCharset::kAscii);
  EXPECT_EQ(bench.rows.rows[11], "1:結合レコード数 19:2 ");
  EXPECT_EQ(bench.rows.rows[12], "1:重複レコード数 19:0 ");
  const RecordTexts& first = bench.set.log.ReadRecord(1);
  EXPECT_EQ(std::string(first[DATE]) + " " + std::string(first[START]) + " " + std::string(first[END]),
            "240115 1915 1916");
  EXPECT_EQ(first[CALLSIGN], "K1ABC");
  EXPECT_EQ(first[FREQ], "14.075123");
  EXPECT_EQ(first[MODE], "FT8");
  EXPECT_EQ(first[sRST], "-10");
  EXPECT_EQ(first[REMARKS], "tnx;GL[FN42];PWR[50]");
  const RecordTexts& second = bench.set.log.ReadRecord(2);
  EXPECT_EQ(second[MODE], "FT4");
  EXPECT_EQ(std::string(second[DATE]) + " " + std::string(second[START]),
            "240116 0030");  // past midnight in JST
  EXPECT_EQ(bench.set.index[2].key, DateTimeKey("240116", "0030"));

  // WSJT-X has logged one more contact since: the join adds it alone.
  const std::string before = bench.Log();
  result = bench.Join("/home/op/.local/share/WSJT-X/wsjtx_log.adi", WsjtxLog(3));
  ASSERT_TRUE(result.joined) << result.reason;
  EXPECT_EQ(result.records, 1);
  EXPECT_EQ(result.duplicates, 2);
  EXPECT_EQ(bench.rows.rows[12], "1:重複レコード数 19:2 ");
  ASSERT_EQ(bench.Log().size(), before.size() + kRecordSize);
  EXPECT_EQ(bench.set.log.ReadRecord(3)[CALLSIGN], "JA6GHI");
  ASSERT_EQ(result.notes.size(), 2u);
  EXPECT_EQ(result.notes[0].number, 1);
  EXPECT_EQ(result.notes[0].callsign, "K1ABC");
  EXPECT_EQ(result.notes[0].text, "ﾛｸﾞの2番目の交信と同じため省略");
  // Nothing new at all: nothing written, and nothing wrong.
  const std::string journal = bench.memory.Contents(testing::kJoinJournal);
  result = bench.Join("/in/wsjtx_log.adi", WsjtxLog(3));
  EXPECT_TRUE(result.joined);
  EXPECT_EQ(result.records, 0);
  EXPECT_EQ(result.duplicates, 3);
  EXPECT_EQ(bench.rows.rows[11], "1:結合レコード数 19:0 ");
  EXPECT_EQ(bench.Log().size(), before.size() + kRecordSize);
  EXPECT_EQ(bench.memory.Contents(testing::kJoinJournal), journal);
}

TEST(AdifJoinTest, LotwDownload) {
  const std::string lotw =
      "ARRL Logbook of the World Status Report\n"
      "Generated at 2024-02-01 10:00:00\n"
      "for JA1XYZ\n"
      "Query:\n"
      "    QSL ONLY: YES\n"
      "<PROGRAMID:4>LoTW\n"
      "<APP_LoTW_LASTQSL:19>2024-01-31 12:00:00\n"
      "<APP_LoTW_NUMREC:1>2\n"
      "<eoh>\n"
      "\n"
      "<APP_LoTW_OWNCALL:6>JA1XYZ\n"
      "<STATION_CALLSIGN:6>JA1XYZ\n"
      "<CALL:5>W1AW/\n"
      "<BAND:3>20M\n"
      "<FREQ:8>14.07400\n"
      "<MODE:3>FT8\n"
      "<APP_LoTW_MODEGROUP:4>DATA\n"
      "<QSO_DATE:8>20240110\n"
      "<TIME_ON:6>120000\n"
      "<APP_LoTW_QSO_TIMESTAMP:20>2024-01-10T12:00:00Z // QSO Date & Time; ISO-8601\n"
      "<QSL_RCVD:1>Y\n"
      "<QSLRDATE:8>20240131\n"
      "<eor>\n"
      "\n"
      "<CALL:5>DL1AB\n"
      "<BAND:3>40M\n"
      "<MODE:2>CW\n"
      "<QSO_DATE:8>20240111\n"
      "<TIME_ON:4>2130\n"
      "<QSL_RCVD:1>Y\n"
      "<eor>\n";
  JoinBench bench("");
  const JoinResult result = bench.Join("/in/lotwreport.adi", lotw);
  ASSERT_TRUE(result.joined) << result.reason;
  EXPECT_EQ(bench.Log(), Image(Contact({"240110", "2100", "2100", "W1AW/", "14.07400", "FT8", "", "", "", "",
                                        "", "", "", "", "", "", "Y"})) +
                             Image(Contact({"240112", "0630", "0630", "DL1AB", "7.0", "CW", "", "", "", "",
                                            "", "", "", "", "", "", "Y"})));
}

TEST(AdifJoinTest, JapaneseTextsInUtf8AndCp932AndWhatDoesNotFit) {
  // UTF-8 as QLog and the standard form write it: Japanese in the plain field or in its _INTL twin
  // behind an ASCII one; a character CP932 lacks; a name longer than NAME holds.
  const std::string name = Cp932ToUtf8("鈴木太郎");
  const std::string qth = Cp932ToUtf8("東京都");
  const std::string longName =
      Cp932ToUtf8(std::string(24, 'x') + "ｱｲｳｴｵ鈴木太郎鈴木太郎鈴木太郎");  // 53 bytes in CP932
  const std::string utf8 =
      "QLog\n<ADIF_VER:5>3.1.4<EOH>\n"
      "<CALL:6>JA1ABC<QSO_DATE:8>20240101<TIME_ON:4>0300<FREQ:5>7.025<MODE:2>CW"
      "<NAME:4>Taro<NAME_INTL:" +
      std::to_string(name.size()) + ">" + name + "<QTH:" + std::to_string(qth.size()) + ">" + qth +
      "<COMMENT:10>73 \xF0\x9F\x98\x80 gl<EOR>\n" +
      "<CALL:6>JA2XYZ<QSO_DATE:8>20240101<TIME_ON:4>0400<FREQ:5>7.025<MODE:2>CW<NAME:" +
      std::to_string(longName.size()) + ">" + longName + "<EOR>\n";
  JoinBench bench("");
  JoinResult result = bench.Join("/in/qlog.adi", utf8);
  ASSERT_TRUE(result.joined) << result.reason;
  EXPECT_EQ(result.charset, TextCharset::kUtf8);
  EXPECT_EQ(bench.set.log.ReadRecord(0)[NAME], "鈴木太郎");
  EXPECT_EQ(bench.set.log.ReadRecord(0)[QTH], "東京都");
  EXPECT_EQ(bench.set.log.ReadRecord(0)[REMARKS], "73 ? gl");
  EXPECT_EQ(bench.set.log.ReadRecord(1)[NAME], std::string(24, 'x') + "ｱｲｳｴｵ鈴木太郎鈴木太郎鈴木");
  ASSERT_EQ(result.notes.size(), 2u);
  EXPECT_EQ(result.notes[0].text, "REMARKS: CP932にない文字1個を?に置換");
  EXPECT_EQ(result.notes[1].number, 2);
  EXPECT_EQ(result.notes[1].callsign, "JA2XYZ");
  EXPECT_EQ(result.notes[1].date, "240101");
  EXPECT_EQ(result.notes[1].text, "NAME: 切詰め「太郎」");
  // The report lists them under the log, the file and the counts.
  const std::string report = JoinReportText(result, "/qso/2024.VD", "/in/qlog.adi");
  EXPECT_NE(report.find("結合読込ﾌｧｲﾙ=/in/qlog.adi\r\n結合レコード数=2\r\n"), std::string::npos);
  EXPECT_NE(report.find("      2 JA2XYZ       240101 NAME: 切詰め「太郎」\r\n"), std::string::npos);
  EXPECT_EQ(JoinReportName("/out", "/qso/2024.VD"), "/out/2024-join.TXT");

  // CP932 from another program (a JA contest logger): its bytes are not UTF-8.
  JoinBench cp932("");
  result =
      cp932.Join("/in/ctest.ADI",
                 "CTESTWIN\r\n<EOH>\r\n<CALL:6>JA1ABC <QSO_DATE:8>20240101 <TIME_ON:4>0300 <FREQ:5>7.025 "
                 "<MODE:2>CW <QTH:6>東京都 <EOR>\r\n");
  ASSERT_TRUE(result.joined) << result.reason;
  EXPECT_EQ(result.charset, TextCharset::kCp932);
  EXPECT_EQ(cp932.set.log.ReadRecord(0)[QTH], "東京都");
}

TEST(AdifJoinTest, ARecordWithoutCallStopsTheJoinWithItsNumber) {
  JoinBench bench(Image(testing::ValidRecord()));
  const std::string old = bench.Log();
  const std::string file =
      WsjtxLog(2) + "<qso_date:8>20240116 <time_on:4>0100 <freq:5>7.074 <mode:3>FT8 <eor>\n";
  const JoinResult result = bench.Join("/in/x.adi", file);
  EXPECT_FALSE(result.joined);
  EXPECT_EQ(result.reason, "CALLがない");
  EXPECT_TRUE(bench.rows.Has(7, "9:3 ")) << bench.rows.rows[7];
  EXPECT_TRUE(bench.rows.Has(7, "17:CALLがないので中断します"));
  EXPECT_EQ(bench.rows.rows[8], "17:QSO_DATE=20240116 TIME_ON=0100  ");
  EXPECT_EQ(bench.Log(), old);
  EXPECT_FALSE(bench.memory.Exists(testing::kJoinJournal));
  EXPECT_TRUE(result.notes.empty());
  // An unfinished last record is noted, not joined.
  const JoinResult cut = bench.Join("/in/y.adi", WsjtxLog(1) + "<call:5>K2XYZ <mode:2>CW");
  ASSERT_TRUE(cut.joined) << cut.reason;
  EXPECT_EQ(cut.records, 1);
  ASSERT_EQ(cut.notes.size(), 1u);
  EXPECT_EQ(cut.notes[0].text, "ﾌｧｲﾙ末尾の<EOR>で終わらないﾃﾞｰﾀ24ﾊﾞｲﾄを無視");
}

TEST(CsvInputTest, Utf8ByteOrderMarkEmptyLinesAndCtrlZ) {
  JoinBench bench("");
  const std::string csv =
      "\xEF\xBB\xBF"
      "DATE,START,END,CALLSIGN,FREQ,MODE,sRST,rRST,QTH\r\n" +
      std::string("240101,1200,1205,JA2XYZ,14.050,CW,599,599,") + Cp932ToUtf8("名古屋市") +
      "\r\n\r\n240102,0800,0805,JA3XYZ,7.050,SSB,59,59\r\n\r\n\x1A";
  JoinResult result = bench.Join("/in/list.csv", csv);
  ASSERT_TRUE(result.joined) << result.reason << " " << result.detail;
  EXPECT_EQ(result.records, 2);
  EXPECT_EQ(result.headers, 1);
  EXPECT_EQ(result.charset, TextCharset::kUtf8);
  EXPECT_EQ(bench.set.log.ReadRecord(0)[QTH], "名古屋市");
  EXPECT_TRUE(result.notes.empty());
  // A CP932 CSV stays as it is, its bytes taken unchanged.
  JoinBench cp932("");
  result = cp932.Join("/in/list.csv", "240101,1200,1205,JA2XYZ,14.050,CW,599,599,名古屋市\r\n");
  ASSERT_TRUE(result.joined);
  EXPECT_EQ(result.charset, TextCharset::kCp932);
  EXPECT_EQ(cp932.set.log.ReadRecord(0)[QTH], "名古屋市");
}

TEST(CsvInputTest, ARefusedLineSaysWhatIsWrongWithIt) {
  struct Case {
    std::string name, file, reason, detail;
  };
  const std::vector<Case> cases = {
      {"/in/sheet.csv", "date,time\r\n2024/01/01,09:00,09:05,JA1ABC,7.050,CW\r\n", kJoinFieldTooLong,
       "DATEはYYMMDD(6桁の数字)、区切りはTABかｺﾝﾏです: 2024/01/01,09:00,09:05,JA1ABC,.."},
      {"/in/renamed.csv", "ADIF Export\r\n<PROGRAMID:6>Vondal\r\n", kJoinFieldTooLong,
       "ADIFﾌｧｲﾙのようです(名前を*.ADIにすると結合できます)"},
      {"/in/short.csv", "240101,1200,1205,JA1ABC,7.050,CW\r\n2401010,1200,1205,JA1ABC,7.050,CW\r\n",
       kJoinBadFieldLength, "DATEはYYMMDD(6桁の数字)です: 2401010"},
      {"/in/nofreq.csv", "240101,1200,1205,JA1ABC,,CW\r\n", kJoinBadFieldLength, "FREQがありません"},
      {"/in/call.csv", "240101,1200,1205,J,7.050,CW\r\n", kJoinBadFieldLength, "CALLSIGNは2文字以上です: J"},
      {"/in/wide.csv", "240101,1200,1205,JA1ABC,7.050,CW,599,599," + std::string(51, 'q') + "\r\n",
       kJoinFieldTooLong, "QTHは50ﾊﾞｲﾄまでです: " + std::string(30, 'q') + ".."},
      {"/in/log.VD", std::string(197, 'x') + "\r\n", kJoinBadLineLength,
       "1行は198ﾊﾞｲﾄちょうどです(この行は197ﾊﾞｲﾄ)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JoinBench bench("");
    const JoinResult result = bench.Join(c.name, c.file);
    EXPECT_EQ(result.reason, c.reason);
    EXPECT_EQ(result.detail, c.detail);
    EXPECT_TRUE(bench.rows.Has(8, "17:" + c.detail));
  }
}

}  // namespace
}  // namespace vondal

namespace vondal {
namespace {

// A large file is mapped in two stretches at once; the join must come out the same as from one:
// the log, the journal, the counts and every note in the file's order, the contacts the log
// holds found in both halves, and a refused record stopping the join wherever it stands. A
// "<EOR>" inside a value in the middle of the file (where the second stretch would begin) sends
// the whole file through one stretch.
TEST(AdifJoinTest, TwoStretchesJoinAsOne) {
  std::vector<Record> contacts;
  for (int n = 0; n < 400; ++n) {
    contacts.push_back(
        Contact({"240101", n % 2 ? "0900" : "1000", "1010", "JA1A" + std::to_string(n), "7.025", "CW", "599",
                 "599", n % 7 ? "東京都" : std::string(40, 'q'), "", "", "", "", "", "", "", ""}));
  }
  const std::string file = Export(contacts, false);
  // The log already holds contacts 3 and 350; the file's own repeats are all joined.
  const std::string held = Image(contacts[3]) + Image(contacts[350]);
  // A comment over the middle of the file that reads, from inside it, as a field and a record end.
  const std::string middleEor = [&] {
    std::string text = file;
    const std::string value = std::string(400, 'y') + "<Z:1>a <EOR>";
    return text.insert(text.find("<CALL", text.size() / 2 - 100),
                       "<COMMENT:" + std::to_string(value.size()) + ">" + value + " ");
  }();
  std::string refusedLate = file;
  refusedLate.replace(refusedLate.find("<CALL:7>JA1A390"), 15, "<CALL:0>       ");

  for (const std::string& text : {file, middleEor, refusedLate}) {
    JoinBench one(held), two(held);
    const JoinResult whole = one.Join("/in/T.ADI", text, TimeZone::kJst, std::string::npos);
    const JoinResult halves = two.Join("/in/T.ADI", text, TimeZone::kJst, 0);
    EXPECT_EQ(halves.joined, whole.joined);
    EXPECT_EQ(halves.reason, whole.reason);
    EXPECT_EQ(halves.detail, whole.detail);
    EXPECT_EQ(halves.records, whole.records);
    EXPECT_EQ(halves.duplicates, whole.duplicates);
    EXPECT_EQ(two.Log(), one.Log());
    EXPECT_EQ(two.memory.Contents(testing::kJoinJournal), one.memory.Contents(testing::kJoinJournal));
    EXPECT_EQ(two.rows.rows, one.rows.rows);
    ASSERT_EQ(halves.notes.size(), whole.notes.size());
    for (size_t i = 0; i < whole.notes.size(); ++i) {
      EXPECT_EQ(halves.notes[i].number, whole.notes[i].number);
      EXPECT_EQ(halves.notes[i].text, whole.notes[i].text);
      EXPECT_EQ(halves.notes[i].callsign, whole.notes[i].callsign);
    }
  }
  JoinBench bench(held);
  const JoinResult joined = bench.Join("/in/T.ADI", file, TimeZone::kJst, 0);
  EXPECT_EQ(joined.records, 398);
  EXPECT_EQ(joined.duplicates, 2);
}

}  // namespace
}  // namespace vondal
