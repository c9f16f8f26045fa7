#include "app/join_menu.h"

#include "app/memory_pool.h"
#include "app/run_state.h"
#include "app/work_screen.h"
#include "console/console.h"
#include "console/menu_line.h"
#include "editor/editor_state.h"
#include "editor/join_read.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"
#include "macro/line_input.h"

namespace vondal {
namespace {

constexpr size_t kJoinNameBytes = 255;

constexpr const char* kHelpLines[] = {
    "*.VD  Vondal形式ﾛｸﾞ",     "*.VDP 短縮したVondal形式ﾛｸﾞ", "*.VDS ｾｰﾌﾃｨﾌｧｲﾙ",
    "*.VDT 短縮したｾｰﾌﾃｨﾌｧｲﾙ", "*.CSV ﾀﾌﾞまたはｺﾝﾏ区切りCSV",
};

// Asks until a file of a joinable kind opens; null when the user gives up with Esc.
std::unique_ptr<File> AskJoinFile(FileSystem& fs, JoinFormat& format) {
  std::string name;
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
    if (std::unique_ptr<File> file = fs.Open(name, OpenMode::kRead)) return file;
    ShowMessage("ﾌｧｲﾙをｵｰﾌﾟﾝできません", TheEditState());
  }
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
  std::unique_ptr<File> file = AskJoinFile(run.fs, format);
  if (!file) return 0;
  JoinContext context{.log = run.log,
                      .index = run.index,
                      .safety = &run.safety,
                      .counters = run.counters,
                      .firstRow = help ? 12 : 7};
  const JoinResult result = JoinRead(context, *file, format, rows);
  file.reset();
  if (!result.fatal.empty()) FatalMessage(result.fatal);
  // The editor lays its screen out again on entry and lists the log's last records.
  if (result.joined) TheEditor().list.records.clear();
  RecordUse("join");
  WaitAnyKey();
  return 0;
}

}  // namespace vondal
