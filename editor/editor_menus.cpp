#include "editor/editor_menus.h"

#include <algorithm>

#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "log/date_time.h"
#include "macro/edit_error.h"

namespace vondal {
namespace {

// Reads a digit 0 … `highest` after the menu; -1 for any other key (rejected).
int AskDigit(const char* menu, int highest) {
  ShowMenu(menu);
  const KeyEvent key = ReadKey();
  if (key.code >= '0' && key.code <= '0' + highest) return key.code - '0';
  RejectKey(key.code);
  return -1;
}

MenuEffect EditAreaMenu(EditorState& editor) {
  DisplaySettings& d = editor.display;
  ShowMenu(">表示>編集ｴﾘｱ> H行数 W横幅 Kﾌｧﾝｸｼｮﾝｷｰ表 Mﾏﾙﾁ表 R解除");
  const KeyEvent key = ReadKey();
  switch (key.upper) {
    case 'H':
      d.oneLine = !d.oneLine;
      break;
    case 'W':
      d.wideEdit = !d.wideEdit;
      break;
    case 'K':
      d.functionKeys = !d.functionKeys;
      break;
    case 'M':
      d.multiplierTable = !d.multiplierTable;
      break;
    case 'R':
      d.oneLine = d.wideEdit = d.functionKeys = d.multiplierTable = false;
      break;
    default:
      RejectKey(key.code);
      return MenuEffect::kNone;
  }
  FitFieldTable(TheScreen().Width(), d.wideEdit);
  return MenuEffect::kLayout;
}

MenuEffect SelectAreaMenu(const EditorContext& context, EditorState& editor) {
  DisplaySettings& d = editor.display;
  ShowMenu(">表示>選択ｴﾘｱ> T日時強調_Nｵﾝ_Fｵﾌ C曜 EEND PFREQ MMODE SRST QMyQTH R解除");
  const KeyEvent key = ReadKey();
  switch (key.upper) {
    case 'T':
      d.highlightFirst = PositionOfEditDate(context, editor, true);
      d.highlight = true;
      break;
    case 'N':
      d.highlight = true;
      break;
    case 'F':
      d.highlight = false;
      break;
    case 'C':
      d.weekday = !d.weekday;
      break;
    case 'E':
      d.endColumn = !d.endColumn;
      break;
    case 'S':
      d.rstColumn = !d.rstColumn;
      break;
    case 'R':
      d.RestoreSelectDefaults();
      break;
    case 'P': {
      const int digits = AskDigit(">表示>選択ｴﾘｱ>FREQ桁> $0～5$", 5);
      if (digits < 0) return MenuEffect::kNone;
      d.freqDigits = digits == 0 ? -1 : digits;
      break;
    }
    case 'M': {
      const int width = AskDigit(">表示>選択ｴﾘｱ>MODE幅> $0～5$", 5);
      if (width < 0) return MenuEffect::kNone;
      d.modeWidth = width;
      break;
    }
    case 'Q': {
      ShowMenu(">表示>選択ｴﾘｱ>MyQTH> $0～9$全角幅 +増 -減 L左詰");
      const KeyEvent q = ReadKey();
      if (q.code >= '0' && q.code <= '9') {
        d.myqthWidth = 2 * (q.code - '0');
      } else if (q.code == '+') {
        d.myqthWidth = std::min(18, d.myqthWidth + 1);
      } else if (q.code == '-') {
        d.myqthWidth = std::max(0, d.myqthWidth - 1);
      } else if (q.upper == 'L') {
        d.myqthLeft = !d.myqthLeft;
      } else {
        RejectKey(q.code);
        return MenuEffect::kNone;
      }
      break;
    }
    default:
      RejectKey(key.code);
      return MenuEffect::kNone;
  }
  return MenuEffect::kSelectArea;
}

// The sub-menus of the input-field settings: key, menu text, the positions its letters set.
struct AttributeMenu {
  int key;
  const char* menu;
  int first;
  int second;  // -1: one letter only
  const char* firstLetters;
  const char* secondLetters;
};

constexpr AttributeMenu kAttributeMenus[] = {
    {'D', ">入力欄>幅> S標準 L拡大 C条件", kWidthClass, -1, "SLC", ""},
    {'C', ">入力欄>ｶｰｿﾙ位置> H先頭 T末尾", kCursorOnEntry, -1, "HT", ""},
    {'E', ">入力欄>自動変換> U大文字 L小文字 I大頭文字 R大小反転 N無変換", kCaseConversion, -1, "ULIRN", ""},
    {'A', ">入力欄>自動記入> D規定ﾃﾞｰﾀ P前回ﾃﾞｰﾀ O現状無視 S現状優先 C現状保護", kAutoFillSource,
     kAutoFillPrecedence, "DP", "OSC"},
    {'B', ">入力欄>空欄> A可 B不可", kBlankRule, -1, "AB", ""},
    {'M', ">入力欄>模倣型ﾏｽｸ> A型 C型 S大小区別 I大小無視", kMaskType, kMaskCase, "AC", "SI"},
};

void AttributeSubMenu(const AttributeMenu& sub, int field) {
  char* attributes = ActiveFieldTable()[field].attributes;
  const int column = ShowMenu(sub.menu);
  Screen& screen = TheScreen();
  const int row = MenuRow();
  const char letter = attributes[sub.first];
  std::string current;
  bool fixed = true;
  if (letter == 'c') {
    current = "ｺｰﾙｻｲﾝ用に固定";
  } else if (letter == ' ') {
    current = "対象外";
  } else if (sub.key == 'B' && field <= MODE) {
    current = std::string("現在=") + letter + " 変更不可";
  } else {
    current = std::string("現在=") + letter;
    if (sub.second >= 0) current += attributes[sub.second];
    fixed = false;
  }
  screen.PutTextToEnd(current, row, column + 2, kPlainAttr, kPlainAttr);
  Flush();
  const KeyEvent key = ReadKey();
  if (fixed) return;
  const int code = key.upper;
  if (code > 0 && code < 0x80) {
    if (std::string_view(sub.firstLetters).find(static_cast<char>(code)) != std::string_view::npos) {
      attributes[sub.first] = static_cast<char>(code);
      return;
    }
    if (sub.second >= 0 &&
        std::string_view(sub.secondLetters).find(static_cast<char>(code)) != std::string_view::npos) {
      attributes[sub.second] = static_cast<char>(code);
      return;
    }
  }
  RejectKey(key.code);
}

}  // namespace

void DisplaySettings::RestoreSelectDefaults() {
  highlight = false;
  weekday = true;
  endColumn = false;
  rstColumn = false;
  freqDigits = 3;
  modeWidth = 1;
  myqthWidth = 4;
  myqthLeft = false;
}

int PositionOfEditDate(const EditorContext& context, const EditorState& editor, bool withStart) {
  const int32_t key =
      DateTimeKey(editor.working[DATE], withStart ? std::string_view(editor.working[START]) : "0000");
  const int count = context.log.RecordCount();
  for (int n = 0; n < count && n < context.index.size(); ++n) {
    if (context.index[n].key >= key) return n;
  }
  return count;
}

MenuEffect DisplayMenu(const EditorContext& context, EditorState& editor) {
  ShowMenu(">表示> 0_1最初ﾚｺｰﾄﾞ# E編集ｴﾘｱ S選択ｴﾘｱ L検索ﾘｽﾄ");
  const KeyEvent key = ReadKey();
  switch (key.upper) {
    case '0':
    case '1':
      editor.display.recordBase = key.code - '0';
      return MenuEffect::kLayout;
    case 'E':
      return EditAreaMenu(editor);
    case 'S':
      return SelectAreaMenu(context, editor);
    case 'L':
      editor.display.searchList = !editor.display.searchList;
      return MenuEffect::kNone;
    default:
      RejectKey(key.code);
      return MenuEffect::kNone;
  }
}

MenuEffect FieldSettingsMenu(const EditLayout& layout, EditorState& editor) {
  DrawLabel(TheScreen(), layout, editor.field, true);
  ShowMenu(">入力欄> D幅 Cｶｰｿﾙ位置 E自動変換 A自動記入 B空欄 M模倣型ﾏｽｸ Hﾎｰﾑﾌｨｰﾙﾄﾞ R解除");
  const KeyEvent key = ReadKey();
  for (const AttributeMenu& sub : kAttributeMenus) {
    if (key.upper == sub.key) {
      AttributeSubMenu(sub, editor.field);
      return MenuEffect::kNone;
    }
  }
  switch (key.upper) {
    case 'H':
      homeField = editor.field;
      return MenuEffect::kNone;
    case 'R':
      ResetFieldTable();
      FitFieldTable(TheScreen().Width(), editor.display.wideEdit);
      return MenuEffect::kLayout;
    case 'J':
      ShowNote("未実装です");
      return MenuEffect::kNone;
    default:
      RejectKey(key.code);
      return MenuEffect::kNone;
  }
}

}  // namespace vondal
