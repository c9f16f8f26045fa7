// Start-up of Vondal to its main menu in a pseudo-terminal: with a log of 1,000,000 records and a
// valid index file, beside the same start-up with an empty log (the reference). The goal is under
// 0.2 s for the large log. The bench answers the terminal queries Vondal sends at start-up the
// way a terminal does, and times from the start until the main-menu line has been written.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bench/pty_run.h"
#include "log/file_system.h"
#include "log/log_format.h"
#include "log/record.h"

using namespace vondal;

namespace {

// The label of the main menu's last item, "終了", as the terminal receives it (UTF-8).
const std::string kMenuDrawn = "\xE7\xB5\x82\xE4\xBA\x86";

void WriteLog(const std::string& path, int records) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(records) * kRecordSize);
  for (int n = 0; n < records; ++n) {
    Record r;
    bench::MakeContact(n, r);
    RecordImage image = EncodeRecord(r);
    bytes.append(image.begin(), image.end());
  }
  if (!WriteWholeFile(RealFileSystem(), path, bytes.data(), bytes.size())) std::exit(2);
}

// Runs `vondal <log> -I` in a pseudo-terminal of 80 × 25 in `folder` and quits with Q when the main
// menu has been drawn. Returns the seconds to the main menu.
double StartToMenu(const std::string& vondal, const std::string& folder, const std::string& log) {
  // The macro file the quit writes stays in the folder (bench.VDM), not beside the program.
  bench::PtyRun run = bench::RunInPty(folder, {vondal, log, "-I", "-Mbench"}, kMenuDrawn, "q");
  if (run.toDrawn < 0 || run.status != 0) {
    std::fprintf(stderr, "vondal did not reach its main menu and quit (status %d)\n", run.status);
    std::exit(2);
  }
  return run.toDrawn;
}

}  // namespace

int main(int argc, char** argv) {
  int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  std::string vondal = bench::BenchFolder() + "/../bin/vondal";
  std::string folder = bench::TemporaryFolder();
  WriteLog(folder + "/BIG.VD", records);
  WriteLog(folder + "/EMPTY.VD", 0);
  // The first start builds the index and saves it at quit; the timed starts read it.
  StartToMenu(vondal, folder, "BIG");
  double big = bench::BestOf(5, [&] { StartToMenu(vondal, folder, "BIG"); });
  double empty = bench::BestOf(5, [&] { StartToMenu(vondal, folder, "EMPTY"); });
  std::printf("start-up to the main menu, %d records with index file\n", records);
  bench::Report("log with index", big, "empty log", empty, 0);
  std::printf("goal under 0.2 s: %s\n", big < 0.2 ? "met" : "NOT MET");
  bench::RemoveFolder(folder);
  return 0;
}
