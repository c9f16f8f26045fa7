// Vonrix on generated logs of 10,000, 100,000 and 1,000,000 records (or up to the count given as
// the first argument): each of the four modes beside `cat` of the same log, the peak memory of
// the vonrix process, and how the time grows with the log. The goal is judged on processor time
// (user and system), which other work on a shared machine disturbs far less than wall time; both
// are shown. Wall time includes syncing the report to the disk.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"

extern char** environ;

using namespace vondal;

namespace {

// A deterministic log: a contact every 1-9 minutes from 2000 on, one in 500 entered late (so the
// log is out of order in places), stations drawn unevenly from 200,000 call signs (now and then
// portable), frequencies on most bands.
void WriteLog(const std::string& path, int records) {
  const char* prefixes[] = {"JA", "JH", "JR", "JE", "JF", "JG", "7K", "7L", "8J", "W", "K", "DL", "VK", "BV"};
  const char* freqs[] = {"1.9",    "3.525",  "7.010",  "7.100",   "10.120",  "14.050", "18.100", "21.200",
                         "24.940", "28.500", "50.200", "144.500", "430.000", "1200.",  "9.000"};
  unsigned seed = 12345;
  auto next = [&seed](unsigned range) {
    seed = seed * 1103515245 + 12345;
    return (seed >> 8) % range;
  };
  std::vector<std::string> calls;
  for (int i = 0; i < 200000; ++i) {
    std::string call = prefixes[next(14)];
    call += static_cast<char>('0' + next(10));
    for (unsigned k = 0, letters = 2 + next(2); k < letters; ++k) call += static_cast<char>('A' + next(26));
    calls.push_back(call);
  }
  int minutes = 0;
  bench::WriteLog(path, records, [&](int n, Record& r) {
    minutes += 1 + next(9);
    const int shown = n % 500 == 499 ? minutes - 600 : minutes;
    const int days = shown / 1440;
    char date[16], start[16];
    std::snprintf(date, sizeof date, "%02d%02d%02d", days / 336 % 50, 1 + days / 28 % 12, 1 + days % 28);
    std::snprintf(start, sizeof start, "%02d%02d", shown / 60 % 24, shown % 60);
    r[DATE] = date;
    r[START] = start;
    r[END] = start;
    r[CALLSIGN] = calls[std::min(next(200000), next(200000))];
    if (next(20) == 0) r[CALLSIGN] += "/1";
    r[FREQ] = freqs[next(15)];
    r[MODE] = "CW";
    r[sRST] = "599";
    r[rRST] = "599";
    r[QTH] = "東京都千代田区";
  });
}

struct Measure {
  double seconds;     // the best wall time
  double cpuSeconds;  // the least processor time (user and system): what a busy machine disturbs least
  long peakKb;        // the largest peak RSS
};

// Runs a program `runs` times with its output sent to /dev/null.
Measure RunProgram(const std::vector<std::string>& argv, int runs) {
  Measure measure{0, 1e30, 0};
  measure.seconds = bench::BestOf(runs, [&] {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) std::exit(2);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "failed: %s\n", argv[0].c_str());
      std::exit(2);
    }
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    measure.cpuSeconds = std::min(measure.cpuSeconds, seconds(usage.ru_utime) + seconds(usage.ru_stime));
    measure.peakKb = std::max(measure.peakKb, usage.ru_maxrss);
  });
  return measure;
}

// Keeps the best times and the largest peak of `measure` and `another`.
void Keep(Measure& measure, const Measure& another) {
  measure.seconds = std::min(measure.seconds, another.seconds);
  measure.cpuSeconds = std::min(measure.cpuSeconds, another.cpuSeconds);
  measure.peakKb = std::max(measure.peakKb, another.peakKb);
}

}  // namespace

int main(int argc, char** argv) {
  const int most = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string folder = bench::TemporaryFolder();
  setenv("VONDAL_HOME", folder.c_str(), 1);  // no Vondal.ini: the log names itself
  const std::string vonrix = bench::ProgramsFolder() + "/vonrix";
  const char modes[] = {'C', 'I', 'S', 'B'};

  std::vector<int> sizes;
  for (int size = 10000; size <= most; size *= 10) sizes.push_back(size);
  if (sizes.empty() || sizes.back() != most) sizes.push_back(most);
  // processor times[mode][size index]
  std::vector<std::vector<double>> times(4);
  for (int size : sizes) {
    const std::string log = folder + "/BENCH" + std::to_string(size) + ".VD";
    WriteLog(log, size);
    std::printf("vonrix, %d records (%.0f MB)\n", size, size * 200.0 / 1e6);
    for (int m = 0; m < 4; ++m) {
      const std::string mode(1, modes[m]);
      // cat and vonrix by turns, so that both meet the same spells of load.
      Measure cat{1e30, 1e30, 0};
      Measure run{1e30, 1e30, 0};
      for (int turn = 0; turn < 5; ++turn) {
        Keep(cat, RunProgram({"/bin/cat", log}, 1));
        Keep(run, RunProgram({vonrix, log, folder + "/report.txt", mode}, 1));
      }
      times[m].push_back(run.cpuSeconds);
      const std::string what = "mode " + mode + ", processor time";
      bench::Report(what.c_str(), run.cpuSeconds, "cat of the log", cat.cpuSeconds, size == most ? 5.0 : 0.0);
      const std::string wall = "mode " + mode + ", wall time";
      bench::Report(wall.c_str(), run.seconds, "cat of the log", cat.seconds, 0.0);
      std::printf("  %.0f ns per record, peak RSS %.1f MB%s\n", run.cpuSeconds * 1e9 / size, run.peakKb / 1e3,
                  size == most
                      ? (run.peakKb < 64000 ? " (goal below 64 MB: met)" : " (goal below 64 MB: NOT MET)")
                      : "");
    }
    bench::Run("rm -f '" + log + "'");
  }

  std::printf(
      "growth with the log (processor time ratio per step; linear is the size ratio, n log n a little "
      "more)\n");
  for (int m = 0; m < 4; ++m) {
    std::printf("  mode %c:", modes[m]);
    for (size_t i = 1; i < sizes.size(); ++i) {
      const double sizeRatio = static_cast<double>(sizes[i]) / sizes[i - 1];
      const double nLogN = sizeRatio * std::log(sizes[i]) / std::log(sizes[i - 1]);
      std::printf("  %d->%d x%.1f (linear x%.1f, n log n x%.1f)", sizes[i - 1], sizes[i],
                  times[m][i] / times[m][i - 1], sizeRatio, nLogN);
    }
    std::printf("\n");
  }
  bench::RemoveFolder(folder);
  return 0;
}
