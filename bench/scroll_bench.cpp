// scroll on large text reports. (1) The program opening a 100 MB report in a pseudo-terminal until
// its first screen has been drawn, beside `wc -l` of the same file (goal within 2×). (2) In the
// viewer itself on a report of 1,000,000 lines, drawn through the terminal backend into
// /dev/null: End from the top, PgDn at the end and a search over all lines (goal under 0.5 s
// each), beside drawing one screen and a plain substring count over the same lines; and, for the
// record, PgDn pressed all the way from the top to the end.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bench/pty_run.h"
#include "console/fake_terminal.h"
#include "console/key_source.h"
#include "console/tty_terminal.h"
#include "tools/scroll/viewer.h"

using namespace vondal;
using namespace vondal::scroll;

namespace {

// A report line of about 70 bytes in CP932, CR LF.
std::string ReportLine(long n) {
  char line[128];
  std::snprintf(line, sizeof line,
                "%07ld  JA%ld%c%c%c  7.0%02ld  CW  599 599  東京都千代田区  ｽｽﾞｷ  %ld回\r\n", n, n % 10,
                static_cast<char>('A' + n % 26), static_cast<char>('A' + n / 26 % 26),
                static_cast<char>('A' + n / 676 % 26), n % 60, n % 97);
  return line;
}

std::string Report(size_t bytes) {
  std::string text;
  text.reserve(bytes + 128);
  for (long n = 0; text.size() < bytes; ++n) text += ReportLine(n);
  return text;
}

// Seconds from the start until the first screen is drawn: when the status figures stand in the
// footer. (Leaving, which unmaps the file, is not part of it.)
double OpenToFirstScreen(const std::string& folder, const std::string& name) {
  const std::string scroll = bench::BenchFolder() + "/../bin/scroll";
  bench::PtyRun run = bench::RunInPty(folder, {scroll, name}, "y0     x0", "\r");
  if (run.toDrawn < 0 || run.status != 13) {
    std::fprintf(stderr, "scroll did not show the report and end with Enter (status %d)\n", run.status);
    std::exit(2);
  }
  return run.toDrawn;
}

// The fastest of five openings of the file and of five `wc -l` of it, by turns.
bench::BestPair FastestOpening(const std::string& folder, const std::string& name) {
  bench::BestPair best;
  for (int run = 0; run < 5; ++run) {
    best.reference =
        std::min(best.reference,
                 bench::BestOf(1, [&] { bench::Run("wc -l '" + folder + "/" + name + "' > /dev/null"); }));
    best.subject = std::min(best.subject, OpenToFirstScreen(folder, name));
  }
  return best;
}

}  // namespace

int main() {
  const std::string folder = bench::TemporaryFolder();
  {
    const std::string report = Report(100 * 1000 * 1000);
    FILE* file = std::fopen((folder + "/report.txt").c_str(), "wb");
    if (file == nullptr || std::fwrite(report.data(), 1, report.size(), file) != report.size()) std::exit(2);
    std::fclose(file);
  }
  const bench::BestPair firstScreen = FastestOpening(folder, "report.txt");
  const double wc = firstScreen.reference;
  if (FILE* small = std::fopen((folder + "/small.txt").c_str(), "wb")) {
    for (long n = 0; n < 100; ++n) std::fputs(ReportLine(n).c_str(), small);
    std::fclose(small);
  }
  const double smallScreen = FastestOpening(folder, "small.txt").subject;
  const double read = bench::BestOf(3, [&] {
    BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
    ScrollText text;
    if (!ReadText(folder + "/report.txt", 0, "", allocator, &text).empty()) std::exit(2);
  });
  std::printf("scroll opening a 100 MB report\n");
  bench::Report("first screen drawn", firstScreen.subject, "wc -l", wc, 2);
  bench::Report("of which reading the lines", read, "wc -l", wc, 0);
  bench::Report("and on a file of 100 lines", smallScreen, "wc -l", wc, 0);
  bench::RemoveFolder(folder);

  // 1,000,000 lines in the viewer.
  std::string content;
  for (long n = 0; n < 1000000; ++n) content += ReportLine(n);
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  ScrollText text;
  if (!BuildText(content, 0, "", allocator, &text).empty()) std::exit(2);
  ScrollOptions options;
  if (!ParseOptions({"report.txt"}, 25, 80, &options).empty()) std::exit(2);
  const int devNull = open("/dev/null", O_WRONLY);
  TtyTerminal terminal(devNull);
  FakeTerminal keys(80, 25);
  SetKeySource(&keys);
  Viewer viewer(text, options, 80, terminal);

  const double screen = bench::BestOf(5, [&] {
    viewer.HandleKey(ExtendedKey(scan::kHome));
    viewer.HandleKey(ExtendedKey(scan::kDown));
  });
  const double end = bench::BestOf(5, [&] {
    viewer.HandleKey(ExtendedKey(scan::kHome));
    viewer.HandleKey(ExtendedKey(scan::kEnd));
  });
  const double pageAtEnd = bench::BestOf(5, [&] {
    viewer.HandleKey(ExtendedKey(scan::kEnd));
    viewer.HandleKey(ExtendedKey(scan::kPgUp));
    viewer.HandleKey(ExtendedKey(scan::kPgDn));
  });
  long pages = 0;
  const double paging = bench::BestOf(3, [&] {
    viewer.HandleKey(ExtendedKey(scan::kHome));
    pages = 0;
    for (long last = -1; viewer.pane(0).position != last; ++pages) {
      last = viewer.pane(0).position;
      viewer.HandleKey(ExtendedKey(scan::kPgDn));
    }
  });
  const double search = bench::BestOf(3, [&] {
    keys.PushKey(CharacterKey(8));
    keys.PushKey(CharacterKey(8));
    keys.PushKeys("*JA8QQ*\r");
    viewer.HandleKey(CharacterKey('F'));
  });
  long found = 0;
  const double count = bench::BestOf(3, [&] {
    found = 0;
    for (LineWalker walker(text, 0); !walker.AtEnd(); walker.Next()) {
      found += walker.line().find("JA8QQ") != std::string_view::npos;
    }
  });
  SetKeySource(nullptr);
  close(devNull);

  std::printf("the viewer on 1,000,000 lines (%ld lines found)\n", found);
  bench::Report("End from the top", end, "one screen drawn", screen, 0);
  bench::Report("PgUp and PgDn at the end", pageAtEnd, "one screen drawn", screen, 0);
  bench::Report("search *JA8QQ* over all lines", search, "substring count", count, 0);
  std::printf("goal under 0.5 s: End %s, PgDn at the end %s, search %s\n", end < 0.5 ? "met" : "NOT MET",
              pageAtEnd < 0.5 ? "met" : "NOT MET", search < 0.5 ? "met" : "NOT MET");
  std::printf("PgDn from the top to the end, %ld keys: %.3f s, %.1f us a key (one screen drawn: %.1f us)\n",
              pages, paging, paging / pages * 1e6, screen * 1e6);
  return 0;
}
