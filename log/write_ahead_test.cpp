#include "log/write_ahead.h"

#include <gtest/gtest.h>

#include <cstring>

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

// The bytes a writer leaves for `intent` beside the log `name` as it is now.
std::string Identified(FileSystem& fs, const std::string& name, Intent intent) {
  auto file = fs.Open(name, OpenMode::kRead);
  IdentifyLog(*file, intent);
  return EncodeIntent(intent);
}

TEST(WriteAheadNameTest, HiddenBesideTheLogAndDistinctForEveryLog) {
  EXPECT_EQ(WriteAheadName("2024.VD"), ".2024.VDW");
  EXPECT_EQ(WriteAheadName("/home/ja1abc/logs.d/2024.VD"), "/home/ja1abc/logs.d/.2024.VDW");
  EXPECT_EQ(WriteAheadName("交信.VD"), ".交信.VDW");
  EXPECT_NE(WriteAheadName("a.VD"), WriteAheadName("a.VDW"));
}

TEST(IntentFormatTest, RoundTripsAndRefusesEveryTruncationAndEveryChangedByte) {
  Intent intent = PutRecord(20, 25 * kRecordSize, ImageOf("JA1ABC"));
  intent.old = ImageOf("JA1OLD");
  intent.identity = {0x01020304, 0xA0B0C0D0, 0xFFFFFFFE};
  const std::string bytes = EncodeIntent(intent);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(kWriteAheadSize));
  EXPECT_EQ(bytes.substr(0, 16), std::string("Vondal INTENT 2\x1A"));
  EXPECT_EQ(bytes.substr(440, 4), std::string("\x04\x03\x02\x01"));  // little-endian, as documented
  Intent back;
  ASSERT_TRUE(DecodeIntent(bytes.data(), bytes.size(), back));
  EXPECT_EQ(back.kind, IntentKind::kPutRecord);
  EXPECT_EQ(back.record, 20);
  EXPECT_EQ(back.sizeBefore, 5000);
  EXPECT_EQ(back.sizeAfter, 5000);
  EXPECT_EQ(back.image, intent.image);
  EXPECT_EQ(back.old, intent.old);
  EXPECT_EQ(back.identity, intent.identity);
  EXPECT_TRUE(back.identified);

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
  Intent odd{IntentKind::kUndoJoin, 0, 333, 533, {}};
  bytes = EncodeIntent(odd);
  EXPECT_FALSE(DecodeIntent(bytes.data(), bytes.size(), back));
  Intent emptyJoin{IntentKind::kUndoJoin, 0, 400, 400, {}};  // a join appends at least one record
  bytes = EncodeIntent(emptyJoin);
  EXPECT_FALSE(DecodeIntent(bytes.data(), bytes.size(), back));
}

// The first layout (244 bytes) of an earlier version: header, kind, record, sizes, image, CRC.
std::string FirstLayout(const Intent& intent) {
  std::string bytes = EncodeIntent(intent).substr(0, 240);
  bytes.replace(0, 16, "Vondal INTENT 1\x1A");
  uint32_t crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  crc = ~crc;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((crc >> (8 * i)) & 0xFF);
  return bytes;
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

  // Leaves the intent as a writer would have written it before changing L.VD as it is now.
  void Leave(Intent intent) {
    auto file = memory.Open("L.VD", OpenMode::kRead);
    ASSERT_TRUE(IdentifyLog(*file, intent));
    memory.SetContents(".L.VDW", EncodeIntent(intent));
  }

  // A log of `records` other contacts than MakeLog's, from record `from` on.
  std::string OtherLog(int records, int from = 0) {
    std::string other = log.substr(0, std::min<size_t>(log.size(), static_cast<size_t>(from) * kRecordSize));
    for (int i = from; i < records; ++i)
      other += Image(ValidRecord("JR6" + std::string(1, 'A' + i % 26) + "ZZ"));
    return other;
  }

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
  Intent intent = PutRecord(20, 25 * kRecordSize, image);
  std::memcpy(intent.old.data(), log.data() + 4000, kRecordSize);
  Leave(intent);
  // The first 96 bytes of the new version before the page boundary, the old 104 after it.
  std::string torn = log;
  torn.replace(4000, 96, image.data(), 96);
  memory.SetContents("L.VD", torn);
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
  const RecordImage first = ImageOf("JA1NEW");
  Leave({IntentKind::kUndoJoin, 0, 600, 600 + 5 * kRecordSize, first});
  memory.SetContents("L.VD", log + std::string(first.data(), 200) + std::string(first.data(), 50));
  EXPECT_EQ(Recover(), Recovery::kJoinUndone);
  EXPECT_EQ(memory.Contents("L.VD"), log);

  Leave({IntentKind::kUndoAppend, 0, 600, 800, first});
  memory.SetContents("L.VD", log + std::string(first.data(), 10));
  EXPECT_EQ(Recover(), Recovery::kAppendUndone);
  EXPECT_EQ(memory.Contents("L.VD"), log);
}

TEST_F(RecoveryTest, EveryStateOfItsOwnLogIsRecognised) {
  MakeLog(25);
  const RecordImage image = ImageOf("JA1NEW");
  Intent overwrite = PutRecord(20, 25 * kRecordSize, image);
  std::memcpy(overwrite.old.data(), log.data() + 4000, kRecordSize);
  std::string written = log;
  written.replace(4000, 200, image.data(), 200);
  std::string tornLate = log;  // the second page reached the disk, the first did not
  tornLate.replace(4096, 104, image.data() + 96, 104);
  for (const std::string& state : {log, written, tornLate}) {
    memory.SetContents("L.VD", log);
    Leave(overwrite);
    memory.SetContents("L.VD", state);
    EXPECT_EQ(Recover(), Recovery::kCompleted);
    EXPECT_EQ(memory.Contents("L.VD"), written);
  }
  // An append not begun, and one whose size reached the disk before its bytes (a power cut).
  const std::string appended = log + std::string(image.begin(), image.end());
  for (const std::string& state : {log, log + std::string(200, '\0')}) {
    memory.SetContents("L.VD", log);
    Leave(PutRecord(25, 25 * kRecordSize, image));
    memory.SetContents("L.VD", state);
    EXPECT_EQ(Recover(), Recovery::kCompleted);
    EXPECT_EQ(memory.Contents("L.VD"), appended);
  }
}

// A log put in place of the one an intent was written for (a restored backup, a copy from
// another machine) keeps every byte: same size, larger or smaller, for every kind of intent.
TEST_F(RecoveryTest, AnIntentIsNeverCarriedOutOnAnotherLog) {
  MakeLog(100);
  const RecordImage image = ImageOf("JA1NEW");
  const RecordImage first = ImageOf("JA1JOIN");
  Intent overwrite = PutRecord(50, 100 * kRecordSize, image);
  std::memcpy(overwrite.old.data(), log.data() + 50 * kRecordSize, kRecordSize);
  const Intent intents[] = {
      PutRecord(100, 100 * kRecordSize, image),
      overwrite,
      PutRecord(0, 0, image),
      {IntentKind::kUndoJoin, 0, 100 * kRecordSize, 200000 * kRecordSize, first},
      {IntentKind::kUndoAppend, 0, 100 * kRecordSize, 101 * kRecordSize, image},
  };
  for (const Intent& intent : intents) {
    for (const std::string& other : {OtherLog(100), OtherLog(101), OtherLog(150), OtherLog(99), OtherLog(1),
                                     OtherLog(150, 100), OtherLog(101, 100), OtherLog(100, 50)}) {
      if (intent.sizeBefore == 0) {
        memory.SetContents("L.VD", "");
      } else {
        memory.SetContents("L.VD", log);
      }
      Leave(intent);
      memory.SetContents("L.VD", other);
      EXPECT_EQ(Recover(), Recovery::kNotThisLog)
          << static_cast<int>(intent.kind) << " " << intent.record << " on " << other.size() / kRecordSize;
      EXPECT_EQ(memory.Contents("L.VD"), other);
      EXPECT_EQ(Recover(), Recovery::kNothing) << "discarded for good";
    }
  }
}

// The reproductions: a join killed on a log of 100 records, then a log of 150 copied over it;
// a record write killed on record 100, then another log of 101 records copied over it.
TEST_F(RecoveryTest, AKilledJoinOrWriteLeavesALogCopiedOverItAlone) {
  MakeLog(100);
  Leave({IntentKind::kUndoJoin, 0, 20000, 20000 + 200000 * kRecordSize, ImageOf("JA1CSV")});
  memory.SetContents("L.VD", OtherLog(150));
  EXPECT_EQ(Recover(), Recovery::kNotThisLog);
  EXPECT_EQ(memory.Contents("L.VD").size(), 150u * kRecordSize);

  MakeLog(100);
  Leave(PutRecord(100, 20000, ImageOf("JA1NEW")));
  memory.SetContents("L.VD", OtherLog(101));
  EXPECT_EQ(Recover(), Recovery::kNotThisLog);
  EXPECT_EQ(memory.Contents("L.VD"), OtherLog(101));
}

TEST_F(RecoveryTest, AnIntentOfTheFirstLayoutIsCarriedOutByItsSize) {
  MakeLog(20);
  const RecordImage image = ImageOf("JA1NEW");
  memory.SetContents(".L.VDW", FirstLayout(PutRecord(20, 4000, image)));
  memory.SetContents("L.VD", log + std::string(image.data(), 96));
  EXPECT_EQ(Recover(), Recovery::kCompleted);
  EXPECT_EQ(memory.Contents("L.VD"), log + std::string(image.begin(), image.end()));
  memory.SetContents(".L.VDW", FirstLayout(PutRecord(10, 2000, image)));
  EXPECT_EQ(Recover(), Recovery::kNotThisLog);
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
  EXPECT_EQ(Recover(), Recovery::kNotThisLog);
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
  memory.SetContents("A.VD", bytes);
  const std::string intent = Identified(memory, "A.VD", PutRecord(20, 4000, image));
  memory.SetContents("A.VD", bytes + std::string(image.data(), 96));
  memory.SetContents(".A.VDW", intent);
  safety.Configure("A.VDS");
  ASSERT_EQ(log.OpenLog("A.VD"), "");
  EXPECT_EQ(ui.notes[5], "中断された書込を完了しました");
  EXPECT_EQ(log.RecordCount(), 21);
  ASSERT_EQ(safety.CheckSafety(ui), "");
  log.JournalRepairedRecord();
  EXPECT_EQ(memory.Contents("A.VDS"), std::string(image.begin(), image.end()));
  // Journalled once only, even when the journal had it already.
  memory.SetContents("A.VD", bytes + std::string(image.data(), 96));
  memory.SetContents(".A.VDW", intent);
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
  log.CloseLog();  // killed
  LogFile next(faulty, counters, index, safety, ui);
  ASSERT_EQ(next.OpenLog("A.VD"), "");
  EXPECT_EQ(memory.Contents("A.VD"), bytes);
  EXPECT_EQ(ui.notes[5], "中断された書込を取消しました");
}

// Two programs on one log: the second reads it and changes nothing, not even the intent of the
// write the first one is making at that moment.
TEST(OneWriterTest, ASecondProgramOnAHeldLogOnlyReadsIt) {
  ResetFieldTable();
  MemoryFileSystem memory;
  std::string bytes;
  for (int i = 0; i < 40; ++i) bytes += Image(ValidRecord());
  memory.SetContents("A.VD", bytes);
  auto first = std::make_unique<testing::LogSet>(memory);
  first->safety.Configure("A.VDS");
  ASSERT_EQ(first->log.OpenLog("A.VD"), "");
  EXPECT_EQ(first->log.lockResult(), LockResult::kTaken);
  // The first program is between its intent and its write.
  const std::string intent = Identified(memory, "A.VD", PutRecord(40, 8000, ImageOf("JA1FIRST")));
  memory.SetContents(".A.VDW", intent);
  memory.SetContents("A.VDS", "half");
  memory.Open("A.VD", OpenMode::kUpdate)->WriteAt(8000, "half a record", 13);  // its append under way

  testing::LogSet second(memory);
  second.safety.Configure("A.VDS");
  second.log.options.writeProtect = false;
  ASSERT_EQ(second.log.OpenLog("A.VD"), "");
  EXPECT_TRUE(second.log.LockedElsewhere());
  second.safety.SetReadOnly(true);
  EXPECT_EQ(second.safety.CheckSafety(second.ui), "");
  EXPECT_EQ(second.log.RecordCount(), 40);
  EXPECT_EQ(memory.Contents(".A.VDW"), intent);
  EXPECT_EQ(memory.Contents("A.VDS"), "half");  // not even a torn tail is cut
  Record r = ValidRecord("JA2SECOND");
  EXPECT_EQ(second.log.WriteRecord(40, r).message, "書込禁止です");
  EXPECT_FALSE(second.log.BeginJoin(1, ImageOf("JA2JOIN")));
  EXPECT_EQ(second.safety.WriteMarker("marker"), 1);
  EXPECT_EQ(memory.Contents("A.VD"), bytes + "half a record");

  memory.SetContents("A.VDS", "");
  Record mine = ValidRecord("JA1FIRST");
  ASSERT_EQ(first->log.WriteRecord(40, mine).message, "");
  EXPECT_EQ(memory.Contents("A.VD"), bytes + Image(mine));

  // A reader under `readonly` keeps writers away too; once every program has gone, the log is
  // free again (the lock goes with its program).
  first.reset();
  testing::LogSet reader(memory);
  reader.log.options.writeProtect = true;
  ASSERT_EQ(reader.log.OpenLog("A.VD"), "");
  EXPECT_FALSE(reader.log.LockedElsewhere());
  testing::LogSet writer(memory);
  ASSERT_EQ(writer.log.OpenLog("A.VD"), "");
  EXPECT_TRUE(writer.log.LockedElsewhere());
}

TEST_F(LogWriteAheadTest, NewLogHasItsFolderSynced) {
  faulty.faults.crashAt = 2;  // the folder sync after creating the file
  EXPECT_EQ(log.OpenLog("A.VD"), "");
  EXPECT_TRUE(faulty.crashed());
}

}  // namespace
}  // namespace vondal
