#include "editor/editor.h"

#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/contest.h"
#include "editor/edit_screen.h"
#include "editor/editor_menus.h"
#include "editor/faces.h"
#include "editor/field_input.h"
#include "editor/get_convert.h"
#include "editor/macro_keys.h"
#include "editor/marks_menu.h"
#include "editor/mask_menu.h"
#include "editor/other_menu.h"
#include "editor/rig_fill.h"
#include "editor/search.h"
#include "editor/select_area.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"
#include "macro/macro_player.h"

namespace vondal {

EditorState& TheEditor() {
  static EditorState editor;
  return editor;
}

namespace {

constexpr int kSkippedNoteColumn = 10;  // "保存省略しました" on the menu line

constexpr char kEditorMenu[] =
    " C次編集 N新 S選択 E変換 G取得 F検索_Mﾏｽｸ P雛型 A入力欄 D表示 T標識 O他 Q終了";

class Editor {
 public:
  Editor(EditorContext& context, EditorState& editor) : context_(context), editor_(editor) {}

  int Run();

 private:
  int Count() const { return context_.log.RecordCount(); }
  void LayOut();
  // After a resize: the screen of the new size, laid out again with nothing typed lost.
  void AdoptTerminalSize();
  void DrawAll();
  void DrawEditArea();
  void Prepare();
  // The editor menu; returns -1 to go on, else the key to leave the editor with.
  int EditorMenu();
  void Write();
  void NextEdit();
  int Leave(int key);

  EditorContext& context_;
  EditorState& editor_;
  EditLayout layout_;
  SearchRequest pending_;  // the search mode Select runs next
};

void Editor::LayOut() {
  Screen& screen = TheScreen();
  FitFieldTable(screen.Width(), editor_.display.wideEdit);
  layout_ = ComputeLayout(screen.Width(), screen.Height(), editor_.display);
  FitList(editor_.list, layout_.selectLines, Count());
  DrawAll();
}

void Editor::AdoptTerminalSize() {
  if (context_.adoptTerminalSize && context_.adoptTerminalSize()) {
    LayOut();
  } else {
    Repaint();  // the same size (or one too small): what is there is shown again
  }
}

void Editor::DrawAll() {
  Screen& screen = TheScreen();
  screen.ClearRows(0, layout_.menuRow - 1);
  DrawTitle(screen, context_.callsign, context_.log.options.writeProtect);
  DrawSelectArea(context_, layout_, editor_);
  DrawMultiplierTable(layout_, editor_);
  DrawEditArea();
  DrawFunctionKeyTable(screen, layout_);
}

void Editor::DrawEditArea() {
  DrawEditStatus(TheScreen(), layout_, editor_, Count());
  DrawFields(TheScreen(), layout_, editor_);
}

// Modes Reload, New and Mask: the edit area gets its record, and field input starts on the home
// field.
void Editor::Prepare() {
  switch (editor_.mode) {
    case EditorMode::kReload:
      CopyTexts(context_.log.ReadRecord(editor_.current), editor_.working);
      break;
    case EditorMode::kNew:
      if (editor_.templateOn) {
        editor_.working = editor_.templateSlot;
      } else {
        editor_.working = Record{};
      }
      ShowRigMessage(FillNewRecordFromRig(context_.rig, editor_));
      editor_.current = Count();
      break;
    case EditorMode::kMask:
      editor_.working = editor_.conditions.mask;
      editor_.current = Count();
      break;
    default:
      return;
  }
  editor_.field = homeField;
  editor_.cursorField = -1;  // the cursor goes to the field's start place
  editor_.mode = EditorMode::kEdit;
  DrawEditArea();
}

void Editor::Write() {
  const int n = editor_.current;
  const bool append = n >= Count();
  const int target = append ? Count() : n;
  WriteResult result = context_.log.WriteRecord(target, editor_.working);
  if (result.fatal) FatalMessage(result.message);
  if (TheContest().Covers(target)) {
    ShowContestCheck(layout_, TheContest().last());
    DrawMultiplierTable(layout_, editor_);
  }
  if (!result.written && !result.message.empty()) {
    // The edit area stays as it is; the cursor goes to the field the refusal is about.
    ShowMessage(result.message, TheEditState());
    if (result.field >= 0) editor_.field = result.field;
    return;
  }
  if (!result.message.empty()) ShowMessage(result.message, TheEditState());
  // Nothing else uses the menu line while a field is edited: the note stays there.
  if (result.skipped)
    TheScreen().PutTextToEnd("保存省略しました", MenuRow(), kSkippedNoteColumn, TheConsoleColors().message,
                             TheConsoleColors().message);
  const int written = append ? Count() - 1 : n;
  if (append) {
    if (editor_.list.current() == written - 1) {
      AppendToList(editor_.list, written);
    } else {
      PositionList(editor_.list, layout_.selectLines, written);
    }
    DrawSelectArea(context_, layout_, editor_);
  } else {
    RefreshRecordLines(context_, editor_, written);
    if (editor_.conditions.dateFrom && editor_.conditions.dateFromRecord == written) {
      DrawHeaderLine(context_, layout_, editor_);
    }
  }
  editor_.mode = EditorMode::kNew;
}

void Editor::NextEdit() {
  const int count = Count();
  if (count == 0) {
    ShowNote("交信記録がありません");
    return;
  }
  if (editor_.list.current() >= count - 1) {
    ShowNote("最終交信です");
    return;
  }
  editor_.undoCopy = editor_.working;
  const int next = editor_.list.current() + 1;
  AppendToList(editor_.list, next);
  DrawSelectArea(context_, layout_, editor_);
  editor_.current = next;
  editor_.mode = EditorMode::kReload;
}

int Editor::Leave(int key) {
  ShowMenu("");
  SaveFace(editor_, Count());
  return key == 'Q' ? 0 : key;
}

int Editor::EditorMenu() {
  bool macroList = false;  // "/" put the macro list on the menu line: the menu keys still act
  for (;;) {
    if (!macroList) ShowMenu(kEditorMenu);
    const bool listShown = macroList;
    macroList = false;
    const KeyEvent key = ReadKey();
    switch (key.upper) {
      case 'C':
        NextEdit();
        return -1;
      case 'N':
        editor_.undoCopy = editor_.working;
        editor_.mode = EditorMode::kNew;
        return -1;
      case 'S':
        editor_.mode = EditorMode::kSelect;
        return -1;
      case 'E':
        ConvertMenu(layout_, editor_);
        return -1;
      case 'G':
        GetMenu(context_, layout_, editor_);
        return -1;
      case 'P':
        TemplateMenu(editor_);
        return -1;
      case 'T':
        MarksMenu(context_, layout_, editor_);
        return -1;
      case 'O':
        if (OtherMenu(context_, layout_, editor_) == OtherEffect::kLayout) LayOut();
        return -1;
      case 'F': {
        const SearchRequest request = SearchMenu(context_, layout_, editor_);
        if (!request.empty()) {
          pending_ = request;
          editor_.mode = EditorMode::kSelect;
        }
        return -1;
      }
      case 'M':
        if (MaskMenu(context_, layout_, editor_) == MaskMenuResult::kEditMask)
          editor_.mode = EditorMode::kMask;
        return -1;
      case 'A':
        if (FieldSettingsMenu(layout_, editor_) == MenuEffect::kLayout) LayOut();
        DrawLabel(TheScreen(), layout_, editor_.field, true);
        return -1;
      case 'D':
        switch (DisplayMenu(context_, editor_)) {
          case MenuEffect::kLayout:
            LayOut();
            break;
          case MenuEffect::kSelectArea:
            DrawSelectArea(context_, layout_, editor_);
            break;
          case MenuEffect::kNone:
            break;
        }
        return -1;
      case 'Q':
      case 9:
      case ':':
      case '@':
      case '^':
        return Leave(key.upper);
      case ' ':
        PositionList(editor_.list, layout_.selectLines, Count() - 1);
        DrawSelectArea(context_, layout_, editor_);
        return -1;
      case '/':
        if (!listShown && !(macroList = ShowMacroList())) ShowMessage("ﾏｸﾛがありません", TheEditState());
        continue;
      case '\\':
        continue;
      default:
        if (key.code >= '0' && key.code <= '9') {
          AskMacroNumber(key.code);
          return -1;
        }
        RejectKey(key.code);
        return -1;
    }
  }
}

int Editor::Run() {
  ThePlayer().SetRecordingState(kRecordingOff);
  context_.log.multiplier = &TheContest();
  const Face& face = editor_.faces[editor_.face];
  editor_.current = face.record >= 0 && face.record < Count() ? face.record : Count();
  if (editor_.current >= Count() && editor_.mode == EditorMode::kReload) editor_.mode = EditorMode::kNew;
  editor_.list.records.clear();                                  // positioned on the last record
  if (context_.adoptTerminalSize) context_.adoptTerminalSize();  // resized while away
  ShowMenu("");
  LayOut();
  editor_.markedCount = CountMarks(context_.index);
  int resumeRecord = -1;  // the select area's cursor record across a resize
  for (;;) {
    DrawEditStatus(TheScreen(), layout_, editor_, Count());
    Prepare();
    if (editor_.mode == EditorMode::kSelect && !pending_.empty()) {
      const SearchRequest request = pending_;
      pending_ = {};
      switch (RunSearch(context_, layout_, editor_, request)) {
        case SearchOutcome::kEdit:
          editor_.mode = EditorMode::kEdit;
          break;
        case SearchOutcome::kReload:
          editor_.mode = EditorMode::kReload;
          break;
        case SearchOutcome::kSelect:
          break;
      }
      DrawEditStatus(TheScreen(), layout_, editor_, Count());
      continue;
    }
    if (editor_.mode == EditorMode::kSelect) {
      int leavingKey = 0;
      const SelectOutcome outcome = RunSelectArea(context_, layout_, editor_, leavingKey, resumeRecord);
      resumeRecord = -1;
      if (outcome == SelectOutcome::kResized) {
        resumeRecord = editor_.list.records[editor_.list.cursor];
        AdoptTerminalSize();
        continue;
      }
      editor_.mode = outcome == SelectOutcome::kReload ? EditorMode::kReload : EditorMode::kEdit;
      // Backspace also starts the key macro at the label Ctrl+B, a function key its macro.
      if (leavingKey == 8) {
        StartLabelMacro(2);
      } else if (leavingKey >= kExtendedKey + scan::kShiftF1) {
        StartFunctionKeyMacro(8 + leavingKey - kExtendedKey - scan::kShiftF1);
      } else if (leavingKey >= kExtendedKey + scan::kF1) {
        StartFunctionKeyMacro(leavingKey - kExtendedKey - scan::kF1);
      }
      continue;
    }
    const int result = RunFieldInput(context_, layout_, editor_);
    if (result == kResizedKey) {
      AdoptTerminalSize();
    } else if (result == kFaceMenuKey) {
      if (FaceMenu(editor_, layout_.width, Count())) DrawEditArea();
    } else if (result == 13) {
      Write();
    } else if (result == 27) {
      if (const int leave = EditorMenu(); leave >= 0) return leave;
      ShowMenu("");
    } else if (const SearchRequest request = RequestOfKey(result, editor_.field); !request.empty()) {
      // The direct search keys of CALLSIGN, DATE, START and END.
      pending_ = request;
      editor_.mode = EditorMode::kSelect;
    }
  }
}

}  // namespace

int RunEditor(EditorContext& context) {
  Editor editor(context, TheEditor());
  return editor.Run();
}

}  // namespace vondal
