// The search-list summary: the hits of the last call-sign search by band and by mode column
// (CW, SSB, FM, every other mode), shown as a box at the right of the select area.
#pragma once

#include <string_view>

namespace vondal {

struct EditLayout;

struct SearchSummary {
  static constexpr int kRows = 26;  // the 25 bands and one for a frequency in none
  static constexpr int kColumns = 4;
  static constexpr int kCap = 1000;

  int counts[kRows][kColumns] = {};
  bool bandUsed[kRows] = {};
  bool columnUsed[kColumns] = {};
  int hits = 0;
  bool shown = false;  // drawn over the select area until the cursor leaves it

  void Count(std::string_view freq, std::string_view mode);
  // The box, when the hits spread over more than one band or mode column.
  void Draw(const EditLayout& layout) const;
};

}  // namespace vondal
