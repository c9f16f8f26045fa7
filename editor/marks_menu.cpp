#include "editor/marks_menu.h"

#include <string_view>

#include "citylist/call_area.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "editor/search_filter.h"
#include "editor/search_history.h"
#include "editor/search_request.h"
#include "editor/select_area.h"

namespace vondal {
namespace {

constexpr std::string_view kSelectionKeys = "=[]\\ ,.;:JDA";

void Redraw(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  editor.markedCount = CountMarks(context.index);
  DrawSelectArea(context, layout, editor);
  DrawEditStatus(TheScreen(), layout, editor, context.log.RecordCount());
}

// Adds 2 to the mark byte of every record the key selects.
void Select(const EditorContext& context, EditorState& editor, int key) {
  RecordIndex& index = context.index;
  const int count = std::min(context.log.RecordCount(), index.size());
  if (key == 'A') {
    for (int n = 0; n < count; ++n) index[n].mark |= 2;
    return;
  }
  if (key == 'J' || key == 'D') {
    const JaDx wanted = key == 'J' ? JaDx::kJA : JaDx::kDX;
    for (int n = 0; n < count; ++n) {
      if (ClassifyJaDx(index[n].callsign) == wanted) index[n].mark |= 2;
    }
    return;
  }
  // A call-sign search with the edit area's call sign, narrowed by the search conditions.
  const SearchRequest request = RequestOfKey(key, CALLSIGN);
  TheSearchHistory().Store(editor.working[CALLSIGN]);
  const CallsignMatcher matcher(BuildPattern(request, editor.working[CALLSIGN]), request.variant);
  RecordFilter filter(context, editor.conditions, false);
  const int first = editor.conditions.dateFrom ? std::clamp(editor.conditions.dateFromRecord, 0, count) : 0;
  // The selection is decided first for every record, so that the filter sees the old marks.
  std::vector<int> selected;
  for (int n = first; n < count; ++n) {
    if (matcher.Matches(index[n].callsign) && filter.Passes(n)) selected.push_back(n);
  }
  for (int n : selected) index[n].mark |= 2;
}

void MemoryMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  for (;;) {
    const int channel = editor.markChannel;
    int inChannel = 0;
    for (int n = 0; n < context.index.size(); ++n) inChannel += (context.index[n].memories >> channel) & 1;
    const int col = ShowMenu(">標識>ﾒﾓﾘ> R呼出 S保存 E交換 A絞込 O追加 X反転 D解除 Cｸﾘｱ $0～7$ﾁｬﾝﾈﾙ");
    const std::string status = "Ch" + std::to_string(channel) + "*" + std::to_string(inChannel);
    TheScreen().PutTextToEnd(status, MenuRow(), col + 1, ColorOf(ColorElement::Found),
                             ColorOf(ColorElement::Found));
    Flush();
    const KeyEvent key = ReadKey();
    if (key.code >= '0' && key.code <= '7') {
      editor.markChannel = key.code - '0';
      continue;
    }
    if (key.upper > 0 && key.upper < 0x80 &&
        std::string_view("RSEAOXDC").find(static_cast<char>(key.upper)) != std::string_view::npos) {
      ApplyMemoryOperation(context.index, channel, static_cast<char>(key.upper));
      if (key.upper == 'R' || key.upper == 'E') Redraw(context, layout, editor);
      return;
    }
    RejectKey(key.code);
    return;
  }
}

}  // namespace

bool MarkAfter(char operation, bool old, bool selected) {
  switch (operation) {
    case 'N':
      return selected;
    case 'A':
      return old && selected;
    case 'O':
      return old || selected;
    case 'X':
      return old != selected;
    default:
      return old && !selected;  // D
  }
}

void ApplyMemoryOperation(RecordIndex& index, int channel, char operation) {
  const uint8_t bit = static_cast<uint8_t>(1u << channel);
  for (int n = 0; n < index.size(); ++n) {
    IndexEntry& entry = index[n];
    const bool marked = entry.mark != 0;
    const bool kept = (entry.memories & bit) != 0;
    bool newKept = kept;
    bool newMark = marked;
    switch (operation) {
      case 'R':
        newMark = kept;
        break;
      case 'S':
        newKept = marked;
        break;
      case 'E':
        newMark = kept;
        newKept = marked;
        break;
      case 'A':
        newKept = kept && marked;
        break;
      case 'O':
        newKept = kept || marked;
        break;
      case 'X':
        newKept = marked ? !kept : kept;
        break;
      case 'D':
        newKept = kept && !marked;
        break;
      case 'C':
        newKept = false;
        break;
    }
    entry.mark = newMark ? 1 : 0;
    entry.memories = static_cast<uint8_t>(newKept ? entry.memories | bit : entry.memories & ~bit);
  }
}

void MarksMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor) {
  ShowMenu(">標識> =_[_]_\\_$Space$_,_._;_:ｺｰﾙ検索 JJA DDX A全 Cｸﾘｱ Mﾒﾓﾘ");
  KeyEvent key = ReadKey();
  int code = key.upper == '-' ? '=' : key.upper;
  if (code == 'C') {
    for (int n = 0; n < context.index.size(); ++n) context.index[n].mark = 0;
    Redraw(context, layout, editor);
    return;
  }
  if (code == 'M') {
    MemoryMenu(context, layout, editor);
    return;
  }
  if (code <= 0 || code >= 0x80 || kSelectionKeys.find(static_cast<char>(code)) == std::string_view::npos) {
    RejectKey(key.code);
    return;
  }
  ShowMenu(">標識>操作> N新規 A絞込 O追加 X反転 D解除");
  const KeyEvent operation = ReadKey();
  if (operation.upper <= 0 || operation.upper >= 0x80 ||
      std::string_view("NAOXD").find(static_cast<char>(operation.upper)) == std::string_view::npos) {
    RejectKey(operation.code);
    return;
  }
  ShowMenu("");
  Screen& screen = TheScreen();
  screen.PutText("検索中", 0, layout.width - 13, layout.width, ColorOf(ColorElement::Busy),
                 ColorOf(ColorElement::Busy));
  Flush();
  Select(context, editor, code);
  RecordIndex& index = context.index;
  for (int n = 0; n < index.size(); ++n) {
    IndexEntry& entry = index[n];
    entry.mark = MarkAfter(static_cast<char>(operation.upper), entry.mark & 1, entry.mark & 2) ? 1 : 0;
  }
  if (editor.conditions.firstOccurrence != 0 && context.recordUse) context.recordUse("1stonly");
  screen.ClearCells(0, layout.width - 13, layout.width - 1);
  Redraw(context, layout, editor);
}

}  // namespace vondal
