#include "editor/search_summary.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "color/color_set.h"
#include "console/console.h"
#include "editor/edit_screen.h"
#include "output/band_table.h"

namespace vondal {
namespace {

constexpr const char* kColumnLabels[SearchSummary::kColumns] = {" Cw", " Sb", " Fm", " **"};

}  // namespace

void SearchSummary::Count(std::string_view freq, std::string_view mode) {
  const int found = BandOf(freq);
  const int band = found < 0 ? kBandCount : found;  // the last row counts frequencies in no band
  const int modeNumber = ModeOf(mode);
  const int column = modeNumber <= kModeFM ? modeNumber : 3;
  counts[band][column] = std::min(counts[band][column] + 1, kCap);
  bandUsed[band] = columnUsed[column] = true;
}

void SearchSummary::Draw(const EditLayout& layout) const {
  int bands = 0, columns = 0;
  for (bool used : bandUsed) bands += used;
  for (bool used : columnUsed) columns += used;
  if (bands <= 1 && columns <= 1) return;
  Screen& screen = TheScreen();
  const bool withCounts = hits > bands;
  const int k = withCounts ? columns : 1;
  const int left = layout.width - 10 - 3 * k;
  const int right = layout.width - 5;
  const int wanted = bands + (withCounts ? 1 : 0);
  const int rows = std::min(wanted, std::max(1, layout.selectLines - 2));
  const int bottom = layout.headerRow - 1;
  const int top = bottom - rows - 1;
  if (top < 1 || left < 1) return;
  const uint8_t attr = ColorOf(ColorElement::Border);
  for (int row = top; row <= bottom; ++row) screen.ClearCells(row, left, right);
  screen.DrawBox(top, left, bottom, right, attr);
  int row = top + 1;
  const uint8_t text = ColorOf(ColorElement::Found);
  if (withCounts) {
    int col = left + 6;
    for (int c = 0; c < kColumns; ++c) {
      if (!columnUsed[c]) continue;
      col = screen.PutText(kColumnLabels[c] + 1, row, col, right, text, text) + 1;
    }
    ++row;
  }
  for (int band = 0; band < kRows && row < bottom; ++band) {
    if (!bandUsed[band]) continue;
    std::string label = BandName(band, 'S');
    if (label.empty()) label = "*";
    // The label ends just before the fifth column from the left edge; the cells follow.
    const int labelEnd = left + 5;
    screen.PutText(label, row, std::max(left + 1, labelEnd - static_cast<int>(label.size())), labelEnd, text,
                   text);
    int col = labelEnd;
    for (int c = 0; c < kColumns; ++c) {
      if (!columnUsed[c]) continue;
      std::string cell;
      if (withCounts) {
        char number[8];
        std::snprintf(number, sizeof number, "%3d", counts[band][c]);
        cell = counts[band][c] >= kCap ? "+++" : counts[band][c] == 0 ? "  ･" : number;
      } else {
        cell = counts[band][c] > 0 ? kColumnLabels[c] : "   ";
      }
      col = screen.PutText(cell, row, col, right, text, text);
    }
    ++row;
  }
  if (wanted > rows) screen.PutText("+", bottom, right, right + 1, text, text);
}

}  // namespace vondal
