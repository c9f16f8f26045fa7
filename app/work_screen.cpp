#include "app/work_screen.h"

#include "console/console.h"
#include "console/menu_line.h"

namespace vondal {

void ScreenRows::Put(int row, int col, std::string_view text) {
  Screen& screen = TheScreen();
  if (row >= MessageRow()) return;  // a short terminal loses the lowest rows, never the menu line
  screen.ClearCells(row, col, screen.Width() - 1);
  screen.PutTextToEnd(text, row, col, kPlainAttr, kPlainAttr);
}

void ScreenRows::Flush() { vondal::Flush(); }

void ClearWorkScreen() { TheScreen().ClearRows(1, MessageRow() - 1); }

}  // namespace vondal
