// The ADIF export read back by readers nobody here wrote: the strict reader tcadif (an npm
// package, installed by script/deps) over an all-ASCII log, and a few lines that count bytes over
// Japanese texts. doc/adif.md lists what the strict reader refuses and why the file keeps it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "log/field_table.h"
#include "log/log_format.h"
#include "output/export_format.h"
#include "output/field_selection.h"
#include "tests/adif/reader_support.h"

namespace vondal {
namespace {

// One contact of the log and the items tcadif must read from its record, in file order.
struct Contact {
  Record record;
  std::vector<std::string> items;  // "TAG=value", tags as tcadif spells them (upper case)
  std::string verdict = "ok";
};

// 12:00 JST on a plain day, a CW contact on 40 m.
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
  r[QTH] = "Tokyo";
  r[NAME] = "Taro";
  return r;
}

// The items of a contact built from Plain(): the date and times, frequency, mode, reports and
// band given, the rest as Plain() has them.
std::vector<std::string> Items(const std::string& date, const std::string& on, const std::string& off,
                               const std::string& freq, const std::string& mode, const std::string& sent,
                               const std::string& received, const std::string& band) {
  std::vector<std::string> items = {"QSO_DATE=" + date, "TIME_ON=" + on, "TIME_OFF=" + off, "CALL=JA1ABC",
                                    "FREQ=" + freq, "MODE=" + mode};
  if (!sent.empty()) items.push_back("RST_SENT=" + sent);
  if (!received.empty()) items.push_back("RST_RCVD=" + received);
  items.insert(items.end(), {"QTH=Tokyo", "NAME=Taro"});
  if (!band.empty()) items.push_back("BAND=" + band);
  return items;
}

void Add(std::vector<Contact>& log, Record record, std::vector<std::string> items, std::string verdict = "ok") {
  log.push_back({std::move(record), std::move(items), std::move(verdict)});
}

// Every band of the band table (and a frequency in none), every mode name, contest exchanges,
// subfields, and JST to UTC across midnight, month ends, 29 February and New Year.
std::vector<Contact> Fixture() {
  std::vector<Contact> log;
  const struct {
    const char* freq;
    const char* band;
  } bands[] = {{"0.136", "2190m"}, {"0.475", "630m"},  {"1.9", "160m"},     {"3.525", "80m"},   {"3.8", "75m"},
               {"7.025", "40m"},   {"10.", "30m"},     {"14.050", "20m"},   {"18.1", "17m"},    {"21.2", "15m"},
               {"24.", "12m"},     {"28.5", "10m"},    {"50.1", "6m"},      {"144.5", "2m"},    {"433.0", "70cm"},
               {"1200.", "23cm"},  {"2420.", "13cm"},   {"5600.", "6cm"},    {"10100.", "3cm"},   {"10460.", "3cm"},
               {"24020.", "1.25cm"}, {"47100.", "6mm"},  {"75800.", "4mm"},    {"142500.", "2mm"},  {"248500.", "1mm"}};
  for (const auto& b : bands) {
    Record r = Plain();
    r[FREQ] = b.freq;
    // 75 m is a Japanese allocation (3.8 MHz) that ADIF folds into 80m: the reader refuses it.
    Add(log, r, Items("20240315", "0300", "0310", b.freq, "CW", "599", "579", b.band),
        std::string(b.band) == "75m" ? "rejected BAND: field enumeration check failed" : "ok");
  }
  Record outside = Plain();
  outside[FREQ] = "8.0";  // in no band: no BAND item, FREQ alone places the contact
  Add(log, outside, Items("20240315", "0300", "0310", "8.0", "CW", "599", "579", ""));

  const struct {
    const char* mode;
    const char* sent;
    const char* received;
    const char* verdict;
  } modes[] = {{"SSB", "59", "57", "ok"},
               {"FM", "59", "55", "ok"},
               {"AM", "57", "58", "ok"},
               {"RTTY", "599", "589", "ok"},
               // ADIF writes PSK31 as MODE PSK with SUBMODE PSK31; the mode name is kept as typed.
               {"PSK31", "599", "599", "rejected MODE: field enumeration check failed"},
               {"FT8", "-10", "-05", "ok"}};  // decibel reports are no RST: left out
  for (const auto& m : modes) {
    Record r = Plain();
    r[MODE] = m.mode;
    r[sRST] = m.sent;
    r[rRST] = m.received;
    const bool rst = m.sent[0] != '-';
    Add(log, r, Items("20240315", "0300", "0310", "7.025", m.mode, rst ? m.sent : "", rst ? m.received : "", "40m"),
        m.verdict);
  }
  Record shortReport = Plain();
  shortReport[MODE] = "SSB";
  shortReport[sRST] = "5";
  shortReport[rRST] = "59";
  Add(log, shortReport, Items("20240315", "0300", "0310", "7.025", "SSB", "", "59", "40m"));

  // Contest exchanges behind the report.
  Record phone = Plain();
  phone[MODE] = "SSB";
  phone[sRST] = "5913M";
  phone[rRST] = "5907H";
  phone[CONTEST] = "ALLJA1";
  std::vector<std::string> items = Items("20240315", "0300", "0310", "7.025", "SSB", "59", "59", "");
  items.insert(items.end(), {"CONTEST_ID=ALLJA1", "BAND=40m", "STX_STRING=13M", "SRX_STRING=07H"});
  Add(log, phone, items);
  Record cw = Plain();
  cw[sRST] = "59913";
  cw[rRST] = "579100";
  cw[CONTEST] = "TOKYO-UHF";
  items = Items("20240315", "0300", "0310", "7.025", "CW", "599", "579", "");
  items.insert(items.end(), {"CONTEST_ID=TOKYO-UHF", "BAND=40m", "STX_STRING=13", "SRX_STRING=100"});
  Add(log, cw, items);

  // The five fields behind CONTEST, and subfields under their application tags.
  Record remarks = Plain();
  remarks[REMARKS] = "CQ;QSL[JARL]";
  remarks[MyQTH] = "Chiba";
  remarks[MyRIG] = "ANT(dipole)";
  remarks[sQSL] = "J";
  remarks[rQSL] = "E";
  items = Items("20240315", "0300", "0310", "7.025", "CW", "599", "579", "");
  items.insert(items.end(), {"COMMENT=CQ;QSL[JARL]", "MY_CITY=Chiba", "MY_RIG=ANT(dipole)", "QSL_S=J", "QSL_R=E",
                             "APP_VONDAL_REMARKS.QSL[]=JARL", "APP_VONDAL_MYRIG.ANT()=dipole", "BAND=40m"});
  Add(log, remarks, items);

  // JST to UTC.
  const struct {
    const char* date;
    const char* start;
    const char* end;
    const char* qsoDate;
    const char* on;
    const char* off;
  } times[] = {
      {"240301", "0500", "0530", "20240229", "2000", "2030"},  // leap year
      {"230301", "0500", "0530", "20230228", "2000", "2030"},
      {"250101", "0300", "0310", "20241231", "1800", "1810"},  // New Year
      {"240501", "0800", "0815", "20240430", "2300", "2315"},  // a 30-day month
      {"000101", "0100", "0110", "19991231", "1600", "1610"},  // back into the last century
      {"000301", "0859", "0901", "20000229", "2359", "0001"},  // 2000 is a leap year; END keeps its date
      {"240316", "0000", "2359", "20240315", "1500", "1459"},
      {"991231", "1200", "1300", "19991231", "0300", "0400"},
      {"120405", "1000", "1005", "20120405", "0100", "0105"},
  };
  for (const auto& t : times) {
    Record r = Plain();
    r[DATE] = t.date;
    r[START] = t.start;
    r[END] = t.end;
    Add(log, r, Items(t.qsoDate, t.on, t.off, "7.025", "CW", "599", "579", "40m"));
  }
  return log;
}

std::string Export(const std::vector<Record>& records, std::string_view selection) {
  ResetFieldTable();
  const FieldSelection fields = ParseFieldSelection(selection);
  EXPECT_EQ(fields.error, "");
  std::string file = AdifHeader(false);
  RecordReader reader;
  for (const Record& r : records) {
    const RecordImage image = EncodeRecord(r);
    file += AdifRecord(reader.Split(image.data()), fields, ";", true);
  }
  return file;
}

// What tcadif reads from the file: verdict lines and item lines, as read_adif.js prints them.
std::string ReadWithTcadif(const std::string& file) {
  if (!PackageInstalled(VONDAL_TCADIF_DIR, VONDAL_TCADIF_VERSION)) return "";
  return ReaderOutput(std::string("'" VONDAL_NODE "' '" VONDAL_SOURCE_DIR "/tests/adif/read_adif.js' '") +
                      VONDAL_TCADIF_DIR + "' '" + file + "'");
}

std::string Expected(const std::vector<Contact>& log) {
  std::string text =
      "header ok\n  PROGRAMID=Vondal\n  PROGRAMVERSION=w01.022\n  USERDEF1=QSL_S\n  USERDEF2=QSL_R\n";
  for (size_t i = 0; i < log.size(); ++i) {
    text += "record " + std::to_string(i + 1) + " " + log[i].verdict + "\n";
    for (const std::string& item : log[i].items) text += "  " + item + "\n";
  }
  return text;
}

TEST(AdifReaderTest, StrictReaderReadsBackEveryValueWeWrote) {
  const std::vector<Contact> log = Fixture();
  std::vector<Record> records;
  for (const Contact& c : log) records.push_back(c.record);
  const std::string file = TemporaryFile(Export(records, "DATE-rQSL,REMARKS.QSL[],MyRIG.ANT()"));
  const std::string read = ReadWithTcadif(file);
  unlink(file.c_str());
  // Line by line, so that a difference names its record.
  std::istringstream got(read), want(Expected(log));
  std::string gotLine, wantLine, record;
  for (int line = 1; std::getline(want, wantLine); ++line) {
    if (wantLine.rfind("record", 0) == 0) record = wantLine;
    ASSERT_TRUE(std::getline(got, gotLine)) << "tcadif stopped before line " << line << ": " << wantLine;
    EXPECT_EQ(gotLine, wantLine) << "in " << record;
  }
  EXPECT_FALSE(std::getline(got, gotLine)) << "tcadif read more: " << gotLine;
}

// Subfields in braces or angle brackets make application tags that tcadif's tag syntax cannot
// hold: it misreads the tag and loses the item, and the rest of the record still reads.
TEST(AdifReaderTest, BraceAndAngleSubfieldTagsAreLostByTheStrictReader) {
  Record r = Plain();
  r[MyRIG] = "{yagi};<5el>";
  const std::string file = TemporaryFile(Export({r}, "MyRIG.{},MyRIG.<>"));
  const std::string read = ReadWithTcadif(file);
  unlink(file.c_str());
  EXPECT_NE(read.find("record 1 ok"), std::string::npos) << read;
  EXPECT_NE(read.find("  CALL=JA1ABC\n"), std::string::npos) << read;
  EXPECT_EQ(read.find("=yagi\n"), std::string::npos) << read;
  EXPECT_EQ(read.find("=5el\n"), std::string::npos) << read;
}

// A reader of our own that takes each value by its byte count, as ADIF means it.
std::map<std::string, std::string> ReadByBytes(const std::string& file, int& items) {
  std::map<std::string, std::string> values;
  items = 0;
  for (size_t at = file.find("<EOH>"); (at = file.find('<', at + 1)) != std::string::npos;) {
    const size_t colon = file.find(':', at);
    const size_t close = file.find('>', at);
    if (close == std::string::npos) break;
    if (colon == std::string::npos || colon > close) continue;  // <EOR>
    const std::string tag = file.substr(at + 1, colon - at - 1);
    const size_t length = std::stoul(file.substr(colon + 1, close - colon - 1));
    values[tag] = file.substr(close + 1, length);
    ++items;
    // Behind every value: the one space of the item, so the count ended exactly on the value.
    EXPECT_EQ(file[close + 1 + length], ' ') << tag;
    at = close + length;
  }
  return values;
}

TEST(AdifReaderTest, LengthsCountTheBytesOfJapaneseTexts) {
  Record r = Plain();
  r[QTH] = "東京都千代田区";
  r[NAME] = "太郎";
  r[REMARKS] = "ＱＳＬ済み、ありがとうございました。また宜しくお願いします。ｶﾅも混ぜる";
  const std::string file = Export({r}, "DATE-rQSL");
  int items = 0;
  const std::map<std::string, std::string> values = ReadByBytes(file, items);
  EXPECT_EQ(values.at("QTH"), r[QTH]);
  EXPECT_EQ(values.at("NAME"), r[NAME]);
  EXPECT_EQ(values.at("COMMENT"), r[REMARKS]);
  EXPECT_EQ(values.at("CALL"), "JA1ABC");
  EXPECT_EQ(items, 12);
  EXPECT_NE(file.find("<QTH:14>"), std::string::npos);  // seven two-byte characters
}

}  // namespace
}  // namespace vondal
