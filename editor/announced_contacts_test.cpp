// Contacts announced by WSJT-X while the record editor waits for keys: they are written between
// keys, and whatever the operator is doing goes on as it was.
#include <gtest/gtest.h>

#include <string>

#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "console/key_watch.h"
#include "editor/editor.h"
#include "editor/editor_state.h"
#include "log/file_system.h"
#include "log/log_test_support.h"
#include "macro/macro_player.h"
#include "station/wsjtx_test_support.h"

namespace vondal {
namespace {

// A key that stands for "a contact arrives here": the key source below takes it out of the keys
// and hands the listener the next datagram instead, as the socket would between two keys.
constexpr int kArrival = kExtendedKey + 0xF0;

class AnnouncedContactsTest : public ::testing::Test, public KeySource, public KeyWatch {
 protected:
  void SetUp() override {
    ResetFieldTable();
    SetCurrentColorTable(DefaultColorTable());
    AttachConsole(&screen_, &terminal_);
    SetKeySource(this);
    SetKeyWatch(this);
    ThePlayer().Reset();
    TheEditor() = EditorState{};
    ASSERT_EQ(set_.log.OpenLog("A.VD"), "");
    for (int i = 0; i < 5; ++i) {
      Record r = testing::ValidRecord("JA" + std::to_string(i) + "OLD", "240301", "120" + std::to_string(i));
      ASSERT_TRUE(set_.log.WriteRecord(i, r).written);
    }
  }
  void TearDown() override {
    SetKeyWatch(nullptr);
    SetKeySource(nullptr);
  }

  // Runs the editor over the keys, then `leave`, with `datagrams` arriving at the kArrival keys.
  void Run(std::vector<std::string> datagrams, std::string_view leave = "\x1bQ") {
    datagrams_ = std::move(datagrams);
    terminal_.PushKeys(leave);
    EditorContext context{.log = set_.log, .index = set_.index, .callsign = "JA1ZZZ"};
    context.wsjtx = &listener_;
    EXPECT_EQ(RunEditor(context), 0);
    EXPECT_EQ(terminal_.KeysLeft(), 0u);
  }
  void Arrive() { terminal_.PushKey(ExtendedKey(kArrival - kExtendedKey)); }

  static std::string Contact(const std::string& call, int minute) {
    return wsjtx_test::LoggedAdif(wsjtx_test::AdifOf(call, {2024, 3, 5, 0, minute, 0}));
  }

  KeyEvent ReadKey() override {
    for (;;) {
      const KeyEvent key = terminal_.ReadKey();
      if (key.code != kArrival) return key;
      listener_.Take(datagrams_.at(arrived_++));
    }
  }
  int Descriptor() const override { return -1; }
  void Receive() override {}
  int DueInMs() const override { return listener_.DueInMs(); }

  MemoryFileSystem fs_;
  testing::LogSet set_{fs_};
  WsjtxListener listener_{"127.0.0.1:2237", TimeZone::kJst};
  Screen screen_{80, 25};
  FakeTerminal terminal_{80, 25};
  std::vector<std::string> datagrams_;
  size_t arrived_ = 0;
};

TEST_F(AnnouncedContactsTest, TheSelectAreaKeepsItsCursorOnItsRecord) {
  terminal_.PushKeys("\x1bS");  // Select mode: the cursor on the last line, record 4
  terminal_.PushKey(ExtendedKey(scan::kUp));
  terminal_.PushKey(ExtendedKey(scan::kUp));  // record 2
  Arrive();
  terminal_.PushKey(CharacterKey(13));  // record 2 goes into the edit area
  Run({Contact("JH1AAA", 1)});
  EXPECT_EQ(set_.log.RecordCount(), 6);
  EXPECT_EQ(set_.log.ReadRecord(5)[CALLSIGN], "JH1AAA");
  EXPECT_EQ(TheEditor().current, 2) << "the cursor stayed on the record it was on";
  EXPECT_EQ(TheEditor().list.current(), 5) << "the list, shown to its end, shows the contact";
}

TEST_F(AnnouncedContactsTest, TheEditorMenuStaysAndSaysWhatWasWritten) {
  terminal_.PushKey(CharacterKey(27));
  Arrive();
  Run({Contact("JH1AAA", 1)}, "Q");  // the menu took the Q: it was still open
  EXPECT_EQ(set_.log.RecordCount(), 6);
  EXPECT_EQ(terminal_.Row(22).find("WSJT-X: JH1AAA 記録しました"), 0u);
}

TEST_F(AnnouncedContactsTest, TheRecordTypedStaysNewAndTheKeyMacroRecordsOnlyKeys) {
  terminal_.PushKey(CharacterKey(0x11));  // Ctrl+Q: the key macro records
  terminal_.PushKeys("JA1");
  Arrive();
  terminal_.PushKeys("AB");
  Arrive();
  terminal_.PushKeys("C");
  terminal_.PushKey(CharacterKey(0x11));
  Run({Contact("JH1AAA", 1), Contact("JH2BBB", 2)});
  EXPECT_EQ(std::string(ThePlayer().KeyMacro()), "JA1ABC");
  EXPECT_EQ(TheEditor().working[CALLSIGN], "JA1ABC");
  EXPECT_EQ(TheEditor().current, 7) << "still a new record, behind the two contacts";
  EXPECT_EQ(set_.log.ReadRecord(6)[CALLSIGN], "JH2BBB");
}

TEST_F(AnnouncedContactsTest, AContactWaitsWhileAReplaceAsksForItsStrings) {
  terminal_.PushKeys("JA1");
  terminal_.PushKey(CharacterKey(0x12));  // Ctrl+R: replace all asks for two strings
  Arrive();
  terminal_.PushKeys("1\r");
  terminal_.PushKeys("2\r");
  Run({Contact("JH1AAA", 1)});
  EXPECT_EQ(TheEditor().working[CALLSIGN], "JA2");
  EXPECT_EQ(set_.log.ReadRecord(5)[CALLSIGN], "JH1AAA") << "written once the field took keys again";
  EXPECT_EQ(terminal_.bells(), 0);
}

}  // namespace
}  // namespace vondal
