// The macro editor's Esc menu and the commands behind it.
#include <cstdio>

#include "app/text/sjis.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/edit_error.h"
#include "macro/label_table.h"
#include "macro/line_input.h"
#include "macro/macro_editor_session.h"
#include "macro/macro_file.h"
#include "macro/macro_notation.h"
#include "macro/macro_player.h"
#include "macro/shortening.h"
#include "macro/string_editor.h"
#include "macro/syntax_check.h"

namespace vondal {
namespace {

constexpr char kEscMenu[] = " T整理 U割当 C検査 Lﾗﾍﾞﾙ一覧 G取得 X外部ﾌｧｲﾙ Sｻｲｽﾞ Fﾌｧｲﾙ A想定 M Q終了";
constexpr size_t kFileNameBytes = 63;

// The Esc menu; the item M only for the developer.
std::string EscMenuLine() {
  std::string menu = kEscMenu;
  if (!TheConsoleSwitches().authorsuse) menu[menu.find(" M ")] = '!';
  return menu;
}

// Shows `menu` and reads its key.
KeyEvent Ask(std::string_view menu) {
  ShowMenu(menu);
  const KeyEvent key = ReadKey();
  ShowMenu("");
  return key;
}

}  // namespace

int MacroEditor::EscMenu() {
  const KeyEvent key = Ask(EscMenuLine());
  switch (key.upper) {
    case 'T':
      Tidy();
      return -1;
    case 'U':
      AssignMenu();
      return -1;
    case 'C':
      CheckMenu();
      return -1;
    case 'L':
      LabelList();
      return -1;
    case 'G':
      GetMenu();
      return -1;
    case 'X':
      ExternalAccess();
      return -1;
    case 'S':
      SizeMenu();
      return -1;
    case 'F':
      FileMenu();
      return -1;
    case 'A':
      Assumption();
      return -1;
    case 'M':
      if (TheConsoleSwitches().authorsuse) {
        EditBuiltIns();
      } else {
        RejectKey(key.code);
      }
      return -1;
    case '0':
      if (TheConsoleSwitches().authorsuse) {
        ThePlayer().StartMacro(TheEditState(), store_.Text(0));
      } else {
        RejectKey(key.code);
      }
      return -1;
    case 'Q':
      return 0;
    case 13:
      return kIntoRecordEditor;
    case 9:
    case ':':
    case '@':
      return key.upper;
    default:
      RejectKey(key.code);
      return -1;
  }
}

void MacroEditor::Tidy() {
  if (!IsTextLine(Current())) return;
  std::string text(LineText(Current()));
  const int saved = ShortenMacro(text);
  if (saved > 0) SetLineText(Current(), text);
  char message[64];
  std::snprintf(message, sizeof message, "%3d桁短縮しました", saved);
  ShowNote(message);
}

void MacroEditor::AssignMenu() {
  const int n = MacroOf(Current());
  if (n == 0) {  // the key macro is played with Home
    Beep();
    return;
  }
  for (;;) {
    DrawAssignmentList();
    const KeyEvent key = Ask(">割当> I初期化 $(Shift)F1～8$ｷｰ C解除 O表示順");
    const int scanCode = key.code - kExtendedKey;
    if (key.code == 27) return;
    if (key.upper == 'I') {
      store_.Assign(n, kInitializationSlot);
    } else if (key.upper == 'C') {
      store_.Assign(n, kClearSlot);
    } else if (key.upper == 'O') {
      store_.ToggleDisplayOrder();
      continue;
    } else if (scanCode >= scan::kF1 && scanCode < scan::kF1 + 8) {
      store_.Assign(n, FunctionKeySlot(scanCode - scan::kF1));
    } else if (scanCode >= scan::kShiftF1 && scanCode < scan::kShiftF1 + 8) {
      store_.Assign(n, FunctionKeySlot(8 + scanCode - scan::kShiftF1));
    } else {
      RejectKey(key.code);
      continue;
    }
    return;
  }
}

void MacroEditor::CheckMenu() {
  const KeyEvent key = Ask(">検査> C文法検査 G全体文法検査");
  if (key.upper != 'C' && key.upper != 'G') {
    RejectKey(key.code);
    return;
  }
  LabelTable labels;
  labels.Build(store_);
  WholeCheck check;
  if (key.upper == 'C') {
    check = {MacroOf(Current()), CheckMacro(store_, MacroOf(Current()), labels)};
  } else {
    check = CheckAllMacros(store_, MacroOf(Current()), labels);
  }
  if (check.error.ok()) {
    ShowNote(kSyntaxOk);
    return;
  }
  GoToPlace(TextLine(check.macro), check.error.position);
  Error(check.error.text);
}

void MacroEditor::GetMenu() {
  const KeyEvent key = Ask(">取得> Nﾏｸﾛ# -前文字 +次文字 L標準ﾗﾍﾞﾙﾏｸﾛ");
  switch (key.upper) {
    case 'N': {
      char number[16];
      std::snprintf(number, sizeof number, "%02d", MacroOf(Current()));
      CopyBuffer() = number;
      return;
    }
    case '-':
    case '+': {
      const std::string_view text = LineText(Current());
      const int cursor = Place(Current()).cursor;
      if (cursor < static_cast<int>(text.size()) && CharLength(text, cursor) == 1) {
        const int code = static_cast<unsigned char>(text[cursor]) + (key.upper == '+' ? 1 : -1);
        if ((code >= 1 && code <= 126) || (code >= 161 && code <= 223)) {
          CopyBuffer() = std::string(1, static_cast<char>(code));
          return;
        }
      }
      Beep();
      return;
    }
    case 'L':
      CopyBuffer() = StandardLabelMacro();
      return;
    default:
      RejectKey(key.code);
      return;
  }
}

void MacroEditor::ExternalAccess() {
  const KeyEvent key = Ask(">外部ﾌｧｲﾙ> Xｱｸｾｽ H16進ｱｸｾｽ");
  if (key.upper != 'X' && key.upper != 'H') {
    RejectKey(key.code);
    return;
  }
  std::string text(LineText(Current()));
  const ExternalResult result = context_.external.Access(text, key.upper == 'H');
  SetLineText(Current(), text);  // a line read in, cut to what the line holds
  if (result.error) {
    Error(result.message);
  } else if (!result.message.empty()) {
    ShowNote(result.message);
  }
}

void MacroEditor::SizeMenu() {
  const KeyEvent key = Ask(">ｻｲｽﾞ変更> $1～9$10～90ﾏｸﾛ 0100ﾏｸﾛ");
  if (key.code < '0' || key.code > '9') {
    RejectKey(key.code);
    return;
  }
  const int digit = key.code - '0';
  const std::string refusal = store_.Resize(digit == 0 ? macro_format::kMaxRecords : 10 * digit);
  if (!refusal.empty()) Error(refusal);
  KeepInList();
}

void MacroEditor::FileMenu() {
  const KeyEvent key = Ask(">ﾌｧｲﾙ> B復元 R再読込 J結合読込 A別名保存");
  switch (key.upper) {
    case 'B':
      if (Ask(">ﾌｧｲﾙ>復元> $Enter$実行").code != 13) return;
      store_.Restore();
      break;
    case 'R':
      if (Ask(">ﾌｧｲﾙ>再読込> $Enter$実行").code != 13) return;
      store_.Reload();
      break;
    case 'J':
    case 'A': {
      const bool join = key.upper == 'J';
      LineInputResult input = InputLine(MenuRow(), join ? "結合ﾏｸﾛﾌｧｲﾙ名" : "保存ﾏｸﾛﾌｧｲﾙ名(既存ﾌｧｲﾙは上書き)",
                                        "", kFileNameBytes);
      ShowMenu("");
      if (!input.accepted || input.text.empty()) return;
      const std::string name = MacroFileName(input.text);
      if (!join) {
        if (std::string failure = WriteMacroFile(context_.fs, name, store_); !failure.empty()) Error(failure);
      } else if (std::string failure = ReadMacroFile(context_.fs, name, store_); !failure.empty()) {
        Error(WithoutCode(failure));
      } else {
        store_.Changed();
      }
      break;
    }
    default:
      RejectKey(key.code);
      return;
  }
  ThePlayer().SetKeyMacroArea(store_.KeyMacroArea());  // the key macro may be another now
  ResetPlaces();
  KeepInList();
}

void MacroEditor::Assumption() {
  bool reversed = false;
  for (;;) {
    const KeyEvent key = Ask(reversed ? ">想定>(逆) -逆 C注釈行 B空行 R外部読 W外部書"
                                      : ">想定> -逆 C注釈行 B空行 R外部読 W外部書");
    bool holds = false;
    switch (key.upper) {
      case '-':
        reversed = !reversed;
        continue;
      case 'C':
        holds = !IsTextLine(Current());
        break;
      case 'B':
        holds = LineText(Current()).empty();
        break;
      case 'R':
        holds = context_.external.mode() == 'R';
        break;
      case 'W':
        holds = context_.external.mode() == 'W';
        break;
      case 27:
        return;
      default:
        RejectKey(key.code);
        return;
    }
    if (holds != reversed) return;
    Error(std::string("想定外(") + (reversed ? "-" : "") + static_cast<char>(key.upper) + ")");
    return;
  }
}

void MacroEditor::EditBuiltIns() {
  const KeyEvent key = Ask(">ﾏｸﾛ編集用ﾏｸﾛ> $F1～F10$ $Ctrl↑↓$");
  const int scanCode = key.code - kExtendedKey;
  int which = -1;
  if (scanCode >= scan::kF1 && scanCode <= scan::kF10) which = scanCode - scan::kF1;
  if (scanCode == scan::kCtrlUp) which = kBuiltInCtrlUp;
  if (scanCode == scan::kCtrlDown) which = kBuiltInCtrlDown;
  if (which < 0) {
    RejectKey(key.code);
    return;
  }
  Screen& screen = TheScreen();
  const int row = MenuRow();
  screen.ClearRows(row, row);
  const int promptEnd = screen.PutTextToEnd("ﾏｸﾛ編集用ﾏｸﾛ", row, 0, kPlainAttr, kPlainAttr);
  EditState state;
  state.text = memory_.builtIns[which];
  state.style = EditStyle("[･<] _");
  state.family = ColorElement::mText;
  state.exits = {"\x1B", "\x1B"};
  state.row = row;
  state.col = promptEnd + 1;
  state.width = screen.Width() - state.col - 2;
  state.maxLength = macro_format::kMaxTextBytes;
  state.cursor = state.TextLength();
  if (Edit(state) == 13) {
    ThePlayer().StopAll();  // nothing may play from the text that is replaced
    memory_.builtIns[which] = state.text;
  }
  ShowMenu("");
}

}  // namespace vondal
