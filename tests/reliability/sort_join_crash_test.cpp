// Sort and join killed with SIGKILL at random moments, and run out of room on a full disk. A sort
// leaves the old log or the sorted one, whole, and once the sorted one is in place a whole backup
// of the old; a join leaves, once the log is opened again, all of the file's records or none.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editor/join_read.h"
#include "editor/log_sort.h"
#include "log/date_time.h"
#include "log/field_table.h"
#include "log/log_test_support.h"
#include "output/export_format.h"
#include "output/field_selection.h"
#include "tests/reliability/file_size_limit.h"
#include "tests/reliability/log_check.h"

namespace vondal::reliability {
namespace {

using testing::TemporaryFolder;

constexpr int kRecords = 12000;  // 2.4 MB: several buffers of the sort and the join

std::vector<std::string> Records(int count, uint64_t seed) {
  std::vector<std::string> records;
  for (int i = 0; i < count; ++i) records.push_back(testing::Image(RandomRecord(seed + i)));
  return records;
}

std::string Joined(const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& r : records) bytes += r;
  return bytes;
}

// The records of Records(count, seed) as the processing menu exports them to ADIF.
std::string AdifOf(int count, uint64_t seed) {
  std::string file = AdifHeader(false);
  const FieldSelection all = ParseFieldSelection("DATE-rQSL");
  for (int i = 0; i < count; ++i) {
    const Record r = RandomRecord(seed + i);
    RecordTexts texts;
    for (int f = 0; f < kStoredFieldCount; ++f) texts[f] = r[f];
    AppendAdifRecord(file, texts, all, ";", false);
  }
  return file;
}

// The records in date-time order, equal date-times in their order.
std::string SortedBytes(std::vector<std::string> records) {
  std::stable_sort(records.begin(), records.end(), [](const std::string& a, const std::string& b) {
    return DateTimeKey(a.substr(0, 6), a.substr(7, 4)) < DateTimeKey(b.substr(0, 6), b.substr(7, 4));
  });
  return Joined(records);
}

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

// Runs `work` in a child; kills it after `delay` seconds unless it ends first. Whether it was
// killed.
template <typename F>
bool RunAndKill(F&& work, double delay) {
  const pid_t pid = fork();
  if (pid == 0) {
    work();
    _exit(0);
  }
  const double deadline = Now() + delay;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    usleep(200);
  }
  return WIFSIGNALED(status);
}

// The sort of the log at `path` as the main menu runs it.
void SortOnce(const std::string& path) {
  testing::LogSet set(RealFileSystem());
  if (!set.log.OpenLog(path).empty()) _exit(2);
  std::vector<char> buffer(1 << 16);
  if (!set.index.Rebuild(set.log, nullptr, buffer).empty()) _exit(3);
  SortContext context{.fs = RealFileSystem(), .log = set.log, .index = set.index, .counters = set.counters};
  WorkRows rows;
  if (!SortLog(context, rows).sorted) _exit(4);
}

// The join of `input` into the log at `path`, with its journal.
void JoinOnce(const std::string& path, const std::string& input) {
  testing::LogSet set(RealFileSystem());
  if (!set.log.OpenLog(path).empty()) _exit(2);
  std::vector<char> buffer(1 << 16);
  if (!set.index.Rebuild(set.log, nullptr, buffer).empty()) _exit(3);
  set.safety.Configure(path + "S");
  std::unique_ptr<File> file = RealFileSystem().Open(input, OpenMode::kRead);
  JoinContext context{.log = set.log, .index = set.index, .safety = &set.safety, .counters = set.counters};
  WorkRows rows;
  if (!file || !JoinRead(context, *file, JoinFormatOf(input), rows).joined) _exit(4);
}

class SortJoinCrashTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetFieldTable(); }
  std::string Path(const std::string& name) const { return folder.Path(name); }
  TemporaryFolder folder;
};

TEST_F(SortJoinCrashTest, KilledSortLeavesTheOldOrTheSortedLogAndAWholeBackup) {
  const std::vector<std::string> records = Records(kRecords, 100);
  const std::string old = Joined(records);
  const std::string sorted = SortedBytes(records);
  ASSERT_NE(old, sorted);
  const std::string log = Path("T.VD");
  // How long one sort takes here: the kills fall anywhere in it.
  TemporaryFolder::Write(log, old);
  const double start = Now();
  ASSERT_FALSE(RunAndKill([&] { SortOnce(log); }, 30.0));
  const double took = Now() - start;
  ASSERT_EQ(TemporaryFolder::Read(log), sorted);
  std::mt19937 random(11);
  int oldSeen = 0;
  int sortedSeen = 0;
  for (int round = 0; round < 40; ++round) {
    std::system(("rm -f '" + folder.path() + "'/T~*.VD").c_str());
    TemporaryFolder::Write(log, old);
    RunAndKill([&] { SortOnce(log); }, std::uniform_real_distribution<double>(0, took * 1.2)(random));
    const std::string now = TemporaryFolder::Read(log);
    ASSERT_TRUE(now == old || now == sorted) << "round " << round << ": a log of " << now.size() << " bytes";
    (now == old ? oldSeen : sortedSeen)++;
    // A backup is never torn: it is there whole or not at all, and it is there when the sorted
    // log is.
    const bool backup = access(Path("T~01.VD").c_str(), F_OK) == 0;
    if (backup) {
      ASSERT_EQ(TemporaryFolder::Read(Path("T~01.VD")), old) << "round " << round;
    }
    if (now == sorted) {
      ASSERT_TRUE(backup) << "round " << round;
    }
    ASSERT_EQ(access(Path("T~02.VD").c_str(), F_OK), -1);
    // The log opens, and the next sort goes past what the kill left behind.
    testing::LogSet set(RealFileSystem());
    ASSERT_EQ(set.log.OpenLog(log), "");
  }
  EXPECT_GT(oldSeen + sortedSeen, 0);
  RecordProperty("old", oldSeen);
  RecordProperty("sorted", sortedSeen);
}

// With "~99" there, the old log replaces it only once the sorted log is in place: a kill in
// between leaves the old log under the staged name, and "~99" is never torn.
TEST_F(SortJoinCrashTest, KilledSortOverTheNinetyNinthBackupKeepsTheOldLogWhole) {
  const std::vector<std::string> records = Records(kRecords, 300);
  const std::string old = Joined(records);
  const std::string sorted = SortedBytes(records);
  const std::string previous = Joined(Records(50, 900));
  const std::string log = Path("T.VD");
  const std::string ninetyNine = Path("T~99.VD");
  const std::string staged = Path(kSortBackupTemporaryName);
  TemporaryFolder::Write(log, old);
  TemporaryFolder::Write(ninetyNine, previous);
  const double start = Now();
  ASSERT_FALSE(RunAndKill([&] { SortOnce(log); }, 30.0));
  const double took = Now() - start;
  ASSERT_EQ(TemporaryFolder::Read(ninetyNine), old);
  std::mt19937 random(13);
  for (int round = 0; round < 30; ++round) {
    std::remove(staged.c_str());
    TemporaryFolder::Write(log, old);
    TemporaryFolder::Write(ninetyNine, previous);
    RunAndKill([&] { SortOnce(log); }, std::uniform_real_distribution<double>(0, took * 1.2)(random));
    const std::string now = TemporaryFolder::Read(log);
    ASSERT_TRUE(now == old || now == sorted) << "round " << round << ": a log of " << now.size() << " bytes";
    const std::string backup = TemporaryFolder::Read(ninetyNine);
    ASSERT_TRUE(backup == previous || backup == old) << "round " << round;
    if (now == sorted && backup == previous) {
      ASSERT_EQ(TemporaryFolder::Read(staged), old) << "round " << round;
    }
    testing::LogSet set(RealFileSystem());
    ASSERT_EQ(set.log.OpenLog(log), "");
  }
}

TEST_F(SortJoinCrashTest, KilledJoinLeavesAllOrNoneOfItsRecords) {
  const std::string old = Joined(Records(5, 1));
  const std::string input = Joined(Records(kRecords, 500));
  const std::string log = Path("T.VD");
  TemporaryFolder::Write(Path("IN.VD"), input);
  TemporaryFolder::Write(log, old);
  const double start = Now();
  ASSERT_FALSE(RunAndKill([&] { JoinOnce(log, Path("IN.VD")); }, 30.0));
  const double took = Now() - start;
  ASSERT_EQ(TemporaryFolder::Read(log), old + input);
  std::mt19937 random(12);
  int none = 0;
  int all = 0;
  for (int round = 0; round < 40; ++round) {
    TemporaryFolder::Write(log, old);
    std::remove((log + "S").c_str());
    std::remove(WriteAheadName(log).c_str());
    RunAndKill([&] { JoinOnce(log, Path("IN.VD")); },
               std::uniform_real_distribution<double>(0, took * 1.2)(random));
    // Opened as the program opens it: a join cut short is cut back.
    testing::LogSet set(RealFileSystem());
    ASSERT_EQ(set.log.OpenLog(log), "") << "round " << round;
    const std::string now = TemporaryFolder::Read(log);
    ASSERT_TRUE(now == old || now == old + input) << "round " << round << ": " << now.size() << " bytes";
    (now == old ? none : all)++;
    set.safety.Configure(log + "S");
    ASSERT_EQ(set.safety.CheckSafety(set.ui), "");
    ASSERT_EQ(TemporaryFolder::Read(log + "S").size() % kRecordSize, 0u);
    // Opening again changes nothing more.
    testing::LogSet again(RealFileSystem());
    ASSERT_EQ(again.log.OpenLog(log), "");
    ASSERT_EQ(TemporaryFolder::Read(log), now);
  }
  RecordProperty("none", none);
  RecordProperty("all", all);
}

TEST_F(SortJoinCrashTest, KilledAdifJoinLeavesAllOrNoneOfItsContacts) {
  const std::string old = Joined(Records(5, 1));
  const std::string log = Path("T.VD");
  TemporaryFolder::Write(Path("IN.ADI"), AdifOf(kRecords, 700));
  TemporaryFolder::Write(log, old);
  const double start = Now();
  ASSERT_FALSE(RunAndKill([&] { JoinOnce(log, Path("IN.ADI")); }, 30.0));
  const double took = Now() - start;
  const std::string all = TemporaryFolder::Read(log);
  ASSERT_EQ(all.size(), old.size() + kRecords * kRecordSize);
  std::mt19937 random(13);
  for (int round = 0; round < 30; ++round) {
    TemporaryFolder::Write(log, old);
    std::remove((log + "S").c_str());
    std::remove(WriteAheadName(log).c_str());
    RunAndKill([&] { JoinOnce(log, Path("IN.ADI")); },
               std::uniform_real_distribution<double>(0, took * 1.2)(random));
    testing::LogSet set(RealFileSystem());
    ASSERT_EQ(set.log.OpenLog(log), "") << "round " << round;
    const std::string now = TemporaryFolder::Read(log);
    ASSERT_TRUE(now == old || now == all) << "round " << round << ": " << now.size() << " bytes";
  }
}

TEST_F(SortJoinCrashTest, AdifJoinOnAFullDiskLeavesTheLogByteForByte) {
  const std::string old = Joined(Records(4, 1));
  const std::string log = Path("T.VD");
  TemporaryFolder::Write(log, old);
  TemporaryFolder::Write(Path("IN.ADI"), AdifOf(8000, 300));
  testing::LogSet set(RealFileSystem());
  ASSERT_EQ(set.log.OpenLog(log), "");
  std::vector<char> buffer(1 << 16);
  ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
  set.safety.Configure(log + "S");
  std::unique_ptr<File> file = RealFileSystem().Open(Path("IN.ADI"), OpenMode::kRead);
  JoinContext context{.log = set.log, .index = set.index, .safety = &set.safety, .counters = set.counters};
  WorkRows rows;
  JoinResult result;
  {
    FileSizeLimit limit(1000000);
    result = JoinRead(context, *file, JoinFormat::kAdif, rows);
  }
  EXPECT_FALSE(result.joined);
  EXPECT_EQ(result.reason, kJoinCannotWriteLog);
  EXPECT_TRUE(result.notes.empty());
  EXPECT_EQ(TemporaryFolder::Read(log), old);
  EXPECT_EQ(set.index.size(), 4);
  // Room again: every contact goes in.
  EXPECT_TRUE(JoinRead(context, *file, JoinFormat::kAdif, rows).joined);
  EXPECT_EQ(TemporaryFolder::Read(log).size(), old.size() + 8000 * kRecordSize);
}

TEST_F(SortJoinCrashTest, SortOnAFullDiskKeepsLogAndBackups) {
  const std::vector<std::string> records = Records(3000, 200);
  const std::string old = Joined(records);
  const std::string log = Path("T.VD");
  TemporaryFolder::Write(log, old);
  TemporaryFolder::Write(Path("T~05.VD"), "five");
  testing::LogSet set(RealFileSystem());
  ASSERT_EQ(set.log.OpenLog(log), "");
  std::vector<char> buffer(1 << 16);
  ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
  SortContext context{.fs = RealFileSystem(), .log = set.log, .index = set.index, .counters = set.counters};
  WorkRows rows;
  {
    FileSizeLimit limit(old.size() / 2);
    EXPECT_FALSE(SortLog(context, rows).sorted);
  }
  EXPECT_EQ(TemporaryFolder::Read(log), old);
  EXPECT_EQ(TemporaryFolder::Read(Path("T~05.VD")), "five");
  EXPECT_EQ(access(Path("T~06.VD").c_str(), F_OK), -1);
  EXPECT_EQ(access(Path(kSortTemporaryName).c_str(), F_OK), -1);
  // Room again: the same sort goes through.
  EXPECT_TRUE(SortLog(context, rows).sorted);
  EXPECT_EQ(TemporaryFolder::Read(log), SortedBytes(records));
  EXPECT_EQ(TemporaryFolder::Read(Path("T~06.VD")), old);
}

TEST_F(SortJoinCrashTest, JoinOnAFullDiskLeavesTheLogByteForByte) {
  const std::string old = Joined(Records(4, 1));
  const std::string log = Path("T.VD");
  TemporaryFolder::Write(log, old);
  TemporaryFolder::Write(Path("IN.VD"), Joined(Records(8000, 300)));
  testing::LogSet set(RealFileSystem());
  ASSERT_EQ(set.log.OpenLog(log), "");
  std::vector<char> buffer(1 << 16);
  ASSERT_EQ(set.index.Rebuild(set.log, nullptr, buffer), "");
  set.safety.Configure(log + "S");
  std::unique_ptr<File> file = RealFileSystem().Open(Path("IN.VD"), OpenMode::kRead);
  JoinContext context{.log = set.log, .index = set.index, .safety = &set.safety, .counters = set.counters};
  WorkRows rows;
  JoinResult result;
  {
    FileSizeLimit limit(1500000);
    result = JoinRead(context, *file, JoinFormat::kLog, rows);
  }
  EXPECT_FALSE(result.joined);
  EXPECT_EQ(result.reason, kJoinCannotWriteLog);
  EXPECT_EQ(TemporaryFolder::Read(log), old);
  EXPECT_EQ(TemporaryFolder::Read(log + "S"), "");
  EXPECT_EQ(set.index.size(), 4);
  testing::LogSet again(RealFileSystem());
  ASSERT_EQ(again.log.OpenLog(log), "");
  EXPECT_EQ(again.log.RecordCount(), 4);
}

}  // namespace
}  // namespace vondal::reliability
