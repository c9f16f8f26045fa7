#include "editor/other_menu.h"

#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/contest.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"

namespace vondal {
namespace {

// ">他>想定>": a condition a key macro assumes; false ends the macro with "想定外(...)です".
void AssumptionTest(const EditorContext& context, const EditorState& editor) {
  bool reverse = false;
  for (;;) {
    ShowMenu(">他>想定> -逆 32bit O旧ﾚｺｰﾄﾞ B空欄 T標識 AUX Sｾｰﾌﾃｨ L限定保存 R外部読 W外部書");
    if (reverse) {
      TheScreen().PutText("(逆)", MenuRow(), 8, TheScreen().Width(), kPlainAttr, kPlainAttr);
      Flush();
    }
    const KeyEvent key = ReadKey();
    if (key.code == '-') {
      reverse = !reverse;
      continue;
    }
    if (key.code == 27) return;
    bool holds = false;
    switch (key.upper) {
      case '3':
        holds = true;
        break;
      case '1':
        holds = false;
        break;
      case 'O':
        holds = editor.current < context.log.RecordCount();
        break;
      case 'B':
        holds = editor.working[editor.field].empty();
        break;
      case 'T':
        holds = editor.markedCount > 0;
        break;
      case 'A':
        holds = editor.field == AUX1 || editor.field == AUX2;
        break;
      case 'S':
        holds = context.safety != nullptr && context.safety->configured();
        break;
      case 'L':
        holds = context.log.options.limitedsave;
        break;
      case 'R':
        holds = context.external != nullptr && context.external->mode() == 'R';
        break;
      case 'W':
        holds = context.external != nullptr && context.external->mode() == 'W';
        break;
      default:
        RejectKey(key.code);
        break;
    }
    ShowMenu("");
    if (holds == reverse) {
      // The key as the menu read it: upper-cased.
      std::string shown =
          key.upper < 0x80 && key.upper > 0x20 ? std::string(1, static_cast<char>(key.upper)) : "?";
      ShowMessage("想定外(" + std::string(reverse ? "-" : "") + shown + ")です", TheEditState());
    }
    return;
  }
}

}  // namespace

void TemplateMenu(EditorState& editor) {
  ShowMenu(">雛形> P設定 Nｵﾝ Fｵﾌ");
  const KeyEvent key = ReadKey();
  switch (key.upper) {
    case 'P':
      for (int i = 0; i < kStoredFieldCount; ++i) editor.templateSlot[i] = editor.working[i];
      editor.templateOn = true;
      break;
    case 'N':
      editor.templateOn = true;
      break;
    case 'F':
      editor.templateOn = false;
      break;
    default:
      RejectKey(key.code);
      break;
  }
}

std::string OtherMenuLine(const EditorState& editor, bool limitedsave, bool sound, bool authorsuse) {
  std::string line = ">他>";
  line += editor.presearch ? " Fﾌﾟﾘ検索ｵﾌ" : " Pﾌﾟﾘ検索";
  if (authorsuse) line += limitedsave ? " U全保存" : " L限定保存";
  line += " Cｺﾝﾃｽﾄ";
  line += sound ? " S無音" : " B音";
  line += " R全解除 X外部ﾌｧｲﾙｱｸｾｽ T日時記録 A想定";
  return line;
}

void ResetEditorSwitches(const EditorContext& context, EditorState& editor) {
  editor.conditions.upward = false;
  editor.conditions.dateFrom = false;
  editor.conditions.maskType = 0;
  editor.conditions.jaDx = 'W';
  editor.conditions.markCondition = 0;
  editor.conditions.firstOccurrence = 0;
  editor.templateOn = false;
  editor.presearch = false;
  DisplaySettings& d = editor.display;
  d.highlight = false;
  d.searchList = false;
  d.oneLine = d.wideEdit = d.functionKeys = d.multiplierTable = false;
  d.recordBase = 0;
  d.RestoreSelectDefaults();  // which turns the weekday column on again
  context.log.options.limitedsave = false;
  ResetFieldTable();
  TheConsoleSwitches().sound = false;
}

OtherEffect OtherMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  ConsoleSwitches& switches = TheConsoleSwitches();
  ShowMenu(OtherMenuLine(editor, context.log.options.limitedsave, switches.sound, switches.authorsuse));
  const KeyEvent key = ReadKey();
  switch (key.upper) {
    case 'P':
      editor.presearch = true;
      break;
    case 'F':
      editor.presearch = false;
      break;
    case 'L':
      if (!switches.authorsuse) {
        RejectKey(key.code);
        break;
      }
      context.log.options.limitedsave = true;
      break;
    case 'U':
      context.log.options.limitedsave = false;
      break;
    case 'B':
      switches.sound = true;
      break;
    case 'S':
      switches.sound = false;
      break;
    case 'C':
      ContestMenu(context, layout, editor);
      break;
    case 'R':
      ResetEditorSwitches(context, editor);
      return OtherEffect::kLayout;
    case 'X':
      if (context.externalAccess) {
        std::string& text = editor.working[editor.field];
        context.externalAccess(text, static_cast<size_t>(FieldLimit(editor.field, editor.working)));
        editor.cursorField = -1;  // the text changed under the cursor
        return OtherEffect::kLayout;
      }
      break;
    case 'T':
      if (context.safety == nullptr || !context.safety->configured()) {
        ShowMessage("ｾｰﾌﾃｨﾌｧｲﾙがありません", TheEditState());
      } else if (context.safety->WriteMarker(editor.working[REMARKS]) != 0) {
        ShowMessage("ｾｰﾌﾃｨﾌｧｲﾙに書込めません", TheEditState());
      }
      break;
    case 'A':
      AssumptionTest(context, editor);
      break;
    default:
      RejectKey(key.code);
      break;
  }
  return OtherEffect::kNone;
}

}  // namespace vondal
