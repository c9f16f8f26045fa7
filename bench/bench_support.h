// Small helpers shared by the benchmarks: wall-clock timing, running a reference command,
// printing a figure beside its reference as a ratio, and writing generated logs.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/stopwatch.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "log/log_format.h"
#include "log/record_index.h"

namespace vondal::bench {

// The best wall-clock time in seconds of `runs` runs of f (the least disturbed by other load).
template <typename F>
double BestOf(int runs, F&& f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    Stopwatch stopwatch;
    f();
    const double took = stopwatch.Seconds();
    if (took < best) best = took;
  }
  return best;
}

// The best wall-clock times of a subject and its reference, run by turns `runs` times each, so
// that both meet the same spells of load on a shared machine.
struct BestPair {
  double subject = 1e30;
  double reference = 1e30;
};

template <typename F, typename R>
BestPair BestOfByTurns(int runs, F&& subject, R&& reference) {
  BestPair best;
  for (int i = 0; i < runs; ++i) {
    best.reference = std::min(best.reference, BestOf(1, reference));
    best.subject = std::min(best.subject, BestOf(1, subject));
  }
  return best;
}

// Runs a shell command (the reference tools: cat, dd, wc); exits on failure.
inline void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(2);
  }
}

// Prints "what: t s, reference: r s, ratio t/r" and, when goal > 0, whether the ratio is within it.
inline void Report(const char* what, double seconds, const char* reference, double referenceSeconds,
                   double goal) {
  const double ratio = seconds / referenceSeconds;
  std::printf("%-32s %8.4f s   %-24s %8.4f s   ratio %6.2f", what, seconds, reference, referenceSeconds,
              ratio);
  if (goal > 0) std::printf("  (goal within %gx: %s)", goal, ratio <= goal ? "met" : "NOT MET");
  std::printf("\n");
}

// build/bin, where the programs are, beside build/bench where the benchmarks run from.
inline std::string ProgramsFolder() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) std::exit(2);
  std::string folder(path, n);
  folder.erase(folder.find_last_of('/'));
  return folder.substr(0, folder.find_last_of('/')) + "/bin";
}

// Writes a log of `records` records at path, all or nothing: make(n, record) fills record n.
// Exits when the log cannot be written.
template <typename Make>
void WriteLog(const std::string& path, int records, Make&& make) {
  FileReplacement out(RealFileSystem(), path);
  if (!out.Open()) std::exit(2);
  std::string chunk;
  for (int n = 0; n < records; ++n) {
    Record record;
    make(n, record);
    const RecordImage image = EncodeRecord(record);
    chunk.append(image.begin(), image.end());
    if (chunk.size() >= 1 << 20) {
      out.Write(chunk.data(), chunk.size());
      chunk.clear();
    }
  }
  out.Write(chunk.data(), chunk.size());
  if (!out.Commit()) std::exit(2);
}

// The contact n of a generated log: dates over ten years, a call sign of its own for every n
// below 175,760 (then they repeat), CW on 40 m. Benchmarks change fields on top of it.
inline void MakeContact(int n, Record& r) {
  char date[16], start[16], call[16];
  std::snprintf(date, sizeof date, "%02d%02d%02d", 90 + n / 400000, 1 + n / 30000 % 12, 1 + n / 1000 % 28);
  std::snprintf(start, sizeof start, "%02d%02d", n / 60 % 24, n % 60);
  std::snprintf(call, sizeof call, "J%c%d%c%c%c", "AHRE"[n % 4], n % 10, 'A' + n / 10 % 26,
                'A' + n / 260 % 26, 'A' + n / 6760 % 26);
  r[DATE] = date;
  r[START] = start;
  r[END] = start;
  r[CALLSIGN] = call;
  r[FREQ] = "7.050";
  r[MODE] = "CW";
}

// A log opened as Vondal opens it, with its record index rebuilt; exits when that fails.
struct OpenedLog {
  explicit OpenedLog(const std::string& path) {
    if (!log.OpenLog(path).empty()) std::exit(2);
    std::vector<char> buffer(kIndexBufferSize);
    if (!index.Rebuild(log, nullptr, buffer).empty()) std::exit(2);
  }
  WriteCounters counters;
  RecordIndex index{counters};
  SafetyFile safety{RealFileSystem(), counters};
  LogUi ui;
  LogFile log{RealFileSystem(), counters, index, safety, ui};
};

// A new folder for the benchmark's files under $TMPDIR (or /tmp).
inline std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vondal-bench-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) std::exit(2);
  return pattern;
}

inline void RemoveFolder(const std::string& folder) { Run("rm -rf '" + folder + "'"); }

}  // namespace vondal::bench
