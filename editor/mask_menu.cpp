#include "editor/mask_menu.h"

#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/editor_menus.h"
#include "editor/select_area.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"

namespace vondal {
namespace {

void MarkConditionMenu(SearchConditions& c) {
  ShowMenu(">検索条件>標識> *標識ﾚｺｰﾄﾞ $Space$非標識ﾚｺｰﾄﾞ Fｵﾌ");
  const KeyEvent key = ReadKey();
  if (key.code == '*' || key.code == ' ') {
    c.markCondition = static_cast<char>(key.code);
  } else if (key.upper == 'F') {
    c.markCondition = 0;
  } else {
    RejectKey(key.code);
  }
}

void FirstOccurrenceMenu(SearchConditions& c) {
  ShowMenu(">検索条件>初出ｺｰﾙｻｲﾝ> A全体 B本体 Pﾌﾟﾘﾌｨｯｸｽ Sｻﾌｨｯｸｽ Fｵﾌ");
  const KeyEvent key = ReadKey();
  if (key.upper == 'A' || key.upper == 'B' || key.upper == 'P' || key.upper == 'S') {
    c.firstOccurrence = static_cast<char>(key.upper);
  } else if (key.upper == 'F') {
    c.firstOccurrence = 0;
  } else {
    RejectKey(key.code);
  }
}

// E with a calculation mask: its text goes back into the current field, cursor at its start.
void EditExpression(const EditLayout& layout, EditorState& editor) {
  const std::string& text = editor.conditions.expression;
  if (static_cast<int>(text.size()) > FieldLimit(editor.field, editor.working)) {
    ShowEditError(TheEditState(), EditError::kTextOverflow);
    return;
  }
  editor.working[editor.field] = text;
  editor.faces[editor.face].cursor = 0;
  editor.faces[editor.face].offset = 0;
  editor.cursorField = editor.field;
  DrawField(layout, editor, editor.field);
}

}  // namespace

bool CompileCalculationMask(const EditLayout& layout, EditorState& editor) {
  SearchConditions& c = editor.conditions;
  c.expression = editor.working[editor.field];
  const int code = c.calculation.Compile(c.expression, true);
  if (code == kConditionOk) {
    c.maskType = c.lastMaskType = 'C';
    return true;
  }
  c.maskType = 0;
  ShowMessage(ConditionMessage(code), TheEditState());
  editor.faces[editor.face].cursor = c.calculation.errorPosition();
  editor.cursorField = editor.field;  // field input keeps the cursor there
  (void)layout;
  return false;
}

MaskMenuResult MaskMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  SearchConditions& c = editor.conditions;
  ShowMenu(">検索ﾏｽｸ> M模倣型_C計算型_Nｵﾝ_Fｵﾌ_E編集 JA_DX_Wｵﾌ T日時_Iｵﾝ_Oｵﾌ *標識 1初 R解除");
  const KeyEvent key = ReadKey();
  MaskMenuResult result = MaskMenuResult::kDone;
  switch (key.upper) {
    case 'M':
      for (int i = 0; i < kStoredFieldCount; ++i) c.mask[i] = editor.working[i];
      c.maskType = c.lastMaskType = 'M';
      break;
    case 'C':
      CompileCalculationMask(layout, editor);
      break;
    case 'N':
      c.maskType = c.lastMaskType == 'C' && !c.calculation.compiled() ? 0 : c.lastMaskType;
      break;
    case 'F':
      c.maskType = 0;
      break;
    case 'E':
      if (c.lastMaskType == 'M') {
        editor.undoCopy = editor.working;
        result = MaskMenuResult::kEditMask;
      } else {
        EditExpression(layout, editor);
      }
      break;
    case 'J':
    case 'D':
    case 'W':
      c.jaDx = static_cast<char>(key.upper);
      break;
    case 'T':
      c.dateFromRecord = PositionOfEditDate(context, editor, true);
      c.dateFrom = true;
      break;
    case 'I':
      c.dateFrom = true;
      break;
    case 'O':
      c.dateFrom = false;
      break;
    case '*':
      MarkConditionMenu(c);
      break;
    case '1':
      FirstOccurrenceMenu(c);
      break;
    case 'R':
      c.upward = false;
      c.dateFrom = false;
      c.maskType = 0;
      c.jaDx = 'W';
      c.markCondition = 0;
      c.firstOccurrence = 0;
      break;
    default:
      RejectKey(key.code);
      break;
  }
  DrawHeaderLine(context, layout, editor);
  return result;
}

}  // namespace vondal
