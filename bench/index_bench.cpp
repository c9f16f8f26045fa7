// Record index figures on a log of 1,000,000 records (or the count given as the first argument):
// rebuilding the index from the log beside `cat` of the same log, loading the saved index file,
// the memory the entries take, and the matchers over every CALLSIGN of the index.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/text/wildcard.h"
#include "bench/bench_support.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "log/record_index.h"

using namespace vondal;

namespace {

// A deterministic log: call signs like JA1ABC, 7K3XYZ, JH1ABC/1, W1AW; a contact every few minutes.
void WriteLog(const std::string& path, int records) {
  const char* prefixes[] = {"JA", "JH", "JR", "JE", "JF", "7K", "7L", "8J", "W", "K", "DL", "VK"};
  unsigned seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245 + 12345, (seed >> 16) & 0x7FFF; };
  int minutes = 0;
  bench::WriteLog(path, records, [&](int, Record& r) {
    minutes += 1 + next() % 40;
    const int days = minutes / 1440;
    char date[16];
    char start[16];
    std::snprintf(date, sizeof date, "%02d%02d%02d", (90 + days / 336) % 100, 1 + days / 28 % 12,
                  1 + days % 28);
    std::snprintf(start, sizeof start, "%02d%02d", minutes / 60 % 24, minutes % 60);
    r[DATE] = date;
    r[START] = start;
    r[END] = start;
    std::string call = prefixes[next() % 12];
    call += static_cast<char>('0' + next() % 10);
    for (int i = 0, k = 1 + next() % 3; i < k; ++i) call += static_cast<char>('A' + next() % 26);
    if (next() % 20 == 0) call += "/" + std::to_string(next() % 10);
    r[CALLSIGN] = call;
    r[FREQ] = "7.050";
    r[MODE] = "CW";
    r[sRST] = "599";
    r[rRST] = "599";
  });
}

long MaxRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string folder = bench::TemporaryFolder();
  const std::string logPath = folder + "/BENCH.VD";
  const std::string indexPath = folder + "/BENCH.VDI";
  WriteLog(logPath, records);
  std::printf("record index, %d records\n", records);

  WriteCounters counters;
  RecordIndex index(counters);
  SafetyFile safety(RealFileSystem(), counters);
  LogUi ui;
  LogFile log(RealFileSystem(), counters, index, safety, ui);
  if (!log.OpenLog(logPath).empty()) return 2;
  std::vector<char> buffer(kIndexBufferSize);

  const long rssBefore = MaxRssKb();
  const bench::BestPair rebuild = bench::BestOfByTurns(
      5,
      [&] {
        index.Clear();
        if (!index.Rebuild(log, nullptr, buffer).empty()) std::exit(2);
      },
      [&] { bench::Run("cat '" + logPath + "' > /dev/null"); });
  bench::Report("rebuild index from the log", rebuild.subject, "cat of the log", rebuild.reference, 3.0);

  if (index.SaveIndex(indexPath, RealFileSystem(), ui, buffer) != 0) return 2;
  const double catIndex = bench::BestOf(5, [&] { bench::Run("cat '" + indexPath + "' > /dev/null"); });
  const double load = bench::BestOf(5, [&] {
    index.Clear();
    if (!index.LoadIndex(indexPath, RealFileSystem(), log, ui, buffer).empty()) std::exit(2);
  });
  bench::Report("load the saved index", load, "cat of the index file", catIndex, 0.0);
  std::printf("  load time %.3f s (goal under 0.1 s)\n", load);

  const long blocks = (records + kIndexBlockEntries - 1) / kIndexBlockEntries;
  std::printf(
      "index memory: %.2f MB in %ld blocks of %d entries (%zu bytes an entry; goal at most 40 MB); "
      "peak RSS grew %.2f MB\n",
      blocks * kIndexBlockEntries * sizeof(IndexEntry) / 1e6, blocks, kIndexBlockEntries, sizeof(IndexEntry),
      (MaxRssKb() - rssBefore) / 1e3);

  struct Pattern {
    const char* pattern;
    bool callsign;
  } patterns[] = {{"JA1*", false}, {"*ABC", false}, {"J?1@@@", false},
                  {"JA#@@", true}, {"%@%=*", true}, {"*/#", true}};
  volatile size_t sink = 0;
  const double reference = bench::BestOf(3, [&] {
    size_t hits = 0;
    for (int n = 0; n < index.size(); ++n) hits += std::string_view(index[n].callsign).starts_with("JA1");
    sink = hits;
  });
  for (const Pattern& p : patterns) {
    size_t hits = 0;
    const double t = bench::BestOf(3, [&] {
      hits = 0;
      for (int n = 0; n < index.size(); ++n) {
        hits += p.callsign ? MatchCallsign(p.pattern, index[n].callsign)
                           : jstrwldc(p.pattern, index[n].callsign, true);
      }
    });
    std::printf("%-13s %-8s %7.1f ns/record (starts_with: %.1f ns/record, ratio %.1f), %zu matches\n",
                p.callsign ? "MatchCallsign" : "jstrwldc", p.pattern, t * 1e9 / index.size(),
                reference * 1e9 / index.size(), t / reference, hits);
  }
  (void)sink;
  bench::RemoveFolder(folder);
  return 0;
}
