// How the pages of the information screen are laid out: a writer that moves down the rows inside
// the page frame (row 2 to the row above the message line), titles at column 1 in the title
// colour, contents in the colour of the start-up information, tables of equal cells in columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/screen.h"

namespace vondal {

class InfoWriter {
 public:
  // Writes into `screen` from row 2 on; the last row it writes is the one above the message line.
  InfoWriter(Screen& screen, int lastRow);

  int row() const { return row_; }
  // No row is left: what is written now is not shown.
  bool Full() const { return row_ > lastRow_; }
  // Rows left from the current one on.
  int RowsLeft() const { return Full() ? 0 : lastRow_ - row_ + 1; }
  int Width() const { return screen_.Width(); }

  // Draws on the current row from `col`, cut at the frame; returns the column after it.
  int Put(int col, std::string_view text);
  int Put(int col, std::string_view text, uint8_t attr);
  // A title ("□…") at column 1 of the current row; returns the column after it.
  int Title(std::string_view title);
  void Next() { ++row_; }
  // Put, then the next row.
  void Line(int col, std::string_view text);

  // Cells of `cellWidth` columns from column 2 in as many columns as the frame holds, filled top
  // to bottom and then left to right, on the rows from the current one on; the row after the
  // tallest column becomes current. Cells that find no room are left out.
  void Grid(const std::vector<std::string>& cells, int cellWidth);

 private:
  Screen& screen_;
  int row_ = 2;
  int lastRow_;
  uint8_t textAttr_;
  uint8_t titleAttr_;
};

// `text` padded with blanks to `width` bytes (a longer text stays whole).
std::string Padded(std::string_view text, size_t width);
// A number right-aligned in `width` columns.
std::string RightAligned(long number, int width);

}  // namespace vondal
