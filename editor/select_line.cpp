#include "editor/select_line.h"

#include <algorithm>
#include <ctime>

#include "app/text/sjis.h"
#include "color/color_set.h"
#include "log/date_time.h"

namespace vondal {
namespace {

// "ﾆｹｶｽﾓｷﾄ": one half-width katakana a day, Sunday first.
constexpr std::string_view kWeekdays = "ﾆｹｶｽﾓｷﾄ";
static_assert(kWeekdays.size() == 7);

uint8_t Attr(ColorElement element) { return ColorOf(element); }

// The integer part and the fraction of FREQ: a FREQ without a point is all integer part.
struct FreqParts {
  std::string_view whole;
  std::string_view fraction;
  bool point = false;
};

FreqParts SplitFreq(std::string_view freq) {
  const size_t point = freq.find('.');
  if (point == std::string_view::npos) return {freq, {}, false};
  return {freq.substr(0, point), freq.substr(point + 1), true};
}

// Draws a text and the blank behind it; the column after both.
int PutItem(Screen& screen, std::string_view text, int row, int col, int limit, ColorElement element) {
  col = screen.PutText(text, row, col, limit, Attr(element), Attr(ColorElement::CtrlCode));
  return std::min(col + 1, limit);
}

void DrawDate(Screen& screen, int row, std::string_view date, bool highlighted, Today today) {
  const uint8_t attr = Attr(highlighted ? ColorElement::MaskInfo : ColorElement::Date);
  screen.PutText(date, row, 1, 7, attr, Attr(ColorElement::CtrlCode));
  if (highlighted || date.size() < 6) return;
  // The last two-digit group that matches today's, from the year on, stands out.
  const int groups[3] = {today.yy, today.mm, today.dd};
  int matched = -1;
  for (int g = 0; g < 3; ++g) {
    const char a = date[2 * g], b = date[2 * g + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9' || (a - '0') * 10 + (b - '0') != groups[g]) break;
    matched = g;
  }
  if (matched >= 0) {
    screen.PutText(date.substr(2 * matched, 2), row, 1 + 2 * matched, 7, Attr(ColorElement::DateNow),
                   Attr(ColorElement::CtrlCode));
  }
}

// FREQ aligned on its point at column `pointCol`; returns the column after it.
int DrawFreq(Screen& screen, int row, std::string_view freq, int pointCol, int digits, int limit) {
  const FreqParts parts = SplitFreq(freq);
  const uint8_t attr = Attr(ColorElement::Frequency);
  const uint8_t ctrl = Attr(ColorElement::CtrlCode);
  // The integer part ends just before the point, cut on its left when it is longer than there is
  // room for (from column 1).
  std::string_view whole = parts.whole;
  if (static_cast<int>(whole.size()) > pointCol - 1) whole = whole.substr(whole.size() - (pointCol - 1));
  screen.PutText(whole, row, pointCol - static_cast<int>(whole.size()), limit, attr, ctrl);
  if (digits < 0) return pointCol;
  if (parts.point) {
    screen.PutText(".", row, pointCol, limit, attr, ctrl);
    screen.PutText(CutAtCharacter(parts.fraction, digits), row, pointCol + 1, limit, attr, ctrl);
  }
  return pointCol + 1 + digits;
}

// MyQTH flush with the right border: its own width capped at `width`, or always `width` columns
// when left-justified.
void DrawMyQth(Screen& screen, int row, std::string_view myqth, const DisplaySettings& display) {
  const int right = screen.Width() - 1;  // the border column
  const std::string_view shown = CutAtCharacter(myqth, display.myqthWidth);
  const int width = display.myqthLeft ? display.myqthWidth : static_cast<int>(shown.size());
  const int col = std::max(1, right - width);
  screen.ClearCells(row, col, right - 1);
  screen.PutText(shown, row, col, right, Attr(ColorElement::MyQTH), Attr(ColorElement::CtrlCode));
}

}  // namespace

Today TodayNow() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return {(local.tm_year + 1900) % 100, local.tm_mon + 1, local.tm_mday};
}

std::string_view WeekdayLetter(std::string_view date) {
  if (CheckDate(date) != 0) return {};
  const int year = FullYear((date[0] - '0') * 10 + (date[1] - '0'));
  const int month = (date[2] - '0') * 10 + (date[3] - '0');
  const int day = (date[4] - '0') * 10 + (date[5] - '0');
  // Day 0, 1900-01-01, was a Monday.
  return kWeekdays.substr((DayNumber(year, month, day) + 1) % 7, 1);
}

void DrawSelectLine(Screen& screen, int row, const SelectLine& line, const DisplaySettings& display,
                    Today today) {
  const int width = screen.Width();
  const int right = width - 1;
  const uint8_t border = Attr(ColorElement::Border);
  screen.ClearCells(row, 0, right);
  screen.PutChar(screen.FrameGlyph(1), row, 0, border);
  screen.PutChar(screen.FrameGlyph(1), row, right, border);
  if (!line.texts) {
    if (line.firstMarker)
      screen.PutText("↓最初", row, 1, right, Attr(ColorElement::EndOfLog), Attr(ColorElement::EndOfLog));
    return;
  }
  const RecordTexts& t = *line.texts;
  const uint8_t ctrl = Attr(ColorElement::CtrlCode);
  if (line.marked) screen.PutChar('*', row, 0, Attr(ColorElement::Found));
  DrawDate(screen, row, t[DATE], line.highlighted, today);
  if (display.weekday) screen.PutText(WeekdayLetter(t[DATE]), row, 7, 8, Attr(ColorElement::Calendar), ctrl);
  screen.PutText(t[START], row, 8, 12,
                 Attr(line.highlighted ? ColorElement::MaskInfo : ColorElement::TimeStart), ctrl);
  const int shift = display.endColumn ? 5 : 0;
  if (display.endColumn) {
    screen.PutText("-", row, 12, 13, Attr(ColorElement::TimeEnd), ctrl);
    screen.PutText(t[END], row, 13, 17, Attr(ColorElement::TimeEnd), ctrl);
  }
  if (line.state != 0) {
    screen.PutText("_", row, 12 + shift, 13 + shift,
                   Attr(line.state == 1 ? ColorElement::Callsign : ColorElement::Date), ctrl);
  }
  screen.PutText(t[CALLSIGN], row, 13 + shift, std::min(right, 26 + shift), Attr(ColorElement::Callsign),
                 ctrl);
  // MODE directly behind FREQ's last digit (behind its integer part with digits -1), the first
  // character of rQSL (or a blank column) directly behind MODE's width, and the rest from there.
  int col = std::min(DrawFreq(screen, row, t[FREQ], 26 + shift, display.freqDigits, right), right);
  if (display.modeWidth > 0) {
    screen.PutText(CutAtCharacter(t[MODE], display.modeWidth), row, col,
                   std::min(right, col + display.modeWidth), Attr(ColorElement::Mode), ctrl);
    col = std::min(col + display.modeWidth, right);
  }
  const std::string_view qsl = t[rQSL].substr(0, t[rQSL].empty() ? 0 : CharLength(t[rQSL], 0));
  screen.PutText(qsl, row, col, right, Attr(ColorElement::QSL), ctrl);
  col = std::min(col + std::max<int>(1, static_cast<int>(qsl.size())), right);
  if (!t[CONTEST].empty()) col = PutItem(screen, t[CONTEST], row, col, right, ColorElement::Contest);
  if (!t[CONTEST].empty() || display.rstColumn) {
    std::string rst = std::string(t[sRST]) + "/" + std::string(t[rRST]);
    col = PutItem(screen, rst, row, col, right, ColorElement::RST);
  }
  if (!t[QTH].empty()) col = PutItem(screen, t[QTH], row, col, right, ColorElement::QTH);
  if (!t[NAME].empty()) col = PutItem(screen, t[NAME], row, col, right, ColorElement::Name);
  if (!t[REMARKS].empty()) screen.PutText(t[REMARKS], row, col, right, Attr(ColorElement::Remarks), ctrl);
  if (!t[MyQTH].empty() && display.myqthWidth > 0) DrawMyQth(screen, row, t[MyQTH], display);
}

}  // namespace vondal
