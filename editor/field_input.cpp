#include "editor/field_input.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "app/text/sjis.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/contest.h"
#include "editor/macro_keys.h"
#include "editor/rig_fill.h"
#include "macro/edit_display.h"
#include "macro/edit_error.h"
#include "macro/string_editor.h"
#include "output/band_table.h"

namespace vondal {
namespace {

// The field-move menu's letters, for DATE … AUX2 in order.
constexpr std::string_view kFieldLetters = "QWERTYUIASDFZXCVBNM";
static_assert(kFieldLetters.size() == kFieldCount);

std::tm LocalTime() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

// Moves everything but the undelete buffer (which outlives the field) into the shared state.
void SetUpField(EditState& state, EditState&& fresh) {
  std::string undelete = std::move(state.undelete);
  state = std::move(fresh);
  state.undelete = std::move(undelete);
}

int NextField(int field) { return field == AUX2 ? DATE : field + 1; }
int PreviousField(int field) { return field == DATE ? AUX2 : field - 1; }

// Goes to `to`, remembering the field left.
void JumpTo(EditorState& editor, int to) {
  editor.lastField = editor.field;
  editor.field = to;
}

// Tab in a field: ">ﾌｨｰﾙﾄﾞ移動>". True when it asks for the face menu. Any key closes it; one
// it does not take is rejected.
bool FieldMoveMenu(EditorState& editor) {
  const FieldTable& table = ActiveFieldTable();
  ShowMenu(std::string(">ﾌｨｰﾙﾄﾞ移動> [ﾏｰｸ ]") + table[editor.markedField].name + " H" +
           table[homeField].name + " $Tab$面移動");
  const KeyEvent key = ReadKey();
  const int code = key.upper;
  if (code == 9) return true;
  if (code == '[') {
    editor.markedField = editor.field;
  } else if (code == ']') {
    JumpTo(editor, editor.markedField);
  } else if (code == 'H') {
    JumpTo(editor, homeField);
  } else if (code == ' ') {
    JumpTo(editor, editor.lastField);  // the field left becomes the last field: blank toggles
  } else if (code < 0x80 && code > 0 &&
             kFieldLetters.find(static_cast<char>(code)) != std::string_view::npos) {
    JumpTo(editor, static_cast<int>(kFieldLetters.find(static_cast<char>(code))));
  } else {
    RejectKey(key.code);
  }
  return false;
}

// Puts `value` into field f as auto-fill does: the old text to the undelete buffer, the cursor to
// the head. False (with the string editor's error) when it is longer than the field may take.
bool PutValue(const EditLayout& layout, EditorState& editor, int field, const std::string& value) {
  EditState& state = TheEditState();
  if (static_cast<int>(value.size()) > FieldLimit(field, editor.working)) {
    ShowEditError(state, EditError::kTextOverflow);
    return false;
  }
  state.undelete = editor.working[field];
  editor.working[field] = value;
  editor.faces[editor.face].cursor = 0;
  editor.faces[editor.face].offset = 0;
  DrawField(layout, editor, field);
  return true;
}

}  // namespace

std::string AutoFillValue(const EditorState& editor, const Record& previous, int field) {
  const char source = ActiveFieldTable()[field].attributes[kAutoFillSource];
  if (source != 'D') return previous[field];
  char text[32];
  const std::tm now = LocalTime();
  switch (field) {
    case DATE:
      std::snprintf(text, sizeof text, "%02d%02d%02d", (now.tm_year + 1900) % 100, now.tm_mon + 1,
                    now.tm_mday);
      return text;
    case START:
    case END:
      std::snprintf(text, sizeof text, "%02d%02d", now.tm_hour, now.tm_min);
      return text;
    case MODE: {
      if (editor.working[FREQ].empty()) return "CW";
      static const char* const kClassModes[] = {"", "CW", "SSB", "FM", "AM", "RTTY", "PSK31"};
      const int segment = SegmentOf(editor.working[FREQ]);
      return segment >= 1 && segment <= 6 ? kClassModes[segment] : "";
    }
    case sRST:
    case rRST: {
      const int mode = ModeOf(editor.working[MODE]);
      return mode >= 1 && mode <= 3 ? "59" : "599";
    }
    default:
      return previous[field];
  }
}

int AutoFill(const EditorContext& context, const EditLayout& layout, EditorState& editor, int field) {
  if (field == START) {
    if (AutoFill(context, layout, editor, DATE) == DATE) return DATE;
    DrawEditWeekday(layout, editor);
  }
  const char* attributes = ActiveFieldTable()[field].attributes;
  const bool empty = editor.working[field].empty();
  if (attributes[kAutoFillSource] == ' ' || (attributes[kAutoFillPrecedence] == 'C' && !empty)) {
    ShowMessage("ﾌｨｰﾙﾄﾞが不適当です", TheEditState());
    return field;
  }
  // The radio, where it is the field's default data, is asked again and wins over a text the
  // field keeps (S); without a value from it the rules below stand.
  if (RigFills(context.rig, field)) {
    RigValues values = AskRig(*context.rig, editor.display.freqDigits);
    ShowRigMessage(values.message);
    const std::string& value = field == FREQ ? values.freq : values.mode;
    if (!value.empty()) return PutValue(layout, editor, field, value) ? NextField(field) : field;
  }
  if (attributes[kAutoFillPrecedence] == 'S' && !empty) return NextField(field);
  if (!PutValue(layout, editor, field, AutoFillValue(editor, context.log.previousData(), field)))
    return field;
  return NextField(field);
}

int RunFieldInput(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  Screen& screen = TheScreen();
  EditState& state = TheEditState();
  for (;;) {
    const int field = editor.field;
    Face& face = editor.faces[editor.face];
    DrawLabel(screen, layout, field, true);
    SetUpField(state, FieldEditState(editor, layout, field));
    if (field != editor.cursorField) {
      face.offset = 0;
      face.cursor = ActiveFieldTable()[field].attributes[kCursorOnEntry] == 'T' ? state.TextLength() : 0;
    }
    state.cursor = std::min(face.cursor, state.TextLength());
    state.offset = std::min(face.offset, state.cursor);
    // Width mode L (and C with a text longer than the window) edits in the rest of the row.
    const char widthMode = ActiveFieldTable()[field].attributes[kWidthClass];
    if (widthMode == 'L' || (widthMode == 'C' && state.width < state.TextLength())) {
      state.width = std::max(state.width, std::min(state.maxLength + 1, layout.width - 1 - state.col));
    }
    if (state.cursor >= state.offset + state.width)
      state.offset = std::max(0, state.cursor - state.width + 1);

    TheConsoleSwitches().resizeKey = true;
    int result = Edit(state, InputMode::kEdit);
    TheConsoleSwitches().resizeKey = false;
    editor.working[field] = state.text;
    face.cursor = state.cursor;
    face.offset = state.offset;
    if (result == kResizedKey) {
      editor.cursorField = field;  // the field is edited on where it stood
      return result;
    }
    int next = field;
    if (result == kExtendedKey + 'O') next = AutoFill(context, layout, editor, field);

    editor.cursorField = field;
    DrawLabel(screen, layout, field, false);
    if (field == FREQ) DrawMultiplierTable(layout, editor);
    // A widened window overlaid its neighbours: the row is drawn again.
    DrawFields(screen, layout, editor);

    if (result == 7) {
      AskLabelMacro();
    } else if (result == 3 || result == 0x0A || result == 0x0B || result == 0x0F || result == 0x16) {
      StartLabelMacro(result);
    } else if (result == kExtendedKey + 0x15 || result == kExtendedKey + 0x0E ||
               result == kExtendedKey + 0x01 || result == kExtendedKey + 0x1A ||
               result == kExtendedKey + 0x18 || result == kExtendedKey + 0x19) {
      StartLabelMacro(result - kExtendedKey);  // the control letter the extended key stands for
    } else if (result == 9) {
      if (FieldMoveMenu(editor)) {
        ShowMenu("");
        return kFaceMenuKey;
      }
      ShowMenu("");
      continue;
    } else if (result == kExtendedKey + '+') {
      next = NextField(field);
    } else if (result == kExtendedKey + '-') {
      next = PreviousField(field);
    } else if (result >= kExtendedKey + '1' && result <= kExtendedKey + '8') {
      StartFunctionKeyMacro(result - kExtendedKey - '1');
    } else if (result >= kExtendedKey + 'a' && result <= kExtendedKey + 'h') {
      StartFunctionKeyMacro(8 + result - kExtendedKey - 'a');
    } else if (result != kExtendedKey + 'O') {
      editor.callsignSearch = editor.working[CALLSIGN];
      return result;
    }
    if (next != field) {
      editor.lastField = field;
      editor.field = next;
    }
  }
}

}  // namespace vondal
