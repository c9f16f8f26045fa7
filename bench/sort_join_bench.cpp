// Sort and join on logs of 1,000,000 records (or the count given as the first argument). The sort
// of a log in random date order and of one in reversed order, each written, synced and put in
// place with its backup as the menu does it, beside `cp` of the same log and beside
// `LC_ALL=C sort -s` on its first two fields (DATE and START); the join of a log file and of a
// CSV of as many lines into an empty log, beside `cp` of the file joined (and the CSV's also beside
// cp of the log it makes, four times its size). Goals: every figure
// within 3x of cp, and the sorts faster than sort -s.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "editor/join_read.h"
#include "editor/log_sort.h"
#include "log/field_table.h"

using namespace vondal;

namespace {

struct Figures {
  double subject = 1e30;
  double cp = 1e30;
  double sort = 1e30;
  double cpMade = 1e30;  // cp of a log as large as the one the join makes
};

// Sorts copies of the log at `unsorted`, best of three, by turns with its references.
Figures TimeSort(const std::string& folder, const std::string& unsorted) {
  const std::string log = folder + "/SORT.VD";
  Figures best;
  for (int run = 0; run < 3; ++run) {
    // Synced before the clock starts: the sort's own sync should not wait for this copy's pages.
    bench::Run("cp '" + unsorted + "' '" + log + "' && rm -f '" + folder + "'/SORT~*.VD && sync");
    auto opened = std::make_unique<bench::OpenedLog>(log);
    SortContext context{
        .fs = RealFileSystem(), .log = opened->log, .index = opened->index, .counters = opened->counters};
    WorkRows rows;
    bench::Stopwatch stopwatch;
    if (!SortLog(context, rows).sorted) std::exit(2);
    best.subject = std::min(best.subject, stopwatch.Seconds());
    best.cp = std::min(best.cp,
                       bench::BestOf(1, [&] { bench::Run("cp '" + unsorted + "' '" + folder + "/copy'"); }));
    best.sort = std::min(best.sort, bench::BestOf(1, [&] {
                           bench::Run("LC_ALL=C sort -s -t \"$(printf '\\036')\" -k1,2 '" + unsorted +
                                      "' > '" + folder + "/sorted'");
                         }));
  }
  return best;
}

// Joins `input` into an empty log, best of three, by turns with cp of the input and with cp of
// `made`, a log of the same contacts (what the join writes).
Figures TimeJoin(const std::string& folder, const std::string& input, const std::string& made, bool journal) {
  const std::string log = folder + "/JOIN.VD";
  Figures best;
  for (int run = 0; run < 3; ++run) {
    bench::Run("rm -f '" + log + "' '" + log + "S' && touch '" + log + "' && sync");
    auto opened = std::make_unique<bench::OpenedLog>(log);
    if (journal) opened->safety.Configure(log + "S");
    std::unique_ptr<File> file = RealFileSystem().Open(input, OpenMode::kRead);
    JoinContext context{
        .log = opened->log, .index = opened->index, .safety = &opened->safety, .counters = opened->counters};
    WorkRows rows;
    bench::Stopwatch stopwatch;
    if (!file || !JoinRead(context, *file, JoinFormatOf(input), rows).joined) std::exit(2);
    best.subject = std::min(best.subject, stopwatch.Seconds());
    best.cp =
        std::min(best.cp, bench::BestOf(1, [&] { bench::Run("cp '" + input + "' '" + folder + "/copy'"); }));
    best.cpMade = std::min(best.cpMade,
                           bench::BestOf(1, [&] { bench::Run("cp '" + made + "' '" + folder + "/copy'"); }));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  ResetFieldTable();
  const std::string folder = bench::TemporaryFolder();
  std::vector<int> order(static_cast<size_t>(records));
  for (int n = 0; n < records; ++n) order[n] = n;
  std::shuffle(order.begin(), order.end(), std::mt19937(20240305));
  const std::string random = folder + "/RANDOM.VD";
  const std::string reversed = folder + "/REVERSED.VD";
  bench::WriteLog(random, records, [&](int n, Record& r) { bench::MakeContact(order[n], r); });
  bench::WriteLog(reversed, records, [&](int n, Record& r) { bench::MakeContact(records - 1 - n, r); });

  const std::string csv = folder + "/IN.CSV";
  {
    FileReplacement out(RealFileSystem(), csv);
    if (!out.Open()) std::exit(2);
    std::string chunk = "DATE,START,END,CALLSIGN,FREQ,MODE,sRST,rRST\r\n";
    for (int n = 0; n < records; ++n) {
      Record r;
      bench::MakeContact(n, r);
      chunk += r[DATE] + "," + r[START] + "," + r[END] + "," + r[CALLSIGN] + ",7.050,CW,599,599\r\n";
      if (chunk.size() >= 1 << 20) {
        out.Write(chunk.data(), chunk.size());
        chunk.clear();
      }
    }
    out.Write(chunk.data(), chunk.size());
    if (!out.Commit()) std::exit(2);
  }

  std::printf("sort and join, %d records\n", records);
  const Figures sortRandom = TimeSort(folder, random);
  bench::Report("sort, random order", sortRandom.subject, "cp of the log", sortRandom.cp, 3);
  bench::Report("sort, random order", sortRandom.subject, "LC_ALL=C sort -s", sortRandom.sort, 1);
  const Figures sortReversed = TimeSort(folder, reversed);
  bench::Report("sort, reversed order", sortReversed.subject, "cp of the log", sortReversed.cp, 3);
  bench::Report("sort, reversed order", sortReversed.subject, "LC_ALL=C sort -s", sortReversed.sort, 1);
  const Figures joinLog = TimeJoin(folder, random, random, false);
  bench::Report("join .VD into an empty log", joinLog.subject, "cp of the file", joinLog.cp, 3);
  const Figures joinCsv = TimeJoin(folder, csv, random, false);
  bench::Report("join .CSV into an empty log", joinCsv.subject, "cp of the file", joinCsv.cp, 3);
  // The CSV is a quarter of the log it makes: beside cp of that log too.
  bench::Report("join .CSV into an empty log", joinCsv.subject, "cp of the log made", joinCsv.cpMade, 3);
  const Figures joinJournal = TimeJoin(folder, random, random, true);
  bench::Report("join .VD, with the journal", joinJournal.subject, "cp of the file", joinJournal.cp, 0);
  bench::RemoveFolder(folder);
  return 0;
}
