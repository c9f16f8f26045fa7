// The macro editor's lists: the assignment list of the assignment menu and the label list.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "macro/label_table.h"
#include "macro/macro_editor_session.h"

namespace vondal {
namespace {

constexpr int kAssignmentBoxWidth = 76;
constexpr int kLabelBoxWidth = 80;
constexpr int kLabelRows = 18;
constexpr int kLabelColumns = 7;
constexpr int kLabelsPerPage = kLabelRows * kLabelColumns;
constexpr int kLabelEntryWidth = 11;

// The slots in the order the list shows them: slot order, or F1, Shift+F1, F2, ... when paired.
std::vector<int> SlotsInListOrder(bool paired) {
  std::vector<int> slots = {kInitializationSlot};
  for (int i = 0; i < 8; ++i) {
    if (paired) {
      slots.push_back(FunctionKeySlot(i));
      slots.push_back(FunctionKeySlot(8 + i));
    }
  }
  if (!paired) {
    for (int key = 0; key < 16; ++key) slots.push_back(FunctionKeySlot(key));
  }
  return slots;
}

// The box of `width` columns centred on the screen, from `top` over `rows` inner rows; returns its
// left column.
int DrawCentredBox(int top, int rows, int width) {
  Screen& screen = TheScreen();
  const int left = std::max(0, (screen.Width() - width) / 2);
  const int right = std::min(screen.Width() - 1, left + width - 1);
  for (int row = top; row <= top + rows + 1; ++row) screen.ClearCells(row, left, right);
  screen.DrawBox(top, left, top + rows + 1, right, ColorOf(ColorElement::MacroBox));
  return left;
}

bool Valid(const LabelEntry& label) {
  return label.state == LabelEntry::kValid && label.mark != LabelEntry::kDuplicate;
}

bool Passes(const LabelEntry& label, char filter) {
  switch (filter) {
    case 'V':
      return Valid(label);
    case 'I':
      return !Valid(label);
    case 'U':
      return Valid(label) && label.mark == LabelEntry::kCalled;
    case 'N':
      return Valid(label) && label.mark != LabelEntry::kCalled;
    default:
      return true;
  }
}

std::string_view FilterName(char filter) {
  switch (filter) {
    case 'V':
      return "有効ラベル";
    case 'I':
      return "無効ラベル";
    case 'U':
      return "使用ラベル";
    case 'N':
      return "未使用ラベル";
    default:
      return "全ラベル";
  }
}

// One entry: "05: 12" (macro, place + 1), "-" never called or "+" a duplicate, "\" when in a
// comment, the name (a control byte as its letter in mCtrl), "x" when the name is forbidden.
void DrawLabelEntry(const LabelEntry& label, int row, int col, bool chosen) {
  Screen& screen = TheScreen();
  const uint8_t attr = ColorOf(ColorElement::mTextEnd);
  const uint8_t ctrlAttr = ColorOf(ColorElement::mCtrl);
  char place[16];
  std::snprintf(place, sizeof place, "%02d:%3d", label.macro, label.position + 1);
  const int start = col;
  col = screen.PutTextToEnd(place, row, col, attr, attr);
  const char mark = label.mark == LabelEntry::kDuplicate ? '+'
                    : label.mark == LabelEntry::kCalled  ? ' '
                                                         : '-';
  col = screen.PutChar(mark, row, col, attr);
  if (label.state == LabelEntry::kInComment) col = screen.PutChar('\\', row, col, attr);
  const auto first = static_cast<unsigned char>(label.name[0]);
  if (first < 32) {
    col = screen.PutChar(first + 64, row, col, ctrlAttr);
  } else {
    col = screen.PutTextToEnd(label.name, row, col, attr, attr);
  }
  if (label.state == LabelEntry::kForbidden) col = screen.PutChar('x', row, col, attr);
  if (chosen) screen.ReverseCells(row, start, col - 1);
}

}  // namespace

void MacroEditor::DrawAssignmentList() {
  Screen& screen = TheScreen();
  std::vector<int> rows;
  for (int slot : SlotsInListOrder(store_.PairedOrder())) {
    const int n = store_.SlotMacro(slot);
    if (n != 0 && n < store_.Count()) rows.push_back(slot);
  }
  const int top = kFirstRow;
  const int left = DrawCentredBox(top, 1 + static_cast<int>(rows.size()), kAssignmentBoxWidth);
  const int limit = left + kAssignmentBoxWidth - 1;
  const uint8_t attr = ColorOf(ColorElement::rText);
  screen.PutText(store_.Comment(0), top + 1, left + 2, limit, attr, attr);
  int row = top + 2;
  for (int slot : rows) {
    const int n = store_.SlotMacro(slot);
    char number[16];
    std::snprintf(number, sizeof number, "%02d", n);
    const uint8_t keyAttr = ColorOf(ColorElement::MacroKey);
    screen.PutText(SlotName(slot), row, left + 2, limit, keyAttr, keyAttr);
    screen.PutText(number, row, left + 11, limit, ColorOf(ColorElement::MacroNumber),
                   ColorOf(ColorElement::MacroNumber));
    screen.PutText(store_.Comment(n), row, left + 14, limit, ColorOf(ColorElement::rTextEnd),
                   ColorOf(ColorElement::rCtrlEnd));
    ++row;
  }
  Flush();
}

void MacroEditor::LabelList() {
  LabelTable labels;
  const bool overflow = labels.Build(store_);
  const std::vector<LabelEntry>& all = labels.entries();
  Screen& screen = TheScreen();
  int cursor = 0;
  for (;;) {
    std::vector<int> shown;
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
      if (Passes(all[i], memory_.labelFilter)) shown.push_back(i);
    }
    const bool byName = memory_.labelSort == 'C';
    std::stable_sort(shown.begin(), shown.end(), [&](int a, int b) {
      const LabelEntry& x = all[a];
      const LabelEntry& y = all[b];
      if (byName && x.name != y.name) {
        return std::lexicographical_compare(
            x.name.begin(), x.name.end(), y.name.begin(), y.name.end(),
            [](char p, char q) { return static_cast<unsigned char>(p) < static_cast<unsigned char>(q); });
      }
      return x.macro != y.macro ? x.macro < y.macro : x.position < y.position;
    });
    const int count = static_cast<int>(shown.size());
    cursor = std::clamp(cursor, 0, std::max(0, count - 1));

    const int top = kFirstRow;
    const int left = DrawCentredBox(top, kLabelRows, kLabelBoxWidth);
    char counter[64];
    if (overflow) {
      std::snprintf(counter, sizeof counter, "%d/%d/overflow", count == 0 ? 0 : cursor + 1, count);
    } else {
      std::snprintf(counter, sizeof counter, "%d/%d/%d", count == 0 ? 0 : cursor + 1, count,
                    static_cast<int>(all.size()));
    }
    const std::string heading = std::string(" ") + std::string(FilterName(memory_.labelFilter)) + " " +
                                (byName ? "ｺｰﾄﾞ順" : "位置順") + " " + counter + " ";
    const uint8_t titleAttr = ColorOf(ColorElement::Title);
    screen.PutText(heading, top, left + 2, left + kLabelBoxWidth - 2, titleAttr, titleAttr);
    const int page = cursor / kLabelsPerPage;
    for (int i = page * kLabelsPerPage; i < count && i < (page + 1) * kLabelsPerPage; ++i) {
      const int inPage = i - page * kLabelsPerPage;
      DrawLabelEntry(all[shown[i]], top + 1 + inPage % kLabelRows,
                     left + 1 + inPage / kLabelRows * kLabelEntryWidth, i == cursor);
    }
    Flush();
    ShowMenu(">ﾗﾍﾞﾙ一覧> A全 V有効 I無効 U使用 N未使用 Cｺｰﾄﾞ順 P位置順 $Enter$移動");
    const KeyEvent key = ReadKey();
    switch (key.upper) {
      case 'A':
      case 'V':
      case 'I':
      case 'U':
      case 'N':
        memory_.labelFilter = static_cast<char>(key.upper);
        cursor = 0;
        continue;
      case 'C':
      case 'P':
        memory_.labelSort = static_cast<char>(key.upper);
        continue;
      case 13:
        if (count > 0) {
          const LabelEntry& label = all[shown[cursor]];
          GoToPlace(TextLine(label.macro), label.position);
        }
        ShowMenu("");
        return;
      case 27:
        ShowMenu("");
        return;
      default:
        break;
    }
    const int scanCode = key.code - kExtendedKey;
    if (scanCode == scan::kUp) {
      cursor = std::max(0, cursor - 1);
    } else if (scanCode == scan::kDown) {
      cursor = std::min(count - 1, cursor + 1);
    } else if (scanCode == scan::kLeft) {
      cursor = std::max(0, cursor - kLabelRows);
    } else if (scanCode == scan::kRight) {
      cursor = std::min(count - 1, cursor + kLabelRows);
    } else {
      RejectKey(key.code);
    }
  }
}

}  // namespace vondal
