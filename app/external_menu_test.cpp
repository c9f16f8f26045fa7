#include "app/external_menu.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"

namespace vondal {
namespace {

namespace fs = std::filesystem;

class ExternalMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetKeySource(&terminal_);
    SetCurrentColorTable(DefaultColorTable());
    TheConsoleSwitches() = {};
    folder_ = fs::temp_directory_path() / ("vondal-ext-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    MenuEditText().clear();
  }
  void TearDown() override {
    SetKeySource(nullptr);
    fs::remove_all(folder_);
  }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::string Contents(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // One visit of the menu with `keys`; what it returned.
  int Menu(std::string_view keys) {
    terminal_.PushKeys(keys);
    return RunExternalMenu(run_);
  }
  std::string MessageLine() const {
    std::string row = terminal_.Row(22);
    return row.substr(0, row.find_last_not_of(' ') + 1);
  }

  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  RunState run_;
  fs::path folder_;
};

TEST_F(ExternalMenuTest, ShowsTheCurrentFileAndEnterGoesToTheEditor) {
  EXPECT_EQ(Menu("\r"), 'e');
  EXPECT_EQ(terminal_.Row(1).substr(0, 5), " 現在");
  EXPECT_EQ(terminal_.Row(2).substr(0, 4), "   -");
  EXPECT_EQ(terminal_.Row(23).substr(0, 9), "外部ﾌｧｲﾙ>");
  EXPECT_EQ(Menu("z"), 0);
}

TEST_F(ExternalMenuTest, WritesTheEditedTextClosesAndReadsItBack) {
  const std::string name = Path("ext.txt");
  ASSERT_LE(name.size(), kExternalNameBytes);
  EXPECT_EQ(Menu("W" + name + "\r"), 0);
  EXPECT_EQ(run_.external.mode(), 'W');
  // The prompt left the name in the text being edited; X and H write it out.
  Menu("X");
  Menu("H");
  EXPECT_EQ(run_.counters[kCountExternal], 2);
  EXPECT_EQ(Contents("ext.txt"), name + "\r\n" + HexEncode(name) + "\r\n");
  Menu("X");
  EXPECT_EQ(terminal_.Row(2).substr(0, 4 + name.size()), "   W" + name);
  Menu("C");
  EXPECT_FALSE(run_.external.isOpen());

  // R starts from the current name.
  Menu("R\r");
  EXPECT_EQ(run_.external.mode(), 'R');
  MenuEditText() = "something else";
  Menu("X");
  EXPECT_EQ(MenuEditText(), name);
  MenuEditText().clear();
  Menu("H");
  EXPECT_EQ(MenuEditText(), name);
  Menu("X");
  Menu("X");
  EXPECT_EQ(MessageLine(), "外部ﾌｧｲﾙの終端です");
  EXPECT_FALSE(run_.external.isOpen());
  EXPECT_EQ(terminal_.bells(), 0);
}

TEST_F(ExternalMenuTest, AFileThatCannotBeOpenedIsAskedForAgainUntilEsc) {
  terminal_.PushKeys("R" + Path("missing.txt") + "\r");
  terminal_.PushKey(CharacterKey(27));
  EXPECT_EQ(RunExternalMenu(run_), 0);
  EXPECT_EQ(MessageLine(), "外部ﾌｧｲﾙをｵｰﾌﾟﾝできません");
  EXPECT_FALSE(run_.external.isOpen());
  EXPECT_EQ(terminal_.KeysLeft(), 0u);
}

TEST_F(ExternalMenuTest, AccessWithoutAFileIsAnErrorAndViewingNeedsDeveloperMode) {
  Menu("x");
  EXPECT_EQ(MessageLine(), "外部ﾌｧｲﾙがありません");
  EXPECT_EQ(terminal_.bells(), 1);
  ASSERT_EQ(run_.external.Open('W', Path("v.txt")), "");
  EXPECT_EQ(Menu("S"), 0);  // not in developer mode: nothing happens
  EXPECT_TRUE(run_.external.isOpen());
}

}  // namespace
}  // namespace vondal
