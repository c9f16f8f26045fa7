#include "adif/adif_record.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "adif/adif_bands.h"
#include "app/text/charset.h"
#include "log/field_table.h"

namespace vondal {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

AdifContact Map(const Fields& given, AdifMapOptions options = {}) {
  std::vector<AdifField> fields;
  for (const auto& [name, value] : given) fields.push_back({name, value});
  AdifContact contact;
  MapAdifRecord(fields, options, contact);
  return contact;
}

// A contact as WSJT-X logs it: lower-case names, seconds, a decibel report, UTC.
Fields Wsjtx() {
  return {{"call", "K1ABC"},         {"gridsquare", "FN42"},
          {"mode", "FT8"},           {"rst_sent", "-10"},
          {"rst_rcvd", "-03"},       {"qso_date", "20231231"},
          {"time_on", "231015"},     {"qso_date_off", "20231231"},
          {"time_off", "231115"},    {"band", "20m"},
          {"freq", "14.075123"},     {"station_callsign", "JA1XYZ"},
          {"my_gridsquare", "PM95"}, {"tx_pwr", "50"},
          {"comment", "tnx"}};
}

TEST(AdifRecordTest, WsjtxContactMovesToJstAcrossNewYear) {
  const AdifContact c = Map(Wsjtx());
  ASSERT_EQ(c.refusal, "");
  const Record& r = c.record;
  EXPECT_EQ(r[DATE], "240101");
  EXPECT_EQ(r[START], "0810");
  EXPECT_EQ(r[END], "0811");
  EXPECT_EQ(r[CALLSIGN], "K1ABC");
  EXPECT_EQ(r[FREQ], "14.075123");
  EXPECT_EQ(r[MODE], "FT8");
  EXPECT_EQ(r[sRST], "-10");
  EXPECT_EQ(r[rRST], "-03");
  EXPECT_EQ(r[REMARKS], "tnx;GL[FN42];PWR[50]");
  EXPECT_EQ(r[MyQTH], "");  // the own grid has no column: left out
  EXPECT_TRUE(c.notes.empty());
  // A log kept in UTC takes the times as they are.
  const AdifContact utc = Map(Wsjtx(), {.logClock = TimeZone::kUtc});
  EXPECT_EQ(utc.record[DATE], "231231");
  EXPECT_EQ(utc.record[START], "2310");
  EXPECT_EQ(utc.record[END], "2311");
}

TEST(AdifRecordTest, ModeAsTheOperatorWritesIt) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"MFSK", "FT4", "FT4"}, {"PSK", "PSK31", "PSK31"}, {"SSB", "USB", "SSB"},  {"JT65", "JT65A", "JT65"},
      {"CW", "", "CW"},       {"", "JS8", "JS8"},        {"MFSK", "JS8", "JS8"},
      // A MODE of the log begins with a letter: a SUBMODE that does not leaves ADIF's MODE.
      {"PSK", "8PSK125", "PSK"},
  };
  for (const auto& [mode, submode, expected] : cases) {
    Fields f = Wsjtx();
    f[2] = {"mode", mode};
    if (!submode.empty()) f.push_back({"SUBMODE", submode});
    EXPECT_EQ(Map(f).record[MODE], expected) << mode << "/" << submode;
  }
  Fields none = Wsjtx();
  none[2] = {"mode", ""};
  EXPECT_EQ(Map(none).refusal, "MODEがない");
  // What the log's own write checks refuse is never joined: it could not be written again.
  Fields digit = Wsjtx();
  digit[2] = {"mode", "8PSK"};
  EXPECT_EQ(Map(digit).refusal, "MODEが英字で始まらない");
  Fields own = Wsjtx();
  own.push_back({"APP_Vondal_MODE", "C"});
  EXPECT_EQ(Map(own).refusal, "MODEが英字で始まらない");
}

TEST(AdifRecordTest, WhatStopsTheJoin) {
  auto without = [](const std::string& name) {
    Fields f;
    for (auto& field : Wsjtx())
      if (field.first != name) f.push_back(field);
    return Map(f).refusal;
  };
  EXPECT_EQ(without("call"), "CALLがない");
  EXPECT_EQ(without("qso_date"), "QSO_DATEがない");
  EXPECT_EQ(without("time_on"), "TIME_ONがない");
  auto with = [](const std::string& name, const std::string& value) {
    Fields f = Wsjtx();
    for (auto& field : f)
      if (field.first == name) field.second = value;
    return Map(f).refusal;
  };
  EXPECT_EQ(with("call", "K"), "CALLが短すぎる");
  EXPECT_EQ(with("call", "K1"), "CALLが短すぎる");  // the log's rule: three at least,
  EXPECT_EQ(with("call", "CQ"), "");                // but CQ and EX
  EXPECT_EQ(with("qso_date", "20230229"), "QSO_DATEが日付でない");
  EXPECT_EQ(with("qso_date", "2023-12-31"), "QSO_DATEが日付でない");
  EXPECT_EQ(with("qso_date", "19491231"), "日付が1950～2049年の範囲外な");
  EXPECT_EQ(with("qso_date", "20491231"), "日付が1950～2049年の範囲外な");  // 08:10 JST on 2050-01-01
  EXPECT_EQ(with("qso_date", "20240229"), "");
  EXPECT_EQ(with("time_on", "2400"), "TIME_ONが時刻でない");
  EXPECT_EQ(with("time_on", "12:00"), "TIME_ONが時刻でない");
  EXPECT_EQ(with("time_on", "123060"), "TIME_ONが時刻でない");
  Fields noFreq;
  for (auto& field : Wsjtx())
    if (field.first != "freq" && field.first != "band") noFreq.push_back(field);
  EXPECT_EQ(Map(noFreq).refusal, "FREQもBANDもない");
  noFreq.push_back({"FREQ", "fourteen"});
  EXPECT_EQ(Map(noFreq).refusal, "FREQが周波数でない");
}

TEST(AdifRecordTest, FrequencyFromTheBandAndAsTheLogWritesIt) {
  auto freq = [](Fields extra) {
    Fields f = {{"CALL", "K1ABC"}, {"QSO_DATE", "20240101"}, {"TIME_ON", "0000"}, {"MODE", "CW"}};
    f.insert(f.end(), extra.begin(), extra.end());
    const AdifContact c = Map(f);
    return c.refusal.empty() ? c.record[FREQ] : c.refusal;
  };
  EXPECT_EQ(freq({{"BAND", "20M"}}), "14.0");    // LoTW writes the band in upper case
  EXPECT_EQ(freq({{"BAND", "70cm"}}), "430.0");  // the log's own band begins above ADIF's
  EXPECT_EQ(freq({{"BAND", "75m"}}), "3.702");
  EXPECT_EQ(freq({{"BAND", "60m"}}), "5.06");
  EXPECT_EQ(freq({{"FREQ", "14"}}), "14.0");
  EXPECT_EQ(freq({{"FREQ", ".475"}}), "0.475");
  EXPECT_EQ(freq({{"FREQ", "1296.200000000000000"}}), "1296.20000000000");  // zeros go first
  const AdifContact bad = Map({{"CALL", "K1ABC"},
                               {"QSO_DATE", "20240101"},
                               {"TIME_ON", "0000"},
                               {"MODE", "CW"},
                               {"FREQ", "?"},
                               {"BAND", "40m"}});
  EXPECT_EQ(bad.record[FREQ], "7.0");
  EXPECT_EQ(bad.notes, std::vector<std::string>{"FREQ: FREQ「?」は周波数でないためBANDの下端"});
}

TEST(AdifRecordTest, ContestExchangeStandsBehindTheReport) {
  Fields f = {{"CALL", "JA1ABC"}, {"QSO_DATE", "20240101"}, {"TIME_ON", "0000"},
              {"FREQ", "7.01"},   {"MODE", "SSB"},          {"RST_SENT", "59"},
              {"RST_RCVD", "59"}, {"STX_STRING", "13M"},    {"SRX_STRING", "07H"}};
  EXPECT_EQ(Map(f).record[sRST], "59");  // no contest: no exchange
  f.push_back({"CONTEST_ID", "ALLJA1"});
  EXPECT_EQ(Map(f).record[sRST], "5913M");
  EXPECT_EQ(Map(f).record[rRST], "5907H");
  EXPECT_EQ(Map(f).record[CONTEST], "ALLJA1");
  // Serial numbers when there is no exchange string.
  f = {{"CALL", "K1ABC"},
       {"QSO_DATE", "20240101"},
       {"TIME_ON", "0000"},
       {"FREQ", "7.01"},
       {"MODE", "CW"},
       {"RST_SENT", "599"},
       {"STX", "1"},
       {"SRX", "25"},
       {"CONTEST_ID", "CQ-WW-CW"}};
  EXPECT_EQ(Map(f).record[sRST], "5991");
  EXPECT_EQ(Map(f).record[rRST], "25");
}

TEST(AdifRecordTest, TextsInEveryCharsetAndTheirInternationalTwins) {
  Fields f = {{"CALL", "JA1ABC"},
              {"QSO_DATE", "20240101"},
              {"TIME_ON", "0000"},
              {"FREQ", "7.01"},
              {"MODE", "CW"},
              {"NAME", "Taro"},
              {"NAME_INTL", Cp932ToUtf8("太郎")},
              {"QTH", Cp932ToUtf8("東京都")},
              {"QTH_INTL", Cp932ToUtf8("大阪")},
              {"COMMENT_INTL", Cp932ToUtf8("ﾃｽﾄ")},
              {"MY_CITY_INTL", Cp932ToUtf8("横浜市")}};
  AdifContact c = Map(f);
  EXPECT_EQ(c.record[NAME], "太郎");    // the plain field only in ASCII: the twin wins
  EXPECT_EQ(c.record[QTH], "東京都");   // the plain field in Japanese stands
  EXPECT_EQ(c.record[REMARKS], "ﾃｽﾄ");  // no plain field
  EXPECT_EQ(c.record[MyQTH], "横浜市");
  // CP932 values; a broken character becomes "?" and is noted.
  c = Map({{"CALL", "JA1ABC"},
           {"QSO_DATE", "20240101"},
           {"TIME_ON", "0000"},
           {"FREQ", "7.01"},
           {"MODE", "CW"},
           {"NAME", "鈴木"},
           {"RIG", "ab\x93"}},
          {.charset = TextCharset::kCp932});
  EXPECT_EQ(c.record[NAME], "鈴木");
  EXPECT_EQ(c.record[RIG], "ab?");
  EXPECT_EQ(c.notes, std::vector<std::string>{"RIG: CP932にない文字1個を?に置換"});
  // A character CP932 has no place for; line breaks and other control bytes become one blank.
  c = Map({{"CALL", "JA1ABC"},
           {"QSO_DATE", "20240101"},
           {"TIME_ON", "0000"},
           {"FREQ", "7.01"},
           {"MODE", "CW"},
           {"COMMENT", "fine \xF0\x9F\x98\x80 wx\r\n73\x1E"}});
  EXPECT_EQ(c.record[REMARKS], "fine ? wx 73 ");
  EXPECT_EQ(c.notes, std::vector<std::string>{"REMARKS: CP932にない文字1個を?に置換"});
}

TEST(AdifRecordTest, QslMarksAndTheExportsSubfields) {
  Fields f = {{"CALL", "JA1ABC"}, {"QSO_DATE", "20240101"}, {"TIME_ON", "0000"},
              {"FREQ", "7.01"},   {"MODE", "CW"},           {"QSL_SENT", "Y"},
              {"QSL_RCVD", "N"},  {"LOTW_QSL_RCVD", "Y"},   {"EQSL_QSL_RCVD", "N"}};
  AdifContact c = Map(f);
  EXPECT_EQ(c.record[sQSL], "Y");
  EXPECT_EQ(c.record[rQSL], "");
  EXPECT_EQ(c.record[REMARKS], "LoTW[Y]");
  // The export's own QSL_S and QSL_R win over the standard marks.
  f.push_back({"QSL_S", "J"});
  f.push_back({"qsl_r", "JD"});
  c = Map(f);
  EXPECT_EQ(c.record[sQSL], "J");
  EXPECT_EQ(c.record[rQSL], "JD");
  // A subfield of the export goes back into its field, unless the field holds it already.
  c = Map({{"CALL", "JA1ABC"},
           {"QSO_DATE", "20240101"},
           {"TIME_ON", "0000"},
           {"FREQ", "7.01"},
           {"MODE", "CW"},
           {"COMMENT", "abc;QSL[JARL]"},
           {"APP_Vondal_REMARKS.QSL[]", "JARL"},
           {"APP_VONDAL_MyRIG.PWR()", "50W"},
           {"APP_Vondal_rQSL.DATE{}", "0105"},
           {"APP_Vondal_NOFIELD.X[]", "lost"},
           {"APP_Vondal_QTH.x", "no bracket"}});
  EXPECT_EQ(c.record[REMARKS], "abc;QSL[JARL]");
  EXPECT_EQ(c.record[MyRIG], "PWR(50W)");
  EXPECT_EQ(c.record[rQSL], "DATE{0105}");
  EXPECT_EQ(c.record[QTH], "");
}

TEST(AdifRecordTest, LongTextsAreCutAtCharactersAndNoted) {
  const std::string longName = std::string(48, 'n') + "太郎";  // 52 bytes, 50 allowed
  AdifContact c = Map({{"CALL", "JA1ABC"},
                       {"QSO_DATE", "20240101"},
                       {"TIME_ON", "0000"},
                       {"FREQ", "7.01"},
                       {"MODE", "CW"},
                       {"NAME", longName}},
                      {.charset = TextCharset::kCp932});
  EXPECT_EQ(c.record[NAME], std::string(48, 'n') + "太");
  EXPECT_EQ(c.notes, std::vector<std::string>{"NAME: 切詰め「郎」"});
  // Over the record budget: the longest texts are cut to one length, the shorter ones kept.
  c = Map({{"CALL", "JA1ABC"},
           {"QSO_DATE", "20240101"},
           {"TIME_ON", "0000"},
           {"FREQ", "7.01"},
           {"MODE", "CW"},
           {"QTH", std::string(50, 'q')},
           {"NAME", std::string(50, 'n')},
           {"RIG", std::string(50, 'r')},
           {"MY_CITY", std::string(50, 'm')},
           {"COMMENT", std::string(150, 'c')},
           {"RST_SENT", "599"}});
  size_t total = 0;
  for (int f = 0; f < kStoredFieldCount; ++f) total += c.record[f].size();
  EXPECT_EQ(total, 179u);  // 29 + 5 × 30: five texts of 31 bytes would pass the budget of 182
  EXPECT_EQ(c.record[sRST], "599");
  for (int f : {QTH, NAME, RIG, MyQTH, REMARKS}) EXPECT_EQ(c.record[f].size(), 30u) << f;
  ASSERT_EQ(c.notes.size(), 5u);
  EXPECT_EQ(c.notes[3], "REMARKS: 切詰め「" + std::string(120, 'c') + "」");
}

TEST(AdifRecordTest, TimeOffThatIsNoTime) {
  Fields f = {
      {"CALL", "JA1ABC"}, {"QSO_DATE", "20240101"}, {"TIME_ON", "0000"}, {"FREQ", "7.01"}, {"MODE", "CW"}};
  EXPECT_EQ(Map(f).record[END], "0900");  // none: START's
  f.push_back({"TIME_OFF", "ABCD"});      // four characters, as the log keeps them
  EXPECT_EQ(Map(f).record[END], "ABCD");
  f.back().second = "1:05pm";
  const AdifContact c = Map(f);
  EXPECT_EQ(c.record[END], "0900");
  EXPECT_EQ(c.notes, std::vector<std::string>{"END: TIME_OFF「1:05pm」は時刻でないためSTARTと同じ"});
  // Four bytes with control bytes among them are no four characters (found by the fuzz target:
  // the blanked controls left an END of three bytes).
  f.back().second = std::string(
      "0\x10\0"
      "9",
      4);
  EXPECT_EQ(Map(f).record[END], "0900");
}

TEST(AdifTimeTest, NineHoursWithTheCalendar) {
  struct Case {
    const char *date, *start, *jst, *jstStart;
  };
  for (const Case& c : {Case{"231231", "1500", "240101", "0000"}, Case{"240228", "2000", "240229", "0500"},
                        Case{"230228", "2000", "230301", "0500"}, Case{"991231", "2359", "000101", "0859"},
                        Case{"240430", "1459", "240430", "2359"}}) {
    std::string date = c.date, start = c.start;
    ASSERT_TRUE(MoveDateTime(date, start, TimeZone::kUtc, TimeZone::kJst));
    EXPECT_EQ(date + " " + start, std::string(c.jst) + " " + c.jstStart);
    ASSERT_TRUE(MoveDateTime(date, start, TimeZone::kJst, TimeZone::kUtc));
    EXPECT_EQ(date + " " + start, std::string(c.date) + " " + c.start);
  }
  std::string date = "500101", start = "0800";
  EXPECT_FALSE(MoveDateTime(date, start, TimeZone::kJst, TimeZone::kUtc));
  EXPECT_EQ(date + start, "5001010800");
  std::string end = "2030";
  MoveEndTime(end, TimeZone::kUtc, TimeZone::kJst);
  EXPECT_EQ(end, "0530");
  MoveEndTime(end, TimeZone::kJst, TimeZone::kUtc);
  EXPECT_EQ(end, "2030");
  EXPECT_EQ(LogTimeOf(""), TimeZone::kJst);
  EXPECT_EQ(LogTimeOf("jst"), TimeZone::kJst);
  EXPECT_EQ(LogTimeOf("Utc"), TimeZone::kUtc);
  EXPECT_EQ(LogTimeOf("GMT"), std::nullopt);
}

TEST(AdifBandsTest, BandsOfFrequenciesAndShortForms) {
  EXPECT_EQ(AdifBandOf("3.8"), AdifBandOf("3.5"));  // ADIF counts 3.8 MHz in 80m
  EXPECT_NE(AdifBandOf("7.0"), AdifBandOf("7.301"));
  EXPECT_EQ(AdifBandOf("7.301"), -1);
  EXPECT_EQ(AdifBandOf("0.1357"), AdifBandOf("0.136"));
  EXPECT_EQ(AdifBandOf("10."), AdifBandOf("10.136"));  // the log's short form of 10.100
  EXPECT_EQ(AdifBandOf("1200."), AdifBandOf("1296.0"));
  EXPECT_EQ(FrequencyHz("14.0741234"), 14074123);
  EXPECT_EQ(FrequencyHz("1.2.3"), -1);
  EXPECT_EQ(FrequencyHz("."), -1);
  EXPECT_EQ(BandEdgeFreq("2190M"), "0.1357");
  EXPECT_EQ(BandEdgeFreq("11m"), "");
}

}  // namespace
}  // namespace vondal
