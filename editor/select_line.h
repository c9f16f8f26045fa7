// One line of the select area: a record drawn in columns by field, each field in its colour,
// within the select area's frame. The same function draws every line, so the list, the cursor
// line and the lines refreshed after a write always look alike.
#pragma once

#include "console/screen.h"
#include "editor/editor_state.h"
#include "log/record.h"

namespace vondal {

// Today's date in the two-digit groups DATE is written in.
struct Today {
  int yy = 0;  // year modulo 100
  int mm = 0;
  int dd = 0;
};
Today TodayNow();

struct SelectLine {
  const RecordTexts* texts = nullptr;  // null: an empty line
  bool marked = false;                 // "*" in column 0
  char state = 0;                      // 1, 2: "_" before a search hit (call-sign, date)
  bool highlighted = false;            // DATE and START in the highlight colour
  bool firstMarker = false;            // an empty line that shows "↓最初"
};

// Draws `line` on `row` from column 0 to W-1 (the frame glyph in columns 0 and W-1).
void DrawSelectLine(Screen& screen, int row, const SelectLine& line, const DisplaySettings& display,
                    Today today);

// The weekday letter of a DATE ("ﾆｹｶｽﾓｷﾄ", Sunday first), or "" for an invalid date.
std::string_view WeekdayLetter(std::string_view date);

// The column where CALLSIGN starts: 13, or 18 with the END column.
inline int CallsignColumn(const DisplaySettings& display) { return display.endColumn ? 18 : 13; }

}  // namespace vondal
