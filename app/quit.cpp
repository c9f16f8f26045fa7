#include "app/quit.h"

#include "app/memory_pool.h"
#include "app/run_state.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/macro_file.h"

namespace vondal {
namespace {

// Writes the colour sets when they were changed ("配色保存"). Returns "" or the failure, which
// the report line shows.
std::string SaveColorSets(RunState& run) {
  if (!run.colors.NeedsSave()) return "";
  run.ui.ReportLine("配色保存");
  std::string failure = run.colors.Save();
  if (!failure.empty()) run.ui.ReportLine(failure);
  return failure;
}

// Writes the macros when they were changed ("ﾏｸﾛ保存").
std::string SaveMacros(RunState& run) {
  return SaveMacrosAtEnd(run.fs, run.macroFile, TheMacroStore(), run.ui);
}

// Writes the index file when it changed; false when that failed (reported on the report line).
bool SaveIndexAtQuit(RunState& run) {
  if (run.settings.index.empty()) return true;  // no index file: nothing to save
  // The program that writes the log keeps its index; one read beside it would save a stale one.
  if (run.log.LockedElsewhere()) return true;
  TempPoolReset();
  auto* buffer = static_cast<char*>(TempPoolAlloc(kIndexBufferSize));
  if (buffer == nullptr) {
    run.ui.ReportLine(kIndexOutOfMemory);
    return false;
  }
  const std::string path(run.settings.index);
  return run.index.SaveIndex(path, run.fs, run.ui, {buffer, kIndexBufferSize}) == 0;
}

}  // namespace

std::optional<int> Quit(RunState& run) {
  if (run.settings.toggles.diehard) {
    ShowMenu(">終了> $Enter$終了");
    if (ReadKey().code != 13) return std::nullopt;
  }
  ReportLine("", -1);
  std::string colorFailure = SaveColorSets(run);
  std::string macroFailure = SaveMacros(run);
  bool failed = !colorFailure.empty() || !macroFailure.empty();
  if (failed) {
    if (TheConsoleSwitches().guide) ShowMessage("ﾒﾆｭｰへ戻って配色またはﾏｸﾛを別名保存しますか");
    ShowMenu("$Enter$戻る Q終了");
    if (ReadKey().upper != 'Q') return std::nullopt;
  }
  if (!SaveIndexAtQuit(run)) failed = true;
  run.log.SettleWriteAhead();  // no record write of this run can be carried out again
  if (!failed) ShowMessage(kNormalEnd);
  Flush();
  MoveCursor(MenuRow(), 0);
  SetCursorSize(0);
  ShowCursor(true);
  Flush();
  return failed ? 1 : 0;
}

}  // namespace vondal
