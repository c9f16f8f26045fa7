#include "app/main_menu.h"

#include <gtest/gtest.h>

#include "app/command_prompt.h"
#include "app/memory_pool.h"
#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"

namespace vondal {
namespace {

class MainMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetKeySource(&terminal_);
    SetCurrentColorTable(DefaultColorTable());
    TheConsoleSwitches() = {};
    CreateLocalPool();  // quit takes the index buffer from the temporary pool
    run_.settings.log = "T.VD";
  }
  void TearDown() override { SetKeySource(nullptr); }

  std::string MenuLine() const { return terminal_.Row(23); }

  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  RunState run_;
};

TEST(MainMenuLine, HidesItemsThatAreNotAvailable) {
  EXPECT_EQ(MainMenuLine(false, true), " E編集 R閲覧 J結合読込 Sｿｰﾄ C色 Mﾏｸﾛ T加工 X外部ﾌｧｲﾙ I情報 P Q終了");
  EXPECT_EQ(MainMenuLine(false, false), " E編集 R閲覧 J結合読込 Sｿｰﾄ C色 Mﾏｸﾛ T加工 X外部ﾌｧｲﾙ I情報!P Q終了");
  EXPECT_EQ(MainMenuLine(true, true), "!E編集 R閲覧!J結合読込!Sｿｰﾄ C色 Mﾏｸﾛ T加工 X外部ﾌｧｲﾙ I情報 P Q終了");
}

TEST_F(MainMenuTest, JoinGivenUpWithEscAndQuitEndsWithStatusZero) {
  terminal_.PushKeys("j");  // the join read asks for its file: Esc gives up
  terminal_.PushKey(CharacterKey(27));
  terminal_.PushKeys("q");
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_EQ(terminal_.Row(22).substr(0, 8), "正常終了");
  EXPECT_TRUE(terminal_.cursorVisible());
  EXPECT_EQ(terminal_.cursorRow(), 23);
}

TEST_F(MainMenuTest, UnknownKeysBeepAndPNeedsDeveloperMode) {
  terminal_.PushKeys("zP");
  terminal_.PushKey(CharacterKey(27));
  terminal_.PushKeys("?");  // Esc ? turns the guide off
  terminal_.PushKeys("Q");
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_EQ(terminal_.bells(), 2);
  EXPECT_FALSE(TheConsoleSwitches().guide);
}

TEST_F(MainMenuTest, EscBangTurnsDeveloperModeOnAndShowsP) {
  terminal_.PushKey(CharacterKey(27));
  terminal_.PushKeys("!");
  terminal_.PushKey(ExtendedKey(0x48));  // a key the menu ignores, to see the line drawn again
  terminal_.PushKeys("Q");
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_TRUE(TheConsoleSwitches().authorsuse);
}

TEST_F(MainMenuTest, DiehardQuitsOnlyOnEnter) {
  run_.settings.toggles.diehard = true;
  terminal_.PushKeys("Qx");  // x: back to the menu
  terminal_.PushKeys("Q");
  terminal_.PushKey(CharacterKey(13));
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_EQ(terminal_.KeysLeft(), 0u);
}

TEST_F(MainMenuTest, ReadonlyIgnoresJoinAndSort) {
  run_.settings.toggles.readonly = true;
  terminal_.PushKeys("JSQ");
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_EQ(terminal_.bells(), 0);
  EXPECT_EQ(MenuLine().substr(0, 5), "R閲覧");
}

TEST(CommandPrompt, DollarZeroAndOneStandForTheLogAndTheSafetyFile) {
  EXPECT_EQ(SubstitutePaths("cp $0 $1 && ls $0", "A.VD", "A.VDS"), "cp A.VD A.VDS && ls A.VD");
  EXPECT_EQ(SubstitutePaths("echo $2 $$", "A.VD", "A.VDS"), "echo $2 $$");
  EXPECT_EQ(SubstitutePaths("x$0$0", "$0", "B"), "x$0$0");  // a path holding "$0" is not expanded again
}

}  // namespace
}  // namespace vondal
