// Vonrix's command line: "Vonrix 'LogFile' 'OutFile' 'Mode' ('Filter') ('Option')". The
// arguments arrive here in CP932; the parts are parsed in the order the program reports on them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/vonrix/filter.h"

namespace vondal {

// The usage text, lines ending LF.
extern const char kVonrixUsage[];

// What "--help" prints: the usage text, "?", the standard options and the configuration file
// whose sets LogFile may name (`configFile`, the full name).
std::string VonrixHelpText(std::string_view configFile);

// The analyses, by the letter that selects them.
enum class AnalysisMode : char { kCounts = 'C', kIntervals = 'I', kSpans = 'S', kBands = 'B' };

// The mode's name ("交信回数", "交信間隔", "交信期間", "バンド数").
std::string_view ModeName(AnalysisMode mode);

// The mode selected by the first character of the argument, case ignored. False for any other.
bool ParseMode(std::string_view text, AnalysisMode& mode);

// The filters and options after the mode.
struct Selection {
  std::vector<Filter> filters;  // most recently given first
  char country = 0;             // 'J' Japanese stations only, 'D' foreign stations only, or 0
  char club = 0;                // 'S' no Japanese club stations, 'C' Japanese club stations only, or 0
};

// Parses the arguments after the mode, in any order: an argument with "=" or ":" is a filter,
// one starting with "-" an option letter. "" or the message that refuses the argument.
std::string ParseSelection(const std::vector<std::string>& args, Selection& selection);

// The "Filter=" line of the report header, without its line end.
std::string DescribeSelection(const Selection& selection);

}  // namespace vondal
