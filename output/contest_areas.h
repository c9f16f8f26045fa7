// The multiplier numbers of domestic contests: the JARL prefecture numbers 02-50 and the districts
// of area 8 as 101-114, kept as 65 indexes (index i stands for number i up to 50 and for number
// i + 50 from 51), each with its call area and its two-letter KCJ code. The editor's contest mode
// and the contest outputs read the same table.
#pragma once

#include <string>
#include <string_view>

namespace vondal {

inline constexpr int kMultiplierIndexes = 65;

// The call area (1-11) of multiplier index i; 0 outside the table.
int MultiplierArea(int index);
// The KCJ code of index 2-64 ("TK" for Tokyo); empty outside.
std::string KcjCode(int index);
// The index whose KCJ code is `code` (indexes 2-64 in order), or 0.
int KcjIndex(std::string_view code);

}  // namespace vondal
