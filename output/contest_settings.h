// The settings the contest outputs and the error inspection read: the station's own call sign and
// handle, the four contest families, and the lines that fill the JARL summary sheet.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vondal {

// The families in the order they are tried: contestJARL, contestP, contestV, contestKCJ.
enum ContestFamily : int { kFamilyJarl, kFamilyP, kFamilyV, kFamilyKcj, kFamilyCount, kNoFamily = -1 };

struct ContestSettings {
  std::string callsign;                                         // `callsign`
  std::string handle;                                           // `handle`
  std::array<std::vector<std::string>, kFamilyCount> families;  // patterns of CONTEST texts
  std::vector<std::string> jarlSummary;                         // `JARLsummary` lines
};

}  // namespace vondal
