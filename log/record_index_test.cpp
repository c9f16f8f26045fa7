#include "log/record_index.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "log/date_time.h"
#include "log/faulty_file_system.h"
#include "log/index_format.h"
#include "log/log_file.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

using testing::RecordingUi;
using testing::ValidRecord;

class RecordIndexTest : public ::testing::Test {
 protected:
  RecordIndexTest()
      : faulty(memory),
        index(counters),
        safety(memory, counters),
        log(memory, counters, index, safety, ui),
        buffer(kIndexBufferSize) {
    ResetFieldTable();
  }

  // A log of `n` records with CALLSIGNs of growing length (1 … 24 bytes) and distinct keys.
  void MakeLog(int n) {
    std::string bytes;
    for (int i = 0; i < n; ++i) {
      Record r = ValidRecord(std::string(1 + i % 24, 'A' + i % 26), "240305", "0000");
      char start[8];
      std::snprintf(start, sizeof start, "%02d%02d", i / 60 % 24, i % 60);
      r[START] = start;
      RecordImage image = EncodeRecord(r);
      bytes.append(image.begin(), image.end());
    }
    memory.SetContents("A.VD", bytes);
    ASSERT_EQ(log.OpenLog("A.VD"), "");
  }

  // Loads with a work area of exactly `bufferSize` bytes (its own allocation, so that the
  // sanitizer sees any overrun).
  std::string Load(size_t bufferSize = kIndexBufferSize) {
    index.Clear();
    counters = WriteCounters{};
    ui.lines.clear();
    std::vector<char> area(bufferSize);
    return index.LoadIndex("A.VDI", faulty, log, ui, area);
  }

  int Save(size_t bufferSize = kIndexBufferSize) {
    std::vector<char> area(bufferSize);
    return index.SaveIndex("A.VDI", faulty, ui, area);
  }

  bool Rebuilt() const { return ui.Line(9).rfind("ｲﾝﾃﾞｯｸｽ構築完了 ", 0) == 0; }
  bool Loaded() const { return ui.Line(9) == "ｲﾝﾃﾞｯｸｽ読込完了"; }

  // The expected entries, straight from the log.
  void ExpectMatchesLog() {
    ASSERT_EQ(index.size(), log.RecordCount());
    for (int n = 0; n < log.RecordCount(); ++n) {
      const RecordTexts& t = log.ReadRecord(n);
      ASSERT_EQ(index[n].key, DateTimeKey(t[DATE], t[START])) << n;
      ASSERT_EQ(std::string(index[n].callsign), t[CALLSIGN]) << n;
      ASSERT_EQ(index[n].recordNumber, n);
    }
  }

  MemoryFileSystem memory;
  FaultyFileSystem faulty;
  WriteCounters counters;
  RecordIndex index;
  SafetyFile safety;
  RecordingUi ui;
  LogFile log;
  std::vector<char> buffer;
};

TEST_F(RecordIndexTest, MissingIndexOfAnEmptyLogIsBuiltWithZero) {
  MakeLog(0);
  EXPECT_EQ(Load(), "");
  EXPECT_EQ(ui.Line(8), "ｲﾝﾃﾞｯｸｽ=A.VDI");
  EXPECT_EQ(ui.Line(9).substr(0, std::string("ｲﾝﾃﾞｯｸｽ構築完了 0").size()), "ｲﾝﾃﾞｯｸｽ構築完了 0");
}

TEST_F(RecordIndexTest, NoIndexFileConfiguredStillBuildsTheEntries) {
  MakeLog(5);
  EXPECT_EQ(index.LoadIndex("", memory, log, ui, buffer), "");
  EXPECT_EQ(ui.Line(8), "ｲﾝﾃﾞｯｸｽ=未設定");
  ExpectMatchesLog();
  EXPECT_EQ(index.SaveIndex("", memory, ui, buffer), 0);
  EXPECT_FALSE(memory.Exists("A.VDI"));
}

TEST_F(RecordIndexTest, SavedFileIsByteExactAndLoadsBack) {
  MakeLog(3);
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Rebuilt());
  ASSERT_EQ(Save(), 0);
  EXPECT_EQ(ui.reports, std::vector<std::string>{"ｲﾝﾃﾞｯｸｽ保存"});
  const int32_t key0 = DateTimeKey("240305", "0000");
  std::string expected("Vondal INDEX w01.010\x1A", 21);
  expected.push_back('\0');
  for (int n = 0; n < 3; ++n) {
    uint32_t word = static_cast<uint32_t>(key0 + n) | static_cast<uint32_t>(n + 1) << 26;
    for (int b = 0; b < 4; ++b) expected.push_back(static_cast<char>(word >> (8 * b)));
    expected.append(n + 1, 'A' + n);
  }
  EXPECT_EQ(memory.Contents("A.VDI"), expected);

  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Loaded());
  EXPECT_EQ(counters[kCountIndex], 0);  // loading changes nothing
  ExpectMatchesLog();
}

TEST_F(RecordIndexTest, UnchangedIndexIsNotSaved) {
  MakeLog(2);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  memory.Remove("A.VDI");
  ASSERT_EQ(Load(), "");  // rebuilt: counts Index again
  counters = WriteCounters{};
  EXPECT_EQ(Save(), 0);
  EXPECT_FALSE(memory.Exists("A.VDI"));
}

TEST_F(RecordIndexTest, TwentyFourByteCallsignRoundTripsAndTwentyFiveInvalidates) {
  MakeLog(24);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Loaded());
  EXPECT_EQ(std::string(index[23].callsign), std::string(24, 'X'));

  std::string file = memory.Contents("A.VDI");
  file[22 + 3] = static_cast<char>((25 << 2) & 0xFF);  // L = 25 in the first word's top bits
  memory.SetContents("A.VDI", file);
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Rebuilt());
  ExpectMatchesLog();
}

TEST_F(RecordIndexTest, OneEntryTooFewOrTooManyRebuilds) {
  MakeLog(4);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  const std::string good = memory.Contents("A.VDI");

  memory.SetContents("A.VDI", good.substr(0, good.size() - 4 - 4));  // drop the last entry
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Rebuilt());

  std::string longer = good;
  longer += std::string(
      "\x00\x00\x00\x04"
      "Z",
      5);
  memory.SetContents("A.VDI", longer);
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Rebuilt());
  ExpectMatchesLog();
}

TEST_F(RecordIndexTest, EveryTruncationRebuildsFromTheLog) {
  MakeLog(30);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  const std::string good = memory.Contents("A.VDI");
  for (size_t length = 0; length < good.size(); ++length) {
    memory.SetContents("A.VDI", good.substr(0, length));
    ASSERT_EQ(Load(64), "") << length;
    ASSERT_TRUE(Rebuilt()) << length;
    ExpectMatchesLog();
  }
}

TEST_F(RecordIndexTest, EverySingleByteChangeLoadsOrRebuildsWithoutHarm) {
  MakeLog(30);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  const std::string good = memory.Contents("A.VDI");
  for (size_t at = 0; at < good.size(); ++at) {
    for (int flip : {0x01, 0x80, 0xFF}) {
      std::string bad = good;
      bad[at] = static_cast<char>(bad[at] ^ flip);
      memory.SetContents("A.VDI", bad);
      ASSERT_EQ(Load(64), "") << at;
      ASSERT_TRUE(Loaded() || Rebuilt()) << at;
      ASSERT_EQ(index.size(), 30) << at;
      for (int n = 0; n < 30; ++n) ASSERT_LE(std::strlen(index[n].callsign), 24u);
    }
  }
}

TEST_F(RecordIndexTest, SmallBuffersSplitEntriesAcrossRefillsAndSaves) {
  MakeLog(200);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(64), 0);  // many partial writes
  const std::string smallSaved = memory.Contents("A.VDI");
  ASSERT_EQ(Save(), 0);
  EXPECT_EQ(memory.Contents("A.VDI"), smallSaved);
  for (size_t size : {64u, 65u, 97u, 1000u}) {
    ASSERT_EQ(Load(size), "");
    EXPECT_TRUE(Loaded()) << size;
    ExpectMatchesLog();
  }
}

TEST_F(RecordIndexTest, FailedSaveKeepsTheOldIndexFile) {
  MakeLog(50);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  const std::string old = memory.Contents("A.VDI");
  MakeLog(51);  // the file is now one entry short: rebuilt, and saved again at quit
  ASSERT_EQ(Load(), "");
  ASSERT_TRUE(Rebuilt());

  faulty.faults.shortWrite = faulty.writeCount + 2;  // the second piece of a 64-byte-buffer save
  ui.reports.clear();
  EXPECT_EQ(Save(64), 1);
  EXPECT_EQ(ui.reports.back(), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙに書込めません#0");
  EXPECT_EQ(memory.Contents("A.VDI"), old);

  faulty.faults = {};
  faulty.faults.failSync = true;
  EXPECT_EQ(Save(), 1);
  EXPECT_EQ(ui.reports.back(), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙに書込めません#1");
  EXPECT_EQ(memory.Contents("A.VDI"), old);

  faulty.faults = {};
  faulty.faults.failOpen = {"A.VDI.tmp~"};
  EXPECT_EQ(Save(), 1);
  EXPECT_EQ(ui.reports.back(), "ｲﾝﾃﾞｯｸｽﾌｧｲﾙをｵｰﾌﾟﾝできません");
  EXPECT_EQ(memory.Contents("A.VDI"), old);
  EXPECT_FALSE(memory.Exists("A.VDI.tmp~"));
}

// A run that is killed never saves its index: the file it loaded must not be trusted next time.
TEST_F(RecordIndexTest, IndexFileGoesBeforeTheFirstWriteThatChangesAnEntry) {
  MakeLog(30);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  ASSERT_EQ(Load(), "");
  ASSERT_TRUE(Loaded());

  Record r = ValidRecord(log.ReadRecord(4)[CALLSIGN].data(), "240305", "0004");
  r[REMARKS] = "only the remarks change";
  ASSERT_EQ(log.WriteRecord(4, r).message, "");
  EXPECT_TRUE(memory.Exists("A.VDI")) << "the entry is the same";

  // The process dies in the middle of a write that changes a CALLSIGN: the file is gone first.
  r[CALLSIGN] = "JA1NEW";
  faulty.faults.crashAt = faulty.changeCount + 3;  // removal, folder sync, then the intent
  log.CloseLog();
  LogFile dying(faulty, counters, index, safety, ui);
  ASSERT_EQ(dying.OpenLog("A.VD"), "");
  EXPECT_FALSE(dying.WriteRecord(4, r).message.empty());
  EXPECT_FALSE(memory.Exists("A.VDI"));

  faulty.faults = {};
  MakeLog(30);
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Rebuilt());
}

TEST_F(RecordIndexTest, RetiredFileIsSavedAgainEvenWhenTheWriteFailed) {
  MakeLog(5);
  ASSERT_EQ(Load(), "");
  ASSERT_EQ(Save(), 0);
  ASSERT_EQ(Load(), "");
  log.CloseLog();
  LogFile failing(faulty, counters, index, safety, ui);
  ASSERT_EQ(failing.OpenLog("A.VD"), "");
  faulty.faults.target = "A.VD";
  faulty.faults.failWrite = faulty.writeCount + 1;
  Record r = ValidRecord("JA1NEW");
  EXPECT_EQ(failing.WriteRecord(5, r).message, "ﾛｸﾞﾌｧｲﾙに書込めません");
  EXPECT_EQ(counters[kCountIndex], 0);
  EXPECT_FALSE(memory.Exists("A.VDI"));
  faulty.faults = {};
  EXPECT_EQ(Save(), 0);
  EXPECT_TRUE(memory.Exists("A.VDI"));
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Loaded());
}

TEST_F(RecordIndexTest, LeftoverOfAnInterruptedSaveIsRemovedAtStart) {
  MakeLog(3);
  memory.SetContents("A.VDI.tmp~", "half an index");
  ASSERT_EQ(Load(), "");
  EXPECT_FALSE(memory.Exists("A.VDI.tmp~"));
}

TEST_F(RecordIndexTest, LastMinuteOfTheWindowFitsTwentySixBits) {
  MakeLog(0);
  ASSERT_TRUE(index.SetIndexEntry(0, DateTimeKey("491231", "2359"), "JA1ABC", IndexMode::kBuild));
  ASSERT_EQ(Save(), 0);
  std::string file = memory.Contents("A.VDI");
  RecordIndex other(counters);
  // The log has no records, so only the raw word is checked.
  uint32_t word = static_cast<unsigned char>(file[22]) | static_cast<unsigned char>(file[23]) << 8 |
                  static_cast<unsigned char>(file[24]) << 16 |
                  static_cast<uint32_t>(static_cast<unsigned char>(file[25])) << 24;
  EXPECT_EQ(word & kIndexKeyMask, 52595999u);
  EXPECT_EQ(word >> 26, 6u);
}

// A record whose DATE is no date keeps the key it had before the restart: the saved word holds it
// whole. A word whose key lies past the window cannot describe any record, and the file is
// rebuilt.
TEST_F(RecordIndexTest, KeysOfUndatedRecordsSurviveARestartAndKeysPastTheWindowRebuild) {
  std::string bytes;
  for (const char* date : {"240101", "ABCDEF", " 40106", "２４０", "491231"})
    bytes += testing::Image(ValidRecord("JA1ABC", date));
  memory.SetContents("A.VD", bytes);
  ASSERT_EQ(log.OpenLog("A.VD"), "");
  ASSERT_EQ(Load(), "");
  ASSERT_TRUE(Rebuilt());
  ASSERT_EQ(Save(), 0);
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Loaded());
  ExpectMatchesLog();
  EXPECT_EQ(index[1].key, kUndatedKey);

  std::string file = memory.Contents("A.VDI");
  const uint32_t pastTheWindow = kMaxDateTimeKey + 1;
  for (int i = 0; i < 4; ++i) file[22 + i] = static_cast<char>(pastTheWindow >> (8 * i) & 0xFF);
  file[25] = static_cast<char>(file[25] | 6 << 2);  // L stays 6
  memory.SetContents("A.VDI", file);
  ASSERT_EQ(Load(), "");
  EXPECT_TRUE(Rebuilt());
  ExpectMatchesLog();
}

TEST_F(RecordIndexTest, WriteModeCountsOnlyRealChanges) {
  MakeLog(0);
  ASSERT_TRUE(index.SetIndexEntry(0, 100, "JA1ABC", IndexMode::kWrite));
  EXPECT_EQ(counters[kCountIndex], 1);  // new
  ASSERT_TRUE(index.SetIndexEntry(0, 100, "JA1ABC", IndexMode::kWrite));
  EXPECT_EQ(counters[kCountIndex], 1);
  ASSERT_TRUE(index.SetIndexEntry(0, 101, "JA1ABC", IndexMode::kWrite));
  ASSERT_TRUE(index.SetIndexEntry(0, 101, "JA1ABD", IndexMode::kWrite));
  EXPECT_EQ(counters[kCountIndex], 3);
  ASSERT_TRUE(index.SetIndexEntry(0, 101, "JA1ABD", IndexMode::kBuild));
  EXPECT_EQ(counters[kCountIndex], 4);
  ASSERT_TRUE(index.SetIndexEntry(1, 101, "JA1ABD", IndexMode::kLoad));
  EXPECT_EQ(counters[kCountIndex], 4);
  EXPECT_FALSE(index.SetIndexEntry(kIndexBlocks * kIndexBlockEntries, 0, "X", IndexMode::kLoad));
}

TEST_F(RecordIndexTest, OverlongCallsignIsCutWithoutSplittingACharacter) {
  MakeLog(0);
  ASSERT_TRUE(index.SetIndexEntry(0, 0, std::string(23, 'A') + "表示", IndexMode::kBuild));
  EXPECT_EQ(std::string(index[0].callsign), std::string(23, 'A'));
}

}  // namespace
}  // namespace vondal
