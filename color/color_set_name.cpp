// Name, author and edit date of the current set (N), edited in a box below the element grid.
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/text/sjis.h"
#include "color/color_editor_parts.h"
#include "console/console.h"
#include "console/key_event.h"
#include "console/menu_line.h"
#include "log/date_time.h"

namespace vondal {
namespace {

constexpr int kTop = 14;
constexpr int kLeft = 1;
constexpr int kRight = 79;
constexpr int kLabelCol = 3;
constexpr int kFieldCol = 13;
constexpr size_t kDateDigits = 6;

struct Field {
  std::string_view label;
  std::string text;
  size_t maxBytes;
};

void DrawBox(const std::vector<Field>& fields) {
  Screen& screen = TheScreen();
  const int bottom = kTop + static_cast<int>(fields.size()) + 1;
  screen.ClearRows(kTop, bottom);
  screen.DrawBox(kTop, kLeft, bottom, kRight, ColorOf(ColorElement::Border));
  const uint8_t label = ColorOf(ColorElement::FieldName);
  const uint8_t text = ColorOf(ColorElement::eTextEnd);
  for (size_t i = 0; i < fields.size(); ++i) {
    const int row = kTop + 1 + static_cast<int>(i);
    screen.PutText(fields[i].label, row, kLabelCol, kFieldCol - 1, label, label);
    screen.PutText(fields[i].text, row, kFieldCol, kRight, text, ColorOf(ColorElement::eCtrlEnd));
  }
}

// The date as six digits YYMMDD, or nothing when it is no valid date.
std::optional<std::array<uint8_t, 3>> ParseDate(std::string_view text) {
  if (text.size() != kDateDigits || CheckDate(text) != 0) return std::nullopt;
  auto pair = [text](size_t at) {
    return static_cast<uint8_t>((text[at] - '0') * 10 + (text[at + 1] - '0'));
  };
  return std::array<uint8_t, 3>{pair(0), pair(2), pair(4)};
}

}  // namespace

void EditSetName(ColorEditorContext& context) {
  ColorSet& set = context.sets.CurrentSet();
  char date[16];
  std::snprintf(date, sizeof date, "%02d%02d%02d", set.date[0], set.date[1], set.date[2]);
  std::vector<Field> fields = {
      // A file may hold one byte more than the user can type.
      {"色ｾｯﾄ名", std::string(CutAtCharacter(set.name, kColorSetNameBytes)), kColorSetNameBytes},
      {"作者", std::string(CutAtCharacter(set.author, kColorAuthorBytes)), kColorAuthorBytes},
  };
  // Only the developer sets the date by hand; everyone else's edits set it to today.
  if (TheConsoleSwitches().authorsuse) fields.push_back({"編集日", date, kDateDigits});
  const int count = static_cast<int>(fields.size());
  const int dateField = 2;
  int i = 0;
  ShowMenu("");
  for (;;) {
    DrawBox(fields);
    Field& field = fields[i];
    const int row = kTop + 1 + i;
    const int exit =
        context.editField(field.text, row, kFieldCol, static_cast<int>(field.maxBytes) + 1, field.maxBytes);
    if (exit == 27) return;
    if (exit == kExtendedKey + scan::kUp) {
      i = (i + count - 1) % count;
    } else if (exit == kExtendedKey + scan::kDown) {
      i = (i + 1) % count;
    } else if (exit == 13) {
      std::optional<std::array<uint8_t, 3>> newDate = set.date;
      if (count > dateField) {
        newDate = ParseDate(fields[dateField].text);
        if (!newDate) {
          ShowColorError(context, "日付が不正です");
          i = dateField;
          continue;
        }
      }
      if (fields[0].text != set.name || fields[1].text != set.author || *newDate != set.date) {
        set.name = fields[0].text;
        set.author = fields[1].text;
        set.date = *newDate;
        context.sets.CountChange();
      }
      return;
    }
  }
}

}  // namespace vondal
