#include "station/wsjtx_message.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <string>

#include "station/wsjtx_test_support.h"

namespace vondal {
namespace {

using wsjtx_test::Datagram;
using wsjtx_test::Qso;
using wsjtx_test::When;

// The fields as "NAME=value" joined by blanks, in their order.
std::string FieldsOf(const WsjtxMessage& message) {
  std::string text;
  for (const auto& [name, value] : message.fields) text += std::string(name) + "=" + value + " ";
  return text;
}

TEST(WsjtxMessageTest, LoggedAdifGivesItsTextAndPassesOverFieldsAddedLater) {
  const std::string adif = wsjtx_test::AdifOf("JA1ABC", When{});
  WsjtxMessage message = DecodeWsjtxDatagram(wsjtx_test::LoggedAdif(adif, "JTDX"));
  EXPECT_EQ(message.kind, WsjtxKind::kLoggedAdif);
  EXPECT_EQ(message.id, "JTDX");
  EXPECT_EQ(message.adif, adif);
  message = DecodeWsjtxDatagram(Datagram(12).Text(adif).Text("a field of a later version").U8(1).bytes());
  EXPECT_EQ(message.kind, WsjtxKind::kLoggedAdif);
  EXPECT_EQ(message.adif, adif);
  // Its texts hold no dates: a schema after the ones known still reads.
  EXPECT_EQ(DecodeWsjtxDatagram(Datagram(12, "X", 4).Text(adif).bytes()).kind, WsjtxKind::kLoggedAdif);
}

TEST(WsjtxMessageTest, QsoLoggedFieldsUnderTheirAdifNames) {
  Qso qso;
  qso.on = {2024, 3, 5, 23, 59, 30};
  qso.off = {2024, 3, 6, 0, 1, 15};
  qso.comments = "tnx";
  qso.name = "Taro";
  const WsjtxMessage message = DecodeWsjtxDatagram(wsjtx_test::QsoLogged(qso));
  ASSERT_EQ(message.kind, WsjtxKind::kQsoLogged) << message.refusal;
  EXPECT_EQ(
      FieldsOf(message),
      "CALL=JA1ABC GRIDSQUARE=PM95 FREQ=7.075123 MODE=FT8 RST_SENT=-10 RST_RCVD=-12 TX_PWR=50 COMMENT=tnx "
      "NAME=Taro OPERATOR=JA1ZZZ STATION_CALLSIGN=JA1ZZZ MY_GRIDSQUARE=PM95 QSO_DATE=20240305 "
      "TIME_ON=235930 TIME_OFF=000115 ");
  // Frequencies below 1 MHz and in the GHz: MHz with six decimals.
  qso.hz = 475500;
  EXPECT_NE(FieldsOf(DecodeWsjtxDatagram(wsjtx_test::QsoLogged(qso))).find("FREQ=0.475500 "),
            std::string::npos);
  qso.hz = 10368100000;
  EXPECT_NE(FieldsOf(DecodeWsjtxDatagram(wsjtx_test::QsoLogged(qso))).find("FREQ=10368.100000 "),
            std::string::npos);
}

TEST(WsjtxMessageTest, QsoLoggedFromASenderOfEarlierYears) {
  // Up to NAME, without "Date & Time On": the contact starts at its end time.
  Datagram old(5, "WSJT-X", 2);
  old.DateTime({2016, 12, 31, 23, 45, 0}).Text("K1ABC").Null().U64(14076000).Text("JT65");
  old.Text("-15").Text("-20").Null().Null().Null();
  WsjtxMessage message = DecodeWsjtxDatagram(old.bytes());
  ASSERT_EQ(message.kind, WsjtxKind::kQsoLogged) << message.refusal;
  EXPECT_EQ(FieldsOf(message),
            "CALL=K1ABC FREQ=14.076000 MODE=JT65 RST_SENT=-15 RST_RCVD=-20 QSO_DATE=20161231 TIME_ON=234500 "
            "TIME_OFF=234500 ");
  // "Date & Time On" null (QDateTime()) counts as missing too; the fields after it may stop anywhere
  // between two of them.
  Datagram some(5);
  some.DateTime({2024, 1, 2, 3, 4, 5}).Text("K1ABC").Text("").U64(0).Text("FT4").Text("").Text("").Text("");
  some.Text("").Text("").NullDateTime().Text("OP");
  message = DecodeWsjtxDatagram(some.bytes());
  ASSERT_EQ(message.kind, WsjtxKind::kQsoLogged) << message.refusal;
  EXPECT_EQ(FieldsOf(message),
            "CALL=K1ABC MODE=FT4 OPERATOR=OP QSO_DATE=20240102 TIME_ON=030405 TIME_OFF=030405 ")
      << "no frequency given (0), empty texts left out";
}

TEST(WsjtxMessageTest, TimesComeOutInUtcWhateverClockTheyWereSentOn) {
  auto timeOn = [](const Datagram& start) {
    Datagram d = start;
    d.Text("K1ABC").Null().U64(7074000).Text("FT8").Null().Null().Null().Null().Null();
    d.DateTime({2024, 1, 1, 0, 30, 0}, 2, 9 * 3600);  // "on" given as JST, nine hours ahead
    const std::string fields = FieldsOf(DecodeWsjtxDatagram(d.bytes()));
    return fields.substr(fields.find("QSO_DATE"));
  };
  EXPECT_EQ(timeOn(Datagram(5).DateTime({2024, 1, 1, 0, 31, 0}, 2, 9 * 3600)),
            "QSO_DATE=20231231 TIME_ON=153000 TIME_OFF=153100 ");
  // The sender's local time is this machine's.
  const char* saved = getenv("TZ");
  const std::string before = saved ? saved : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  EXPECT_EQ(timeOn(Datagram(5).DateTime({2024, 1, 1, 0, 31, 0}, 0)),
            "QSO_DATE=20231231 TIME_ON=153000 TIME_OFF=153100 ");
  // Schema 1 (Qt 5.0) wrote every time in UTC, whatever its spec says.
  Datagram schema1(5, "WSJT-X", 1);
  schema1.DateTime({2024, 1, 1, 0, 31, 0}, 0);
  EXPECT_EQ(timeOn(schema1), "QSO_DATE=20240101 TIME_ON=003000 TIME_OFF=003100 ");
  if (saved) {
    setenv("TZ", before.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST(WsjtxMessageTest, OtherTypesAreNothingToDo) {
  for (uint32_t type : {0u, 1u, 2u, 6u, 10u, 11u, 13u, 99u}) {
    const WsjtxMessage message = DecodeWsjtxDatagram(Datagram(type).Text("3.1").U8(1).bytes());
    EXPECT_EQ(message.kind, WsjtxKind::kOther) << type;
    EXPECT_EQ(message.type, type);
  }
}

TEST(WsjtxMessageTest, WhatIsNoWholeMessageIsRefused) {
  const std::string adif = wsjtx_test::AdifOf("JA1ABC", When{});
  auto refusal = [](std::string_view bytes) {
    const WsjtxMessage message = DecodeWsjtxDatagram(bytes);
    EXPECT_TRUE(message.fields.empty() && message.adif.empty());
    return message.kind == WsjtxKind::kRefused ? message.refusal : "(not refused)";
  };
  std::string wrongMagic = wsjtx_test::LoggedAdif(adif);
  wrongMagic[0] = 0x12;
  EXPECT_EQ(refusal(wrongMagic), "WSJT-Xのﾒｯｾｰｼﾞではありません");
  EXPECT_EQ(refusal(""), "WSJT-Xのﾒｯｾｰｼﾞではありません");
  EXPECT_EQ(refusal("hello, world"), "WSJT-Xのﾒｯｾｰｼﾞではありません");
  EXPECT_EQ(refusal(Datagram(12, "X", 0).Text(adif).bytes()), "ｽｷｰﾏ0は読めません");
  EXPECT_EQ(refusal(wsjtx_test::QsoLogged(Qso{}).replace(4, 4, std::string("\0\0\0\4", 4))),
            "ｽｷｰﾏ4は読めません");
  // A text longer than the datagram, the null text's length or one just short of it.
  EXPECT_EQ(refusal(Datagram(12).U32(0x7fffffff).Raw("<call:3>K1A<eor>").bytes()), "途中で切れています");
  EXPECT_EQ(refusal(Datagram(12).U32(0xfffffffe).bytes()), "途中で切れています");
  // A time in a time zone carries fields of its own that nothing here can pass over.
  EXPECT_EQ(refusal(Datagram(5).U64(2460375).U32(0).U8(3).Text("Asia/Tokyo").bytes()),
            "日時の形式が読めません");
  // Larger than any UDP datagram: cut on the way.
  EXPECT_EQ(refusal(wsjtx_test::LoggedAdif(std::string(kMaxWsjtxDatagram, ' '))), "長すぎます");
  EXPECT_EQ(DecodeWsjtxDatagram(wsjtx_test::LoggedAdif(std::string(kMaxWsjtxDatagram - 100, ' '))).kind,
            WsjtxKind::kLoggedAdif);
  // A null ADIF text is an empty one: a message with no contact, not a broken one.
  EXPECT_EQ(DecodeWsjtxDatagram(Datagram(12).Null().bytes()).kind, WsjtxKind::kLoggedAdif);
}

TEST(WsjtxMessageTest, EveryTruncationIsRefusedOrEndsBetweenTheLaterFields) {
  Qso qso;
  qso.comments = "tnx";
  const std::string whole = wsjtx_test::QsoLogged(qso);
  const WsjtxMessage full = DecodeWsjtxDatagram(whole);
  const std::string adifWhole = wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", When{}));
  int accepted = 0;
  for (size_t size = 0; size < whole.size(); ++size) {
    const WsjtxMessage message = DecodeWsjtxDatagram(std::string_view(whole).substr(0, size));
    if (message.kind == WsjtxKind::kRefused) continue;
    ++accepted;
    ASSERT_EQ(message.kind, WsjtxKind::kQsoLogged) << size;
    // Cut between two of the later fields: what it holds are the whole message's fields.
    for (const auto& field : message.fields) {
      bool found = false;
      for (const auto& f : full.fields) found = found || (f.first == field.first && f.second == field.second);
      EXPECT_TRUE(found) << size << " " << field.first << "=" << field.second;
    }
  }
  EXPECT_EQ(accepted, 7) << "after NAME, after Date & Time On and after each of the next five texts";
  for (size_t size = 0; size < adifWhole.size(); ++size) {
    EXPECT_EQ(DecodeWsjtxDatagram(std::string_view(adifWhole).substr(0, size)).kind, WsjtxKind::kRefused)
        << size;
  }
  // A single changed byte anywhere never reads outside the datagram (the sanitizer build watches).
  for (size_t i = 0; i < whole.size(); ++i) {
    std::string changed = whole;
    changed[i] = static_cast<char>(changed[i] ^ 0xff);
    DecodeWsjtxDatagram(changed);
  }
}

TEST(WsjtxMessageTest, TheSenderAsTheMessageLineNamesIt) {
  EXPECT_EQ(WsjtxSenderName("JTDX"), "JTDX");
  EXPECT_EQ(WsjtxSenderName("WSJT-X - IC7300"), "WSJT-X - IC7300");
  EXPECT_EQ(WsjtxSenderName(""), "WSJT-X");
  EXPECT_EQ(WsjtxSenderName("a name far too long to show"), "WSJT-X");
  EXPECT_EQ(WsjtxSenderName("JS8\x1b[2J"), "WSJT-X") << "no control bytes reach the screen";
  EXPECT_EQ(WsjtxSenderName("\xe6\x97\xa5\xe6\x9c\xac"), "WSJT-X");
}

}  // namespace
}  // namespace vondal
