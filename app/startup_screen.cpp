#include "app/startup_screen.h"

#include <algorithm>

#include "app/memory_pool.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {

void StartupScreen::StartupLine(int rowOffset, int colOffset, std::string_view text, bool error) {
  Screen& screen = TheScreen();
  int row = r0_ + rowOffset;
  int col = c0_ + colOffset;
  if (row >= MessageRow()) return;
  // A line replaces what stood on its row before ("新ﾛｸﾞ=" over "ﾛｸﾞ=", the index progress).
  screen.ClearCells(row, col, right_ - 1);
  uint8_t attr = error ? ColorOf(ColorElement::eError) : ColorOf(ColorElement::Opening);
  screen.PutText(text, row, col, right_, attr, attr);
  vondal::Flush();
}

void StartupScreen::StartupNote(int rowOffset, int colOffset, std::string_view text) {
  Screen& screen = TheScreen();
  const int row = r0_ + rowOffset;
  if (row >= MessageRow()) return;
  // CP932 text takes one column a byte.
  const int width = static_cast<int>(text.size());
  const int col = std::max(c0_, std::min(c0_ + colOffset, right_ - width));
  const uint8_t attr = ColorOf(ColorElement::eError);
  screen.ClearCells(row, col, right_ - 1);
  screen.PutText(text, row, col, right_, attr, attr);
  vondal::Flush();
}

void StartupScreen::Flush() { vondal::Flush(); }

void StartupScreen::ReportLine(std::string_view text) {
  lastReport_ = text;
  vondal::ReportLine(text, 1);
}

void StartupScreen::RecordUse(std::string_view name) { vondal::RecordUse(name); }

bool StartupScreen::ShiftHeld() { return IsKeyDown(Modifier::kShift); }

}  // namespace vondal
