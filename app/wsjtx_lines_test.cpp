#include "app/wsjtx_lines.h"

#include <gtest/gtest.h>
#include <poll.h>

#include "app/info_screen.h"
#include "app/main_menu.h"
#include "app/memory_pool.h"
#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "console/key_watch.h"
#include "log/field_table.h"
#include "log/log_test_support.h"
#include "station/wsjtx_test_support.h"

namespace vondal {
namespace {

class WsjtxLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AttachConsole(&screen_, &terminal_);
    SetKeySource(&terminal_);
    SetCurrentColorTable(DefaultColorTable());
    TheConsoleSwitches() = {};
    TheInfoPage() = {};
    ResetFieldTable();
    CreateLocalPool();  // quit takes the index buffer from the temporary pool
    run_.settings.log = folder_.Path("T.VD");
    ASSERT_EQ(run_.log.OpenLog(folder_.Path("T.VD")), "");
    run_.settings.wsjtx = "127.0.0.1:" + std::to_string(port_);
  }
  void TearDown() override {
    SetKeySource(nullptr);
    run_.wsjtxWatch.reset();
  }

  // The start-up line of live logging (row offset 12, origin row 1).
  std::string Line() {
    StartWsjtx(run_, 12);
    const std::string_view row = screen_.RowText(13);
    return std::string(row.substr(11, row.find_last_not_of(' ') - 10));
  }

  testing::TemporaryFolder folder_;
  int port_ = wsjtx_test::FreeUdpPort();
  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  RunState run_;
};

TEST_F(WsjtxLinesTest, AContactArrivingAtTheMainMenuIsWrittenAndCountedOnPageC) {
  EXPECT_EQ(Line(), "WSJT-X=127.0.0.1:" + std::to_string(port_) + " 受信中");
  ASSERT_NE(TheKeyWatch(), nullptr);
  wsjtx_test::Sender sender(port_);
  ASSERT_TRUE(sender.Send(wsjtx_test::LoggedAdif(wsjtx_test::AdifOf("JA1ABC", {}))));
  pollfd ready{run_.wsjtx->Descriptor(), POLLIN, 0};
  ASSERT_EQ(poll(&ready, 1, 2000), 1);
  terminal_.PushKeys("IC");  // the contact is written at the first key wait; then page C
  terminal_.PushKey(CharacterKey(27));
  terminal_.PushKeys("Q");
  EXPECT_EQ(RunMainMenu(run_), 0);
  EXPECT_EQ(run_.log.RecordCount(), 1);
  EXPECT_EQ(run_.log.ReadRecord(0)[CALLSIGN], "JA1ABC");
  // Page C, behind the menu, counts it.
  std::string page;
  for (int row = 2; row < 22; ++row) page += terminal_.Row(row) + "\n";
  EXPECT_NE(page.find("□WSJT-X"), std::string::npos) << page;
  EXPECT_NE(page.find(" 受信1 記録1 重複0 破棄0 未記録0"), std::string::npos) << page;
}

TEST_F(WsjtxLinesTest, ARunThatCannotWriteTheLogDoesNotListen) {
  run_.settings.toggles.readonly = true;  // the toggle, or another program holds the log
  EXPECT_EQ(Line(), "WSJT-X=127.0.0.1:" + std::to_string(port_) + " ﾛｸﾞ書込禁止のため受信しません");
  EXPECT_EQ(run_.wsjtx->Descriptor(), -1);
  EXPECT_EQ(TheKeyWatch(), nullptr);
  run_.settings.toggles.readonly = false;
  run_.settings.logtime = "EST";
  EXPECT_EQ(Line(), "WSJT-X=127.0.0.1:" + std::to_string(port_) + " logtimeの値が不適当です(JSTかUTC): EST");
  run_.settings.logtime = "";
  run_.settings.wsjtx = "wsjtx.local";
  EXPECT_EQ(Line(), "WSJT-X=wsjtx.local WSJT-Xのｱﾄﾞﾚｽが不適当です");
  EXPECT_EQ(TheKeyWatch(), nullptr);
}

}  // namespace
}  // namespace vondal
