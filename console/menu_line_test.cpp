#include "console/menu_line.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "console/fake_terminal.h"
#include "console/key_source.h"

namespace vondal {
namespace {

constexpr uint8_t kKey = 0xF9;
constexpr uint8_t kLabel = 0x71;

class MenuLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetKeySource(&terminal_);
    TheConsoleColors() = {kKey, kLabel, 0x0C, 0x0C, 0x0F};
    TheConsoleSwitches() = {};
  }
  void TearDown() override { SetKeySource(nullptr); }

  // The menu line as text and as one letter per cell: K key, L label, P path, . plain.
  std::string MenuText() const { return terminal_.Row(23).substr(0, 40); }
  std::string MenuAttrs() const {
    std::string out;
    for (int col = 0; col < 40; ++col) {
      uint8_t attr = terminal_.Attr(23, col);
      out.push_back(attr == kKey     ? 'K'
                    : attr == kLabel ? 'L'
                    : attr == 0x07   ? '.'
                    : attr == 0x17   ? 'P'
                                     : '?');
    }
    return out;
  }

  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
};

TEST_F(MenuLineTest, ItemsWithoutPathStartAtColumnZero) {
  EXPECT_EQ(ShowMenu(" E編集 R閲覧"), 11);
  EXPECT_EQ(MenuText(), "E編集 R閲覧" + std::string(29, ' '));
  EXPECT_EQ(MenuAttrs().substr(0, 12), "KLLLL.KLLLL.");
  EXPECT_FALSE(terminal_.cursorVisible());
}

TEST_F(MenuLineTest, KeyNamesAndJoinedItems) {
  ShowMenu("$Enter$戻る Q終了");
  EXPECT_EQ(MenuText().substr(0, 16), "Enter戻る Q終了 ");
  EXPECT_EQ(MenuAttrs().substr(0, 16), "KKKKKLLLL.KLLLL.");

  ShowMenu(">検索> =_[_]_\\_$Space$_,_._;_:ｺｰﾙｻｲﾝ");
  EXPECT_EQ(MenuText().substr(0, 36), "検索> =_[_]_\\_Space_,_._;_:ｺｰﾙｻｲﾝ   ");
  EXPECT_EQ(MenuAttrs().substr(0, 36), "PPPPP.K.K.K.K.KKKKK.K.K.K.KLLLLLL...");
}

TEST_F(MenuLineTest, PathIsDrawnReversedAndHiddenItemsAreSkipped) {
  ShowMenu(">確認> $何かｷｰを押してください$");
  EXPECT_EQ(terminal_.Attr(23, 0), 0x17);  // reverse of the label colour 0x71
  EXPECT_EQ(MenuText().substr(0, 8), "確認> 何");
  ShowMenu(" E編集!R閲覧 Q終了");
  EXPECT_EQ(MenuText().substr(0, 12), "E編集 Q終了 ");
}

TEST_F(MenuLineTest, AShorterMenuLeavesNothingOfALongerOne) {
  ShowMenu(" Aaaaaaaaaaaaaaaa");
  ShowMenu(" Bb");
  EXPECT_EQ(MenuText(), "Bb" + std::string(38, ' '));
}

TEST_F(MenuLineTest, LabelsStepOverTwoByteCharactersWhoseSecondByteLooksLikeASeparator) {
  // ソ is 0x83 0x5C and ア 0x83 0x41; 0x5F as a trail byte is "_": ゾ is 0x83 0x5D, ＿ is 0x81 0x51.
  ShowMenu(" Xソース_Y");
  EXPECT_EQ(MenuText().substr(0, 10), "Xソース_Y ");
}

TEST_F(MenuLineTest, NumberedMessagesShowTheirNumberOnlyInDeveloperMode) {
  ShowMessage("1a)ﾃﾞｰﾀが不適当です");
  EXPECT_EQ(terminal_.Row(22).substr(0, 16), "ﾃﾞｰﾀが不適当です");
  EXPECT_EQ(terminal_.Attr(22, 0), 0x0C);
  TheConsoleSwitches().authorsuse = true;
  ShowMessage("1a)ﾃﾞｰﾀが不適当です");
  EXPECT_EQ(terminal_.Row(22).substr(0, 19), "1a)ﾃﾞｰﾀが不適当です");
}

TEST_F(MenuLineTest, WaitAnyKeyFollowsTheGuide) {
  terminal_.PushKeys("x");
  EXPECT_EQ(WaitAnyKey().code, 'x');
  EXPECT_EQ(MenuText().substr(0, 10), "確認> 何か");
  TheConsoleSwitches().guide = false;
  terminal_.PushKeys("y");
  WaitAnyKey();
  EXPECT_EQ(MenuText(), "確認>" + std::string(35, ' '));
}

TEST_F(MenuLineTest, RejectKeyBeepsOnlyWhenSoundIsOnAndNeverForEsc) {
  RejectKey('z');
  EXPECT_EQ(terminal_.bells(), 1);
  RejectKey(27);
  EXPECT_EQ(terminal_.bells(), 1);
  TheConsoleSwitches().sound = false;
  RejectKey('z');
  EXPECT_EQ(terminal_.bells(), 1);
  // A lone lead byte takes its stray trail byte with it.
  terminal_.PushKeys("q");
  RejectKey(0x8A);
  EXPECT_EQ(terminal_.KeysLeft(), 0u);
}

TEST_F(MenuLineTest, ReportLinesStepDownFromRowOne) {
  ReportLine("", -1);
  ReportLine("ｲﾝﾃﾞｯｸｽ保存", 1);
  ReportLine("配色保存", 2);
  ReportLine("end", 1);
  EXPECT_EQ(terminal_.Row(1).substr(0, 12), " ｲﾝﾃﾞｯｸｽ保存");
  EXPECT_EQ(terminal_.Row(2).substr(0, 9), " 配色保存");
  EXPECT_EQ(terminal_.Row(4).substr(0, 4), " end");
  EXPECT_EQ(terminal_.Attr(1, 1), 0x0F);
}

}  // namespace
}  // namespace vondal
