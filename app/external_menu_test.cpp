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
#include "macro/edit_state.h"

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
    TheEditState().text.clear();
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
  TheEditState().text = "something else";
  Menu("X");
  EXPECT_EQ(TheEditState().text, name);
  TheEditState().text.clear();
  Menu("H");
  EXPECT_EQ(TheEditState().text, name);
  Menu("X");
  Menu("X");
  EXPECT_EQ(MessageLine(), "外部ﾌｧｲﾙの終端です");
  EXPECT_FALSE(run_.external.isOpen());
  EXPECT_EQ(terminal_.bells(), 0);
}

// Hands out the terminal's keys and notes what the message line said when each was asked for.
class MessageWatch : public KeySource {
 public:
  explicit MessageWatch(FakeTerminal& terminal) : terminal_(terminal) {}
  KeyEvent ReadKey() override {
    std::string row = terminal_.Row(22);
    seen.push_back(row.substr(0, row.find_last_not_of(' ') + 1));
    return terminal_.ReadKey();
  }
  std::vector<std::string> seen;

 private:
  FakeTerminal& terminal_;
};

TEST_F(ExternalMenuTest, AFileThatCannotBeOpenedIsAskedForAgainUntilEsc) {
  MessageWatch watch(terminal_);
  SetKeySource(&watch);
  terminal_.PushKeys("R" + Path("missing.txt") + "\r");
  terminal_.PushKey(CharacterKey(27));
  EXPECT_EQ(RunExternalMenu(run_), 0);
  // The refusal stands on the message line (beside the editor's figures) while the name is
  // asked for again.
  ASSERT_FALSE(watch.seen.empty());
  EXPECT_EQ(watch.seen.back().rfind("外部ﾌｧｲﾙをｵｰﾌﾟﾝできません   ", 0), 0u) << watch.seen.back();
  EXPECT_EQ(terminal_.bells(), 1);
  EXPECT_FALSE(run_.external.isOpen());
  EXPECT_EQ(terminal_.KeysLeft(), 0u);
  SetKeySource(&terminal_);
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
