#include "editor/select_area.h"

#include <algorithm>

#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/key_watch.h"
#include "console/menu_line.h"
#include "editor/select_line.h"
#include "log/date_time.h"
#include "macro/edit_error.h"
#include "macro/macro_player.h"

namespace vondal {
namespace {

constexpr char kSelectMenu[] = "F最初 L最終 M記憶 R再現 $Ins$標識 $Del$標識解除";
constexpr int kBigPage = 100;  // Ctrl+Up, Ctrl+Down

int LineRow(int line) { return 1 + line; }

void DrawLine(const EditorContext& context, const EditorState& editor, int line, Today today) {
  Screen& screen = TheScreen();
  const SelectList& list = editor.list;
  const int n = list.records[line];
  SelectLine shown{};
  shown.state = list.states[line];
  if (n < 0 || n >= context.log.RecordCount()) {
    const bool aboveFirst = n == -1 || (line + 1 < list.lines() && list.records[line + 1] == 0);
    shown.firstMarker = aboveFirst || line == list.lines() - 1;
    DrawSelectLine(screen, LineRow(line), shown, editor.display, today);
    return;
  }
  const RecordTexts& texts = context.log.ReadRecord(n);
  shown.texts = &texts;
  shown.marked = n < context.index.size() && context.index[n].mark != 0;
  shown.highlighted = editor.display.highlight && n >= editor.display.highlightFirst;
  DrawSelectLine(screen, LineRow(line), shown, editor.display, today);
}

void ShowCursorLine(const EditLayout& layout, const EditorState& editor) {
  Screen& screen = TheScreen();
  const int row = LineRow(editor.list.cursor);
  screen.ReverseCells(row, 13, layout.width - 1);
  const int n = editor.list.records[editor.list.cursor];
  screen.ClearCells(0, layout.width - 7, layout.width - 1);
  if (n >= 0) {
    screen.PutText(RecordNumberText(n, editor.display.recordBase), 0, layout.width - 7, layout.width,
                   ColorOf(ColorElement::RecNumber), ColorOf(ColorElement::RecNumber));
  }
}

// The first line that holds a record.
int FirstRecordLine(const SelectList& list) {
  int line = 0;
  while (line < list.lines() - 1 && list.records[line] < 0) ++line;
  return line;
}

void SetMark(RecordIndex& index, int n, bool mark) {
  if (n >= 0 && n < index.size()) index[n].mark = mark ? 1 : 0;
}

}  // namespace

void PositionList(SelectList& list, int lines, int record) {
  list.records.resize(lines);
  list.states.assign(lines, 0);
  for (int i = 0; i < lines; ++i) list.records[i] = record - (lines - 1 - i);
  list.cursor = lines - 1;
}

void FitList(SelectList& list, int lines, int recordCount) {
  if (list.records.empty()) {
    PositionList(list, lines, recordCount - 1);
    return;
  }
  // With another line count the bottom lines stay where they were; with the same one the list
  // shows the last record again.
  PositionList(list, lines,
               list.lines() == lines ? recordCount - 1 : std::min(list.current(), recordCount - 1));
}

void AppendToList(SelectList& list, int n) {
  if (list.records.empty()) return;
  list.records.erase(list.records.begin());
  list.states.erase(list.states.begin());
  list.records.push_back(n);
  list.states.push_back(0);
}

int CountMarks(const RecordIndex& index) {
  int count = 0;
  for (int n = 0; n < index.size(); ++n) count += index[n].mark != 0;
  return count;
}

void DrawHeaderLine(const EditorContext& context, const EditLayout& layout, const EditorState& editor) {
  const int count = context.log.RecordCount();
  std::string dateFrom;
  const int from = editor.conditions.dateFromRecord;
  if (from >= 0 && from < count) {
    const RecordTexts& texts = context.log.ReadRecord(from);
    dateFrom = std::string(texts[DATE]) + ":" + std::string(texts[START]);
  }
  DrawHeader(TheScreen(), layout, editor, count > 0 && editor.list.current() == count - 1, dateFrom);
}

void DrawListLine(const EditorContext& context, const EditorState& editor, int line) {
  DrawLine(context, editor, line, TodayNow());
}

void DrawSelectArea(const EditorContext& context, const EditLayout& layout, const EditorState& editor) {
  const Today today = TodayNow();
  for (int line = 0; line < editor.list.lines(); ++line) DrawLine(context, editor, line, today);
  DrawHeaderLine(context, layout, editor);
}

void RefreshRecordLines(const EditorContext& context, const EditorState& editor, int n) {
  const Today today = TodayNow();
  for (int line = 0; line < editor.list.lines(); ++line) {
    if (editor.list.records[line] == n) DrawLine(context, editor, line, today);
  }
}

SelectOutcome RunSelectArea(const EditorContext& context, const EditLayout& layout, EditorState& editor,
                            int& leavingKey, int resumeRecord) {
  leavingKey = 0;
  const int count = context.log.RecordCount();
  if (count == 0) {
    ShowNote("交信記録がありません");
    return SelectOutcome::kEdit;
  }
  SelectList& list = editor.list;
  const int lines = list.lines();
  const int page = std::max(1, lines - 1);
  list.cursor = lines - 1;
  for (int line = 0; line < lines; ++line) {
    if (resumeRecord >= 0 && list.records[line] == resumeRecord) list.cursor = line;
  }
  auto redraw = [&] {
    DrawSelectArea(context, layout, editor);
    if (editor.summary.shown) editor.summary.Draw(layout);
    ShowCursorLine(layout, editor);
  };
  auto reposition = [&](int bottom) { PositionList(list, lines, std::clamp(bottom, 0, count - 1)); };
  redraw();
  ShowMenu(kSelectMenu);
  for (;;) {
    Flush();
    TheConsoleSwitches().resizeKey = true;
    const KeyEvent key = [&context] {
      WatchKeyScope watch(context.wsjtx != nullptr);
      return ReadKey();
    }();
    TheConsoleSwitches().resizeKey = false;
    if (key.code == kExtendedKey + scan::kResize) return SelectOutcome::kResized;
    if (key.code == kWatchedKey) return SelectOutcome::kWatched;
    const int cursorRecord = list.records[list.cursor];
    const int top = list.records[0];
    const int bottom = list.current();
    const int extended = key.code >= kExtendedKey ? key.code - kExtendedKey : -1;
    const bool shift = key.shift;
    if (key.code == 13) {
      if (cursorRecord < 0) continue;
      editor.undoCopy = editor.working;
      editor.current = cursorRecord;
      ShowMenu("");
      return SelectOutcome::kReload;
    }
    if (key.code == 27 || key.code == 8 || (extended >= scan::kF1 && extended < scan::kF1 + 8) ||
        (extended >= scan::kShiftF1 && extended < scan::kShiftF1 + 8)) {
      if (key.code != 27) leavingKey = key.code;
      editor.summary.shown = false;
      ThePlayer().StopAll();  // a key macro that brought the cursor here ends
      DrawSelectArea(context, layout, editor);
      TheScreen().ClearCells(0, layout.width - 7, layout.width - 1);
      return SelectOutcome::kEdit;
    }
    if (key.code == ' ') {
      if (cursorRecord >= 0) reposition(cursorRecord);
    } else if (key.upper == 'F' || extended == scan::kHome) {
      reposition(std::min(lines - 1, count - 1));
      list.cursor = FirstRecordLine(list);
    } else if (key.upper == 'L' || extended == scan::kEnd) {
      reposition(count - 1);
    } else if (key.upper == 'M') {
      editor.remembered = list;
      continue;
    } else if (key.upper == 'R') {
      if (editor.remembered.lines() != lines) continue;
      list = editor.remembered;
    } else if (extended == scan::kIns || extended == scan::kDel) {
      const bool mark = extended == scan::kIns;
      if (cursorRecord < 0) continue;
      int& previous = mark ? editor.lastIns : editor.lastDel;
      if (shift) {
        const int from = previous < 0 || previous >= count ? cursorRecord : previous;
        for (int n = std::min(from, cursorRecord); n <= std::max(from, cursorRecord); ++n) {
          SetMark(context.index, n, mark);
        }
        editor.markedCount = CountMarks(context.index);
      } else if ((context.index[cursorRecord].mark != 0) != mark) {
        SetMark(context.index, cursorRecord, mark);
        editor.markedCount += mark ? 1 : -1;
      }
      previous = cursorRecord;
      DrawEditStatus(TheScreen(), layout, editor, count);
    } else if (extended == scan::kUp && !shift) {
      if (list.cursor > FirstRecordLine(list)) {
        --list.cursor;
      } else if (top > 0) {
        reposition(bottom - 1);
        list.cursor = 0;
      } else {
        continue;
      }
    } else if (extended == scan::kUp || extended == scan::kPgUp || extended == scan::kCtrlUp) {
      const int first = FirstRecordLine(list);
      if (extended != scan::kCtrlUp && list.cursor > first) {
        list.cursor = first;
      } else if (list.records[first] > 0) {
        const int step = extended == scan::kCtrlUp ? kBigPage : page;
        const int newTop = std::max(0, list.records[first] - step);
        reposition(std::max(newTop + lines - 1, std::min(lines - 1, count - 1)));
        list.cursor = FirstRecordLine(list);
        for (int line = 0; line < lines; ++line) {
          if (list.records[line] == newTop) list.cursor = line;
        }
      } else {
        continue;
      }
    } else if (extended == scan::kDown && !shift) {
      if (list.cursor < lines - 1) {
        ++list.cursor;
      } else if (bottom < count - 1) {
        AppendToList(list, bottom + 1);
      } else {
        continue;
      }
    } else if (extended == scan::kDown || extended == scan::kPgDn || extended == scan::kCtrlDown) {
      if (extended != scan::kCtrlDown && list.cursor < lines - 1) {
        list.cursor = lines - 1;
      } else if (bottom < count - 1) {
        reposition(bottom + (extended == scan::kCtrlDown ? kBigPage : page));
      } else {
        continue;
      }
    } else {
      Beep();
      continue;
    }
    redraw();
  }
}

}  // namespace vondal
