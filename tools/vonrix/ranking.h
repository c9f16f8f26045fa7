// The per-station tallies of modes C and B: how many stations reached each number (contacts,
// bands) and the top list of stations by that number.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vonrix/station_table.h"

namespace vondal {

// A top list stops after the group of equal numbers in which this many stations are reached.
inline constexpr int kTopStations = 200;

// numberOf[station] → counts[v], the number of stations whose number is v (0 … the highest).
std::vector<int32_t> StationsByNumber(const std::vector<int32_t>& numberOf);

struct RankedStation {
  int32_t station;
  int32_t number;
  int32_t rank;  // 1-based; equal numbers share the rank of the first of them
};

// The stations from the highest number down (from `highest` down when that is lower), equal
// numbers in station order, up to the end of the group in which the 200th station is reached.
// Stations whose number is 0 are not listed. counts is StationsByNumber(numberOf).
std::vector<RankedStation> TopStations(const std::vector<int32_t>& numberOf,
                                       const std::vector<int32_t>& counts, const StationTable& stations,
                                       int32_t highest = INT32_MAX);

}  // namespace vondal
