// Small helpers shared by the benchmarks: wall-clock timing, running a reference command, and
// printing a figure beside its reference as a ratio.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/stopwatch.h"

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

// Runs a shell command (the reference tools: cat, dd, wc); exits on failure.
inline void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(2);
  }
}

// Prints "what: t s, reference: r s, ratio t/r" and, when goal > 0, whether the ratio is within it.
inline void Report(const char* what, double seconds, const char* reference, double referenceSeconds, double goal) {
  const double ratio = seconds / referenceSeconds;
  std::printf("%-32s %8.4f s   %-24s %8.4f s   ratio %6.2f", what, seconds, reference, referenceSeconds, ratio);
  if (goal > 0) std::printf("  (goal within %.0fx: %s)", goal, ratio <= goal ? "met" : "NOT MET");
  std::printf("\n");
}

// A new folder for the benchmark's files under $TMPDIR (or /tmp).
inline std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vondal-bench-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) std::exit(2);
  return pattern;
}

inline void RemoveFolder(const std::string& folder) { Run("rm -rf '" + folder + "'"); }

}  // namespace vondal::bench
