// The QTHs of Japanese stations: for each call area 0-9 a list of the city, gun and ward names of
// CGlist3.TXT that are still valid ("札幌市中央区", "石狩郡"), each area with a fixed capacity.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "tools/vonfill/mersenne_twister.h"

namespace vondal::vonfill {

class CityLists {
 public:
  // Reads the list file (name in CP932) line by line; false when it cannot be opened.
  bool Load(const std::string& path);

  // Takes one line of the list (without its line end) into its area's list when it is a city
  // ("####"), gun ("#####") or ward ("######") without an end date, with at least three words, and
  // the area's list still has room; every other line is passed over.
  void AddLine(std::string_view line);

  // A random name of call area `area` (0-9); "" when the area has none.
  std::string_view Pick(int area, MersenneTwister& rng) const;

  const std::vector<std::string>& names(int area) const { return areas_[area].names; }

 private:
  struct Area {
    std::vector<std::string> names;
    int poolBytes = 0;  // the bytes the names take, each with its terminating NUL
  };
  std::array<Area, 10> areas_;
};

}  // namespace vondal::vonfill
