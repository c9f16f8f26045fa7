// The record editor on a log of 1,000,000 records (or the count given as the first argument) with
// its index file:
// - entering the editor from the main menu until the select area is drawn, in a pseudo-terminal,
//   beside the start-up to the main menu in the same run (goal under 50 ms);
// - PgUp, PgDn and Up at the top of the select area, which read records from the log, per key,
//   beside one repaint of the whole screen, both through the same screen buffer (goal under 1 ms);
// - the program's peak resident memory with that log (goal under 64 MB).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/pty_run.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/fake_terminal.h"
#include "console/key_source.h"
#include "editor/edit_screen.h"
#include "editor/select_area.h"
#include "log/log_file.h"
#include "log/record_index.h"

using namespace vondal;

namespace {

const std::string kMenuDrawn = "\xE7\xB5\x82\xE4\xBA\x86";  // "終了" of the main menu
const std::string kEditorDrawn = "\xE6\x96\xB0";            // "新" of the edit area

void WriteLog(const std::string& path, int records) {
  bench::WriteLog(path, records, [](int n, Record& r) {
    bench::MakeContact(n, r);
    r[sRST] = "599";
    r[rRST] = "599";
    r[QTH] = "東京都千代田区";
    r[NAME] = "ｽｽﾞｷ";
  });
}

// One run: the main menu, E, the editor drawn, Esc Q, Q. The seconds to the menu and from the E
// to the editor; the peak memory.
struct EntryRun {
  double toMenu = 0;
  double toEditor = 0;
  long maxRssKb = 0;
};

EntryRun EnterEditor(const std::string& vondal, const std::string& folder) {
  const bench::PtyRun run =
      bench::RunStepsInPty(folder, {vondal, "BIG", "-I", "-Mbench"},
                           {{kMenuDrawn, "E"}, {kEditorDrawn, "\x1bq"}, {kMenuDrawn, "q"}});
  if (run.stepTimes.size() != 3 || run.status != 0) {
    std::fprintf(stderr, "vondal did not enter and leave its editor (status %d)\n", run.status);
    std::exit(2);
  }
  return {run.stepTimes[0], run.stepTimes[1] - run.stepTimes[0], run.maxRssKb};
}

// Keys of the select area through the screen buffer, in this process.
struct SelectBench {
  explicit SelectBench(const std::string& logPath) : log(RealFileSystem(), counters, index, safety, ui) {
    if (!log.OpenLog(logPath).empty()) std::exit(2);
    std::vector<char> buffer(kIndexBufferSize);
    if (!index.Rebuild(log, nullptr, buffer).empty()) std::exit(2);
    SetCurrentColorTable(DefaultColorTable());
    AttachConsole(&screen, &terminal);
    SetKeySource(&terminal);
    ResetFieldTable();
    layout = ComputeLayout(80, 25, editor.display);
  }

  // `count` presses of the key, after `before` (keys that set the start), each press drawing the
  // select area again and flushing it.
  void Keys(int scanCode, int count, std::vector<KeyEvent> before = {}) {
    PositionList(editor.list, layout.selectLines, log.RecordCount() - 1);
    for (const KeyEvent& key : before) terminal.PushKey(key);
    for (int i = 0; i < count; ++i) terminal.PushKey(ExtendedKey(scanCode));
    terminal.PushKey(CharacterKey(27));
    int leaving = 0;
    EditorContext context{.log = log, .index = index, .callsign = "JA1ZZZ"};
    RunSelectArea(context, layout, editor, leaving);
  }

  WriteCounters counters;
  RecordIndex index{counters};
  SafetyFile safety{RealFileSystem(), counters};
  LogUi ui;
  LogFile log;
  Screen screen{80, 25};
  FakeTerminal terminal{80, 25};
  EditorState editor;
  EditLayout layout;
};

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string vondal = bench::BenchFolder() + "/../bin/vondal";
  const std::string folder = bench::TemporaryFolder();
  WriteLog(folder + "/BIG.VD", records);
  std::printf("record editor, %d records with index file\n", records);

  EnterEditor(vondal, folder);  // builds the index and saves it at quit
  EntryRun best{1e30, 1e30, 0};
  for (int i = 0; i < 5; ++i) {
    const EntryRun run = EnterEditor(vondal, folder);
    best.toMenu = std::min(best.toMenu, run.toMenu);
    best.toEditor = std::min(best.toEditor, run.toEditor);
    best.maxRssKb = std::max(best.maxRssKb, run.maxRssKb);
  }
  bench::Report("entering the editor", best.toEditor, "start-up to the menu", best.toMenu, 0);
  std::printf("goal under 50 ms: %s\n", best.toEditor < 0.05 ? "met" : "NOT MET");
  std::printf("peak memory of the program: %.1f MB (goal under 64 MB: %s)\n", best.maxRssKb / 1024.0,
              best.maxRssKb < 64 * 1024 ? "met" : "NOT MET");

  SelectBench select(folder + "/BIG.VD");
  constexpr int kPresses = 500;
  const double repaint = bench::BestOf(5, [&] {
    for (int i = 0; i < kPresses; ++i) Repaint();
  });
  const double pgUp = bench::BestOf(5, [&] { select.Keys(scan::kPgUp, kPresses); });
  const double pgDn = bench::BestOf(5, [&] {
    select.Keys(scan::kPgDn, kPresses, std::vector<KeyEvent>(kPresses, ExtendedKey(scan::kPgUp)));
  });
  const double up = bench::BestOf(5, [&] { select.Keys(scan::kUp, kPresses, {ExtendedKey(scan::kPgUp)}); });
  std::printf("select area, per key (%d presses), beside one repaint of the 80 x 25 screen\n", kPresses);
  auto perKey = [&](const char* what, double seconds) {
    std::printf("%-32s %8.1f us   repaint %8.1f us   ratio %6.2f\n", what, seconds * 1e6,
                repaint / kPresses * 1e6, seconds / (repaint / kPresses));
  };
  perKey("PgUp", pgUp / kPresses);
  perKey("PgDn (after as many PgUp)", pgDn / kPresses / 2);
  perKey("Up at the top line", up / kPresses);
  const double worst = std::max({pgUp, pgDn / 2, up}) / kPresses;
  std::printf("goal under 1 ms a key: %s (%.3f ms)\n", worst < 0.001 ? "met" : "NOT MET", worst * 1e3);
  bench::RemoveFolder(folder);
  return 0;
}
