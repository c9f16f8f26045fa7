// The colour editor's screen: the element grid in its box and the description below it.
#include <cstdio>

#include "color/color_editor_parts.h"
#include "console/console.h"

namespace vondal {
namespace {

constexpr int kBoxTop = 1;
constexpr int kBoxBottom = 13;
constexpr int kBoxLeft = 1;
constexpr int kBoxRight = 79;
constexpr int kColumnWidth = 13;  // columns from one column of element names to the next

// The description below the box: labels and values.
constexpr int kDescriptionRow = 15;
constexpr int kLabelCol = 3;
constexpr int kValueCol = 9;

int ElementRow(int k) { return kBoxTop + 1 + k % kColorEditorElementsPerColumn; }
int ElementCol(int k) { return 3 + kColumnWidth * (k / kColorEditorElementsPerColumn); }

void DrawDescription(Screen& screen, int element) {
  const auto e = static_cast<ColorElement>(element);
  std::string groups;
  for (char letter : ColorElementGroups(e)) {
    if (!groups.empty()) groups += "，";
    groups += ColorGroupName(letter);
  }
  const std::string_view rows[][2] = {
      {"名称:", ColorElementName(e)},
      {"画面:", groups},
      {"説明:", ColorElementDescription(e)},
      {"補足:", ColorElementNote(e)},
  };
  const uint8_t label = ColorOf(ColorElement::FieldName);
  const uint8_t value = ColorOf(ColorElement::eText);
  int row = kDescriptionRow;
  for (const auto& [name, text] : rows) {
    if (text.empty()) continue;  // only the note may be missing
    screen.PutTextToEnd(name, row, kLabelCol, label, label);
    screen.PutTextToEnd(text, row, kValueCol, value, value);
    ++row;
  }
}

}  // namespace

void DrawColorSetLine(Screen& screen, int row, const ColorSets& sets, int number, const ColorTable* colors) {
  const ColorSet& set = sets.Set(number);
  auto color = [colors](ColorElement e) { return colors ? (*colors)[static_cast<int>(e)] : kPlainAttr; };
  const uint8_t title = color(ColorElement::Title);
  if (number == sets.standard()) screen.PutText("標", row, kSetStandardCol, kSetNumberCol, title, title);
  char text[16];
  std::snprintf(text, sizeof text, " %02d ", number);
  const uint8_t own = set.table[static_cast<int>(ColorElement::Title)];
  screen.PutText(text, row, kSetNumberCol, kSetNameCol, own, own);
  screen.PutText(set.name, row, kSetNameCol, kSetAuthorCol - 1, title, title);
  const uint8_t author = color(ColorElement::MyCallsign);
  screen.PutText(set.author, row, kSetAuthorCol, kSetDateCol - 1, author, author);
  std::snprintf(text, sizeof text, "%02d%02d%02d", set.date[0], set.date[1], set.date[2]);
  const uint8_t date = color(ColorElement::Date);
  screen.PutText(text, row, kSetDateCol, kSetDateCol + 6, date, date);
}

void DrawColorEditor(const ColorSets& sets, int element) {
  Screen& screen = TheScreen();
  screen.ClearRows(0, MessageRow() - 1);
  const ColorTable& table = sets.CurrentSet().table;
  screen.DrawBox(kBoxTop, kBoxLeft, kBoxBottom, kBoxRight, ColorOf(ColorElement::Border));
  DrawColorSetLine(screen, kBoxBottom, sets, sets.current(), &table);
  for (int k = 0; k < kColorElementCount; ++k) {
    const int col = ElementCol(k);
    screen.PutText(ColorElementName(static_cast<ColorElement>(k)), ElementRow(k), col, col + kColumnWidth - 1,
                   table[k], table[k]);
  }
  const uint8_t cursor = ColorOf(ColorElement::eText);
  screen.PutChar('>', ElementRow(element), ElementCol(element) - 1, cursor);
  DrawDescription(screen, element);
}

}  // namespace vondal
