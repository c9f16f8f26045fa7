#include "tools/vonrix/ranking.h"

#include <algorithm>

namespace vondal {

std::vector<int32_t> StationsByNumber(const std::vector<int32_t>& numberOf) {
  const int32_t highest = numberOf.empty() ? 0 : *std::max_element(numberOf.begin(), numberOf.end());
  std::vector<int32_t> counts(highest + 1, 0);
  for (int32_t number : numberOf) ++counts[number];
  return counts;
}

std::vector<RankedStation> TopStations(const std::vector<int32_t>& numberOf,
                                       const std::vector<int32_t>& counts, const StationTable& stations,
                                       int32_t highest) {
  highest = std::min(highest, static_cast<int32_t>(counts.size()) - 1);
  // The smallest number still listed: where the running total of stations reaches the limit.
  int32_t lowest = 1;
  int32_t listed = 0;
  for (int32_t number = highest; number >= 1; --number) {
    listed += counts[number];
    if (listed >= kTopStations) {
      lowest = number;
      break;
    }
  }
  std::vector<RankedStation> top;
  for (int32_t station = 0; station < static_cast<int32_t>(numberOf.size()); ++station) {
    if (numberOf[station] >= lowest && numberOf[station] <= highest)
      top.push_back({station, numberOf[station], 0});
  }
  std::sort(top.begin(), top.end(), [&stations](const RankedStation& a, const RankedStation& b) {
    return a.number != b.number ? a.number > b.number : stations.Before(a.station, b.station);
  });
  for (size_t i = 0; i < top.size(); ++i) {
    const bool sharesRank = i > 0 && top[i].number == top[i - 1].number;
    top[i].rank = sharesRank ? top[i - 1].rank : static_cast<int32_t>(i + 1);
  }
  return top;
}

}  // namespace vondal
