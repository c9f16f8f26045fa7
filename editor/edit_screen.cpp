#include "editor/edit_screen.h"

#include <algorithm>
#include <cstdio>

#include "app/text/sjis.h"
#include "app/text/version.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_event.h"
#include "editor/macro_keys.h"
#include "editor/select_line.h"
#include "log/record.h"
#include "macro/edit_display.h"

namespace vondal {
namespace {

uint8_t Attr(ColorElement element) { return ColorOf(element); }

// The edit style of record fields: no edges, "･" on the empty places within the maximum length,
// blanks beyond it; the case letter comes from the field; Ctrl+] may enter any control code (the
// write refuses 0x1E and 0x1F).
EditStyle FieldStyle(int field) {
  EditStyle style(" ･  N_");
  const char conversion = ActiveFieldTable()[field].attributes[kCaseConversion];
  style.caseMode = conversion == ' ' ? 'N' : conversion;
  return style;
}

// The exit keys of a field: the field table's list from the field's offset on.
ExitKeyList FieldExits(int field) {
  ExitKeyList exits;
  for (int i = ActiveFieldTable()[field].exitKeyOffset; kExitKeys[i] != 0; ++i) {
    exits.keys.push_back(static_cast<char>(kExitKeys[i]));
    exits.codes.push_back(static_cast<char>(kExitActions[i]));
  }
  // A resize of the terminal ends the field's input too, so that the editor lays its screen out
  // again with the text kept (the pseudo key comes after the 0xFF separator, among the scan codes).
  exits.keys.push_back(static_cast<char>(scan::kResize));
  exits.codes.push_back(static_cast<char>(scan::kResize));
  // So does the key watch's key (contacts announced by WSJT-X), which only field input takes.
  exits.keys.push_back(static_cast<char>(scan::kWatched));
  exits.codes.push_back(static_cast<char>(scan::kWatched));
  return exits;
}

}  // namespace

EditLayout ComputeLayout(int width, int height, const DisplaySettings& display) {
  EditLayout layout;
  layout.width = width;
  layout.menuRow = height - 2;
  layout.oneLine = display.oneLine;
  layout.functionKeys = display.functionKeys;
  layout.editRow = layout.menuRow - (display.oneLine ? 5 : 8) - (display.functionKeys ? 2 : 0);
  layout.headerRow = layout.editRow - (display.multiplierTable ? 4 : 1);
  layout.selectLines = std::clamp(layout.headerRow - 1, 1, kMaxSelectLines);
  return layout;
}

EditState FieldEditState(const EditorState& editor, const EditLayout& layout, int field) {
  const FieldEntry& entry = ActiveFieldTable()[field];
  EditState state;
  state.text = editor.working[field];
  state.style = FieldStyle(field);
  state.exits = FieldExits(field);
  state.family = ColorElement::eText;
  state.row = layout.TextRow(entry.page);
  state.col = entry.column;
  state.maxLength = std::min(FieldLimit(field, editor.working), kMaxEditBytes);
  if (state.maxLength < state.TextLength()) state.maxLength = state.TextLength();
  state.width = std::max(1, std::min<int>(entry.width, state.maxLength + 1));
  state.width = std::min(state.width, layout.width - 1 - state.col);
  return state;
}

void DrawTitle(Screen& screen, const std::string& callsign, bool writeProtected) {
  const int width = screen.Width();
  screen.ClearCells(0, 0, width - 1);
  int col = screen.PutTextToEnd(" Ｖｏｎｄａｌ ", 0, 1, Attr(ColorElement::Title), Attr(ColorElement::Title));
  col =
      screen.PutTextToEnd(kProgramVersion, 0, col, Attr(ColorElement::Version), Attr(ColorElement::Version));
  screen.PutTextToEnd(callsign, 0, col + 2, Attr(ColorElement::MyCallsign), Attr(ColorElement::MyCallsign));
  if (writeProtected)
    screen.PutTextToEnd("書込禁止", 0, width - 23, Attr(ColorElement::eError), Attr(ColorElement::eError));
}

void DrawHeader(Screen& screen, const EditLayout& layout, const EditorState& editor, bool lastShown,
                const std::string& dateFromText) {
  const int row = layout.headerRow;
  const int right = layout.width - 1;
  const uint8_t border = Attr(ColorElement::Border);
  screen.ClearCells(row, 0, right);
  screen.PutChar(screen.FrameGlyph(1), row, 0, border);
  screen.PutChar(screen.FrameGlyph(1), row, right, border);
  for (int col = 1; col <= std::min(44, right - 1); ++col)
    screen.PutChar(screen.FrameGlyph(0), row, col, border);
  if (lastShown)
    screen.PutText("↑最終", row, 1, right, Attr(ColorElement::EndOfLog), Attr(ColorElement::EndOfLog));
  if (!editor.searchCount.empty()) {
    screen.PutText(editor.searchCount, row, 21, std::min(43, right), Attr(ColorElement::Found),
                   Attr(ColorElement::Found));
  }

  // The conditions, each only when set, from column 78 leftwards.
  const SearchConditions& c = editor.conditions;
  std::string items[6];
  if (c.upward) items[0] = "↑ ";
  if (c.firstOccurrence != 0) items[1] = std::string("初出") + c.firstOccurrence + " ";
  if (c.markCondition != 0) items[2] = std::string(1, c.markCondition) + " ";
  if (c.jaDx == 'J' || c.jaDx == 'D') items[3] = c.jaDx == 'J' ? "JA " : "DX ";
  if (c.maskType != 0) items[4] = std::string("ﾏｽｸ") + c.maskType + " ";
  if (c.dateFrom && c.dateFromRecord != 0)
    items[5] = dateFromText.empty() ? "新ﾚｺｰﾄﾞ～" : dateFromText + "～";
  screen.ClearCells(row, 43, std::min(78, right - 1));
  int end = std::min(79, right);
  for (const std::string& item : items) {
    if (item.empty()) continue;
    const int col = std::max(1, end - static_cast<int>(item.size()));
    screen.PutText(item, row, col, end, Attr(ColorElement::MaskInfo), Attr(ColorElement::MaskInfo));
    end = col;
  }
}

void DrawFunctionKeyTable(Screen& screen, const EditLayout& layout) {
  if (!layout.functionKeys) return;
  const int cell = layout.width / 8;
  const uint8_t key = Attr(ColorElement::MacroKey);
  for (int shifted = 0; shifted < 2; ++shifted) {
    const int row = layout.menuRow - 3 + shifted;
    screen.ClearCells(row, 0, layout.width - 1);
    for (int i = 0; i < 8; ++i) {
      const std::string name = (shifted ? "S" : "F") + std::to_string(i + 1);
      const int col = screen.PutText(name, row, i * cell, layout.width, key, key);
      screen.PutText(FunctionKeyLabel(8 * shifted + i), row, col, std::min(layout.width, (i + 1) * cell),
                     kPlainAttr, kPlainAttr);
    }
  }
}

std::string RecordNumberText(int record, int base) {
  char text[32];
  std::snprintf(text, sizeof text, "%6d", record + base);
  std::string shown = text;
  if (shown[0] == ' ') shown[0] = '#';
  return shown;
}

std::string FaceName(int face) {
  if (face == 0) return "φ面";
  static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  return std::string(kDigits[face]) + "面";
}

void DrawEditStatus(Screen& screen, const EditLayout& layout, const EditorState& editor, int recordCount) {
  const int row = layout.editRow;
  // In the one-line layout the current field's label stands on this row from column 52.
  screen.ClearCells(row, 0, layout.oneLine ? 51 : 65);
  screen.ClearCells(row, 66, layout.width - 1);
  if (editor.markedCount != 0) {
    screen.PutTextToEnd("*" + std::to_string(editor.markedCount), row, 0, Attr(ColorElement::Found),
                        Attr(ColorElement::Found));
  }
  screen.PutText(FaceName(editor.face), row, 66, layout.width, Attr(ColorElement::RecNumber),
                 Attr(ColorElement::RecNumber));
  const bool isNew = editor.current >= recordCount;
  if (isNew)
    screen.PutText("新", row, 71, layout.width, Attr(ColorElement::NewNumber), Attr(ColorElement::NewNumber));
  const ColorElement number = isNew ? ColorElement::NewNumber : ColorElement::RecNumber;
  screen.PutText(RecordNumberText(editor.current, editor.display.recordBase), row, 73, layout.width,
                 Attr(number), Attr(number));
}

void DrawLabel(Screen& screen, const EditLayout& layout, int field, bool current) {
  const FieldEntry& entry = ActiveFieldTable()[field];
  const uint8_t attr = Attr(ColorElement::FieldName);
  if (layout.oneLine) {
    if (!current) return;
    screen.ClearCells(layout.editRow, 52, 65);
    screen.PutText(entry.name, layout.editRow, 52, 66, attr, attr);
    screen.ReverseCells(layout.editRow, 52, 52 + static_cast<int>(std::string_view(entry.name).size()) - 1);
    return;
  }
  const int row = layout.LabelRow(entry.page);
  const int end = screen.PutText(entry.name, row, entry.column, layout.width - 1, attr, attr);
  if (current && end > entry.column) screen.ReverseCells(row, entry.column, end - 1);
}

void DrawField(const EditLayout& layout, const EditorState& editor, int field) {
  EditState state = FieldEditState(editor, layout, field);
  if (field == editor.field) {
    state.cursor = std::min(editor.faces[editor.face].cursor, state.TextLength());
    state.offset = std::min(editor.faces[editor.face].offset, state.TextLength());
  }
  DrawEditLine(state, true);
}

void DrawEditWeekday(const EditLayout& layout, const EditorState& editor) {
  if (layout.oneLine) return;
  Screen& screen = TheScreen();
  const FieldEntry& date = ActiveFieldTable()[DATE];
  const int row = layout.LabelRow(date.page);
  const int col = date.column + 5;  // behind "DATE "
  screen.ClearCells(row, col, col);
  screen.PutText(WeekdayLetter(editor.working[DATE]), row, col, col + 1, Attr(ColorElement::Calendar),
                 Attr(ColorElement::Calendar));
}

void DrawFields(Screen& screen, const EditLayout& layout, const EditorState& editor) {
  const int firstRow = layout.editRow + (layout.oneLine ? 0 : 1);
  const int lastRow = layout.TextRow(2);
  for (int row = firstRow; row <= lastRow; ++row) {
    if (row == layout.editRow) {
      screen.ClearCells(row, 52, 65);
    } else {
      screen.ClearCells(row, 0, layout.width - 1);
    }
  }
  for (int field = 0; field < kFieldCount; ++field) {
    // AUX1 and AUX2 share a place: the one being edited is shown.
    if (field == AUX1 && editor.field == AUX2) continue;
    if (field == AUX2 && editor.field != AUX2) continue;
    DrawLabel(screen, layout, field, field == editor.field);
    DrawField(layout, editor, field);
  }
  DrawEditWeekday(layout, editor);
}

}  // namespace vondal
