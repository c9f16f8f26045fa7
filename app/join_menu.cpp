#include "app/join_menu.h"

#include "adif/adif_time.h"
#include "app/memory_pool.h"
#include "app/run_state.h"
#include "app/work_screen.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/menu_line.h"
#include "console/viewer.h"
#include "editor/editor_state.h"
#include "editor/join_read.h"
#include "editor/join_report.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"
#include "macro/line_input.h"
#include "output/output_file.h"

namespace vondal {
namespace {

constexpr size_t kJoinNameBytes = 255;

constexpr const char* kHelpLines[] = {
    "*.VD  Vondal形式ﾛｸﾞ",     "*.VDP 短縮したVondal形式ﾛｸﾞ", "*.VDS ｾｰﾌﾃｨﾌｧｲﾙ",
    "*.VDT 短縮したｾｰﾌﾃｨﾌｧｲﾙ", "*.CSV ﾀﾌﾞまたはｺﾝﾏ区切りCSV",
};

// Asks until a file of a joinable kind opens; null when the user gives up with Esc. An ADIF file
// needs the clock of the log: a `logtime` that names none refuses it.
std::unique_ptr<File> AskJoinFile(FileSystem& fs, const Settings& settings, JoinFormat& format,
                                  std::string& name) {
  for (;;) {
    Screen& screen = TheScreen();
    screen.ClearRows(2, 4);
    screen.DrawBox(2, 0, 4, screen.Width() - 1, kPlainAttr);
    LineInputResult input = InputLine(3, "結合読込ﾌｧｲﾙ名", name, kJoinNameBytes);
    if (!input.accepted) return nullptr;
    name = input.text;
    if (name.empty()) continue;
    TheEditState().text = name;
    format = JoinFormatOf(name);
    if (format == JoinFormat::kNone) {
      ShowMessage("ｻﾎﾟｰﾄしていない拡張子のﾌｧｲﾙです", TheEditState());
      continue;
    }
    if (format == JoinFormat::kAdif && !LogTimeOf(settings.logtime)) {
      ShowMessage(kBadLogtime + std::string(settings.logtime), TheEditState());
      continue;
    }
    if (std::unique_ptr<File> file = fs.Open(name, OpenMode::kRead)) return file;
    ShowMessage("ﾌｧｲﾙをｵｰﾌﾟﾝできません", TheEditState());
  }
}

// The report of what the log did not take as it stood, written beside the outputs and shown in
// the viewer.
void ShowJoinReport(RunState& run, const JoinResult& result, const std::string& fileName) {
  const std::string report = JoinReportName(run.settings.trans, run.settings.log);
  OutputFile out(run.fs);
  if (!out.Open(report, OutputFile::Mode::kReplace) ||
      !out.Append(JoinReportText(result, run.settings.log, fileName)) || !out.Finish()) {
    ShowMessage("出力ﾌｧｲﾙに書込めません", TheEditState());
    return;
  }
  RunViewer(report, ViewerColorLetters());
  ShowCursor(false);
}

}  // namespace

int RunJoinMenu(RunState& run) {
  ClearWorkScreen();
  ShowMenu("");
  ScreenRows rows;
  const bool help = TheConsoleSwitches().guide;
  if (help) {
    for (int i = 0; i < 5; ++i) rows.Put(5 + i, 2, kHelpLines[i]);
  }
  JoinFormat format = JoinFormat::kNone;
  std::string name;
  std::unique_ptr<File> file = AskJoinFile(run.fs, run.settings, format, name);
  if (!file) return 0;
  JoinContext context{.log = run.log,
                      .index = run.index,
                      .safety = &run.safety,
                      .counters = run.counters,
                      .firstRow = help ? 12 : 7,
                      .logClock = LogTimeOf(run.settings.logtime).value_or(TimeZone::kJst)};
  const JoinResult result = JoinRead(context, *file, format, rows);
  file.reset();
  if (!result.fatal.empty()) FatalMessage(result.fatal);
  // The editor lays its screen out again on entry and lists the log's last records.
  if (result.joined) TheEditor().list.records.clear();
  RecordUse("join");
  if (result.joined && !result.notes.empty()) ShowJoinReport(run, result, name);
  WaitAnyKey();
  return 0;
}

}  // namespace vondal
