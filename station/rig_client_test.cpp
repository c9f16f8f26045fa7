#include "station/rig_client.h"

#include <gtest/gtest.h>

#include <ctime>

#include "station/rig_test_support.h"

namespace vondal {
namespace {

using rig_test::Rigctld;
using rig_test::ScriptedPeer;

constexpr RigTiming kNoRest{.limitMs = 150, .restMs = 0};

int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

TEST(RigClientTest, ReadsTheDummyRadioOfRigctldAgainAfterEveryChange) {
  Rigctld rigctld;
  rigctld.Set({"F", "7025000", "M", "CW", "500"});
  RigClient rig(rigctld.address());
  const std::time_t before = std::time(nullptr);
  RigAnswer answer = rig.Ask();
  ASSERT_TRUE(answer.reading) << answer.message;
  EXPECT_EQ(answer.reading->hz, 7025000);
  EXPECT_EQ(answer.reading->mode, "CW");
  EXPECT_EQ(answer.reading->passbandHz, 500);
  EXPECT_GE(answer.reading->when, before);
  EXPECT_EQ(answer.message, "");
  rigctld.Set({"F", "14074000", "M", "PKTUSB", "3000"});
  answer = rig.Ask();  // over the same connection
  ASSERT_TRUE(answer.reading) << answer.message;
  EXPECT_EQ(answer.reading->hz, 14074000);
  EXPECT_EQ(answer.reading->mode, "PKTUSB");
  EXPECT_EQ(rig.Status().last->hz, 14074000);
  EXPECT_EQ(rig.Status().failure, RigFailure::kNone);
  EXPECT_EQ(rig.Status().address, rigctld.address());
}

TEST(RigClientTest, AStoppedRigctldIsToldOnceRestsAndIsFoundAgainWhenBack) {
  Rigctld rigctld;
  rigctld.Set({"F", "21074000", "M", "USB", "2400"});
  RigClient rig(rigctld.address(), {.limitMs = 150, .restMs = 300});
  ASSERT_TRUE(rig.Ask().reading);
  rigctld.Stop();
  RigAnswer answer = rig.Ask();
  EXPECT_FALSE(answer.reading);
  EXPECT_EQ(answer.message, "ﾘｸﾞに接続できません");
  EXPECT_EQ(rig.Status().failure, RigFailure::kConnect);
  EXPECT_EQ(rig.Status().last->hz, 21074000) << "the last reading stays";
  // Within the rest nothing is asked (a rigctld started meanwhile is not seen yet) and nothing
  // is told again.
  rigctld.Start();
  answer = rig.Ask();
  EXPECT_FALSE(answer.reading);
  EXPECT_EQ(answer.message, "");
  usleep(350 * 1000);
  answer = rig.Ask();
  ASSERT_TRUE(answer.reading) << answer.message;
  EXPECT_EQ(answer.reading->hz, 145000000) << "the new rigctld's dummy radio";
  EXPECT_EQ(rig.Status().failure, RigFailure::kNone);
}

TEST(RigClientTest, AFailureIsToldAgainOnlyAfterAnAnswerOrWhenItChanges) {
  const int port = rig_test::FreePort();
  RigClient rig("127.0.0.1:" + std::to_string(port), kNoRest);
  EXPECT_EQ(rig.Ask().message, "ﾘｸﾞに接続できません");
  EXPECT_EQ(rig.Ask().message, "");
  EXPECT_EQ(rig.Ask().message, "");
  RigClient garbage("", kNoRest);
  EXPECT_EQ(garbage.Ask().message, "ﾘｸﾞのｱﾄﾞﾚｽが不適当です");
  EXPECT_EQ(garbage.Ask().message, "");
  EXPECT_EQ(garbage.Status().failure, RigFailure::kAddress);
}

TEST(RigClientTest, APeerThatNeverAnswersCostsOneTimeLimit) {
  ScriptedPeer silent({});
  RigClient rig(silent.address(), {.limitMs = 100, .restMs = 60000});
  const int64_t start = NowMs();
  RigAnswer answer = rig.Ask();
  const int64_t spent = NowMs() - start;
  EXPECT_FALSE(answer.reading);
  EXPECT_EQ(answer.message, "ﾘｸﾞ応答なし");
  EXPECT_EQ(rig.Status().failure, RigFailure::kTimeout);
  EXPECT_GE(spent, 100);
  EXPECT_LT(spent, 5000) << "far beyond the limit";
  // Resting: the next ask returns at once without a word.
  answer = rig.Ask();
  EXPECT_FALSE(answer.reading);
  EXPECT_EQ(answer.message, "");
}

TEST(RigClientTest, AnswersThatAreNotRigctldsAreGarbage) {
  ScriptedPeer peer({"SSH-2.0-OpenSSH_9.2\r\n"});
  RigClient rig(peer.address(), kNoRest);
  RigAnswer answer = rig.Ask();
  EXPECT_FALSE(answer.reading);
  EXPECT_EQ(answer.message, "ﾘｸﾞの応答が不適当です");
  ScriptedPeer noFrequency({"get_freq:\nFrequency: 0\nRPRT 0\n"});
  RigClient zero(noFrequency.address(), kNoRest);
  EXPECT_EQ(zero.Ask().message, "ﾘｸﾞの応答が不適当です");
}

TEST(RigClientTest, HamlibErrorsOfTheRadio) {
  ScriptedPeer off({"get_freq:\nRPRT -20\n"});
  RigClient rigOff(off.address(), kNoRest);
  EXPECT_EQ(rigOff.Ask().message, "ﾘｸﾞ応答なし") << "a radio switched off does not answer";
  ScriptedPeer failing({"get_freq:\nRPRT -8\n"});
  RigClient rig(failing.address(), kNoRest);
  EXPECT_EQ(rig.Ask().message, "ﾘｸﾞｴﾗｰ RPRT -8");
  EXPECT_EQ(rig.Status().report, -8);
  // A radio that cannot tell its mode still gives its frequency.
  ScriptedPeer noMode({"get_freq:\nFrequency: 3535000\nRPRT 0\n", "get_mode:\nRPRT -11\n"});
  RigClient frequencyOnly(noMode.address(), kNoRest);
  RigAnswer answer = frequencyOnly.Ask();
  ASSERT_TRUE(answer.reading);
  EXPECT_EQ(answer.reading->hz, 3535000);
  EXPECT_EQ(answer.reading->mode, "");
}

TEST(RigClientTest, AConnectionClosedBetweenAsksIsMadeAnew) {
  Rigctld rigctld;
  rigctld.Set({"F", "7025000"});
  RigClient rig(rigctld.address());
  ASSERT_TRUE(rig.Ask().reading);
  rigctld.Stop();
  rigctld.Start();  // on the same port when it is still free
  if (rigctld.address() != rig.Status().address) GTEST_SKIP() << "the port was taken meanwhile";
  rigctld.Set({"F", "7030000"});
  const RigAnswer answer = rig.Ask();
  ASSERT_TRUE(answer.reading) << answer.message;
  EXPECT_EQ(answer.reading->hz, 7030000);
}

}  // namespace
}  // namespace vondal
