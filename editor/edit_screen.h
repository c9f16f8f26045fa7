// The edit screen's layout and its fixed parts: the title row, the header line with the search
// conditions, and the edit area with the face, the record number and the fields.
#pragma once

#include <string>

#include "console/screen.h"
#include "editor/editor_state.h"
#include "macro/edit_state.h"

namespace vondal {

// Where everything stands for a screen of this size and these display settings.
struct EditLayout {
  int width = 80;
  int menuRow = 23;      // M; the message line is M-1
  int editRow = 15;      // E: the first row of the edit area
  int headerRow = 14;    // the header line
  int selectLines = 13;  // rows 1 … headerRow-1; the last is the current line
  bool oneLine = false;
  bool functionKeys = false;  // the function-key table on rows M-3 and M-2

  // The row of a field's text and of its label (the one-line layout shows only the current
  // field's label, on row E from column 52).
  int TextRow(int page) const { return oneLine ? editRow + 1 + page : editRow + 2 + 2 * page; }
  int LabelRow(int page) const { return oneLine ? editRow : editRow + 1 + 2 * page; }
};

EditLayout ComputeLayout(int width, int height, const DisplaySettings& display);

// The editing state for field `field` of the working record as it stands on the screen: its
// text, place, window, maximum length (the record budget), exit keys and style. The cursor and
// offset are left at 0.
EditState FieldEditState(const EditorState& editor, const EditLayout& layout, int field);

// Row 0: " Ｖｏｎｄａｌ ", the version, the station's call sign, "書込禁止" when write-protected.
void DrawTitle(Screen& screen, const std::string& callsign, bool writeProtected);

// The header line: the frame, "↑最終" when the current line holds the last record, and the
// search conditions from column 78 leftwards. `dateFromText` is DATE:START of the date/time-from
// record (or "" when it is the new record).
void DrawHeader(Screen& screen, const EditLayout& layout, const EditorState& editor, bool lastShown,
                const std::string& dateFromText);

// Row E: the marked-record count, the face name, "新" and the record number.
void DrawEditStatus(Screen& screen, const EditLayout& layout, const EditorState& editor, int recordCount);

// The weekday letter of the edit area's DATE, beside the DATE label (two-row layout).
void DrawEditWeekday(const EditLayout& layout, const EditorState& editor);

// The labels (the current field's reversed), the texts of every field and the weekday.
void DrawFields(Screen& screen, const EditLayout& layout, const EditorState& editor);
// One field's text (after editing: the after-editing colours) and its label.
void DrawField(const EditLayout& layout, const EditorState& editor, int field);
void DrawLabel(Screen& screen, const EditLayout& layout, int field, bool current);

// The function-key table: F1-F8 on row M-3 and Shift+F1-F8 on row M-2, each key with the label
// of the key macro assigned to it (none until the macro store exists).
void DrawFunctionKeyTable(Screen& screen, const EditLayout& layout);

// A record number as shown: position + base, right-aligned in 6 columns, a leading blank as "#".
std::string RecordNumberText(int record, int base);

// The face's name: "φ面" for face 0, a full-width digit and "面" for 1-9.
std::string FaceName(int face);

}  // namespace vondal
