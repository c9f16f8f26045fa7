#include "editor/get_convert.h"

#include "app/text/half_width.h"
#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "citylist/call_area.h"
#include "citylist/city_list.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/dictionary.h"
#include "editor/field_operations.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"

namespace vondal {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A refusal stops a running key macro, as every error of the string editor does.
void Refuse(std::string_view message) { ShowMessage(message, TheEditState()); }

std::string CityFailure(CityResult result) {
  switch (result) {
    case CityResult::kNotLoaded:
      return "CGlist3.TXTが読めません";
    case CityResult::kOtherCallArea:
      return "ｴﾘｱが違います";
    case CityResult::kSeveralCandidates:
      return "候補が複数あります";
    default:
      return "変換できません";
  }
}

// The field after a change: cursor and window at the start.
void Changed(const EditLayout& layout, EditorState& editor) {
  editor.faces[editor.face].cursor = 0;
  editor.faces[editor.face].offset = 0;
  editor.cursorField = editor.field;
  DrawField(layout, editor, editor.field);
}

void DictionaryMenu(const EditLayout& layout, EditorState& editor) {
  bool reverse = false;
  for (;;) {
    std::string menu = std::string(">変換>辞書> -逆") + (reverse ? "(逆)" : "");
    for (const Dictionary& d : TheDictionaries()) {
      if (d.usable()) menu += std::string(" ") + d.menuKey + d.label;
    }
    ShowMenu(menu);
    const KeyEvent key = ReadKey();
    if (key.code == '-') {
      reverse = !reverse;
      continue;
    }
    for (const Dictionary& d : TheDictionaries()) {
      if (d.usable() && key.upper == d.menuKey) {
        std::string& text = editor.working[editor.field];
        const std::string refusal =
            ConvertWithDictionary(d, reverse, FieldLimit(editor.field, editor.working), text);
        if (!refusal.empty()) {
          Refuse(refusal);
          return;
        }
        Changed(layout, editor);
        return;
      }
    }
    RejectKey(key.code);
    return;
  }
}

}  // namespace

std::string CityNumberOfName(std::string_view text, std::string_view callsign, std::string& number) {
  text = text.substr(0, text.find('('));
  size_t start = 0;
  while (start < text.size() && CharLength(text, start) == 1) ++start;
  NameMatch match;
  const CityResult result =
      TheCityList().NumberOfName(text.substr(start), std::max(0, CallArea(callsign)), match);
  if (result != CityResult::kFound) return CityFailure(result);
  if (NumberText(match.number, number) != CityResult::kFound) return "変換できません";
  return "";
}

std::string CityNameAtCursor(std::string_view text, size_t cursor, bool withPrefecture, std::string& name) {
  size_t at = std::min(cursor, text.size());
  // From the cursor leftwards, the first digit.
  size_t found = std::string_view::npos;
  for (size_t pos = 0; pos < text.size() && pos <= at;) {
    if (IsDigit(text[pos])) found = pos;
    pos += CharLength(text, pos);
  }
  if (found == std::string_view::npos) return "番号がありません";
  size_t first = found, last = found + 1;
  while (first > 0 && IsDigit(text[first - 1]) && IsCharStart(text, first - 1)) --first;
  while (last < text.size() && IsDigit(text[last])) ++last;
  const size_t digits = last - first;
  if (digits != 2 && digits != 4 && digits != 5 && digits != 6) return "桁数が違います";
  const CityResult result = TheCityList().NameOfNumber(text.substr(first, digits), withPrefecture, name);
  if (result == CityResult::kNotLoaded) return "CGlist3.TXTが読めません";
  return result == CityResult::kFound ? "" : "変換できません";
}

void GetMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  ShowMenu(">取得> Rﾚｺｰﾄﾞ# L文字列長 UUTC JJST C市郡# D市郡名 E県市郡名 P再入力 Zｱﾝﾄﾞｩ");
  const KeyEvent key = ReadKey();
  const int field = editor.field;
  const std::string& text = editor.working[field];
  std::string result;
  std::string refusal;
  switch (key.upper) {
    case 'R':
      result = std::to_string(editor.current + editor.display.recordBase);
      break;
    case 'L':
      result = std::to_string(text.size());
      break;
    case 'U':
    case 'J':
      refusal =
          ConvertTimeZone(field, editor.working[DATE], editor.working[START], text, key.upper == 'U', result);
      break;
    case 'C':
      CopyBuffer().clear();
      refusal = CityNumberOfName(text, editor.working[CALLSIGN], result);
      break;
    case 'D':
    case 'E':
      CopyBuffer().clear();
      refusal = CityNameAtCursor(text, editor.faces[editor.face].cursor, key.upper == 'E', result);
      break;
    case 'P':
    case 'Z':
      if (field == AUX1 || field == AUX2) {
        refusal = "ﾌｨｰﾙﾄﾞが不適当です";
      } else {
        result = key.upper == 'P' ? context.log.previousData()[field] : editor.undoCopy[field];
      }
      break;
    default:
      RejectKey(key.code);
      return;
  }
  if (!refusal.empty()) {
    Refuse(refusal);
    return;
  }
  CopyBuffer() = std::string(CutAtCharacter(result, kCopyBufferBytes));
  (void)layout;
}

void ConvertMenu(const EditLayout& layout, EditorState& editor) {
  ShowMenu(">変換> H半角 U大文字 L小文字 R反転 I頭文字 Sｾﾊﾟﾚｰﾀ整理 ++1 --1 D辞書");
  const KeyEvent key = ReadKey();
  std::string& text = editor.working[editor.field];
  Face& face = editor.faces[editor.face];
  switch (key.upper) {
    case 'H': {
      size_t cursor = std::min<size_t>(face.cursor, text.size());
      text = ToHalfWidth(text, cursor);
      face.cursor = static_cast<int>(cursor);
      face.offset = std::min(face.offset, face.cursor);
      editor.cursorField = editor.field;
      DrawField(layout, editor, editor.field);
      return;
    }
    case 'U':
      text = ToUpperAscii(text);
      break;
    case 'L':
      text = ToLowerAscii(text);
      break;
    case 'R':
      text = InvertCase(text);
      break;
    case 'I':
      text = Capitalise(ToLowerAscii(text));
      break;
    case 'S': {
      ShowMenu(">変換>ｾﾊﾟﾚｰﾀ整理>");
      const KeyEvent separator = ReadKey();
      if (separator.code == 27) return;
      if (separator.code > 0xFF || separator.code == 0 || separator.code >= kExtendedKey) {
        RejectKey(separator.code);
        return;
      }
      text = TidySeparators(text, static_cast<char>(separator.code));
      Changed(layout, editor);
      return;
    }
    case '+':
    case '-': {
      std::string stepped = text;
      const std::string refusal = StepAtCursor(stepped, face.cursor, key.upper == '+' ? 1 : -1);
      if (!refusal.empty()) {
        Refuse(refusal);
        return;
      }
      text = stepped;
      editor.cursorField = editor.field;  // the cursor stays where it is
      DrawField(layout, editor, editor.field);
      return;
    }
    case 'D':
      DictionaryMenu(layout, editor);
      return;
    default:
      RejectKey(key.code);
      return;
  }
  editor.cursorField = editor.field;
  DrawField(layout, editor, editor.field);
}

}  // namespace vondal
