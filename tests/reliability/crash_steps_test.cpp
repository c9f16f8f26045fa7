// A scripted run of every log writer, killed (or its power cut) at each change it makes to a
// file in turn: after each, the files open again and keep every acknowledged record.
#include <gtest/gtest.h>

#include <vector>

#include "log/faulty_file_system.h"
#include "log/field_table.h"
#include "log/log_file.h"
#include "log/log_test_support.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_ahead.h"
#include "tests/reliability/log_check.h"

namespace vondal::reliability {
namespace {

std::tm FixedTime() {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 5;
  return t;
}

struct Step {
  enum Kind { kWrite, kMarker, kSaveIndex } kind;
  int record = 0;
  uint64_t seed = 0;
};

// Appends across a page boundary (record 20 spans bytes 4000-4199), overwrites of it and of
// record 0, a marker, an index save, and more writes after it.
const std::vector<Step> kScript = {
    {Step::kWrite, 19, 1}, {Step::kWrite, 20, 2}, {Step::kWrite, 20, 3}, {Step::kWrite, 0, 4},
    {Step::kMarker},       {Step::kSaveIndex},    {Step::kWrite, 21, 5}, {Step::kWrite, 20, 6},
};

const Files kFiles{"C.VD", "C.VDS", "C.VDI"};

struct Setting {
  bool powerCut;   // the power goes: what was not synced may be lost, too
  bool tornStart;  // the run starts on a log torn by an earlier crash, with its intent
};

// Which files' unsynced writes reach the disk before the power goes: every combination.
const std::vector<std::string> kCutFiles = {kFiles.log, WriteAheadName(kFiles.log), kFiles.safety,
                                            kFiles.index};

class CrashStepsTest : public ::testing::TestWithParam<Setting> {
 protected:
  // The files as the run finds them: 19 records, their journal, a saved index.
  void Prepare(MemoryFileSystem& memory, Expectation& e) {
    std::string log, journal;
    for (int n = 0; n < 19; ++n) {
      RecordImage image = EncodeRecord(RandomRecord(100 + n));
      e.records.push_back(image);
      log.append(image.begin(), image.end());
    }
    journal = log;
    memory.SetContents(kFiles.log, log);
    memory.SetContents(kFiles.safety, journal);
    {
      testing::LogSet set(memory);
      auto& [counters, index, safety, ui, file] = set;
      ASSERT_EQ(file.OpenLog(kFiles.log), "");
      std::vector<char> buffer(kIndexBufferSize);
      ASSERT_EQ(index.LoadIndex(kFiles.index, memory, file, ui, buffer), "");
      ASSERT_EQ(index.SaveIndex(kFiles.index, memory, ui, buffer), 0);
    }
    e.journalFrom = static_cast<int64_t>(journal.size());
    if (GetParam().tornStart) {
      // Killed in an earlier run while record 19 was appended, and while the journal took it.
      const RecordImage image = EncodeRecord(RandomRecord(99));
      Intent intent{IntentKind::kPutRecord, 19, 19 * kRecordSize, 20 * kRecordSize, image};
      ASSERT_TRUE(IdentifyLog(*memory.Open(kFiles.log, OpenMode::kRead), intent));
      memory.SetContents(WriteAheadName(kFiles.log), EncodeIntent(intent));
      memory.SetContents(kFiles.log, log + std::string(image.data(), 96));
      memory.SetContents(kFiles.safety, journal + std::string(image.data(), 150));
      e.inFlightRecord = 19;
      e.inFlightImage = image;
    }
  }

  // Runs the script dying at change `crashAt` and, with a power cut, keeping the unsynced
  // writes of the files in bit set `survivors`; false when the run ended before the change.
  bool RunDyingAt(int crashAt, unsigned survivors) {
    MemoryFileSystem memory;
    Expectation e;
    Prepare(memory, e);
    FaultyFileSystem faulty(memory);
    faulty.faults.crashAt = crashAt;
    {
      testing::LogSet set(faulty, FixedTime);
      auto& [counters, index, safety, ui, log] = set;
      safety.Configure(kFiles.safety);
      std::vector<char> buffer(kIndexBufferSize);
      bool alive = log.OpenLog(kFiles.log).empty() && safety.CheckSafety(ui).empty();
      if (alive) {
        log.JournalRepairedRecord();
        alive = index.LoadIndex(kFiles.index, faulty, log, ui, buffer).empty() && !faulty.crashed();
      }
      if (alive) {
        // The record in flight at the start is settled now: the log holds it or not.
        const std::string bytes = memory.Contents(kFiles.log);
        if (e.inFlightRecord && bytes.size() >= 20u * kRecordSize) {
          e.records.push_back(e.inFlightImage);
          e.journal.push_back(e.inFlightImage);
        }
        e.inFlightRecord.reset();
      }
      for (const Step& step : kScript) {
        if (!alive) break;
        if (step.kind == Step::kSaveIndex) {
          index.SaveIndex(kFiles.index, faulty, ui, buffer);
        } else if (step.kind == Step::kMarker) {
          if (safety.WriteMarker("＜結合読み込み終了＞") == 0)
            e.journal.push_back(SafetyFile::BuildMarker("＜結合読み込み終了＞", FixedTime()));
        } else {
          Record r = RandomRecord(step.seed);
          e.inFlightRecord = step.record;
          e.inFlightImage = EncodeRecord(r);
          if (!log.WriteRecord(step.record, r).message.empty()) break;
          if (step.record == static_cast<int>(e.records.size())) {
            e.records.push_back(e.inFlightImage);
          } else {
            e.records[step.record] = e.inFlightImage;
          }
          e.journal.push_back(e.inFlightImage);
          e.inFlightRecord.reset();
        }
        alive = !faulty.crashed();
      }
    }
    if (!faulty.crashed()) return false;
    if (GetParam().powerCut) {
      std::set<std::string> kept;
      for (size_t i = 0; i < kCutFiles.size(); ++i) {
        if (survivors & (1u << i)) kept.insert(kCutFiles[i]);
      }
      memory.PowerCut(kept);
    }
    const Verdict verdict = OpenAndCheck(memory, kFiles, e);
    const std::string where =
        "dying at change " + std::to_string(crashAt) + ", survivors " + std::to_string(survivors);
    EXPECT_EQ(verdict.failure, "") << where;
    EXPECT_EQ(verdict.recordsLost, 0) << where;
    // Opening twice gives the same files (recovery is idempotent).
    const std::string once = memory.Contents(kFiles.log);
    const Verdict again = OpenAndCheck(memory, kFiles, e);
    EXPECT_EQ(memory.Contents(kFiles.log), once) << where;
    EXPECT_EQ(again.failure, "") << where;
    return !HasFailure();
  }
};

TEST_P(CrashStepsTest, EveryChangeIsASafePlaceToDie) {
  ResetFieldTable();
  const unsigned combinations = GetParam().powerCut ? 1u << kCutFiles.size() : 1u;
  int steps = 0;
  for (bool more = true; more; ++steps) {
    for (unsigned survivors = 0; survivors < combinations && more; ++survivors)
      more = RunDyingAt(steps + 1, survivors);
  }
  EXPECT_GT(steps, 40) << "the script makes fewer changes than it should";
}

INSTANTIATE_TEST_SUITE_P(Crashes, CrashStepsTest,
                         ::testing::Values(Setting{false, false}, Setting{true, false}, Setting{false, true},
                                           Setting{true, true}),
                         [](const auto& info) {
                           return std::string(info.param.powerCut ? "PowerCut" : "Kill") +
                                  (info.param.tornStart ? "OnATornLog" : "");
                         });

}  // namespace
}  // namespace vondal::reliability
