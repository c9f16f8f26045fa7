// The set list (L): the sets below the element grid, one a row. The set under the cursor is the
// current set while the cursor rests on it, so the whole screen previews it.
#include <algorithm>
#include <cstdio>

#include "color/color_editor_parts.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {
namespace {

constexpr char kListMenu[] = ">色ｾｯﾄ一覧> $Enter$編集 U標準使用 C複写 D削除 $Ctrl↑↓$移動";
constexpr char kDeleteMenu[] = ">色ｾｯﾄ一覧>削除> $Enter$実行";

constexpr int kHeaderRow = 14;
constexpr int kFirstRow = 15;
constexpr int kRowsBesideList = 19;  // the screen rows that are not list rows

// The list's rows as they stand: the first set shown and how many rows there are.
struct ListView {
  int top = 0;
  int rows = 1;

  void Show(int cursor) {
    if (cursor < top) top = cursor;
    if (cursor >= top + rows) top = cursor - rows + 1;
  }
};

void DrawList(const ColorSets& sets, const ListView& view, int element) {
  DrawColorEditor(sets, element);
  Screen& screen = TheScreen();
  screen.ClearRows(kHeaderRow, MessageRow() - 1);
  const uint8_t label = ColorOf(ColorElement::FieldName);
  char range[16];
  std::snprintf(range, sizeof range, "00～%02d", sets.count() - 1);
  screen.PutTextToEnd(range, kHeaderRow, kSetStandardCol, label, label);
  screen.PutTextToEnd("色ｾｯﾄ名", kHeaderRow, kSetNameCol, label, label);
  screen.PutTextToEnd("作者", kHeaderRow, kSetAuthorCol, label, label);
  screen.PutTextToEnd("編集日", kHeaderRow, kSetDateCol, label, label);
  for (int r = 0; r < view.rows && view.top + r < sets.count(); ++r) {
    const int n = view.top + r;
    // The set under the cursor in its own colours, the others plain.
    const bool atCursor = n == sets.current();
    DrawColorSetLine(screen, kFirstRow + r, sets, n, atCursor ? &sets.Set(n).table : nullptr);
    if (atCursor) screen.PutChar('>', kFirstRow + r, kSetStandardCol - 1, ColorOf(ColorElement::eText));
  }
}

}  // namespace

void RunSetList(ColorEditorContext& context, int element) {
  ColorSets& sets = context.sets;
  int entry = sets.current();  // Esc goes back to it, and it cannot be deleted
  int cursor = entry;
  ListView view;
  view.rows = std::max(1, TheScreen().Height() - kRowsBesideList);
  for (;;) {
    sets.Select(cursor);
    view.Show(cursor);
    DrawList(sets, view, element);
    ShowMenu(kListMenu);
    const KeyEvent key = ReadKey();
    TheScreen().ClearRows(MessageRow(), MessageRow());
    const int last = sets.count() - 1;
    switch (key.upper) {
      case kExtendedKey + scan::kUp:
        cursor = key.shift ? 0 : std::max(0, cursor - 1);
        break;
      case kExtendedKey + scan::kDown:
        cursor = key.shift ? last : std::min(last, cursor + 1);
        break;
      case kExtendedKey + scan::kPgUp:
        cursor = std::max(0, cursor - view.rows);
        break;
      case kExtendedKey + scan::kPgDn:
        cursor = std::min(last, cursor + view.rows);
        break;
      case kExtendedKey + scan::kCtrlUp:
        if (cursor > 0) {
          sets.ExchangeWithNext(cursor - 1);
          entry = ColorSets::NumberAfterExchange(entry, cursor - 1);
          --cursor;
        }
        break;
      case kExtendedKey + scan::kCtrlDown:
        if (cursor < last) {
          sets.ExchangeWithNext(cursor);
          entry = ColorSets::NumberAfterExchange(entry, cursor);
          ++cursor;
        }
        break;
      case 13:
        return;
      case 27:
        sets.Select(entry);
        return;
      case 'U':
        if (cursor != sets.standard()) sets.SetStandard(cursor);
        break;
      case 'C':
        if (std::string refusal = sets.Copy(cursor); !refusal.empty()) {
          ShowColorError(context, refusal);
        } else {
          entry = ColorSets::NumberAfterCopy(entry, cursor);
          ++cursor;
        }
        break;
      case 'D':
        if (cursor == entry) {
          ShowColorError(context, "使用中の色ｾｯﾄは削除できません");
        } else if (cursor == sets.standard()) {
          ShowColorError(context, "標準の色ｾｯﾄは削除できません");
        } else {
          ShowMenu(kDeleteMenu);
          if (ReadKey().code == 13) {
            sets.Delete(cursor);
            entry = ColorSets::NumberAfterDelete(entry, cursor);
            cursor = sets.current();
          }
        }
        break;
      default:
        RejectKey(key.code);
        break;
    }
  }
}

}  // namespace vondal
