#include "app/sort_menu.h"

#include <cstdio>

#include "app/memory_pool.h"
#include "app/run_state.h"
#include "app/work_screen.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/editor_state.h"
#include "editor/log_sort.h"

namespace vondal {

int RunSortMenu(RunState& run) {
  ClearWorkScreen();
  ScreenRows rows;
  const int reversals = CountReversals(run.index, run.log.RecordCount());
  if (reversals == 0) {
    rows.Put(2, 1, "日時の逆転はありません");
    WaitAnyKey();
    return 0;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%d箇所で日時逆転", reversals);
  rows.Put(2, 1, text);
  ShowMenu(">ｿｰﾄ> S実行 Q中止");
  for (;;) {
    const KeyEvent key = ReadKey();
    if (key.upper == 'Q' || key.upper == 27) return 0;
    if (key.upper == 'S') break;
  }
  ShowMenu("");
  SortContext context{
      .fs = run.fs, .log = run.log, .index = run.index, .safety = &run.safety, .counters = run.counters};
  context.follow = [](const std::vector<int32_t>& newPosition) {
    FollowSortedRecords(TheEditor(), newPosition);
  };
  const SortResult result = SortLog(context, rows);
  if (!result.fatal.empty()) FatalMessage(result.fatal);
  if (result.sorted) RecordUse("sort");
  WaitAnyKey();
  return 0;
}

}  // namespace vondal
