#include "output/export_format.h"

#include <gtest/gtest.h>

#include "log/field_table.h"
#include "log/log_format.h"
#include "output/field_selection.h"

namespace vondal {
namespace {

struct Texts {
  Record record;
  RecordImage image{};
  RecordReader reader;
  const RecordTexts& get() {
    image = EncodeRecord(record);
    return reader.Split(image.data());
  }
};

Record Contact() {
  Record r;
  r[DATE] = "240305";
  r[START] = "0907";
  r[END] = "0910";
  r[CALLSIGN] = "JA1ABC";
  r[FREQ] = "7.025";
  r[MODE] = "CW";
  r[sRST] = "599";
  r[rRST] = "579";
  return r;
}

TEST(FieldSelectionTest, ListsRangesAndEveryMessageAtItsPosition) {
  ResetFieldTable();
  FieldSelection s = ParseFieldSelection("DATE-rQSL");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.fields.size(), 17u);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(s.fields[i].field, i);
  s = ParseFieldSelection("rQSL-DATE");
  ASSERT_EQ(s.fields.size(), 17u);
  EXPECT_EQ(s.fields.front().field, rQSL);
  EXPECT_EQ(s.fields.back().field, DATE);
  s = ParseFieldSelection("DATE,CALLSIGN");
  EXPECT_EQ(s.fields.size(), 2u);
  s = ParseFieldSelection("remarks.QSL[x],call , myrig.()");
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.fields.size(), 3u);
  EXPECT_EQ(s.fields[0].subfield, "QSL[]");
  EXPECT_EQ(s.fields[2].subfield, "()");

  auto error = [](std::string_view text) {
    const FieldSelection f = ParseFieldSelection(text);
    return std::make_pair(f.error, f.errorPosition);
  };
  using E = std::pair<std::string, int>;
  EXPECT_EQ(error("DATE CALLSIGN"), E("-または,が必要です", 5));
  EXPECT_EQ(error("DATE,,CALLSIGN"), E("不要な記号です", 4));
  EXPECT_EQ(error(",DATE"), E("不要な記号です", 0));
  EXPECT_EQ(error("DATE,"), E("不要な記号です", 3));         // two characters before the end
  EXPECT_EQ(error("DATE,S"), E("ﾌｨｰﾙﾄﾞ名が不適当です", 5));  // START, sRST, sQSL
  EXPECT_EQ(error("DATE,AUX1"), E("ﾌｨｰﾙﾄﾞ名が不適当です", 5));
  EXPECT_EQ(error("REMARKS."), E("ｻﾌﾞﾌｨｰﾙﾄﾞが不適当です", 8));
  EXPECT_EQ(error("REMARKS.QSL"), E("ｻﾌﾞﾌｨｰﾙﾄﾞが不適当です", 8));
  std::string many = "DATE";
  for (int i = 0; i < 101; ++i) many += ",DATE";
  EXPECT_EQ(error(many).first, "ﾌｨｰﾙﾄﾞ数が制限を超えます");
  // Ranges count every field they expand to: five times 17 fit, six do not.
  EXPECT_EQ(error("DATE-rQSL,DATE-rQSL,DATE-rQSL,DATE-rQSL,DATE-rQSL").first, "");
  EXPECT_EQ(error("DATE-rQSL,DATE-rQSL,DATE-rQSL,DATE-rQSL,DATE-rQSL,DATE-rQSL").first,
            "ﾌｨｰﾙﾄﾞ数が制限を超えます");
}

TEST(SubfieldTest, AtTheStartOrBehindTheOuterSeparator) {
  EXPECT_EQ(ExtractSubfield(";", "QSL[", "abc;QSL[JARL];x"), "JARL");
  EXPECT_EQ(ExtractSubfield(";", "QSL[", "QSL[direct]"), "direct");
  EXPECT_EQ(ExtractSubfield(";", "QSL[", "abc;x"), "");
  EXPECT_EQ(ExtractSubfield("", "QSL[", "abc;QSL[JARL]"), "");  // without a separator only at the start
  EXPECT_EQ(ExtractSubfield(";", "QSL[", "QSL[JARL"), "***SubfieldError***");
  EXPECT_EQ(ExtractSubfield(";", "QSL[", "QSL[a[b]c]"), "a[b]c");
  EXPECT_EQ(ExtractSubfield(";", "", "whole"), "whole");
  EXPECT_EQ(OpeningOfSubfield("QSL[]"), "QSL[");
  EXPECT_EQ(OpeningOfSubfield("QSL"), "");
}

TEST(JstToUtcTest, CalendarStepsBack) {
  auto convert = [](std::string date, std::string start, std::string end = "") {
    JstToUtc(date, start, end);
    return date + "/" + start + "/" + end;
  };
  EXPECT_EQ(convert("120401", "0530"), "120331/2030/");
  EXPECT_EQ(convert("120301", "0800"), "120229/2300/");  // 2012 is a leap year
  EXPECT_EQ(convert("130301", "0800"), "130228/2300/");
  EXPECT_EQ(convert("000101", "0000"), "991231/1500/");
  EXPECT_EQ(convert("241105", "1200", "0300"), "241105/0300/1800");  // END alone, same date
  EXPECT_EQ(convert("241105", "1200", ""), "241105/0300/");
  EXPECT_EQ(convert("2411", "1200", "123"), "2411/1200/123");  // not six and four digits: left alone
}

TEST(CsvTest, DefaultsHeaderQuotesAndSubfields) {
  ResetFieldTable();
  Texts t;
  t.record = Contact();
  t.record[REMARKS] = "abc;QSL[JARL];x";
  CsvOptions options;
  const std::string line = CsvLine(t.get(), ParseFieldSelection("DATE-rQSL"), options);
  EXPECT_EQ(line, "240305\t0907\t0910\tJA1ABC\t7.025\tCW\t599\t579\t\t\t\t\tabc;QSL[JARL];x\t\t\t\t\r\n");
  EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 16);
  options.quotes = true;
  options.delimiter = ",";
  const FieldSelection selection = ParseFieldSelection("REMARKS.QSL[],CALLSIGN");
  EXPECT_EQ(CsvHeader(selection, options), "\"REMARKS.QSL[]\",\"CALLSIGN\"\r\n");
  EXPECT_EQ(CsvLine(t.get(), selection, options), "\"JARL\",\"JA1ABC\"\r\n");
  options.jstToUtc = true;
  t.record[START] = "0800";
  EXPECT_EQ(CsvLine(t.get(), ParseFieldSelection("DATE-END"), options), "\"240304\",\"2300\",\"0010\"\r\n");
}

TEST(CsvTest, TheStoredTextsLineIsTheGeneralLine) {
  ResetFieldTable();
  CsvOptions options;
  const FieldSelection all = ParseFieldSelection("DATE-rQSL");
  EXPECT_TRUE(CsvLineIsStoredTexts(all, options));
  EXPECT_FALSE(CsvLineIsStoredTexts(ParseFieldSelection("rQSL-DATE"), options));
  EXPECT_FALSE(CsvLineIsStoredTexts(ParseFieldSelection("DATE-REMARKS,MyQTH.()-rQSL"), options));
  options.delimiter = ", ";
  EXPECT_FALSE(CsvLineIsStoredTexts(all, options));
  options.delimiter = ",";
  Texts t;
  t.record = Contact();
  t.record[QTH] = "東京都港区";  // trail bytes 0x5C and 0x7C stay as they are
  t.record[NAME] = "ﾀﾛｳ\\|";
  t.record[rQSL] = "J";
  const RecordTexts& texts = t.get();
  std::string line = "x";
  ASSERT_TRUE(AppendStoredTextsLine(line, t.image.data(), texts, ','));
  EXPECT_EQ(line, "x" + CsvLine(texts, all, options));
  // Texts filling the whole budget end where the CR LF stands; a damaged image with too few
  // separators has texts behind the text area and takes the general line.
  t.record = Record{};
  t.record[REMARKS] = std::string(182, 'r');
  const RecordTexts& full = t.get();
  line.clear();
  ASSERT_TRUE(AppendStoredTextsLine(line, t.image.data(), full, ','));
  EXPECT_EQ(line, std::string(12, ',') + std::string(182, 'r') + ",,,,\r\n");
  t.image.fill('a');
  const RecordTexts& damaged = t.reader.Split(t.image.data());
  line = "x";
  EXPECT_FALSE(AppendStoredTextsLine(line, t.image.data(), damaged, ','));
  EXPECT_EQ(line, "x");
}

TEST(AdifTest, ReportsExchangesDatesAndOrder) {
  ResetFieldTable();
  Texts t;
  t.record = Contact();
  const FieldSelection all = ParseFieldSelection("DATE-rQSL");
  EXPECT_EQ(AdifRecord(t.get(), all, ";", false),
            "<QSO_DATE:8>20240305 <TIME_ON:4>0907 <TIME_OFF:4>0910 <CALL:6>JA1ABC <FREQ:5>7.025 \r\n"
            "<MODE:2>CW <RST_SENT:3>599 <RST_RCVD:3>579 <BAND:3>40m <EOR>\r\n");
  t.record[MODE] = "SSB";
  t.record[sRST] = "5913M";
  t.record[rRST] = "5907H";
  t.record[CONTEST] = "ALLJA1";
  const std::string contest = AdifRecord(t.get(), all, ";", false);
  EXPECT_NE(contest.find("<RST_SENT:2>59 "), std::string::npos);
  EXPECT_NE(contest.find("<RST_RCVD:2>59 "), std::string::npos);
  EXPECT_NE(contest.find("<STX_STRING:3>13M "), std::string::npos);
  EXPECT_NE(contest.find("<SRX_STRING:3>07H "), std::string::npos);
  t.record[CONTEST] = "";
  t.record[sRST] = "5";  // one digit: no report
  EXPECT_EQ(AdifRecord(t.get(), all, ";", false).find("RST_SENT"), std::string::npos);
  t.record[DATE] = "991231";
  EXPECT_NE(AdifRecord(t.get(), all, ";", false).find("<QSO_DATE:8>19991231 "), std::string::npos);
  t.record[DATE] = "120405";
  EXPECT_NE(AdifRecord(t.get(), all, ";", false).find("<QSO_DATE:8>20120405 "), std::string::npos);
  // CALLSIGN alone: CALL first, the rest of the first twelve after it, none of the last five.
  t.record[REMARKS] = "QSL[JARL]";
  const std::string callOnly = AdifRecord(t.get(), ParseFieldSelection("CALL"), ";", false);
  EXPECT_EQ(callOnly.find("<CALL:"), 0u);
  EXPECT_EQ(callOnly.find("COMMENT"), std::string::npos);
  const std::string sub = AdifRecord(t.get(), ParseFieldSelection("REMARKS.QSL[]"), ";", false);
  EXPECT_EQ(sub.find("<APP_Vondal_REMARKS.QSL[]:4>JARL "), 0u);
  EXPECT_EQ(sub.find("COMMENT"), std::string::npos);
  t.record[REMARKS] = "no subfield";
  EXPECT_EQ(AdifRecord(t.get(), ParseFieldSelection("REMARKS.QSL[]"), ";", false).find("APP_"),
            std::string::npos);
}

TEST(AdifTest, WrapsBeforeAnItemThatWouldPass80) {
  ResetFieldTable();
  Texts t;
  t.record = Contact();
  t.record[REMARKS] = std::string(100, 'x');
  const std::string record = AdifRecord(t.get(), ParseFieldSelection("REMARKS,CALL"), ";", false);
  // The long item stands alone; every other line stays within 80 by the item sizes.
  EXPECT_EQ(record.find("<COMMENT:100>"), 0u);
  EXPECT_EQ(record.find("\r\n"), std::string("<COMMENT:100>").size() + 101);
  EXPECT_EQ(record.substr(record.size() - 7), "<EOR>\r\n");
  t.record[FREQ] = "1.900";  // in no band: no BAND item
  EXPECT_EQ(AdifRecord(t.get(), ParseFieldSelection("CALL"), ";", false).find("BAND"), std::string::npos);
}

TEST(PackedLineTest, LowHighDittoAndThe199ByteRule) {
  Texts t;
  t.record = Contact();
  std::array<std::string, kStoredFieldCount> previous;
  const std::string low = PackedLine(t.get(), false, previous, true);
  EXPECT_EQ(std::count(low.begin(), low.end(), '\x1E'), 17);
  const std::string first = PackedLine(t.get(), true, previous, true);
  EXPECT_EQ(std::count(first.begin(), first.end(), '\x1E'), 8);  // trailing empty fields dropped
  const std::string second = PackedLine(t.get(), true, previous, false);
  EXPECT_EQ(second, std::string(17, '\x1F') + "\r\n");
  // 182 bytes of text and 17 separators: 199 bytes lose the last one.
  t.record[REMARKS] = std::string(182 - 33, 'r');
  std::array<std::string, kStoredFieldCount> fresh;
  const std::string full = PackedLine(t.get(), false, fresh, true);
  EXPECT_EQ(full.size(), 200u);
}

}  // namespace
}  // namespace vondal
