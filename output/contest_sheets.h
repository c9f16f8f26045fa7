// The contest outputs besides the JARL electronic log: the plain electronic log, the contest CSV,
// the print sheets of 50 or 40 lines a sheet, and the check list of the stations worked on each
// band in call-sign order.
#pragma once

#include <string>
#include <vector>

#include "log/record.h"
#include "output/contest_run.h"

namespace vondal {

// Formats 2 and 3: one line per contact; format 3 shows a new multiplier as "*".
std::string PlainContestLog(const ContestRun& run);
// Format 4: the heading line and one quoted line per contact.
std::string ContestCsv(const ContestRun& run);
// Formats 5 and 6: per band the sheets of `lines` contacts with their heading and subtotal.
std::string PrintSheets(const ContestRun& run, const std::string& callsign, int lines);

// One contact of the check list: what the list sorts and shows.
struct CheckItem {
  int band = kOutsideBands;
  std::string callsign;  // at most 24 bytes
  std::string mmdd;      // DATE from its third character
  std::string hhmm;      // START
};
inline constexpr int kCheckListLines = 50;

CheckItem MakeCheckItem(const RecordTexts& texts, bool utc);
// The list of every band 0-24 with at least `minimum` contacts; year is the two-digit year of the
// first target record.
std::string CheckList(std::vector<CheckItem> items, int minimum, bool utc, int year, const std::string& name,
                      const std::string& callsign);

}  // namespace vondal
