#include "output/contest_jarl.h"

#include <gtest/gtest.h>

#include "app/text/text_helpers.h"
#include "output/contest_test_records.h"

namespace vondal {
namespace {

using testing::Contact;
using testing::Scored;

// An ALL JA-style evening: a duplicate on 7 MHz, a repeat bringing a new number ("?dup?"), a
// missing power letter, a too short and a too long number.
const std::vector<Contact>& AllJa() {
  static const std::vector<Contact> contacts = {
      {"240601", "2100", "JA1ABC", "7.050", "CW", "59913M", "59910M"},
      {"240601", "2102", "JA2XYZ/1", "7.050", "CW", "59913M", "59920H"},
      {"240601", "2105", "JA1ABC", "7.050", "CW", "59913M", "59910M"},
      {"240601", "2110", "JA3AAA", "7.050", "CW", "59913M", "59925"},
      {"240601", "2111", "JA3AAA", "7.050", "CW", "59913M", "59925M"},
      {"240601", "2130", "JA1ABC", "14.050", "CW", "59913M", "5991M"},
      {"240601", "2300", "JA8AAA", "21.250", "SSB", "5913M", "59 1234567L"},
      {"240602", "0015", "JA8AAB", "144.20", "FM", "5913M", "59101H"},
  };
  return contacts;
}

const DateTime kToday{2024, 6, 9, 10, 0};

TEST(ContestJarlTest, SummarySheetR21) {
  ContestSettings settings;
  settings.callsign = "JA1ZZZ";
  const ContestRun run = Scored('J', AllJa(), settings, kJarlR21);
  EXPECT_EQ(JarlLog(run, settings, kToday),
            "<SUMMARYSHEET VERSION=R2.1>\r\n"
            "<CONTESTNAME>ALL JA1 CONTEST</CONTESTNAME>\r\n"
            "<CATEGORYCODE>【部門記号】</CATEGORYCODE>\r\n"
            "<CALLSIGN>JA1ZZZ</CALLSIGN>\r\n"
            "<OPCALLSIGN>JA1ZZZ</OPCALLSIGN>\r\n"
            "<FDCOEFF>【FD局種係数】</FDCOEFF>\r\n"
            "<TOTALSCORE>18</TOTALSCORE>\r\n"
            "<ADDRESS>【連絡先住所】</ADDRESS>\r\n"
            "<TEL>【電話】</TEL>\r\n"
            "<NAME>【名前】</NAME>\r\n"
            "<EMAIL>【e-mail】</EMAIL>\r\n"
            "<LICENSEDATE>【局免許年月日】</LICENSEDATE>\r\n"
            "<AGE>【年齢】</AGE>\r\n"
            "<POWER>【送信出力】</POWER>\r\n"
            "<OPPLACE>【運用場所】</OPPLACE>\r\n"
            "<POWERSUPPLY>【電源種類】</POWERSUPPLY>\r\n"
            "<COMMENTS>【意見】</COMMENTS>\r\n"
            "<MULTIOPLIST>【マルチOPリスト】</MULTIOPLIST>\r\n"
            "<REGCLUBNUMBER>【登録クラブ＃】</REGCLUBNUMBER>\r\n"
            "<OATH>"
            "私は，【主催者】制定のコンテスト規約および電波法令にしたがい運用した結果，ここに提出するサマリー"
            "シートおよびログ"
            "シートなどが事実と相違ないものであることを，私の名誉において誓います．</OATH>\r\n"
            "<DATE>2024年6月9日</DATE>\r\n"
            "<SIGNATURE>【署名】</SIGNATURE>\r\n"
            "</SUMMARYSHEET>\r\n"
            "<LOGSHEET TYPE=Vondal>\r\n"
            "2024-06-01 21:00     7 CW   JA1ABC      599 13M     599 10M     10       1\r\n"
            "2024-06-01 21:02     7 CW   JA2XYZ/1    599 13M     599 20H     20       1\r\n"
            "2024-06-01 21:05     7 CW   JA1ABC      599 13M     599 10M     -        0\r\n"
            "2024-06-01 21:10     7 CW   JA3AAA      599 13M     599 25      ?pwr?    1\r\n"
            "2024-06-01 21:11     7 CW   JA3AAA      599 13M     599 25M     ?dup?    0\r\n"
            "2024-06-01 21:30    14 CW   JA1ABC      599 13M     599 1M      ?sht?    1\r\n"
            "2024-06-01 23:00    21 SSB  JA8AAA      59 13M      59 1234567L ?lng?    1\r\n"
            "2024-06-02 00:15   144 FM   JA8AAB      59 13M      59 101H     101      1\r\n"
            "</LOGSHEET>\r\n");
}

TEST(ContestJarlTest, SummarySheetR10WithSummaryLines) {
  ContestSettings settings;
  settings.callsign = "JA1ZZZ";
  settings.jarlSummary = {"<callsign>JA1XYZ/1</callsign> <Name>山田太郎</Name>",
                          "<CATEGORYN>電信部門</CATEGORYN><TOTALSCORE>999</TOTALSCORE><DATE>x</DATE>",
                          "<E>a@b.jp</E><NOCLOSE>x"};
  const ContestRun run = Scored('J', {AllJa()[0], AllJa()[5], AllJa()[7]}, settings, kJarlR10);
  EXPECT_EQ(JarlLog(run, settings, kToday),
            "<SUMMARYSHEET VERSION=R1.0>\r\n"
            "<CONTESTNAME>ALL JA1 CONTEST</CONTESTNAME>\r\n"
            "<CATEGORYCODE>【部門記号】</CATEGORYCODE>\r\n"
            "<CATEGORYNAME>電信部門</CATEGORYNAME>\r\n"
            "<CALLSIGN>JA1XYZ/1</CALLSIGN>\r\n"
            "<OPCALLSIGN>JA1XYZ</OPCALLSIGN>\r\n"
            "<SCORE BAND=7MHz>1,1,1</SCORE>\r\n"
            "<SCORE BAND=14MHz>1,1,0</SCORE>\r\n"
            "<SCORE BAND=144MHz>1,1,1</SCORE>\r\n"
            "<SCORE BAND=TOTAL>3,3,2</SCORE>\r\n"
            "<FDCOEFF>【FD局種係数】</FDCOEFF>\r\n"
            "<TOTALSCORE>6</TOTALSCORE>\r\n"
            "<ADDRESS>【連絡先住所】</ADDRESS>\r\n"
            "<TEL>【電話】</TEL>\r\n"
            "<NAME>山田太郎</NAME>\r\n"
            "<EMAIL>a@b.jp</EMAIL>\r\n"
            "<LICENSECLASS>【従事者免許】</LICENSECLASS>\r\n"
            "<POWER>【送信出力】</POWER>\r\n"
            "<POWERTYPE>【定格/実測の別】</POWERTYPE>\r\n"
            "<OPPLACE>【運用場所】</OPPLACE>\r\n"
            "<POWERSUPPLY>【電源種類】</POWERSUPPLY>\r\n"
            "<EQUIPMENT>【設備】</EQUIPMENT>\r\n"
            "<COMMENTS>【意見】</COMMENTS>\r\n"
            "<MULTIOPLIST>【マルチOPリスト】</MULTIOPLIST>\r\n"
            "<REGCLUBNUMBER>【登録クラブ＃】</REGCLUBNUMBER>\r\n"
            "<REGCLUBNAME>【登録クラブ名】</REGCLUBNAME>\r\n"
            "<OATH>"
            "私は，【主催者】制定のコンテスト規約および電波法令にしたがい運用した結果，ここに提出するサマリー"
            "シートおよびログ"
            "シートなどが事実と相違ないものであることを，私の名誉において誓います．</OATH>\r\n"
            "<DATE>2024年6月9日</DATE>\r\n"
            "<SIGNATURE>山田太郎</SIGNATURE>\r\n"
            "</SUMMARYSHEET>\r\n"
            "<LOGSHEET TYPE=Vondal>\r\n"
            "mon day time callsign   sent         rcvd         multi  band   mode pts memo\r\n"
            "  6   1 2100 JA1ABC     59913M       59910M       10     7      CW   1\r\n"
            "  6   1 2130 JA1ABC     59913M       5991M        ?sht?  14     CW   1\r\n"
            "  6   2 0015 JA8AAB     5913M        59101H       101    144    FM   1\r\n"
            "</LOGSHEET>\r\n");
}

TEST(ContestJarlTest, CallsignAndTotalScoreByKind) {
  ContestSettings settings;  // no call sign configured
  const std::string party = JarlLog(Scored('P', AllJa(), settings), settings, kToday);
  EXPECT_NE(party.find("<CALLSIGN>【コールサイン】</CALLSIGN>\r\n<OPCALLSIGN>【運用者コール】</OPCALLSIGN>"),
            std::string::npos);
  EXPECT_NE(party.find("<TOTALSCORE>6</TOTALSCORE>"), std::string::npos);  // the points alone
  // A call sign whose longest part is too short for an operator's call sign.
  settings.jarlSummary = {"<CALL>7/AB</CALL>"};
  const std::string shortCall = JarlLog(Scored('J', AllJa(), settings), settings, kToday);
  EXPECT_NE(shortCall.find("<CALLSIGN>7/AB</CALLSIGN>\r\n<OPCALLSIGN>【運用者コール】</OPCALLSIGN>"),
            std::string::npos);
}

TEST(ContestJarlTest, ReshapedExchanges) {
  EXPECT_EQ(ReshapedExchange("59913M", 3), "599 13M");
  EXPECT_EQ(ReshapedExchange("59 13 M", 2), "59 13M");
  EXPECT_EQ(ReshapedExchange("5", 2), "5");
  EXPECT_EQ(ReshapedExchange("599", 3), "599 ");
}

// The rules of the R2.1 summary sheet, read back from our own output without the writer's code:
// the elements in their order, each "<TAG>value</TAG>" on its own line, the R1.0-only elements
// absent, and the log lines in fixed columns (date 0-9, time 11-15, band right-aligned in 16-21,
// mode 23-27, call sign 28-39, sent 40-51, received 52-63, multiplier 64-72, point from 73).
TEST(ContestJarlTest, R21OutputKeepsTheFormatRules) {
  ContestSettings settings;
  settings.callsign = "JA1ZZZ";
  const std::vector<Contact>& contacts = AllJa();
  const ContestRun run = Scored('J', contacts, settings, kJarlR21);
  const std::string text = JarlLog(run, settings, kToday);
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  const std::vector<std::string> order = {
      "CONTESTNAME", "CATEGORYCODE", "CALLSIGN",    "OPCALLSIGN",    "FDCOEFF", "TOTALSCORE", "ADDRESS",
      "TEL",         "NAME",         "EMAIL",       "LICENSEDATE",   "AGE",     "POWER",      "OPPLACE",
      "POWERSUPPLY", "COMMENTS",     "MULTIOPLIST", "REGCLUBNUMBER", "OATH",    "DATE",       "SIGNATURE"};
  ASSERT_GE(lines.size(), order.size() + 3 + contacts.size() + 1);
  EXPECT_EQ(lines[0], "<SUMMARYSHEET VERSION=R2.1>");
  for (size_t i = 0; i < order.size(); ++i) {
    const std::string& line = lines[i + 1];
    const std::string open = "<" + order[i] + ">", close = "</" + order[i] + ">";
    EXPECT_TRUE(line.starts_with(open) && line.ends_with(close)) << line;
    EXPECT_GT(line.size(), open.size() + close.size()) << "empty value in " << line;
  }
  EXPECT_EQ(lines[order.size() + 1], "</SUMMARYSHEET>");
  EXPECT_EQ(lines[order.size() + 2], "<LOGSHEET TYPE=Vondal>");
  EXPECT_EQ(lines.back(), "</LOGSHEET>");
  EXPECT_EQ(text.find("<SCORE"), std::string::npos);
  auto column = [](const std::string& line, size_t from, size_t width) {
    return std::string(Trim(std::string_view(line).substr(from, width)));
  };
  for (size_t i = 0; i < contacts.size(); ++i) {
    const std::string& line = lines[order.size() + 3 + i];
    const Contact& c = contacts[i];
    ASSERT_GE(line.size(), 74u) << line;
    EXPECT_EQ(line.substr(0, 10), "20" + std::string(c.date, 2) + "-" + std::string(c.date + 2, 2) + "-" +
                                      std::string(c.date + 4, 2));
    EXPECT_EQ(line.substr(10, 6), " " + std::string(c.start, 2) + ":" + std::string(c.start + 2, 2));
    EXPECT_EQ(line[22], ' ');
    EXPECT_NE(line[21], ' ') << "the band stands right-aligned";
    EXPECT_EQ(column(line, 23, 5), c.mode);
    EXPECT_EQ(column(line, 28, 12), c.callsign);
    const std::string sent = column(line, 40, 12), received = column(line, 52, 12);
    const size_t n = std::string_view(c.mode) == "CW" ? 3 : 2;
    EXPECT_EQ(sent.substr(0, n), std::string(c.sent).substr(0, n));
    EXPECT_EQ(sent[n], ' ');
    EXPECT_EQ(received.substr(0, n), std::string(c.received).substr(0, n));
    EXPECT_EQ(std::string_view(received).substr(n + 1).find(' '), std::string::npos)
        << "no blank in " << received;
    const std::string multiplier = column(line, 64, 9);
    EXPECT_FALSE(multiplier.empty()) << "an empty multiplier is written as -";
    EXPECT_TRUE(line.substr(73) == "0" || line.substr(73) == "1") << line;
  }
}

// The JARL reads a log line as fields between blanks. Values that fill or pass their column
// (PSK31 in the mode's five, a long call sign, an exchange with an operator's name, a long
// number) still stand apart, each with one blank behind it.
TEST(ContestJarlTest, LogLineFieldsStayApartWhenAValueFillsItsColumn) {
  ContestSettings settings;
  settings.handle = "YOSHIHIRO";
  const std::vector<Contact> contacts = {
      {"240601", "2100", "JA1ABD", "7.012", "PSK31", "5991", "5992"},
      {"240601", "2101", "JA1ABE/JD1ABCD", "7.012", "CW", "599", "599"},
      {"240601", "2102", "JA1ABF", "7.100", "SSB", "59", "59", "KATSUNOBU-SAN"},
      {"240601", "2103", "JA1ABG", "7.012", "CW", "599", "59912345678901"},
  };
  // The fields of each log line, as a reader that parts them at blanks sees them.
  auto logLines = [](const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    size_t at = text.find("<LOGSHEET TYPE=Vondal>\r\n") + 24;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
      const std::string_view line = std::string_view(text).substr(at, end - at);
      if (line.starts_with("mon day") || line == "</LOGSHEET>") continue;
      std::vector<std::string> fields;
      for (std::string_view field : SplitWords(line)) fields.emplace_back(field);
      lines.push_back(fields);
    }
    return lines;
  };
  using Fields = std::vector<std::string>;
  const auto r21 = logLines(JarlLog(Scored('O', contacts, settings, kJarlR21), settings, kToday));
  ASSERT_EQ(r21.size(), 4u);
  EXPECT_EQ(r21[0],
            (Fields{"2024-06-01", "21:00", "7", "PSK31", "JA1ABD", "599", "1", "599", "2", "2", "1"}));
  EXPECT_EQ(r21[1], (Fields{"2024-06-01", "21:01", "7", "CW", "JA1ABE/JD1ABCD", "599", "YOSHIHIRO", "599",
                            "?nul?", "1"}));
  EXPECT_EQ(r21[2], (Fields{"2024-06-01", "21:02", "7", "SSB", "JA1ABF", "59", "YOSHIHIRO", "59",
                            "KATSUNOBU-SAN", "?nul?", "1"}));
  EXPECT_EQ(r21[3], (Fields{"2024-06-01", "21:03", "7", "CW", "JA1ABG", "599", "YOSHIHIRO", "599",
                            "12345678901", "12345678901", "1"}));
  const auto r10 = logLines(JarlLog(Scored('O', contacts, settings, kJarlR10), settings, kToday));
  ASSERT_EQ(r10.size(), 4u);
  EXPECT_EQ(r10[1],
            (Fields{"6", "1", "2101", "JA1ABE/JD1ABCD", "599YOSHIHIRO", "599", "?nul?", "7", "CW", "1"}));
  EXPECT_EQ(r10[2],
            (Fields{"6", "1", "2102", "JA1ABF", "59YOSHIHIRO", "59KATSUNOBU-SAN", "?nul?", "7", "SSB", "1"}));
  EXPECT_EQ(r10[3], (Fields{"6", "1", "2103", "JA1ABG", "599YOSHIHIRO", "59912345678901", "12345678901", "7",
                            "CW", "1"}));
  // A value that fills its column gets exactly one blank.
  const std::string text = JarlLog(Scored('O', contacts, settings, kJarlR21), settings, kToday);
  EXPECT_NE(text.find(" PSK31 JA1ABD      599 1"), std::string::npos) << text;
  EXPECT_NE(text.find(" 59 YOSHIHIRO 59 KATSUNOBU-SAN ?nul?    1\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vondal
