// The cost of one durable record write (WriteRecord returns only when the record is synced):
// appends and overwrites with the write-ahead record, beside the same writes without it and
// beside `dd bs=200 count=1 conv=fsync` (a process that writes and syncs 200 bytes), all in a
// folder of $TMPDIR (or /tmp), which should be a disk and not a tmpfs. Goal: with the write-ahead
// record within 2.5x of the plain synced write.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "log/field_table.h"
#include "log/log_file.h"
#include "log/record_index.h"

using namespace vondal;

namespace {

constexpr int kWrites = 40;  // durable writes in one timed batch

Record Contact(int n) {
  Record r;
  r[DATE] = "240305";
  r[START] = "0907";
  r[END] = "0910";
  r[CALLSIGN] = "JA1A" + std::string(1, static_cast<char>('A' + n % 26));
  r[FREQ] = "7.050";
  r[MODE] = "CW";
  r[sRST] = "599";
  r[rRST] = "599";
  r[REMARKS] = "write " + std::to_string(n);
  return r;
}

// One log and everything it writes beside it.
struct Bench {
  explicit Bench(const std::string& path, bool writeAhead, bool journal)
      : log(fs(), counters, index, safety, ui) {
    log.options.writeAhead = writeAhead;
    if (journal) safety.Configure(path + "S");
    if (!log.OpenLog(path).empty()) std::exit(2);
  }
  static FileSystem& fs() { return RealFileSystem(); }

  void Append() {
    for (int i = 0; i < kWrites; ++i) {
      Record r = Contact(i);
      if (!log.WriteRecord(log.RecordCount(), r).message.empty()) std::exit(2);
    }
  }
  void Overwrite() {
    for (int i = 0; i < kWrites; ++i) {
      Record r = Contact(i + 7);
      if (!log.WriteRecord(i % log.RecordCount(), r).message.empty()) std::exit(2);
    }
  }

  WriteCounters counters;
  RecordIndex index{counters};
  SafetyFile safety{fs(), counters};
  LogUi ui;
  LogFile log;
};

void Line(const char* what, double seconds, double plainSeconds, double ddSeconds, double goal) {
  const double perWrite = seconds / kWrites;
  std::printf("%-34s %8.3f ms  %7.0f records/s   ratio to plain %5.2f   to dd %5.2f", what, perWrite * 1e3,
              1 / perWrite, seconds / plainSeconds, seconds / ddSeconds);
  if (goal > 0)
    std::printf("  (goal within %.1fx: %s)", goal, seconds / plainSeconds <= goal ? "met" : "NOT MET");
  std::printf("\n");
}

}  // namespace

int main() {
  ResetFieldTable();
  const std::string folder = bench::TemporaryFolder();
  Bench ahead(folder + "/AHEAD.VD", true, false);
  Bench plain(folder + "/PLAIN.VD", false, false);
  Bench journalled(folder + "/JOURNAL.VD", true, true);
  const std::string dd = "for i in $(seq " + std::to_string(kWrites) + "); do dd if=" + folder +
                         "/AHEAD.VD of=" + folder + "/dd.out bs=200 count=1 conv=fsync status=none; done";
  ahead.Append();  // every log has records to overwrite, and its companion files exist
  plain.Append();
  journalled.Append();

  const int runs = 5;
  const bench::BestPair appends = bench::BestOfByTurns(
      runs, [&] { ahead.Append(); }, [&] { plain.Append(); });
  const bench::BestPair overwrites = bench::BestOfByTurns(
      runs, [&] { ahead.Overwrite(); }, [&] { plain.Overwrite(); });
  const bench::BestPair journal = bench::BestOfByTurns(
      runs, [&] { journalled.Append(); }, [&] { bench::Run(dd); });

  std::printf("durable record writes, %d a batch, best of %d batches, in %s\n", kWrites, runs,
              folder.c_str());
  const double ddSeconds = journal.reference;
  Line("dd bs=200 count=1 conv=fsync", ddSeconds, appends.reference, ddSeconds, 0);
  Line("append, plain synced write", appends.reference, appends.reference, ddSeconds, 0);
  Line("append with write-ahead record", appends.subject, appends.reference, ddSeconds, 2.5);
  Line("overwrite, plain synced write", overwrites.reference, overwrites.reference, ddSeconds, 0);
  Line("overwrite with write-ahead record", overwrites.subject, overwrites.reference, ddSeconds, 2.5);
  Line("append with write-ahead and journal", journal.subject, appends.reference, ddSeconds, 0);
  bench::RemoveFolder(folder);
  return 0;
}
