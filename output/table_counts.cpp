#include "output/table_counts.h"

#include <algorithm>
#include <cstdio>

#include "console/console.h"
#include "output/band_table.h"
#include "output/output_frame.h"

namespace vondal {
namespace {

std::string CellLabel(int cell) {
  if (cell >= kFirstModeCell) return std::string(ModeName(cell - kFirstModeCell));
  return BandName(cell, 'S');
}

std::string RightAligned(std::string_view text, int width) {
  std::string cell;
  if (static_cast<int>(text.size()) < width) cell.assign(width - text.size(), ' ');
  cell += text;
  return cell;
}

}  // namespace

void CountRow::Add(int band, int mode) {
  ++cells[band < 0 ? kOutsideBands : band];
  ++cells[kFirstModeCell + mode];
  ++cells[kTotalCell];
}

void CountRow::AddRow(const CountRow& other) {
  for (int i = 0; i < kCountCells; ++i) cells[i] += other.cells[i];
}

void CountRow::SubtractRow(const CountRow& other) {
  for (int i = 0; i < kCountCells; ++i) cells[i] -= other.cells[i];
}

BandMode BandModeOf(std::string_view freq, std::string_view mode) {
  const int band = BandOf(freq);
  return {band < 0 ? kOutsideBands : band, ModeOf(mode)};
}

std::vector<int> ShownCells(const CountRow& totals, bool modesOnly) {
  std::vector<int> cells;
  for (int m = 0; m < kModeCount; ++m) {
    if (totals.cells[kFirstModeCell + m] != 0) cells.push_back(kFirstModeCell + m);
  }
  if (modesOnly) return cells;
  for (int b = 0; b <= kOutsideBands; ++b) {
    if (totals.cells[b] != 0) cells.push_back(b);
  }
  return cells;
}

std::string CountHeader(std::string_view heading, const std::vector<int>& cells, int width) {
  std::string line(heading);
  line += "   合計";
  for (int cell : cells) line += RightAligned(CellLabel(cell), width);
  return line + "\r\n";
}

std::string CountLine(const CountRow& row, const std::vector<int>& cells, int width) {
  char number[16];
  std::snprintf(number, sizeof number, "%7d", row.Total());
  std::string line = number;
  for (int cell : cells) {
    const int32_t n = row.cells[cell];
    std::snprintf(number, sizeof number, "%d", n);
    line += RightAligned(n == 0 ? "-" : number, width);
  }
  return line + "\r\n";
}

std::string PercentCell(int64_t a, int64_t b) {
  if (a == 0 || b == 0) return "      -";
  int64_t whole = a * 100 / b;
  int64_t hundredths = ((a * 100 % b) * 100 + b / 2) / b;
  if (hundredths == 100) {
    ++whole;
    hundredths = 0;
  }
  char cell[32];
  std::snprintf(cell, sizeof cell, "%4lld.%02lld", static_cast<long long>(whole),
                static_cast<long long>(hundredths));
  return cell;
}

std::string CountTableText(const CountTable& table) {
  const std::vector<int> shown = ShownCells(table.totals);
  // The heading, "   合計" and the cells share one line.
  const int prefix = static_cast<int>(table.heading.size()) + 7;
  const size_t perBlock = static_cast<size_t>(std::max(1, (kCountLineWidth - prefix) / table.width));
  std::string text;
  size_t first = 0;
  do {
    const size_t end = std::min(shown.size(), first + perBlock);
    const std::vector<int> cells(shown.begin() + static_cast<std::ptrdiff_t>(first),
                                 shown.begin() + static_cast<std::ptrdiff_t>(end));
    if (first > 0) text += "\r\n";
    const std::string header = CountHeader(table.heading, cells, table.width);
    text += header;
    for (const auto& [label, row] : table.rows) text += label + CountLine(row, cells, table.width);
    text += header;
    text += table.totalLabel + CountLine(table.totals, cells, table.width);
    first = end;
  } while (first < shown.size());
  return text;
}

void ShowTableProgress(int position) {
  if (position == 0 || position % 10000 != 0 || !ConsoleAttached()) return;
  Screen& screen = TheScreen();
  screen.PutText(std::to_string(position), kOutputNoticeRow, 11, screen.Width(), kPlainAttr, kPlainAttr);
  Flush();
}

}  // namespace vondal
