// The colour sets between the main menu, the colour editor and quit.
#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/memory_pool.h"
#include "app/run_state.h"
#include "color/color_editor.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

class ColorQuitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetKeySource(&terminal_);
    TheConsoleSwitches() = {};
    TheColorEditorMemory() = {};
    CreateLocalPool();  // quit takes the index buffer from the temporary pool
    run_.settings.log = "T.VD";
  }
  void TearDown() override {
    SetKeySource(nullptr);
    SetCurrentColorTable(DefaultColorTable());
  }

  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  testing::TemporaryFolder folder_;
  RunState run_;
};

TEST_F(ColorQuitTest, AColourChangedInTheEditorIsWrittenAtQuit) {
  const std::string name = folder_.Path("C.VDC");
  run_.colors.Load(name);
  ASSERT_EQ(run_.colors.Save(), "");  // the default set, as a new file
  run_.colors.Load(name);
  terminal_.PushKeys("@F\tqq");  // the colour editor, Title's foreground bright, Tab (the processing menu), quit
  EXPECT_EQ(RunMainMenu(run_), 0);
  const std::string saved = testing::TemporaryFolder::Read(name);
  ASSERT_EQ(saved.size(), 400u);
  EXPECT_EQ(static_cast<uint8_t>(saved[200]), 0xF9);
  EXPECT_NE(terminal_.Dump().find("配色保存"), std::string::npos);
}

TEST_F(ColorQuitTest, NothingChangedWritesNothing) {
  const std::string name = folder_.Path("C.VDC");
  testing::TemporaryFolder::Write(name, "not a colour file");
  run_.colors.Load(name);
  terminal_.PushKeys("c\tqq");
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_EQ(testing::TemporaryFolder::Read(name), "not a colour file");
}

TEST_F(ColorQuitTest, AColourFileThatCannotBeWrittenIsAskedAboutBeforeLeaving) {
  run_.colors.Load(folder_.Path("no-such-folder/C.VDC"));  // missing: the default set, to be written
  terminal_.PushKeys("qx");  // the save fails; any key but Q goes back to the menu
  terminal_.PushKeys("qq");
  EXPECT_EQ(RunMainMenu(run_), 1);
  EXPECT_NE(terminal_.Dump().find("色ﾌｧｲﾙを書込ｵｰﾌﾟﾝできません"), std::string::npos);
  EXPECT_NE(terminal_.Dump().find("ﾒﾆｭｰへ戻って配色またはﾏｸﾛを別名保存しますか"), std::string::npos);
  EXPECT_TRUE(run_.colors.NeedsSave());
}

}  // namespace
}  // namespace vondal
