#include "station/rig_protocol.h"

#include <gtest/gtest.h>

#include "station/rig_address.h"

namespace vondal {
namespace {

constexpr std::string_view kFrequencyAnswer = "get_freq:\nFrequency: 7025000\nRPRT 0\n";
constexpr std::string_view kModeAnswer = "get_mode:\r\nMode: PKTUSB\r\nPassband: 3000\r\nRPRT 0\r\n";

TEST(RigBlockTest, AnswersAreReadWhenWholeAndAwaitedWhileTheyArrive) {
  const RigBlock frequency = ParseRigBlock(kFrequencyAnswer, kFrequencyCommand);
  ASSERT_EQ(frequency.state, RigParse::kDone);
  EXPECT_EQ(frequency.report, 0);
  ASSERT_NE(frequency.Find("Frequency"), nullptr);
  EXPECT_EQ(*frequency.Find("Frequency"), "7025000");
  const RigBlock mode = ParseRigBlock(kModeAnswer, kModeCommand);
  ASSERT_EQ(mode.state, RigParse::kDone);
  EXPECT_EQ(*mode.Find("Mode"), "PKTUSB");
  EXPECT_EQ(*mode.Find("Passband"), "3000");
  EXPECT_EQ(mode.Find("Frequency"), nullptr);
  // The answer may come in pieces of any size: every beginning of it waits for more.
  for (std::string_view answer : {kFrequencyAnswer, kModeAnswer}) {
    const std::string_view command = answer.starts_with("get_freq") ? kFrequencyCommand : kModeCommand;
    for (size_t size = 0; size < answer.size(); ++size)
      EXPECT_EQ(ParseRigBlock(answer.substr(0, size), command).state, RigParse::kMore) << size;
  }
}

TEST(RigBlockTest, HamlibErrorsAreWholeAnswersWithTheirCode) {
  const RigBlock failed = ParseRigBlock("get_freq:\nRPRT -11\n", kFrequencyCommand);
  EXPECT_EQ(failed.state, RigParse::kDone);
  EXPECT_EQ(failed.report, -11);
  EXPECT_TRUE(failed.values.empty());
}

TEST(RigBlockTest, WhatIsNotTheAnswerIsGarbageAsSoonAsItShows) {
  for (std::string_view bytes : {
           "HTTP/1.1 400",                              // another server
           "get_mode:\nMode: CW\nRPRT 0\n",             // the answer to the other question
           "get_freq: 7025000\n",                       // a set command's echo
           "7025000\n",                                 // the default protocol's answer
           "get_freq:\nFrequency 7025000\n",            // no ": "
           "get_freq:\n: 7025000\n",                    // no key
           "get_freq:\nFrequency: 7025000\nRPRT 0\nx",  // something after the result
           "get_freq:\nRPRT zero\n",                    // no code
           "get_freq:\nRPRT -123456\n",                 // a code of six digits
           "get_freq:\nFrequency: 70\x8e\x9f\n",        // not ASCII
       }) {
    EXPECT_EQ(ParseRigBlock(bytes, kFrequencyCommand).state, RigParse::kGarbage) << bytes;
  }
  constexpr char kControlByte[] = "get_freq:\nFrequency: 7025000\0";
  EXPECT_EQ(ParseRigBlock({kControlByte, sizeof kControlByte - 1}, kFrequencyCommand).state,
            RigParse::kGarbage);
  // An answer that never ends: garbage once it is longer than any answer of ours.
  std::string endless = "get_freq:\n";
  while (endless.size() <= kMaxAnswerBytes) endless += "Key: value";
  EXPECT_EQ(ParseRigBlock(endless, kFrequencyCommand).state, RigParse::kGarbage);
  std::string many = "get_freq:\n";
  for (int i = 0; i < 17; ++i) many += "K: v\n";
  EXPECT_EQ(ParseRigBlock(many, kFrequencyCommand).state, RigParse::kGarbage);
}

TEST(RigValueTest, FrequenciesInWholeHertz) {
  EXPECT_EQ(HertzOf("7025000"), 7025000);
  EXPECT_EQ(HertzOf("14074000.000000"), 14074000);  // the fraction of a hertz is cut off
  EXPECT_EQ(HertzOf("249999999999"), 249999999999);
  for (std::string_view bad : {"", "0", "-7025000", "7.025e6", "7025000.", "1000000000000", " 7025000"})
    EXPECT_EQ(HertzOf(bad), std::nullopt) << bad;
}

TEST(RigModeTest, HamlibModeWordsAsLogModes) {
  const std::pair<std::string_view, std::string_view> plain[] = {
      {"USB", "SSB"}, {"LSB", "SSB"}, {"CW", "CW"},     {"CWR", "CW"},     {"FM", "FM"},     {"FMN", "FM"},
      {"WFM", "FM"},  {"AM", "AM"},   {"RTTY", "RTTY"}, {"RTTYR", "RTTY"}, {"PSK", "PSK31"},
  };
  for (const auto& [word, mode] : plain) {
    EXPECT_EQ(ModeOfRigWord(word).kind, RigModeKind::kPlain) << word;
    EXPECT_EQ(ModeOfRigWord(word).mode, mode) << word;
  }
  for (std::string_view data : {"PKTUSB", "PKTLSB", "PKTFM", "USB-D", "USBD2"})
    EXPECT_EQ(ModeOfRigWord(data).kind, RigModeKind::kData) << data;
  for (std::string_view none : {"D-STAR", "C4FM", "SPEC", "usb", "", "None"})
    EXPECT_EQ(ModeOfRigWord(none).kind, RigModeKind::kNone) << none;
}

TEST(RigAddressTest, AddressesPortsAndTheDataMode) {
  std::optional<RigAddress> address = ParseRigAddress("127.0.0.1:4534");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->host, "127.0.0.1");
  EXPECT_EQ(address->port, 4534);
  EXPECT_FALSE(address->ipv6);
  EXPECT_EQ(address->dataMode, "FT8");
  address = ParseRigAddress("localhost");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->host, "127.0.0.1");
  EXPECT_EQ(address->port, kRigctldPort);
  address = ParseRigAddress("[::1]:4536, FT4");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->host, "::1");
  EXPECT_TRUE(address->ipv6);
  EXPECT_EQ(address->port, 4536);
  EXPECT_EQ(address->dataMode, "FT4");
  address = ParseRigAddress("fe80::1");
  ASSERT_TRUE(address);
  EXPECT_EQ(address->port, kRigctldPort);
  for (std::string_view bad : {"", "shack.local:4532", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:65536",
                               ":4532", "127.0.0.1:45x2", "[::1", "[::1]4532", "[127.0.0.1]:4532",
                               "127.0.0.1 FT8 RTTY", "127.0.0.1 ﾃﾞｰﾀ", "127.0.0.1 ABCDEFGHIJKLMNOPQ"}) {
    EXPECT_FALSE(ParseRigAddress(bad)) << bad;
  }
}

}  // namespace
}  // namespace vondal
