// The macro store and its file, byte for byte: loading with the start choice, the new
// store, writing with its zero-fill, join-read, resize, assignment, reload and restore.
#include "macro/macro_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "log/faulty_file_system.h"
#include "log/log_test_support.h"
#include "macro/macro_notation.h"
#include "macro/macro_player.h"

namespace vondal {
namespace {

using namespace macro_format;

// A file of `records` records: record n holds the text "T<n>" and the comment "C<n>" (record 0
// the file comment "file"), every other byte zero.
std::string FileOf(int records) {
  std::string bytes(records * kRecordBytes, '\0');
  for (int n = 0; n < records; ++n) {
    const std::string text = "T" + std::to_string(n);
    const std::string comment = n == 0 ? "file" : "C" + std::to_string(n);
    bytes.replace(n * kRecordBytes, text.size(), text);
    bytes.replace(n * kRecordBytes + kCommentOffset, comment.size(), comment);
  }
  return bytes;
}

class MacroFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ThePlayer().Reset(); }

  // Loads `setting` at start-up into a new store.
  MacroLoad Load(std::string_view setting) {
    store = std::make_unique<MacroStore>();
    return LoadMacrosAtStart(fs, setting, *store, ui);
  }
  std::string Saved(const std::string& name = "M.VDM") {
    EXPECT_EQ(WriteMacroFile(fs, name, *store), "");
    return fs.Contents(name);
  }

  MemoryFileSystem fs;
  testing::RecordingUi ui;
  std::unique_ptr<MacroStore> store;
};

TEST_F(MacroFileTest, AFileOfTenRecordsLoadsAsTenMacros) {
  fs.SetContents("M.VDM", FileOf(10));
  EXPECT_EQ(Load("M.VDM").fatal, "");
  EXPECT_EQ(store->Count(), 10);
  EXPECT_EQ(store->TextView(9), "T9");
  EXPECT_EQ(store->Comment(0), "file");
  EXPECT_EQ(ui.Line(4), "ﾏｸﾛ=M.VDM");
  EXPECT_FALSE(store->Modified());
  EXPECT_EQ(Saved(), FileOf(10));
}

TEST_F(MacroFileTest, AbnormalAndTooLargeFilesEndTheStartAndUnreadableOnesToo) {
  fs.SetContents("M.VDM", FileOf(11));  // 3,520 bytes
  EXPECT_EQ(Load("M.VDM").fatal, "ﾏｸﾛﾌｧｲﾙが異常です");
  fs.SetContents("M.VDM", "");
  EXPECT_EQ(Load("M.VDM").fatal, "ﾏｸﾛﾌｧｲﾙが異常です");
  fs.SetContents("M.VDM", FileOf(110));
  EXPECT_EQ(Load("M.VDM").fatal, "ﾏｸﾛﾌｧｲﾙが大きすぎます");
  // A file that is there but cannot be read is no missing file: a new store saved at the end
  // would replace it.
  fs.SetContents("M.VDM", FileOf(10));
  FaultyFileSystem faulty(fs);
  faulty.faults.failOpen = {"M.VDM"};
  MacroStore other;
  EXPECT_EQ(LoadMacrosAtStart(faulty, "M.VDM", other, ui).fatal, "ﾏｸﾛﾌｧｲﾙを読込めません");
  EXPECT_EQ(fs.Contents("M.VDM"), FileOf(10));
}

TEST_F(MacroFileTest, AFullFileLoadsAndNothingJoinsIt) {
  fs.SetContents("M.VDM", FileOf(100));
  EXPECT_EQ(Load("M.VDM").fatal, "");
  EXPECT_EQ(store->Count(), 100);
  fs.SetContents("J.VDM", FileOf(10));
  EXPECT_EQ(ReadMacroFile(fs, "J.VDM", *store), kMacroFileTooLarge);
  EXPECT_EQ(store->Count(), 100);
}

TEST_F(MacroFileTest, AMissingFileGivesTheNewStore) {
  const MacroLoad load = Load("/p/Vondal.VDM#05");
  EXPECT_EQ(load.fatal, "");
  EXPECT_EQ(load.fileName, "/p/Vondal.VDM");
  EXPECT_EQ(ui.Line(4), "新ﾏｸﾛ=/p/Vondal.VDM");
  EXPECT_TRUE(store->Modified());
  const std::string file = Saved();
  ASSERT_EQ(file.size(), 20u * kRecordBytes);
  EXPECT_EQ(file.substr(kCommentOffset, kFileCommentBytes),
            std::string("新規マクロファイル") + std::string(32 - 18, '\0'));
  EXPECT_EQ(file[kNewStoreOffset], 1);
  EXPECT_EQ(file.substr(19 * kRecordBytes, StandardLabelMacro().size()), StandardLabelMacro());
  EXPECT_EQ(file.substr(19 * kRecordBytes + kCommentOffset, 21), std::string(kStandardLabelComment) + '\0');
  // Everything else is zero.
  std::string rest = file;
  rest.replace(kCommentOffset, 18, 18, '\0');
  rest[kNewStoreOffset] = 0;
  rest.replace(19 * kRecordBytes, kRecordBytes, kRecordBytes, '\0');
  EXPECT_EQ(rest, std::string(file.size(), '\0'));
}

TEST_F(MacroFileTest, TheStartChoiceNamesTheStartMacro) {
  std::string file = FileOf(10);
  file.replace(3 * kRecordBytes + kCommentOffset, 9, "ｺﾝﾃｽﾄ用FD");
  file.replace(7 * kRecordBytes + kCommentOffset, 6, "FD_end");
  file[kSlotsOffset] = 4;  // the header's initialization macro
  fs.SetContents("M.VDM", file);
  struct Case {
    const char* setting;
    int start;
  } cases[] = {
      {"M.VDM", 4},     {"M.VDM#05", 5},   {"M.VDM#00", 0},   {"M.VDM#10", 0}, {"M.VDM#\"FD\"", 3},
      {"M.VDM#FD_", 7}, {"M.VDM#\"FD", 0}, {"M.VDM#\"\"", 0}, {"M.VDM#用", 3}, {"M.VDM#nothing", 0},
  };
  for (const Case& c : cases) {
    Load(c.setting);
    EXPECT_EQ(store->TakeStartMacro(), c.start) << c.setting;
  }
}

TEST_F(MacroFileTest, WritingZeroFillsBehindEveryTextAndCommentButKeepsTheHeader) {
  fs.SetContents("M.VDM", std::string(10 * kRecordBytes, '\0'));
  Load("M.VDM");
  store->SetText(7, "abc");
  store->SetComment(0, "head");
  store->Assign(5, FunctionKeySlot(1));
  const std::string file = Saved();
  EXPECT_EQ(file.substr(7 * kRecordBytes, kTextBytes), "abc" + std::string(253, '\0'));
  EXPECT_EQ(file.substr(kCommentOffset, 32), "head" + std::string(28, '\0'));
  EXPECT_EQ(file[kSlotsOffset + 2], 5);

  // Bytes the buffer holds behind a zero (a shorter text written over a longer one, header
  // bytes that came in as an ordinary record) are not written.
  store->SetText(7, "abcdef");
  store->SetText(7, "x");
  EXPECT_EQ(Saved().substr(7 * kRecordBytes, kTextBytes), "x" + std::string(255, '\0'));
}

TEST_F(MacroFileTest, JoinReadAppendsEveryRecordAsAMacroAndHeaderBytesAsAComment) {
  fs.SetContents("M.VDM", FileOf(10));
  Load("M.VDM");
  std::string joined = FileOf(10);
  joined[kSlotsOffset] = 3;  // header bytes behind the file comment
  joined[kNewStoreOffset] = 1;
  fs.SetContents("J.VDM", joined);
  EXPECT_EQ(ReadMacroFile(fs, "J.VDM", *store), "");
  EXPECT_EQ(store->Count(), 20);
  EXPECT_EQ(store->TextView(10), "T0");
  EXPECT_EQ(store->Comment(10), "file");
  const std::string file = Saved();
  EXPECT_EQ(file.substr(10 * kRecordBytes + kCommentOffset, kCommentBytes), "file" + std::string(60, '\0'));
  EXPECT_EQ(file.substr(0, 10 * kRecordBytes), FileOf(10));
  EXPECT_EQ(MacroFileName("sub.d/J"), "sub.d/J.VDM");
}

TEST_F(MacroFileTest, TextsAndCommentsWithoutTheirZeroEndInsideTheirRecord) {
  fs.SetContents("M.VDM", std::string(10 * kRecordBytes, 'x'));
  EXPECT_EQ(Load("M.VDM").fatal, "");
  EXPECT_EQ(store->TextView(3).size(), 255u);
  EXPECT_EQ(store->Comment(3).size(), 63u);
  EXPECT_EQ(store->Comment(0).size(), 31u);
  EXPECT_EQ(std::string_view(store->Text(9)).size(), 255u);  // the player stops there too
}

TEST_F(MacroFileTest, ShrinkingDropsOnlyEmptyTextsAndClearsTheirSlots) {
  fs.SetContents("M.VDM", std::string(30 * kRecordBytes, '\0'));
  Load("M.VDM");
  store->SetComment(25, "comment only");
  store->SetText(12, "kept");
  store->Assign(25, FunctionKeySlot(0));
  store->Assign(20, FunctionKeySlot(9));
  store->Assign(12, kInitializationSlot);
  store->SetText(22, "x");
  EXPECT_EQ(store->Resize(20), kShrinkRefused);
  EXPECT_EQ(store->Count(), 30);
  store->SetText(22, "");
  EXPECT_EQ(store->Resize(20), "");
  EXPECT_EQ(store->SlotMacro(FunctionKeySlot(0)), 0);
  EXPECT_EQ(store->SlotMacro(FunctionKeySlot(9)), 0);
  EXPECT_EQ(store->SlotMacro(kInitializationSlot), 12);
  EXPECT_EQ(Saved().size(), 20u * kRecordBytes);
  // Growing again: the texts come back empty, the comments as the buffer holds them.
  store->SetText(25, "");
  EXPECT_EQ(store->Resize(30), "");
  EXPECT_EQ(store->Comment(25), "comment only");
}

TEST_F(MacroFileTest, AMacroStandsInOneSlotAtMost) {
  fs.SetContents("M.VDM", FileOf(10));
  Load("M.VDM");
  store->Assign(4, FunctionKeySlot(0));
  store->Assign(4, FunctionKeySlot(1));
  EXPECT_EQ(store->SlotMacro(FunctionKeySlot(0)), 0);
  EXPECT_EQ(store->SlotMacro(FunctionKeySlot(1)), 4);
  EXPECT_EQ(store->SlotOf(4), FunctionKeySlot(1));
  store->Assign(4, kClearSlot);
  EXPECT_EQ(store->SlotOf(4), -1);
  EXPECT_EQ(SlotName(kInitializationSlot), "初期化");
  EXPECT_EQ(SlotName(FunctionKeySlot(2)), "  F3  ");
  EXPECT_EQ(SlotName(FunctionKeySlot(15)), " S･F8 ");
}

TEST_F(MacroFileTest, ReloadGoesBackToTheFileAndRestoreToTheEntry) {
  fs.SetContents("M.VDM", FileOf(10));
  Load("M.VDM");
  store->SetText(1, "changed before entry");
  store->Changed();
  store->TakeOnEntry();
  store->SetText(1, "changed in the editor");
  store->Resize(20);
  store->Restore();
  EXPECT_EQ(store->Count(), 10);
  EXPECT_EQ(store->TextView(1), "changed before entry");
  EXPECT_TRUE(store->Modified());
  store->Reload();
  EXPECT_EQ(store->TextView(1), "T1");
  EXPECT_FALSE(store->Modified());
}

TEST_F(MacroFileTest, TheEndSavesOnlyAChangedStoreWithAName) {
  fs.SetContents("M.VDM", FileOf(10));
  Load("M.VDM");
  fs.Remove("M.VDM");
  EXPECT_EQ(SaveMacrosAtEnd(fs, "M.VDM", *store, ui), "");
  EXPECT_FALSE(fs.Exists("M.VDM"));
  store->Changed();
  EXPECT_EQ(SaveMacrosAtEnd(fs, "", *store, ui), "");
  EXPECT_EQ(SaveMacrosAtEnd(fs, "M.VDM", *store, ui), "");
  EXPECT_THAT(ui.reports, ::testing::ElementsAre("ﾏｸﾛ保存"));
  EXPECT_EQ(fs.Contents("M.VDM").size(), 10u * kRecordBytes);
}

}  // namespace
}  // namespace vondal
