#include "editor/log_sort.h"

#include <gtest/gtest.h>

#include <map>

#include "log/faulty_file_system.h"
#include "log/log_test_support.h"

namespace vondal {
namespace {

using testing::Image;
using testing::LogSet;
using testing::ValidRecord;

constexpr char kLog[] = "/qso/2024.VD";

class KeptRows : public WorkRows {
 public:
  void Put(int row, int col, std::string_view text) override {
    rows[row] += std::to_string(col) + ":" + std::string(text) + " ";
  }
  std::map<int, std::string> rows;
};

// A log of contacts given as (date, start, call sign), opened with its index built.
class SortTest : public ::testing::Test {
 protected:
  void Make(const std::vector<std::array<const char*, 3>>& contacts) {
    std::string bytes;
    for (const auto& c : contacts) bytes += Image(ValidRecord(c[2], c[0], c[1]));
    memory.SetContents(kLog, bytes);
    ASSERT_EQ(set.log.OpenLog(kLog), "");
    std::vector<char> buffer(4096);
    ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
  }
  SortResult Sort() {
    SortContext context{
        .fs = faulty, .log = set.log, .index = set.index, .safety = &set.safety, .counters = set.counters};
    context.follow = [this](const std::vector<int32_t>& newPosition) { followed = newPosition; };
    return SortLog(context, rows);
  }
  std::vector<std::string> Calls() {
    std::vector<std::string> calls;
    for (int n = 0; n < set.log.RecordCount(); ++n) calls.emplace_back(set.log.ReadRecord(n)[CALLSIGN]);
    return calls;
  }

  MemoryFileSystem memory;
  FaultyFileSystem faulty{memory};
  LogSet set{faulty};
  KeptRows rows;
  std::vector<int32_t> followed;
};

TEST_F(SortTest, ReversalsAreCountedAgainstThePredecessor) {
  Make({{"240101", "1000", "JA1A"},
        {"240101", "0900", "JA1B"},
        {"240102", "0000", "JA1C"},
        {"231231", "2359", "JA1D"},
        {"231231", "2359", "JA1E"}});
  EXPECT_EQ(CountReversals(set.index, set.log.RecordCount()), 2);
  Make({{"240101", "1000", "JA1A"}, {"240101", "1000", "JA1B"}});
  EXPECT_EQ(CountReversals(set.index, set.log.RecordCount()), 0);
}

// Joined records may carry a DATE or START that is no date or time. One sort puts them in order
// for good: a second count finds nothing to sort, and they stand at the head of the log, where
// contacts written later never fall behind them.
TEST_F(SortTest, RecordsWithoutADateSettleAfterOneSort) {
  Make({{"240101", "1000", "JA1A"},
        {" 40106", "1000", "JA1B"},
        {"240102", "0900", "JA1C"},
        {"ABCDEF", "0900", "JA1D"},
        {"２４０", "1000", "JA1E"},
        {"240103", "12AB", "JA1F"},
        {"500101", "0000", "JA1G"}});
  EXPECT_EQ(CountReversals(set.index, set.log.RecordCount()), 2);
  ASSERT_TRUE(Sort().sorted);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"JA1B", "JA1D", "JA1E", "JA1F", "JA1G", "JA1A", "JA1C"}));
  EXPECT_EQ(CountReversals(set.index, set.log.RecordCount()), 0);
  // The index built from the sorted log says the same.
  std::vector<char> buffer(4096);
  ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
  EXPECT_EQ(CountReversals(set.index, set.log.RecordCount()), 0);
}

TEST_F(SortTest, LogIsRewrittenInOrderWithEqualKeysInLogOrderAndTheOldLogAsBackup) {
  Make({{"240301", "1200", "JA1A"},
        {"240101", "0900", "JA1B"},
        {"240301", "1200", "JA1C"},
        {"991231", "2359", "JA1D"},
        {"240101", "0900", "JA1E"},
        {"000101", "0000", "JA1F"}});
  set.index[0].mark = 1;  // JA1A is marked, JA1D remembered in channel 3
  set.index[3].memories = 8;
  const std::string old = memory.Contents(kLog);
  set.safety.Configure("/qso/2024.VDS");

  const SortResult result = Sort();
  ASSERT_TRUE(result.sorted);
  EXPECT_EQ(result.fatal, "");
  EXPECT_EQ(result.backup, "/qso/2024~01.VD");
  EXPECT_EQ(memory.Contents("/qso/2024~01.VD"), old);
  EXPECT_FALSE(memory.Exists(std::string("/qso/") + kSortTemporaryName));
  EXPECT_FALSE(memory.Exists(std::string("/qso/") + kSortBackupTemporaryName));
  // 1999 comes before 2000 and 2024; JA1B before JA1E and JA1A before JA1C as in the log.
  EXPECT_EQ(Calls(), (std::vector<std::string>{"JA1D", "JA1F", "JA1B", "JA1E", "JA1A", "JA1C"}));
  EXPECT_EQ(memory.Contents(kLog).size(), old.size());
  for (int n = 0; n < 6; ++n) {
    EXPECT_EQ(set.index[n].recordNumber, n);
    EXPECT_EQ(std::string(set.index[n].callsign), Calls()[n]);
  }
  EXPECT_EQ(CountReversals(set.index, 6), 0);
  EXPECT_EQ(set.index[4].mark, 1);
  EXPECT_EQ(set.index[0].memories, 8);
  EXPECT_EQ(followed, (std::vector<int32_t>{4, 2, 5, 0, 3, 1}));
  EXPECT_EQ(set.counters[kCountLogSort], 1);
  // The journal's time record names the backup without its folder.
  const std::string journal = memory.Contents("/qso/2024.VDS");
  ASSERT_EQ(journal.size(), 200u);
  EXPECT_NE(journal.find("＜日時順ソート＞元データ=2024~01.VD"), std::string::npos);
  EXPECT_EQ(rows.rows[11], "1:元ﾃﾞｰﾀ保存名= 14:/qso/2024~01.VD ");
  EXPECT_EQ(rows.rows[13], "1:完了 ");
  // The reopened log reads the new order.
  EXPECT_EQ(set.log.ReadRecord(0)[DATE], "991231");
  // The sorted log took the lock over from the old one: another program still only reads the
  // log, while the backup is nobody's.
  LogSet second(memory);
  ASSERT_EQ(second.log.OpenLog(kLog), "");
  EXPECT_TRUE(second.log.LockedElsewhere());
  LogSet backup(memory);
  ASSERT_EQ(backup.log.OpenLog("/qso/2024~01.VD"), "");
  EXPECT_FALSE(backup.log.LockedElsewhere());
}

TEST_F(SortTest, BackupNumberIsTheHighestPlusOneAndNinetyNineIsReplaced) {
  EXPECT_EQ(BackupName("a/b.c/LOG.VD", 8), "a/b.c/LOG~08.VD");
  EXPECT_EQ(BackupName("a.b/LOG", 1), "a.b/LOG~01.VD");
  memory.SetContents("/qso/2024~01.VD", "one");
  memory.SetContents("/qso/2024~07.VD", "seven");
  EXPECT_EQ(NextBackupNumber(memory, kLog), 8);
  Make({{"240102", "0000", "JA1A"}, {"240101", "0000", "JA1B"}});
  const std::string old = memory.Contents(kLog);
  EXPECT_EQ(Sort().backup, "/qso/2024~08.VD");
  EXPECT_EQ(memory.Contents("/qso/2024~08.VD"), old);
  EXPECT_EQ(memory.Contents("/qso/2024~07.VD"), "seven");

  memory.SetContents("/qso/2024~99.VD", "ninety-nine");
  EXPECT_EQ(NextBackupNumber(memory, kLog), 99);
  Make({{"240102", "0000", "JA1C"}, {"240101", "0000", "JA1D"}});
  const std::string unsorted = memory.Contents(kLog);
  EXPECT_EQ(Sort().backup, "/qso/2024~99.VD");
  EXPECT_EQ(memory.Contents("/qso/2024~99.VD"), unsorted);
}

TEST_F(SortTest, FacesAndListsFollowTheirContacts) {
  EditorState editor;
  editor.faces[2].record = 5;
  editor.faces[3].record = -1;
  editor.list.records = {-2, -1, 0, 5};
  editor.current = 5;
  FollowSortedRecords(editor, {5, 4, 3, 2, 1, 0});
  EXPECT_EQ(editor.faces[2].record, 0);
  EXPECT_EQ(editor.faces[3].record, -1);
  EXPECT_EQ(editor.list.records, (std::vector<int>{-2, -1, 5, 0}));
  EXPECT_EQ(editor.current, 0);
  editor.current = 6;  // the new record stays new
  FollowSortedRecords(editor, {5, 4, 3, 2, 1, 0});
  EXPECT_EQ(editor.current, 6);
}

TEST_F(SortTest, FailuresAtEveryStepLeaveLogIndexAndBackupsAsTheyWere) {
  const std::string temporary = std::string("/qso/") + kSortTemporaryName;
  struct Case {
    const char* name;
    std::function<void(FaultyFileSystem::Faults&)> fault;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"open", [&](auto& f) { f.failOpen = {temporary}; }, "1:一時ﾌｧｲﾙをｵｰﾌﾟﾝできないので中断 "},
      {"write", [&](auto& f) { f.target = temporary, f.failWrite = 1; }, "1:一時ﾌｧｲﾙに書込めないので中断 "},
      {"full", [&](auto& f) { f.target = temporary, f.spaceLeft = 300; }, "1:一時ﾌｧｲﾙに書込めないので中断 "},
      {"sync", [&](auto& f) { f.target = temporary, f.failSync = true; }, "1:一時ﾌｧｲﾙに書込めないので中断 "},
      {"rename", [&](auto& f) { f.failRename = true; }, "1:元ﾃﾞｰﾀを保存できないので中断 "},
      {"replace", [&](auto& f) { f.failRenameTo = kLog; }, "1:ﾛｸﾞﾌｧｲﾙを置換えられないので中断 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    faulty.faults = {};
    faulty.writeCount = faulty.syncCount = 0;
    memory.SetContents("/qso/2024~03.VD", "three");
    Make({{"240102", "0000", "JA1A"}, {"240101", "0000", "JA1B"}});
    const std::string old = memory.Contents(kLog);
    rows.rows.clear();
    followed.clear();
    c.fault(faulty.faults);
    EXPECT_FALSE(Sort().sorted);
    faulty.faults = {};
    EXPECT_EQ(memory.Contents(kLog), old);
    EXPECT_FALSE(memory.Exists("/qso/2024~04.VD"));
    EXPECT_EQ(memory.Contents("/qso/2024~03.VD"), "three");
    EXPECT_FALSE(memory.Exists(temporary));
    EXPECT_EQ(std::string(set.index[0].callsign), "JA1A");
    EXPECT_EQ(set.counters[kCountLogSort], 0);
    EXPECT_TRUE(followed.empty());
    const int row = std::string(c.name) == "open" ? 5 : 10;
    EXPECT_EQ(rows.rows[row], c.reason);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"JA1A", "JA1B"}));
    LogSet second(memory);  // the old log is still held
    ASSERT_EQ(second.log.OpenLog(kLog), "");
    EXPECT_TRUE(second.log.LockedElsewhere());
  }
}

TEST_F(SortTest, NinetyNineGivesWayOnlyOnceTheSortedLogIsInPlace) {
  const std::string staged = std::string("/qso/") + kSortBackupTemporaryName;
  const char* const cannotReplace = "1:ﾛｸﾞﾌｧｲﾙを置換えられないので中断 ";
  for (const bool folderSyncFails : {false, true}) {
    SCOPED_TRACE(folderSyncFails ? "the folder cannot be synced" : "the log cannot be replaced");
    memory.SetContents("/qso/2024~99.VD", "ninety-nine");
    Make({{"240102", "0000", "JA1A"}, {"240101", "0000", "JA1B"}});
    const std::string old = memory.Contents(kLog);
    rows.rows.clear();
    faulty.faults = {};
    if (folderSyncFails) {
      faulty.faults.failFolderSync = true;
    } else {
      faulty.faults.failRenameTo = kLog;
    }
    EXPECT_FALSE(Sort().sorted);
    faulty.faults = {};
    EXPECT_EQ(rows.rows[10], cannotReplace);
    EXPECT_EQ(memory.Contents(kLog), old);
    EXPECT_EQ(memory.Contents("/qso/2024~99.VD"), "ninety-nine");
    EXPECT_FALSE(memory.Exists(staged));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"JA1A", "JA1B"}));
  }
  // When "~99" cannot be replaced, the old log stays under the name it was staged under.
  Make({{"240102", "0000", "JA1A"}, {"240101", "0000", "JA1B"}});
  const std::string old = memory.Contents(kLog);
  faulty.faults.failRenameTo = "/qso/2024~99.VD";
  const SortResult result = Sort();
  ASSERT_TRUE(result.sorted);
  EXPECT_EQ(result.backup, staged);
  EXPECT_EQ(memory.Contents(staged), old);
  EXPECT_EQ(memory.Contents("/qso/2024~99.VD"), "ninety-nine");
  EXPECT_EQ(Calls(), (std::vector<std::string>{"JA1B", "JA1A"}));
}

TEST_F(SortTest, WithoutHardLinksTheBackupIsACopy) {
  faulty.faults.failLink = true;
  Make({{"240102", "0000", "JA1A"}, {"240101", "0000", "JA1B"}});
  const std::string old = memory.Contents(kLog);
  ASSERT_TRUE(Sort().sorted);
  EXPECT_EQ(memory.Contents("/qso/2024~01.VD"), old);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"JA1B", "JA1A"}));
}

}  // namespace
}  // namespace vondal
