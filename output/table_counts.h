// The count rows every count table is made of (contacts per band, per mode and in all, for one row
// key) and the two line writers all count tables share: the column header and the count line. A
// table shows a column only for a band or mode whose total is not 0, and a 0 as a hyphen.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

// Counters 0-25 are the bands (25 "*", outside every band), 26-32 the modes (26 CW … 32 "*"),
// 33 the row's total.
inline constexpr int kCountCells = 34;
inline constexpr int kFirstModeCell = 26;
inline constexpr int kTotalCell = 33;

// The widest line a count table writes; a table that needs more columns goes on in a second block.
inline constexpr int kCountLineWidth = 200;

struct CountRow {
  std::array<int32_t, kCountCells> cells{};

  // One contact on band (-1 counts as "*") in mode.
  void Add(int band, int mode);
  // The counters of another row added to this one.
  void AddRow(const CountRow& other);
  void SubtractRow(const CountRow& other);
  int32_t Total() const { return cells[kTotalCell]; }
};

// The band (or "*") and mode a contact counts under, from its FREQ and MODE texts.
struct BandMode {
  int band;
  int mode;
};
BandMode BandModeOf(std::string_view freq, std::string_view mode);

// The cells shown beside the total: the modes in mode order, then (unless modesOnly) the bands in
// band order, each only when its counter in totals is not 0.
std::vector<int> ShownCells(const CountRow& totals, bool modesOnly = false);

// "%s   合計" with the heading, then the label of each cell right-aligned in width columns; CR LF.
std::string CountHeader(std::string_view heading, const std::vector<int>& cells, int width = 6);
// "%7d" with the row's total, then each cell right-aligned in width columns ("-" for 0); CR LF.
std::string CountLine(const CountRow& row, const std::vector<int>& cells, int width = 6);

// A percentage cell of 7 columns: a out of b as "%4d.%02d" with the hundredths rounded, or a
// hyphen when a is 0.
std::string PercentCell(int64_t a, int64_t b);

// A whole count table: the header, one line per row (its label, then its count line), the header
// again, the total label and the totals' count line. When the shown cells do not fit in one line
// of kCountLineWidth characters, the table is written again for the cells that follow, in as many
// blocks as it takes, an empty line between them; every block keeps the labels and the totals.
struct CountTable {
  std::string heading;     // the labels' heading of the header lines
  std::string totalLabel;  // the label of the totals line
  int width = 6;
  std::vector<std::pair<std::string, CountRow>> rows;
  CountRow totals;
};
std::string CountTableText(const CountTable& table);

// The position of a table that walks a long log, every 10,000 records at line 13, column 11 (when a
// console is there to show it).
void ShowTableProgress(int position);

}  // namespace vondal
