#include "app/info_layout.h"

#include <algorithm>

#include "color/color_set.h"

namespace vondal {

InfoWriter::InfoWriter(Screen& screen, int lastRow)
    : screen_(screen),
      lastRow_(lastRow),
      textAttr_(ColorOf(ColorElement::Opening)),
      titleAttr_(ColorOf(ColorElement::Title)) {}

int InfoWriter::Put(int col, std::string_view text) { return Put(col, text, textAttr_); }

int InfoWriter::Put(int col, std::string_view text, uint8_t attr) {
  if (Full()) return col;
  // The right edge of the frame stands in the last column.
  return screen_.PutText(text, row_, col, screen_.Width() - 1, attr, attr);
}

int InfoWriter::Title(std::string_view title) { return Put(1, title, titleAttr_); }

void InfoWriter::Line(int col, std::string_view text) {
  Put(col, text);
  Next();
}

void InfoWriter::Grid(const std::vector<std::string>& cells, int cellWidth) {
  if (cells.empty() || Full()) return;
  const int columns = std::max(1, (screen_.Width() - 3) / cellWidth);
  const int count = static_cast<int>(cells.size());
  const int rows = std::min(RowsLeft(), (count + columns - 1) / columns);
  for (int i = 0; i < count && i < rows * columns; ++i) {
    const int saved = row_;
    row_ += i % rows;
    Put(2 + (i / rows) * cellWidth, cells[i]);
    row_ = saved;
  }
  row_ += rows;
}

std::string Padded(std::string_view text, size_t width) {
  std::string padded(text);
  if (padded.size() < width) padded.append(width - padded.size(), ' ');
  return padded;
}

std::string RightAligned(long number, int width) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), ' ');
  return digits;
}

}  // namespace vondal
