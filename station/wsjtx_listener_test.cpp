#include "station/wsjtx_listener.h"

#include <gtest/gtest.h>
#include <net/if.h>
#include <poll.h>
#include <unistd.h>

#include <string>

#include "log/faulty_file_system.h"
#include "log/file_system.h"
#include "log/log_test_support.h"
#include "station/wsjtx_test_support.h"

namespace vondal {
namespace {

using wsjtx_test::When;

class WsjtxListenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFieldTable();
    ASSERT_EQ(set_.log.OpenLog("W.VD"), "");
  }

  // The texts of record n, DATE … rQSL, separated by "|".
  std::string Texts(int n) {
    const RecordTexts& texts = set_.log.ReadRecord(n);
    std::string joined;
    for (int f = DATE; f <= rQSL; ++f) joined += std::string(texts[f]) + (f < rQSL ? "|" : "");
    return joined;
  }

  WsjtxWrite WriteAll() { return listener_.WriteWaiting(set_.log, set_.index); }

  MemoryFileSystem memory_;
  FaultyFileSystem fs_{memory_};
  testing::LogSet set_{fs_};
  WsjtxListener listener_{"127.0.0.1:2237", TimeZone::kJst};
};

TEST_F(WsjtxListenerTest, ALoggedContactBecomesARecordOnTheLogsClock) {
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", {2024, 3, 5, 23, 30, 15})));
  EXPECT_EQ(listener_.DueInMs(), 0);
  const WsjtxWrite write = WriteAll();
  EXPECT_EQ(write.message, "WSJT-X: JA1ABC 記録しました");
  ASSERT_EQ(write.written, std::vector<int>{0});
  // 23:30 UTC is 08:30 JST of the next day; the grid goes into REMARKS as the join puts it.
  EXPECT_EQ(Texts(0), "240306|0830|0830|JA1ABC|7.075123|FT8|-10|-12|||||GL[PM95]||||");
  EXPECT_EQ(set_.index.size(), 1);
  EXPECT_EQ(listener_.DueInMs(), -1);
  const WsjtxStatus& status = listener_.Status();
  EXPECT_EQ(status.arrived, 1);
  EXPECT_EQ(status.written, 1);
  // A log kept in UTC keeps the time as it came.
  WsjtxListener utc("127.0.0.1:2237", TimeZone::kUtc);
  utc.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA2XYZ", {2024, 3, 5, 23, 30, 15})));
  utc.WriteWaiting(set_.log, set_.index);
  EXPECT_EQ(Texts(1).substr(0, 18), "240305|2330|2330|J");
}

TEST_F(WsjtxListenerTest, AContactAnnouncedTwiceOrAlreadyInTheLogIsWrittenOnce) {
  // WSJT-X announces each contact both ways; the two give the same record.
  wsjtx_test::Qso qso;
  qso.on = qso.off = {2024, 3, 5, 0, 7, 0};
  listener_.Take(wsjtx_test::QsoLogged(qso, "JTDX"));
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("ja1abc", {2024, 3, 5, 0, 7, 40}), "JTDX"));
  WsjtxWrite write = WriteAll();
  EXPECT_EQ(write.message, "JTDX: JA1ABC 記録しました");
  EXPECT_EQ(write.written, std::vector<int>{0});
  EXPECT_EQ(Texts(0), "240305|0907|0907|JA1ABC|7.075123|FT8|-10|-12|||||GL[PM95];PWR[50]||||");
  // A re-log: the same call in the same minute on another frequency of the band is the same
  // contact; on another band it is another one.
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", {2024, 3, 5, 0, 7, 0}, "7.041")));
  write = WriteAll();
  EXPECT_EQ(write.message, "WSJT-X: JA1ABC ﾛｸﾞの1番目の交信と同じため省略");
  EXPECT_TRUE(write.written.empty());
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", {2024, 3, 5, 0, 7, 0}, "14.074")));
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA3AAA", {2024, 3, 5, 0, 9, 0})));
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA4AAA", {2024, 3, 5, 0, 10, 0})));
  write = WriteAll();
  EXPECT_EQ(write.message, "WSJT-X: JA1ABC 他2件 記録しました");
  EXPECT_EQ(write.written, (std::vector<int>{1, 2, 3}));
  const WsjtxStatus& status = listener_.Status();
  EXPECT_EQ(status.arrived, 6);
  EXPECT_EQ(status.written, 4);
  EXPECT_EQ(status.duplicates, 2);
}

TEST_F(WsjtxListenerTest, WhatIsAlreadyThereIsAskedOfTheLogAsItIsNow) {
  const std::string first = wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", When{}));
  listener_.Take(first);
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA9AAA", When{})));
  EXPECT_EQ(WriteAll().written, (std::vector<int>{0, 1}));
  // The operator corrects the time of that record: the contact announced again is no longer in
  // the log, one at the corrected time is.
  Record corrected = testing::ValidRecord("JA1ABC", "240305", "0912");
  corrected[FREQ] = "7.075";
  ASSERT_TRUE(set_.log.WriteRecord(0, corrected).written);
  listener_.Take(first);
  EXPECT_EQ(WriteAll().written, std::vector<int>{2});
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", {2024, 3, 5, 0, 12, 0})));
  EXPECT_EQ(WriteAll().message, "WSJT-X: JA1ABC ﾛｸﾞの1番目の交信と同じため省略");
  // Records the operator adds count at once.
  Record typed = testing::ValidRecord("JA2XYZ", "240305", "0908");
  ASSERT_TRUE(set_.log.WriteRecord(3, typed).written);
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA2XYZ", {2024, 3, 5, 0, 8, 0})));
  EXPECT_EQ(WriteAll().message, "WSJT-X: JA2XYZ ﾛｸﾞの4番目の交信と同じため省略");
}

TEST_F(WsjtxListenerTest, ARefusedWriteKeepsTheContactAndSaysSoOnce) {
  fs_.faults.spaceLeft = 0;
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", When{})));
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA2XYZ", {2024, 3, 5, 0, 8, 0})));
  WsjtxWrite write = WriteAll();
  EXPECT_EQ(write.message, "WSJT-X: JA1ABC ﾛｸﾞﾌｧｲﾙに書込めません");
  EXPECT_TRUE(write.written.empty());
  EXPECT_EQ(listener_.Waiting().size(), 2u) << "nothing dropped";
  EXPECT_EQ(set_.log.RecordCount(), 0);
  EXPECT_GT(listener_.DueInMs(), 0) << "tried again after a rest";
  EXPECT_EQ(listener_.Status().refusal, "WSJT-X: JA1ABC ﾛｸﾞﾌｧｲﾙに書込めません");
  EXPECT_EQ(WriteAll().message, "") << "told once";
  // The disk has room again: both are written, in the order they came.
  fs_.faults.spaceLeft = -1;
  write = WriteAll();
  EXPECT_EQ(write.message, "WSJT-X: JA1ABC 他1件 記録しました");
  EXPECT_EQ(Texts(1).substr(0, 23), "240305|0908|0908|JA2XYZ");
  EXPECT_EQ(listener_.Status().refusal, "");
  // Browse mode and the contest check are the operator's: a contact made elsewhere is written
  // through them, and they are back afterwards.
  set_.log.options.writeProtect = true;
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA3AAA", When{})));
  EXPECT_EQ(WriteAll().written, std::vector<int>{2});
  EXPECT_TRUE(set_.log.options.writeProtect);
}

TEST_F(WsjtxListenerTest, AContactTheLogCannotHoldIsDroppedWithoutHoldingUpTheOthers) {
  // A call sign of two letters: the log's own rule refuses it, so the mapping does.
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("K1", When{})));
  listener_.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA2XYZ", When{})));
  const WsjtxWrite write = WriteAll();
  EXPECT_EQ(write.message, "WSJT-X: JA2XYZ 記録しました");
  EXPECT_EQ(write.written, std::vector<int>{0});
  EXPECT_TRUE(listener_.Waiting().empty());
  EXPECT_EQ(listener_.Status().dropped, 1);
  EXPECT_EQ(listener_.Status().lastDropped, "K1 CALLが短すぎる");
  EXPECT_EQ(WriteAll().message, "");
}

TEST_F(WsjtxListenerTest, WhatIsNoContactIsDroppedAndCountedWithItsReason) {
  listener_.Take("garbage");
  EXPECT_EQ(listener_.Status().lastDropped, "WSJT-Xのﾒｯｾｰｼﾞではありません");
  listener_.Take(wsjtx_test::Datagram(1).Text("status").bytes());  // a status message: nothing to do
  listener_.Take(wsjtx_test::LoggedAdif("<call:6>JA1ABC <mode:3>FT8 <freq:5>7.074 <eor>"));
  EXPECT_EQ(listener_.Status().lastDropped, "JA1ABC QSO_DATEがない");
  listener_.Take(wsjtx_test::LoggedAdif("<eoh>"));  // no record at all
  const WsjtxStatus& status = listener_.Status();
  EXPECT_EQ(status.dropped, 2);
  EXPECT_EQ(status.arrived, 1);
  EXPECT_NE(status.droppedAt, 0);
  EXPECT_EQ(listener_.DueInMs(), -1);
  // More contacts waiting than the listener keeps: the rest are dropped, not the log's memory.
  WsjtxListener small("127.0.0.1:2237", TimeZone::kJst, {.retryMs = 5000, .maxWaiting = 2});
  for (int minute = 0; minute < 3; ++minute)
    small.Take(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", {2024, 3, 5, 0, minute, 0})));
  EXPECT_EQ(small.Waiting().size(), 2u);
  EXPECT_EQ(small.Status().lastDropped, "JA1ABC 未記録の交信が多すぎます");
}

// The socket: a contact sent over UDP is there after Receive.
TEST(WsjtxSocketTest, ReceivesWhatIsSentToItsAddress) {
  const int port = wsjtx_test::FreeUdpPort();
  WsjtxListener listener("127.0.0.1:" + std::to_string(port), TimeZone::kJst);
  ASSERT_EQ(listener.Open(), "");
  wsjtx_test::Sender sender(port);
  ASSERT_TRUE(sender.Send(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", When{}))));
  ASSERT_TRUE(sender.Send(wsjtx_test::Datagram(0).Text("heartbeat").bytes()));
  ASSERT_TRUE(sender.Send(std::string(1000, 'y')));
  pollfd ready{listener.Descriptor(), POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 2000), 1);
  listener.Receive();
  listener.Receive();  // nothing more: returns at once
  EXPECT_EQ(listener.Waiting().size(), 1u);
  EXPECT_EQ(listener.Status().dropped, 1) << "the datagram of nothing but letters";
  // A second listener on the same port of the same address is told it is taken.
  WsjtxListener second("127.0.0.1:" + std::to_string(port), TimeZone::kJst);
  EXPECT_EQ(second.Open(), "ﾎﾟｰﾄ" + std::to_string(port) + "は使用中です");
  EXPECT_EQ(second.Descriptor(), -1);
  WsjtxListener named("wsjtx.local:2237", TimeZone::kJst);
  EXPECT_EQ(named.Open(), "WSJT-Xのｱﾄﾞﾚｽが不適当です");
  EXPECT_EQ(named.Status().address, "wsjtx.local:2237");
  EXPECT_EQ(WsjtxListener("localhost", TimeZone::kJst).Status().address, "127.0.0.1:2237");
}

TEST(WsjtxSocketTest, AMulticastGroupIsSharedWithOtherListeners) {
  const int port = wsjtx_test::FreeUdpPort();
  const std::string group = "239.255.0.1:" + std::to_string(port);
  WsjtxListener first(group, TimeZone::kJst);
  WsjtxListener second(group, TimeZone::kJst);
  ASSERT_EQ(first.Open(), "");
  ASSERT_EQ(second.Open(), "") << "another program listening to the group takes nothing away";
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  in_addr loopback{htonl(INADDR_LOOPBACK)};
  setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &loopback, sizeof loopback);  // as WSJT-X on "lo"
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, "239.255.0.1", &to.sin_addr);
  const std::string datagram = wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", When{}));
  ASSERT_EQ(sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
            static_cast<ssize_t>(datagram.size()));
  close(fd);
  for (WsjtxListener* listener : {&first, &second}) {
    pollfd ready{listener->Descriptor(), POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 2000), 1);
    listener->Receive();
    EXPECT_EQ(listener->Waiting().size(), 1u);
  }
}

TEST(WsjtxSocketTest, AnIpv6GroupIsJoinedOnEveryInterface) {
  const int port = wsjtx_test::FreeUdpPort();
  WsjtxListener listener("[ff03::1]:" + std::to_string(port), TimeZone::kJst);
  ASSERT_EQ(listener.Open(), "");
  EXPECT_EQ(listener.Status().address, "[ff03::1]:" + std::to_string(port));
  // Sent out of an interface that takes IPv6 multicast (where the machine has one), it comes back
  // to the listener through its membership there.
  const int fd = socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in6 to{};
  to.sin6_family = AF_INET6;
  to.sin6_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET6, "ff03::1", &to.sin6_addr);
  const std::string datagram = wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", When{}));
  bool sent = false;
  struct if_nameindex* interfaces = if_nameindex();
  for (const struct if_nameindex* i = interfaces; i && i->if_index != 0 && !sent; ++i) {
    const unsigned index = i->if_index;
    setsockopt(fd, IPPROTO_IPV6, IPV6_MULTICAST_IF, &index, sizeof index);
    sent = sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0;
  }
  if_freenameindex(interfaces);
  close(fd);
  if (!sent) return;  // no interface here sends IPv6 multicast: the join is all there is to see
  pollfd ready{listener.Descriptor(), POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 2000), 1);
  listener.Receive();
  EXPECT_EQ(listener.Waiting().size(), 1u);
}

}  // namespace
}  // namespace vondal
