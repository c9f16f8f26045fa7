#include "adif/standard_writer.h"

#include <gtest/gtest.h>

#include <map>

#include "app/text/charset.h"
#include "log/log_format.h"

namespace vondal {
namespace {

// A contact on 40 m at noon JST, ASCII throughout.
Record Plain() {
  Record r;
  r[DATE] = "240315";
  r[START] = "1200";
  r[END] = "1210";
  r[CALLSIGN] = "JA1ABC";
  r[FREQ] = "7.025";
  r[MODE] = "CW";
  r[sRST] = "599";
  r[rRST] = "579";
  return r;
}

// The items of one written record by tag, each value taken by its byte count; the record must be
// one line ending "<EOR>" CR LF with its items one blank apart.
std::map<std::string, std::string> Items(const std::string& line) {
  std::map<std::string, std::string> items;
  size_t at = 0;
  while (line.compare(at, 1, "<") == 0 && line.compare(at, 5, "<EOR>") != 0) {
    const size_t colon = line.find(':', at), close = line.find('>', at);
    const std::string tag = line.substr(at + 1, colon - at - 1);
    const size_t length = std::stoul(line.substr(colon + 1, close - colon - 1));
    EXPECT_EQ(items.count(tag), 0u) << tag;
    items[tag] = line.substr(close + 1, length);
    at = close + 1 + length;
    if (line.compare(at, 1, " ") == 0) ++at;
  }
  EXPECT_EQ(line.substr(at), "<EOR>\r\n") << line;
  return items;
}

struct Written {
  std::map<std::string, std::string> items;
  StandardAdifCounts counts;
};

Written Write(const Record& record, bool logInUtc = false) {
  StandardAdifWriter writer(logInUtc);
  std::string out;
  const RecordImage image = EncodeRecord(record);
  RecordReader reader;
  writer.AppendRecord(out, reader.Split(image.data()));
  return {Items(out), writer.counts()};
}

TEST(StandardWriterTest, HeaderNamesVersionProgramAndTime) {
  EXPECT_EQ(AdifTimestamp(0), "19700101 000000");
  EXPECT_EQ(AdifTimestamp(1710471845), "20240315 030405");
  EXPECT_EQ(StandardAdifHeader("20240315 030405"),
            "Vondal w01.022 ADIF 3.1.4, times in UTC\r\n<ADIF_VER:5>3.1.4\r\n<PROGRAMID:6>Vondal\r\n"
            "<PROGRAMVERSION:7>w01.022\r\n<CREATED_TIMESTAMP:15>20240315 030405\r\n<EOH>\r\n");
}

TEST(StandardWriterTest, JstGoesBackNineHoursAcrossDaysMonthsYearsAndCenturies) {
  const struct {
    const char *date, *start, *end, *qsoDate, *on, *off;
  } cases[] = {
      {"240315", "1200", "1210", "20240315", "0300", "0310"},
      {"240301", "0500", "0530", "20240229", "2000", "2030"},
      {"230301", "0500", "0530", "20230228", "2000", "2030"},
      {"250101", "0300", "0310", "20241231", "1800", "1810"},
      {"000101", "0100", "0110", "19991231", "1600", "1610"},
      {"000301", "0859", "0901", "20000229", "2359", "0001"},
      // The first day of the log's years steps back into 1949, not into 2049.
      {"500101", "0000", "0005", "19491231", "1500", "1505"},
  };
  for (const auto& c : cases) {
    Record r = Plain();
    r[DATE] = c.date;
    r[START] = c.start;
    r[END] = c.end;
    const Written w = Write(r);
    EXPECT_EQ(w.items.at("QSO_DATE"), c.qsoDate) << c.date;
    EXPECT_EQ(w.items.at("TIME_ON"), c.on) << c.date;
    EXPECT_EQ(w.items.at("TIME_OFF"), c.off) << c.date;
    const Written utc = Write(r, true);  // a log kept in UTC is written as it is
    EXPECT_EQ(utc.items.at("QSO_DATE"), (c.date[0] < '5' ? "20" : "19") + std::string(c.date)) << c.date;
    EXPECT_EQ(utc.items.at("TIME_ON"), c.start);
  }
}

TEST(StandardWriterTest, JapaneseTextsGoToTheirIntlFieldsInUtf8Only) {
  Record r = Plain();
  r[QTH] = "東京都千代田区";
  r[NAME] = "ﾀﾛｳ";
  r[RIG] = "IC-7300";
  r[REMARKS] = "QSL済み";
  r[MyQTH] = "千葉市";
  r[MyRIG] = "ﾓｰﾋﾞﾙ 50W";
  const Written w = Write(r);
  const std::pair<const char*, int> intl[] = {
      {"QTH", QTH}, {"NAME", NAME}, {"COMMENT", REMARKS}, {"MY_CITY", MyQTH}, {"MY_RIG", MyRIG}};
  for (const auto& [tag, field] : intl) {
    EXPECT_EQ(w.items.count(tag), 0u) << tag;
    EXPECT_EQ(w.items.at(std::string(tag) + "_INTL"), Cp932ToUtf8(r[field])) << tag;
  }
  EXPECT_EQ(w.items.at("QTH_INTL").size(), 21u);  // seven characters of three UTF-8 bytes
  EXPECT_EQ(w.items.at("RIG"), "IC-7300");
  EXPECT_EQ(w.items.count("RIG_INTL"), 0u);
  EXPECT_EQ(w.counts.appOnly, 0);
}

TEST(StandardWriterTest, FrequenciesInMhzWithTheBandOfAdif) {
  const struct {
    const char *freq, *written, *band;
  } cases[] = {
      {"7.025", "7.025", "40m"},
      {"3.8", "3.8", "80m"},  // the Japanese 3.8 MHz band is ADIF's 80m
      {"1.9", "1.907", "160m"},
      {"10.", "10.100", "30m"},  // short forms say where they mean
      {"1200.", "1260", "23cm"},
      {"144.5", "144.5", "2m"},
      {"0.136", "0.136", "2190m"},
      {"8.0", "8.0", ""},
      {"5", "5", ""},  // numbers in no band
      {".475", "0.475", "630m"},
      {"24020.", "24020", "1.25cm"},
  };
  for (const auto& c : cases) {
    Record r = Plain();
    r[FREQ] = c.freq;
    const Written w = Write(r);
    EXPECT_EQ(w.items.at("FREQ"), c.written) << c.freq;
    EXPECT_EQ(w.items.count("BAND") ? w.items.at("BAND") : "", c.band) << c.freq;
    // The text typed stays beside the number when the number reads back otherwise.
    EXPECT_EQ(w.items.count("APP_Vondal_FREQ") ? w.items.at("APP_Vondal_FREQ") : c.written, c.freq) << c.freq;
  }
  Record none = Plain();
  none[FREQ] = "7.0MHz";
  const Written w = Write(none);
  EXPECT_EQ(w.items.count("FREQ") + w.items.count("BAND"), 0u);
  EXPECT_EQ(w.items.at("APP_Vondal_FREQ"), "7.0MHz");
  EXPECT_EQ(w.counts.appOnly, 1);
}

TEST(StandardWriterTest, ModesAndSubmodesOfAdifAndTheModesItDoesNotKnow) {
  const struct {
    const char *typed, *mode, *submode, *kept;
  } cases[] = {
      {"CW", "CW", "", ""},
      {"PSK31", "PSK", "PSK31", ""},
      {"FT4", "MFSK", "FT4", ""},
      {"FT8", "FT8", "", ""},
      {"LSB", "SSB", "LSB", "LSB"},
      {"C4FM", "DIGITALVOICE", "C4FM", ""},
      {"JT65A", "JT65", "JT65A", "JT65A"},  // the join reads SSB's side bands and JT65's A as the mode
      {"cw", "CW", "", "cw"},
      {"Psk31", "PSK", "PSK31", "Psk31"},
      {"DV", "", "", "DV"},
      {"ﾓｰﾙｽ", "", "", "ﾓｰﾙｽ"},
  };
  int64_t unknown = 0;
  for (const auto& c : cases) {
    Record r = Plain();
    r[MODE] = c.typed;
    const Written w = Write(r);
    auto item = [&w](const char* tag) { return w.items.count(tag) ? w.items.at(tag) : ""; };
    EXPECT_EQ(item("MODE"), c.mode) << c.typed;
    EXPECT_EQ(item("SUBMODE"), c.submode) << c.typed;
    EXPECT_EQ(item("APP_Vondal_MODE"), Cp932ToUtf8(c.kept)) << c.typed;
    unknown += w.counts.unknownModes;
  }
  EXPECT_EQ(unknown, 2);
}

TEST(StandardWriterTest, ReportsKeepTheirTextAndContestExchangesGoBehindThem) {
  Record ft8 = Plain();
  ft8[MODE] = "FT8";
  ft8[sRST] = "-10";
  ft8[rRST] = "+03";
  Written w = Write(ft8);
  EXPECT_EQ(w.items.at("RST_SENT"), "-10");  // no digits first: still the report
  EXPECT_EQ(w.items.at("RST_RCVD"), "+03");

  const struct {
    const char *mode, *sent, *received, *rstSent, *stx, *rstReceived, *srx;
  } contests[] = {
      {"SSB", "5913M", "5907H", "59", "13M", "59", "07H"},
      {"USB", "5910", "59", "59", "10", "59", ""},
      {"CW", "59913", "579100", "599", "13", "579", "100"},
      {"CW", "5", "599", "5", "", "599", ""},
  };
  for (const auto& c : contests) {
    Record r = Plain();
    r[MODE] = c.mode;
    r[sRST] = c.sent;
    r[rRST] = c.received;
    r[CONTEST] = "ALLJA1";
    w = Write(r);
    auto item = [&w](const char* tag) { return w.items.count(tag) ? w.items.at(tag) : ""; };
    EXPECT_EQ(item("RST_SENT"), c.rstSent) << c.sent;
    EXPECT_EQ(item("STX_STRING"), c.stx) << c.sent;
    EXPECT_EQ(item("RST_RCVD"), c.rstReceived) << c.received;
    EXPECT_EQ(item("SRX_STRING"), c.srx) << c.received;
    EXPECT_EQ(item("CONTEST_ID"), "ALLJA1");
  }
  // A contest ADIF cannot name keeps the report whole: the exchange would come back nowhere.
  Record japanese = Plain();
  japanese[CONTEST] = "全市全郡";
  japanese[sRST] = "5991001";
  w = Write(japanese);
  EXPECT_EQ(w.items.at("RST_SENT"), "5991001");
  EXPECT_EQ(w.items.at("APP_Vondal_CONTEST"), Cp932ToUtf8("全市全郡"));
  EXPECT_EQ(w.items.count("STX_STRING"), 0u);
}

TEST(StandardWriterTest, QslMarksBecomeSentAndReceivedValues) {
  const struct {
    const char *mark, *sent, *received;
    bool kept;
  } cases[] = {
      {"Y", "Y", "Y", false}, {"N", "N", "N", true}, {"R", "R", "R", false}, {"Q", "Q", "Y", false},
      {"V", "Y", "V", false}, {"n", "N", "N", true}, {"J", "Y", "Y", true},  {"済", "Y", "Y", true},
  };
  for (const auto& c : cases) {
    Record r = Plain();
    r[sQSL] = c.mark;
    r[rQSL] = c.mark;
    const Written w = Write(r);
    EXPECT_EQ(w.items.at("QSL_SENT"), c.sent) << c.mark;
    EXPECT_EQ(w.items.at("QSL_RCVD"), c.received) << c.mark;
    // The mark itself rides along whenever the value does not give it back.
    EXPECT_EQ(w.items.count("APP_Vondal_sQSL") ? w.items.at("APP_Vondal_sQSL") : c.sent,
              c.kept || std::string(c.sent) != c.mark ? Cp932ToUtf8(c.mark) : c.sent)
        << c.mark;
    EXPECT_EQ(w.items.count("APP_Vondal_rQSL") == 1, c.kept || std::string(c.received) != c.mark) << c.mark;
  }
  EXPECT_EQ(Write(Plain()).items.count("QSL_SENT"), 0u);  // no mark, no value
}

TEST(StandardWriterTest, TextsNoStandardFieldHoldsAreKeptInApplicationFields) {
  Record r = Plain();
  r[DATE] = "240230";  // no such day
  r[END] = "12";
  r[CALLSIGN] = "ＪＡ１ＡＢＣ";
  r[rRST] = "５９";
  const Written w = Write(r);
  EXPECT_EQ(w.items.count("QSO_DATE") + w.items.count("TIME_ON") + w.items.count("TIME_OFF"), 0u);
  EXPECT_EQ(w.items.count("CALL") + w.items.count("RST_RCVD"), 0u);
  EXPECT_EQ(w.items.at("APP_Vondal_DATE"), "240230");
  EXPECT_EQ(w.items.at("APP_Vondal_START"), "1200");
  EXPECT_EQ(w.items.at("APP_Vondal_END"), "12");
  EXPECT_EQ(w.items.at("APP_Vondal_CALLSIGN"), Cp932ToUtf8("ＪＡ１ＡＢＣ"));
  EXPECT_EQ(w.items.at("APP_Vondal_rRST"), Cp932ToUtf8("５９"));
  EXPECT_EQ(w.counts.appOnly, 5);
}

}  // namespace
}  // namespace vondal
