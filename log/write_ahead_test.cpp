#include "log/write_ahead.h"

#include <gtest/gtest.h>

#include "log/faulty_file_system.h"
#include "log/log_file.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

using testing::Image;
using testing::RecordingUi;
using testing::ValidRecord;

RecordImage ImageOf(const std::string& callsign) { return EncodeRecord(ValidRecord(callsign)); }

Intent PutRecord(int n, int64_t sizeBefore, const RecordImage& image) {
  return {IntentKind::kPutRecord, n, sizeBefore, std::max<int64_t>(sizeBefore, (n + 1) * kRecordSize), image};
}

TEST(WriteAheadNameTest, HiddenBesideTheLogAndDistinctForEveryLog) {
  EXPECT_EQ(WriteAheadName("2024.VD"), ".2024.VDW");
  EXPECT_EQ(WriteAheadName("/home/ja1abc/logs.d/2024.VD"), "/home/ja1abc/logs.d/.2024.VDW");
  EXPECT_EQ(WriteAheadName("交信.VD"), ".交信.VDW");
  EXPECT_NE(WriteAheadName("a.VD"), WriteAheadName("a.VDW"));
}

TEST(IntentFormatTest, RoundTripsAndRefusesEveryTruncationAndEveryChangedByte) {
  const Intent intent = PutRecord(20, 20 * kRecordSize, ImageOf("JA1ABC"));
  const std::string bytes = EncodeIntent(intent);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(kWriteAheadSize));
  EXPECT_EQ(bytes.substr(0, 16), std::string("Vondal INTENT 1\x1A"));
  Intent back;
  ASSERT_TRUE(DecodeIntent(bytes.data(), bytes.size(), back));
  EXPECT_EQ(back.kind, IntentKind::kPutRecord);
  EXPECT_EQ(back.record, 20);
  EXPECT_EQ(back.sizeBefore, 4000);
  EXPECT_EQ(back.sizeAfter, 4200);
  EXPECT_EQ(back.image, intent.image);

  for (size_t size = 0; size < bytes.size(); ++size)
    EXPECT_FALSE(DecodeIntent(bytes.data(), size, back)) << size;
  for (size_t at = 0; at < bytes.size(); ++at) {
    std::string changed = bytes;
    changed[at] ^= 0x5A;
    EXPECT_FALSE(DecodeIntent(changed.data(), changed.size(), back)) << at;
  }
}

TEST(IntentFormatTest, RefusesIntentsNoWriterMakes) {
  Intent back;
  Intent beyond = PutRecord(5, 2 * kRecordSize, ImageOf("JA1ABC"));  // a record past the end + 1
  std::string bytes = EncodeIntent(beyond);
  EXPECT_FALSE(DecodeIntent(bytes.data(), bytes.size(), back));
  Intent odd{IntentKind::kUndoJoin, 0, 333, 333, {}};
  bytes = EncodeIntent(odd);
  EXPECT_FALSE(DecodeIntent(bytes.data(), bytes.size(), back));
}

class RecoveryTest : public ::testing::Test {
 protected:
  RecoveryTest() { ResetFieldTable(); }

  void MakeLog(int records) {
    log.clear();
    for (int i = 0; i < records; ++i) log += Image(ValidRecord("JA1A" + std::string(1, 'A' + i % 26)));
    memory.SetContents("L.VD", log);
  }

  Recovery Recover(Intent* completed = nullptr) {
    WriteAhead ahead(memory);
    ahead.Attach("L.VD");
    auto file = memory.Open("L.VD", OpenMode::kUpdate);
    return ahead.Recover(*file, completed);
  }

  void Leave(const Intent& intent) { memory.SetContents(".L.VDW", EncodeIntent(intent)); }

  MemoryFileSystem memory;
  std::string log;
};

TEST_F(RecoveryTest, TornAppendIsCompletedOnceAndForAll) {
  MakeLog(20);
  const RecordImage image = ImageOf("JA1NEW");
  Leave(PutRecord(20, 4000, image));
  // Killed between the pages: the record's first 96 bytes reached the file.
  memory.SetContents("L.VD", log + std::string(image.data(), 96));
  Intent completed;
  EXPECT_EQ(Recover(&completed), Recovery::kCompleted);
  EXPECT_EQ(completed.image, image);
  const std::string expected = log + std::string(image.begin(), image.end());
  EXPECT_EQ(memory.Contents("L.VD"), expected);
  // Cleared: opening again changes nothing.
  EXPECT_EQ(Recover(), Recovery::kNothing);
  EXPECT_EQ(memory.Contents("L.VD"), expected);
}

TEST_F(RecoveryTest, TornOverwriteIsCompletedAndCarryingItOutTwiceChangesNothing) {
  MakeLog(25);
  const RecordImage image = ImageOf("JA1NEW");
  const Intent intent = PutRecord(20, 25 * kRecordSize, image);
  // The first 96 bytes of the new version before the page boundary, the old 104 after it.
  std::string torn = log;
  torn.replace(4000, 96, image.data(), 96);
  memory.SetContents("L.VD", torn);
  Leave(intent);
  EXPECT_EQ(Recover(), Recovery::kCompleted);
  std::string expected = log;
  expected.replace(4000, 200, image.data(), 200);
  EXPECT_EQ(memory.Contents("L.VD"), expected);
  Leave(intent);  // as if the clear never reached the disk
  EXPECT_EQ(Recover(), Recovery::kCompleted);
  EXPECT_EQ(memory.Contents("L.VD"), expected);
}

TEST_F(RecoveryTest, InterruptedJoinAndFailedAppendAreCutBack) {
  MakeLog(3);
  memory.SetContents("L.VD", log + std::string(450, 'x'));
  Leave({IntentKind::kUndoJoin, 0, 600, 600, {}});
  EXPECT_EQ(Recover(), Recovery::kJoinUndone);
  EXPECT_EQ(memory.Contents("L.VD"), log);

  memory.SetContents("L.VD", log + "half a rec");
  Leave({IntentKind::kUndoAppend, 0, 600, 600, {}});
  EXPECT_EQ(Recover(), Recovery::kAppendUndone);
  EXPECT_EQ(memory.Contents("L.VD"), log);
}

TEST_F(RecoveryTest, TornClearedOrForeignIntentsLeaveTheLogAlone) {
  MakeLog(30);
  std::string torn = EncodeIntent(PutRecord(30, 6000, ImageOf("JA1NEW")));
  torn.resize(100);
  memory.SetContents(".L.VDW", torn);
  EXPECT_EQ(Recover(), Recovery::kNothing);
  EXPECT_EQ(memory.Contents("L.VD"), log);

  // An intent for a log of 10 records, found beside a log that was replaced by one of 30.
  Leave(PutRecord(10, 2000, ImageOf("JA1NEW")));
  EXPECT_EQ(Recover(), Recovery::kNothing);
  EXPECT_EQ(memory.Contents("L.VD"), log);
  Leave({IntentKind::kUndoJoin, 0, 8000, 8000, {}});
  EXPECT_EQ(Recover(), Recovery::kNothing);
  EXPECT_EQ(memory.Contents("L.VD"), log);
}

TEST_F(RecoveryTest, IntentThatCannotBeCarriedOutStopsTheOpen) {
  MakeLog(2);
  FaultyFileSystem faulty(memory);
  faulty.faults.failSync = true;
  Leave(PutRecord(2, 400, ImageOf("JA1NEW")));
  WriteAhead ahead(faulty);
  ahead.Attach("L.VD");
  auto file = faulty.Open("L.VD", OpenMode::kUpdate);
  EXPECT_EQ(ahead.Recover(*file), Recovery::kFailed);
  // Kept for the next try.
  Intent kept;
  const std::string bytes = memory.Contents(".L.VDW");
  EXPECT_TRUE(DecodeIntent(bytes.data(), bytes.size(), kept));
}

// The log's own use of the write-ahead record.
class LogWriteAheadTest : public ::testing::Test {
 protected:
  LogWriteAheadTest() { ResetFieldTable(); }

  MemoryFileSystem memory;
  FaultyFileSystem faulty{memory};
  testing::LogSet set{faulty};
  WriteCounters& counters = set.counters;
  RecordIndex& index = set.index;
  SafetyFile& safety = set.safety;
  RecordingUi& ui = set.ui;
  LogFile& log = set.log;
};

TEST_F(LogWriteAheadTest, OpeningSaysWhatWasRepairedAndJournalsACompletedRecord) {
  std::string bytes;
  for (int i = 0; i < 20; ++i) bytes += Image(ValidRecord());
  const RecordImage image = ImageOf("JA1NEW");
  memory.SetContents("A.VD", bytes + std::string(image.data(), 96));
  memory.SetContents(".A.VDW", EncodeIntent(PutRecord(20, 4000, image)));
  safety.Configure("A.VDS");
  ASSERT_EQ(log.OpenLog("A.VD"), "");
  EXPECT_EQ(ui.notes[5], "中断された書込を完了しました");
  EXPECT_EQ(log.RecordCount(), 21);
  ASSERT_EQ(safety.CheckSafety(ui), "");
  log.JournalRepairedRecord();
  EXPECT_EQ(memory.Contents("A.VDS"), std::string(image.begin(), image.end()));
  // Journalled once only, even when the journal had it already.
  memory.SetContents("A.VD", bytes + std::string(image.data(), 96));
  memory.SetContents(".A.VDW", EncodeIntent(PutRecord(20, 4000, image)));
  ASSERT_EQ(log.OpenLog("A.VD"), "");
  log.JournalRepairedRecord();
  EXPECT_EQ(memory.Contents("A.VDS").size(), 200u);
}

TEST_F(LogWriteAheadTest, IntentIsDurableBeforeTheLogIsTouchedAndClearedAfter) {
  ASSERT_EQ(log.OpenLog("A.VD"), "");
  // The intent cannot be written, or not synced: the log stays untouched.
  for (int breakWhat = 0; breakWhat < 2; ++breakWhat) {
    faulty.faults = {};
    faulty.faults.target = ".A.VDW";
    if (breakWhat == 0) faulty.faults.failWrite = faulty.writeCount + 1;
    if (breakWhat == 1) faulty.faults.failSyncAt = faulty.syncCount + 1;
    Record r = ValidRecord();
    EXPECT_EQ(log.WriteRecord(0, r).message, "ﾛｸﾞﾌｧｲﾙに書込めません") << breakWhat;
    EXPECT_EQ(memory.Contents("A.VD"), "") << breakWhat;
    Intent left;
    const std::string bytes = memory.Contents(".A.VDW");
    EXPECT_FALSE(DecodeIntent(bytes.data(), bytes.size(), left)) << breakWhat;
  }
  faulty.faults = {};
  Record r = ValidRecord();
  ASSERT_EQ(log.WriteRecord(0, r).message, "");
  Intent left;
  const std::string bytes = memory.Contents(".A.VDW");
  EXPECT_FALSE(DecodeIntent(bytes.data(), bytes.size(), left)) << "cleared after the write";
}

TEST_F(LogWriteAheadTest, AFailedAppendThatCannotBeCutBackIsUndoneAtTheNextStart) {
  std::string bytes = Image(ValidRecord()) + Image(ValidRecord());
  memory.SetContents("A.VD", bytes);
  ASSERT_EQ(log.OpenLog("A.VD"), "");
  faulty.faults.target = "A.VD";
  faulty.faults.shortWrite = faulty.writeCount + 1;
  faulty.faults.failTruncate = true;
  Record r = ValidRecord("JA1NEW");
  EXPECT_EQ(log.WriteRecord(2, r).message, "ﾛｸﾞﾌｧｲﾙに書込めません");
  EXPECT_EQ(memory.Contents("A.VD").size(), 500u);  // half a record is stuck at the end
  faulty.faults = {};
  LogFile next(faulty, counters, index, safety, ui);
  ASSERT_EQ(next.OpenLog("A.VD"), "");
  EXPECT_EQ(memory.Contents("A.VD"), bytes);
  EXPECT_EQ(ui.notes[5], "中断された書込を取消しました");
}

TEST_F(LogWriteAheadTest, NewLogHasItsFolderSynced) {
  faulty.faults.crashAt = 2;  // the folder sync after creating the file
  EXPECT_EQ(log.OpenLog("A.VD"), "");
  EXPECT_TRUE(faulty.crashed());
}

}  // namespace
}  // namespace vondal
