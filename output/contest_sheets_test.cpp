#include "output/contest_sheets.h"

#include <gtest/gtest.h>

#include "output/contest_test_records.h"

namespace vondal {
namespace {

using testing::Contact;
using testing::RecordOf;
using testing::Scored;
using testing::TextsOf;

const std::vector<Contact>& Evening() {
  static const std::vector<Contact> contacts = {
      {"120405", "0930", "JA1ABC", "7.050", "CW", "59913M", "59910M"},
      {"120405", "0935", "JA2ABC", "7.050", "CW", "59913M", "5991M"},
      {"120405", "1002", "JA1ABC", "7.050", "CW", "59913M", "59910M"},
      {"120406", "1003", "JA3ABC", "14.050", "SSB", "5913M", "5925M"},
  };
  return contacts;
}

TEST(ContestSheetsTest, PlainLogShowsTheMultiplierOrAStar) {
  ContestRun run = Scored('J', Evening(), {}, kPlainLog);
  EXPECT_EQ(PlainContestLog(run),
            " 7    CW  05/04/12 0930 JA1ABC          59913M             59910M             10      1\r\n"
            " 7    CW  05/04/12 0935 JA2ABC          59913M             5991M              ?sht?   1\r\n"
            " 7    CW  05/04/12 1002 JA1ABC          59913M             59910M                     0\r\n"
            " 14   SSB 06/04/12 1003 JA3ABC          5913M              5925M              25      1\r\n");
  run.format = kPlainLogStars;
  const std::string stars = PlainContestLog(run);
  EXPECT_NE(stars.find("59910M             *       1\r\n"), std::string::npos);
  EXPECT_NE(stars.find("5991M              ?sht?   1\r\n"), std::string::npos);
  run.utc = true;  // 0930 JST on the 5th is 0030 UTC; 0800 would be the 4th
  EXPECT_TRUE(PlainContestLog(run).starts_with(" 7    CW  05/04/12 0030 JA1ABC"));
}

TEST(ContestSheetsTest, CsvDatesReadYearMonthDay) {
  const ContestRun run = Scored('J', Evening(), {}, kContestCsv);
  EXPECT_EQ(ContestCsv(run),
            "\"date\",\"time\",\"band\",\"mode\",\"callsign\",\"sent\",\"rcvd\",\"multi\",\"point\"\r\n"
            "\"20120405\",\"0930\",\"7\",\"CW\",\"JA1ABC\",\"59913M\",\"59910M\",\"10\",\"1\"\r\n"
            "\"20120405\",\"0935\",\"7\",\"CW\",\"JA2ABC\",\"59913M\",\"5991M\",\"?sht?\",\"1\"\r\n"
            "\"20120405\",\"1002\",\"7\",\"CW\",\"JA1ABC\",\"59913M\",\"59910M\",\"\",\"0\"\r\n"
            "\"20120406\",\"1003\",\"14\",\"SSB\",\"JA3ABC\",\"5913M\",\"5925M\",\"25\",\"1\"\r\n");
}

std::string Spaces(int n) { return std::string(static_cast<size_t>(n), ' '); }

std::string Blank(int lines) {
  std::string out;
  for (int i = 0; i < lines; ++i) out += "\r\n";
  return out;
}

TEST(ContestSheetsTest, PrintSheetsPerBand) {
  ContestRun run = Scored('J', Evening(), {}, kPrint40);
  run.firstYear = 12;
  const std::string heading = "LOG SHEET      2012  ALL JA1 CONTEST\r\n\r\n";
  const std::string columns =
      "月/日   JST  交信局      送信              受信              マルチ     得点\r\n";
  EXPECT_EQ(PrintSheets(run, "JA1ZZZ", 40),
            heading + "Callsign JA1ZZZ                   Band 7MHz                Sheet No.1/1\r\n\r\n" +
                columns +
                " 4/05  0930  JA1ABC      59913M            59910M            10            1\r\n"
                "         35  JA2ABC      ↑                5991M             ?sht?         1\r\n"
                "       1002  JA1ABC      ↑                59910M                         ?dup?\r\n" +
                Blank(37) + " 小計" + Spaces(13) + "3" + Spaces(43) + "1" + Spaces(12) + "2\r\n" + heading +
                "Callsign JA1ZZZ                   Band 14MHz                Sheet No.1/1\r\n\r\n" + columns +
                " 4/06  1003  JA3ABC      5913M             5925M             25            1\r\n" +
                Blank(39) + " 小計" + Spaces(13) + "1" + Spaces(43) + "1" + Spaces(12) + "1\r\n");
}

TEST(ContestSheetsTest, ABandBeyondOneSheetIsNumbered) {
  std::vector<Contact> contacts;
  std::vector<std::string> calls;
  for (int i = 0; i < 45; ++i)
    calls.push_back("JA1A" + std::string(1, static_cast<char>('A' + i / 26)) +
                    std::string(1, static_cast<char>('A' + i % 26)));
  for (const std::string& call : calls)
    contacts.push_back({"240601", "2100", call.c_str(), "7.050", "CW", "599", "59910M"});
  ContestRun run = Scored('J', contacts, {}, kPrint40, true);
  run.firstYear = 24;
  const std::string sheets = PrintSheets(run, "JA1ZZZ", 40);
  EXPECT_NE(sheets.find("Sheet No.1/2\r\n"), std::string::npos);
  const size_t second = sheets.find("Sheet No.2/2\r\n");
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(sheets.find("mm/dd   UTC  Callsign    Sent              Received          Multiplier Point\r\n"),
            std::string::npos);
  EXPECT_NE(sheets.find(" Total" + Spaces(11) + "40" + Spaces(43) + "1" + Spaces(11) + "40\r\n"),
            std::string::npos);
  // The second sheet: its heading, five contacts, 35 empty lines and the subtotal.
  const std::string rest = sheets.substr(sheets.find("\r\n", second) + 2);
  const size_t firstContact = rest.find(" 6/01  1200");
  ASSERT_NE(firstContact, std::string::npos);
  EXPECT_TRUE(
      rest.ends_with(Blank(35) + " Total" + Spaces(12) + "5" + Spaces(43) + "0" + Spaces(12) + "5\r\n"));
}

CheckItem Item(const Contact& c, bool utc = false) { return MakeCheckItem(TextsOf(RecordOf(c)), utc); }

TEST(ContestSheetsTest, CheckListSortsAndMarksDupes) {
  std::vector<CheckItem> items = {
      Item({"240601", "2105", "JA1ABC", "7.050", "CW", "599", "599"}),
      Item({"240601", "2100", "JA2XYZ", "7.050", "CW", "599", "599"}),
      Item({"240601", "2100", "JA1ABC", "7.050", "CW", "599", "599"}),
      Item({"241101", "0800", "JA1AAA", "14.050", "CW", "599", "599"}),
  };
  const std::string list = CheckList(items, 3, false, 24, "TEST", "JA1ZZZ");
  EXPECT_EQ(list,
            "CHECK LIST      2024  TEST\r\n\r\n"
            "Callsign JA1ZZZ                   Band 7MHz                Sheet No.1/1\r\n\r\n"
            "月/日   JST  交信局\r\n"
            " 6/01  2100  JA1ABC\r\n"
            " 6/01  2105  JA1ABC           DUPE\r\n"
            " 6/01  2100  JA2XYZ\r\n" +
                Blank(47));
  // 14 MHz has too few contacts for the list unless the minimum allows it.
  const std::string both = CheckList(items, 1, false, 24, "TEST", "JA1ZZZ");
  EXPECT_NE(both.find(Blank(47) + "\r\nCHECK LIST"), std::string::npos)
      << "a second sheet after an empty line";
  EXPECT_NE(both.find("11/01  0800  JA1AAA\r\n"), std::string::npos);
  EXPECT_EQ(Item({"241101", "0800", "JA1AAA", "14.050", "CW", "599", "599"}, true).mmdd, "1031");
  EXPECT_EQ(Item({"241101", "0800", "JA1AAA", "14.050", "CW", "599", "599"}, true).hhmm, "2300");
}

}  // namespace
}  // namespace vondal
