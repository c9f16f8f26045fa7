// The select area: the list of records above the header line, positioned on a record, drawn
// from the log, and the Select mode with its keys (moving, paging, remembering a view, marks).
#pragma once

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"

namespace vondal {

// Lays the list out for `lines` lines with record `record` on the bottom (current) line; lines
// above record 0 are empty. States are cleared.
void PositionList(SelectList& list, int lines, int record);

// Makes the list `lines` lines long after a layout change: with another line count the old view
// is shifted so that its bottom lines stay; otherwise (and a list never positioned) it is
// positioned on the last record.
void FitList(SelectList& list, int lines, int recordCount);

// Draws every line of the select area and the header line.
void DrawSelectArea(const EditorContext& context, const EditLayout& layout, const EditorState& editor);
// Draws line `line` of the list (a search draws its hits as they come).
void DrawListLine(const EditorContext& context, const EditorState& editor, int line);
// Draws the lines that show record n (after it was written or marked).
void RefreshRecordLines(const EditorContext& context, const EditorState& editor, int n);
// The header line alone.
void DrawHeaderLine(const EditorContext& context, const EditLayout& layout, const EditorState& editor);

// Appends record n below the current line (the list scrolls up by one line).
void AppendToList(SelectList& list, int n);

// How Select mode ended.
enum class SelectOutcome {
  kEdit,     // back to field input
  kReload,   // the cursor line's record goes into the edit area (editor.current is set)
  kResized,  // the terminal was resized: the editor lays out again and goes on selecting
  kWatched,  // contacts announced by WSJT-X wait: the editor writes them and goes on selecting
};

// Mode Select without a search request: the keys of the select area until one leaves it. A
// function key or Backspace that leaves it returns its key in `leavingKey` (macro keys). The
// cursor starts on the current line, or with `resume` on the line of `resumeRecord` when it is
// shown (after a resize).
SelectOutcome RunSelectArea(const EditorContext& context, const EditLayout& layout, EditorState& editor,
                            int& leavingKey, int resumeRecord = -1);

// The number of marked records, counted again from the index.
int CountMarks(const RecordIndex& index);

}  // namespace vondal
