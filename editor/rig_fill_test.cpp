#include "editor/rig_fill.h"

#include <gtest/gtest.h>

#include <deque>

#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "editor/edit_screen.h"
#include "editor/field_input.h"
#include "log/file_system.h"
#include "log/log_test_support.h"
#include "output/band_table.h"

namespace vondal {
namespace {

// A radio that gives the answers it was handed, one an ask, and counts the asks.
class FakeRig : public Rig {
 public:
  void Answer(int64_t hz, std::string mode) {
    RigAnswer answer;
    answer.reading = RigReading{.hz = hz, .mode = std::move(mode)};
    answers_.push_back(answer);
  }
  void Fail(std::string message) {
    answers_.push_back({.reading = std::nullopt, .message = std::move(message)});
  }

  RigAnswer Ask() override {
    ++asks;
    if (answers_.empty()) return {};
    RigAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  const RigStatus& Status() const override { return status; }

  int asks = 0;
  RigStatus status = [] {
    RigStatus s;
    s.address = "127.0.0.1:4532";
    s.dataMode = "FT8";
    return s;
  }();

 private:
  std::deque<RigAnswer> answers_;
};

TEST(RigFillTest, FrequencyInTheDigitsOfTheSelectArea) {
  EXPECT_EQ(RigFreqText(7025000, 3), "7.025");
  EXPECT_EQ(RigFreqText(14074000, 3), "14.074");
  EXPECT_EQ(RigFreqText(7199999, 3), "7.199") << "cut: 7.200 would lie outside the band";
  EXPECT_EQ(RigFreqText(475500, 3), "0.475");
  EXPECT_EQ(RigFreqText(1296100000, 1), "1296.1");
  EXPECT_EQ(RigFreqText(7025600, 5), "7.02560");
  EXPECT_EQ(RigFreqText(7025600, -1), "7.025") << "the integer part alone would be no frequency";
}

TEST(RigFillTest, ModesOfTheRadioAndTheDataModes) {
  InstallUserSegments({});
  EXPECT_EQ(RigModeText({.hz = 7025000, .mode = "CWR"}, "FT8"), "CW");
  EXPECT_EQ(RigModeText({.hz = 14200000, .mode = "USB"}, "FT8"), "SSB");
  EXPECT_EQ(RigModeText({.hz = 14074000, .mode = "PKTUSB"}, "FT8"), "FT8");
  EXPECT_EQ(RigModeText({.hz = 14074000, .mode = "D-STAR"}, "FT8"), "");
  EXPECT_EQ(RigModeText({.hz = 14074000, .mode = ""}, "FT8"), "");
  // The operator's `mode` map names the mode of a data mode's frequency, inside the bands.
  const Segment psk{14070, 14072, kModePSK31 + 1};
  const Segment outside{13000, 13999, kModeRTTY + 1};
  const Segment rtty{14073, 14099, kModeRTTY + 1};
  const Segment segments[] = {psk, outside, rtty};
  InstallUserSegments(segments);
  EXPECT_EQ(RigModeText({.hz = 14070500, .mode = "PKTUSB"}, "FT8"), "PSK31");
  EXPECT_EQ(RigModeText({.hz = 14074000, .mode = "USB-D"}, "FT4"), "RTTY");
  EXPECT_EQ(RigModeText({.hz = 13500000, .mode = "PKTUSB"}, "FT4"), "FT4");
  EXPECT_EQ(RigModeText({.hz = 14074000, .mode = "USB"}, "FT4"), "SSB") << "a plain mode stays itself";
  InstallUserSegments({});
}

TEST(RigFillTest, ANewRecordTakesTheRadioWhereFreqAndModeAreEmpty) {
  ResetFieldTable();
  FakeRig rig;
  EditorState editor;
  rig.Answer(7025000, "CW");
  EXPECT_EQ(FillNewRecordFromRig(&rig, editor), "");
  EXPECT_EQ(editor.working[FREQ], "7.025");
  EXPECT_EQ(editor.working[MODE], "CW");
  // A template's FREQ stays; MODE still comes from the radio.
  editor.working = Record{};
  editor.working[FREQ] = "7.000";
  rig.Answer(14074000, "PKTUSB");
  FillNewRecordFromRig(&rig, editor);
  EXPECT_EQ(editor.working[FREQ], "7.000");
  EXPECT_EQ(editor.working[MODE], "FT8");
  // Nothing to fill, or FREQ and MODE taken from the previous data (P): the radio is not asked.
  const int asks = rig.asks;
  FillNewRecordFromRig(&rig, editor);
  editor.working = Record{};
  ActiveFieldTable()[FREQ].attributes[kAutoFillSource] = 'P';
  ActiveFieldTable()[MODE].attributes[kAutoFillSource] = 'P';
  FillNewRecordFromRig(&rig, editor);
  EXPECT_EQ(rig.asks, asks);
  EXPECT_EQ(editor.working[FREQ], "");
  EXPECT_EQ(FillNewRecordFromRig(nullptr, editor), "") << "no rig";
  ResetFieldTable();
  // A radio that fails leaves both empty and says why.
  rig.Fail("ﾘｸﾞ応答なし");
  EXPECT_EQ(FillNewRecordFromRig(&rig, editor), "ﾘｸﾞ応答なし");
  EXPECT_EQ(editor.working[FREQ], "");
  EXPECT_EQ(editor.working[MODE], "");
}

class RigEndKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetKeySource(&terminal_);
    SetCurrentColorTable(DefaultColorTable());
    ResetFieldTable();
    ASSERT_EQ(logs_.log.OpenLog("T.VD"), "");
    context_.rig = &rig_;
  }
  void TearDown() override {
    SetKeySource(nullptr);
    ResetFieldTable();
  }
  int End(int field) { return AutoFill(context_, layout_, editor_, field); }
  std::string MessageLine() const { return terminal_.Row(22); }

  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  MemoryFileSystem fs_;
  testing::LogSet logs_{fs_};
  EditorContext context_{.log = logs_.log, .index = logs_.index};
  EditLayout layout_ = ComputeLayout(80, 25, DisplaySettings{});
  EditorState editor_;
  FakeRig rig_;
};

TEST_F(RigEndKeyTest, EndReadsTheRadioAgainOverWhatFreqKeeps) {
  editor_.working[FREQ] = "7.025";
  editor_.working[MODE] = "CW";
  rig_.Answer(14074000, "PKTUSB");
  EXPECT_EQ(End(FREQ), MODE);
  EXPECT_EQ(editor_.working[FREQ], "14.074");
  EXPECT_EQ(editor_.working[MODE], "CW") << "End in FREQ fills FREQ only";
  EXPECT_EQ(TheEditState().undelete, "7.025") << "the old text can be brought back";
  rig_.Answer(14074000, "PKTUSB");
  EXPECT_EQ(End(MODE), sRST);
  EXPECT_EQ(editor_.working[MODE], "FT8");
}

TEST_F(RigEndKeyTest, WithoutAValueFromTheRadioAutoFillsOwnRulesStand) {
  editor_.working[FREQ] = "7.025";
  rig_.Fail("ﾘｸﾞに接続できません");
  EXPECT_EQ(End(FREQ), MODE) << "rule S: FREQ keeps its text and the cursor moves on";
  EXPECT_EQ(editor_.working[FREQ], "7.025");
  EXPECT_EQ(MessageLine().substr(0, 19), "ﾘｸﾞに接続できません");
  // A mode the log has no word for: MODE follows the segment of FREQ.
  rig_.Answer(7025000, "SPEC");
  EXPECT_EQ(End(MODE), sRST);
  EXPECT_EQ(editor_.working[MODE], "CW");
  // A protected MODE (rule C) with a text is refused before the radio is asked.
  ActiveFieldTable()[MODE].attributes[kAutoFillPrecedence] = 'C';
  const int asks = rig_.asks;
  EXPECT_EQ(End(MODE), MODE);
  EXPECT_EQ(rig_.asks, asks);
  EXPECT_EQ(editor_.working[MODE], "CW");
  // Source P: the previous data, the radio not asked.
  ActiveFieldTable()[FREQ].attributes[kAutoFillSource] = 'P';
  ActiveFieldTable()[FREQ].attributes[kAutoFillPrecedence] = 'O';
  End(FREQ);
  EXPECT_EQ(rig_.asks, asks);
  EXPECT_EQ(editor_.working[FREQ], "");
}

}  // namespace
}  // namespace vondal
